#include "platform/session/endrequest.h"

#include <QtTest>

#include <csignal>

// Signals that ask the program to end come back to it as one end request on
// its own thread.
class EndRequestTest : public QObject {
  Q_OBJECT

private slots:
  void aSignalToEndComesBackAsARequestButAnIgnoredOneStaysIgnored()
  {
    // As under nohup.
    std::signal(SIGHUP, SIG_IGN);
    int requests = 0;
    onEndRequest([&requests] { ++requests; });

    std::raise(SIGHUP);
    QTest::qWait(200);
    QCOMPARE(requests, 0);

    std::raise(SIGTERM);
    QTRY_COMPARE(requests, 1);
  }
};

QTEST_GUILESS_MAIN(EndRequestTest)
#include "tst_endrequest_unix.moc"

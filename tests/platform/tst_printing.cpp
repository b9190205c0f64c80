#include "platform/printing_p.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <memory>

using namespace std::chrono_literals;

// What the end of the process does with the prints still under way.
class PrintingTest : public QObject {
  Q_OBJECT

private slots:
  void theEndTakesBackOnlyWhatHasNotPrinted()
  {
    std::atomic<int> heldTakenBack = 0;
    std::atomic<int> printedTakenBack = 0;
    PrintHandOver held;
    held.holds([&](QDeadlineTimer) { return ++heldTakenBack > 0; });
    PrintHandOver printed;
    printed.holds([&](QDeadlineTimer) { return ++printedTakenBack > 0; });
    QVERIFY(printed.mayLetGo());
    QVERIFY(printed.printed());
    PrintHandOver notYetOnTheServer;

    PrintHandOver::takeBackAllBefore(QDeadlineTimer(5s));
    QCOMPARE(heldTakenBack.load(), 1);
    QCOMPARE(printedTakenBack.load(), 0);
    // Nothing is let go to print once the process ends.
    QVERIFY(!held.mayLetGo());
    QVERIFY(!notYetOnTheServer.mayLetGo());
    QVERIFY(!notYetOnTheServer.printed());
  }

  void theEndWaitsNoLongerThanItsDeadlineForAServerThatDoesNotAnswer()
  {
    auto asked = std::make_shared<QSemaphore>();
    auto serverAnswers = std::make_shared<QSemaphore>();
    PrintHandOver held;
    held.holds([asked, serverAnswers](QDeadlineTimer) {
      asked->release();
      return serverAnswers->tryAcquire(1, 20000);
    });
    QElapsedTimer took;
    took.start();
    PrintHandOver::takeBackAllBefore(QDeadlineTimer(300ms));
    QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
    QCOMPARE(asked->available(), 1);
    // The thread still asking ends.
    serverAnswers->release();
  }
};

QTEST_GUILESS_MAIN(PrintingTest)
#include "tst_printing.moc"

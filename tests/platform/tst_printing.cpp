#include "platform/printing/printing_p.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QtTest>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

// What the end of the process does with the prints still under way.
class PrintingTest : public QObject {
  Q_OBJECT

private slots:
  void theEndTakesBackWhatHasNotPrintedWaitingNoLongerThanItsDeadline()
  {
    auto heldAsked = std::make_shared<QSemaphore>();
    auto serverAnswers = std::make_shared<QSemaphore>();
    PrintHandOver held;
    held.holds([heldAsked, serverAnswers](QDeadlineTimer) {
      heldAsked->release();
      return serverAnswers->tryAcquire(1, 20000);
    });
    auto printedAsked = std::make_shared<QSemaphore>();
    PrintHandOver printed;
    printed.holds([printedAsked](QDeadlineTimer) {
      printedAsked->release();
      return true;
    });
    QVERIFY(printed.mayLetGo() && printed.printed());

    QElapsedTimer took;
    took.start();
    PrintHandOver::takeBackAllBefore(QDeadlineTimer(300ms));
    QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
    QCOMPARE(heldAsked->available(), 1);
    QCOMPARE(printedAsked->available(), 0);
    // Nor is anything let go to print once the process ends.
    QVERIFY(!held.mayLetGo());
    // The thread still asking ends.
    serverAnswers->release();
  }
};

QTEST_GUILESS_MAIN(PrintingTest)
#include "tst_printing.moc"

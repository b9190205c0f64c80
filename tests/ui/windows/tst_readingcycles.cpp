#include "support/readingcycle.h"
#include "support/windowtest.h"
#include "ui/form.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

// In a build with LeakSanitizer, the program's own leaks are looked for
// right after the cycles, while the test can still fail for them.
#if defined(__SANITIZE_ADDRESS__)
#define QUORRIN_CHECK_LEAKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORRIN_CHECK_LEAKS 1
#endif
#endif
#ifdef QUORRIN_CHECK_LEAKS
#include <sanitizer/lsan_interface.h>
#endif

// A hundred rounds of reading, printing, saving, opening, Back and Proceed
// leave no more behind than the first: every window that went away is gone
// with all it held.
class ReadingCyclesTest : public WindowTest {
  Q_OBJECT

private slots:
  void aHundredCyclesLeaveNothingBehind()
  {
    constexpr int Cycles = 100;
    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("tom smith.zod"));
    // The first round loads what stays for the whole run: the closing
    // screen, hidden since the first Back.
    runReadingCycle(*scripted, saved);
    QVERIFY(!QTest::currentTestFailed());
    const QStringList windows = windowNames();
    const qsizetype objects = countLiveObjects();
    QCOMPARE(windows, QStringList({"frmMain", "frmNagScreen2"}));

    for (int cycle = 2; cycle <= Cycles; ++cycle) {
      runReadingCycle(*scripted, saved);
      if (QTest::currentTestFailed())
        QFAIL(qPrintable(QStringLiteral("cycle %1 went wrong").arg(cycle)));
      QCOMPARE(windowNames(), windows);
    }
    QCOMPARE(countLiveObjects(), objects);
#ifdef QUORRIN_CHECK_LEAKS
    QCOMPARE(__lsan_do_recoverable_leak_check(), 0);
#endif
  }

private:
  static QStringList windowNames()
  {
    QStringList names;
    for (const Form *form : Forms::loaded())
      names.append(form->objectName());
    names.sort();
    return names;
  }
};

QTEST_MAIN(ReadingCyclesTest)
#include "tst_readingcycles.moc"

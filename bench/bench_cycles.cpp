// Memory over many rounds of what a user does with a reading (see
// tests/support/readingcycle.h), with each print job printed for real to a
// PDF file. Prints the resident size and the heap in use after 1, 10, 25,
// 50, 100, 200 and 300 rounds, and then what emptying Qt's pixmap cache and
// giving free heap back to the system take off. The resident size should
// level off: a steady climb is something kept per round. Run by hand:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_cycles
// It is never part of the test run.
//
// On the 2-core reference machine the resident size climbs about 11 MB over
// the first 200 rounds and then stays: QPixmapCache fills up to its limit
// (10 MB) with the style's drawings of buttons, combo boxes and frames. Their keys
// hold the cache key of the palette drawn with, and every window made anew
// has palettes of its own, so the drawings of a closed window are never used
// again and leave only as the cache makes room. With its limit set to 0 the
// size stays at 35 MB over 800 rounds. What emptying the cache leaves is its
// table of key names (about a kilobyte a round), which Qt keeps until the
// cache's own timer sweeps it, every 30 seconds of a running event loop.

#include "support/readingcycle.h"
#include "support/scripteddesktop.h"

#include <QPixmapCache>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace {
double residentMegabytes()
{
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly))
    return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  constexpr double Megabyte = 1024.0 * 1024.0;
  return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / Megabyte : 0;
}

double heapMegabytes()
{
  constexpr double Megabyte = 1024.0 * 1024.0;
  return double(mallinfo2().uordblks) / Megabyte;
}

void report(const char *when)
{
  std::printf("%-34s resident %7.1f MB   heap in use %7.1f MB\n", when, residentMegabytes(),
              heapMegabytes());
  std::fflush(stdout);
}
} // namespace

class CyclesBenchmark : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    // The PDF printer never asks the machine's print server for its queues.
    qputenv("CUPS_SERVER", "/nonexistent");
    // The offscreen platform warns at every window raised; the figures are
    // what this prints.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  }

  void residentSizeOverAHundredCycles()
  {
    ScriptedDesktop scripted;
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("reading.pdf"));
    scripted.whilePrinting = [&pdf](const QTextDocument &document) {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      document.print(&printer);
    };
    const QString saved = folder.filePath(QStringLiteral("tom smith.zod"));

    report("before the first cycle");
    int done = 0;
    for (const int upTo : {1, 10, 25, 50, 100, 200, 300}) {
      for (; done < upTo; ++done) {
        runReadingCycle(scripted, saved);
        QVERIFY(!QTest::currentTestFailed());
      }
      report(qPrintable(QStringLiteral("after %1 cycles").arg(done)));
    }

    QPixmapCache::clear();
    report("QPixmapCache emptied");
    malloc_trim(0);
    report("free heap given back (malloc_trim)");
    discardForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    malloc_trim(0);
    report("every window gone");
  }
};

QTEST_MAIN(CyclesBenchmark)
#include "bench_cycles.moc"

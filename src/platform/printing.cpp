#include "platform/printing.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLibrary>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>

namespace {

// How long the reading window waits for a print before telling the user that
// nothing was printed. A one-page job reaches a print server that answers in a
// second or two.
constexpr std::chrono::seconds PrintWait{10};

// What the print thread and the window waiting for it share.
struct PrintJob {
  std::atomic<bool> givenUp{false};
  std::atomic<bool> finished{false};
  std::atomic<bool> printed{false};
};

// Qt sends a job to CUPS on the thread that prints, when the print ends, but
// does not look at the answer; libcups keeps the last answer of each thread,
// and a queue that rejects jobs answers with an error. libcups is loaded
// already by Qt's print support where CUPS prints, and is looked up only then:
// linked in, it would load with all it needs at every start.
bool printServerTookTheJob()
{
  using LastError = int (*)();
  const auto lastError = reinterpret_cast<LastError>(
      QLibrary::resolve(QStringLiteral("cups"), 2, "cupsLastError")); // NOLINT(*-reinterpret-cast)
  // IPP's successful answers are 0x0000 to 0x00FF.
  constexpr int LastSuccess = 0x00FF;
  return !lastError || lastError() <= LastSuccess;
}

// On the print thread: everything here may wait on the print server.
bool printOnDefaultPrinter(QTextDocument &document, const PrintJob &job)
{
  // Without this check QPrinter quietly prints to a PDF file with no name.
  const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
  if (printerInfo.isNull())
    return false;
  // A stopped queue takes the job and keeps it instead of printing it.
  if (printerInfo.state() == QPrinter::Error)
    return false;
  // The user has been told that nothing was printed: a server that answers
  // late must not print it after all.
  if (job.givenUp)
    return false;
  QPrinter printer(printerInfo, QPrinter::HighResolution);
  document.print(&printer);
  if (printer.printerState() == QPrinter::Error)
    return false;
  return printServerTookTheJob();
}

} // namespace

bool printWithoutFreezing(const QTextDocument &document)
{
  // The print server may take minutes to answer, or never answer at all (a
  // server that has stopped still takes the connection). Asked on the UI
  // thread, even the look-up of the default printer would freeze every window
  // of the program. So the look-up and the job run on a thread of their own,
  // with a copy of the document, while the windows go on painting; input waits
  // until the print is over. A thread given up on is left to end by itself:
  // it holds only its own copy, and the process ends with _Exit, which never
  // waits for it.
  auto job = std::make_shared<PrintJob>();
  QTextDocument *copy = document.clone();
  QThread *printThread = QThread::create([job, copy] {
    job->printed = printOnDefaultPrinter(*copy, *job);
    job->finished = true;
    delete copy;
  });
  copy->moveToThread(printThread);

  QEventLoop wait;
  QTimer::singleShot(PrintWait, &wait, &QEventLoop::quit);
  QObject::connect(printThread, &QThread::finished, &wait, &QEventLoop::quit);
  QObject::connect(printThread, &QThread::finished, printThread, &QObject::deleteLater);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  printThread->start();
  wait.exec(QEventLoop::ExcludeUserInputEvents);
  QGuiApplication::restoreOverrideCursor();
  if (!job->finished) {
    job->givenUp = true;
    return false;
  }
  return job->printed;
}

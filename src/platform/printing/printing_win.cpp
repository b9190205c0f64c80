#include "platform/printing/printing_p.h"

#include "config.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <QUuid>

#include <optional>
#include <vector>

#include <windows.h>
#include <winspool.h>

namespace {

// What keeps a job in the queue from printing, or shows it never will.
constexpr DWORD Failed = JOB_STATUS_ERROR | JOB_STATUS_DELETING | JOB_STATUS_DELETED |
                         JOB_STATUS_OFFLINE | JOB_STATUS_PAPEROUT | JOB_STATUS_BLOCKED_DEVQ |
                         JOB_STATUS_USER_INTERVENTION;

// Windows takes a printer's name as a writable string it does not write to.
wchar_t *wide(const QString &text)
{
  return const_cast<wchar_t *>(reinterpret_cast<const wchar_t *>(text.utf16())); // NOLINT
}

// The spooler's queue of one printer.
class Queue {
public:
  explicit Queue(const QString &printer) { OpenPrinterW(wide(printer), &m_handle, nullptr); }
  ~Queue()
  {
    if (m_handle)
      ClosePrinter(m_handle);
  }
  Queue(const Queue &) = delete;
  Queue &operator=(const Queue &) = delete;

  bool isOpen() const { return m_handle != nullptr; }

  // The job of the document of that name, or 0.
  DWORD findJob(const QString &document) const
  {
    DWORD needed = 0;
    DWORD count = 0;
    EnumJobsW(m_handle, 0, MAXDWORD, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 ||
        !EnumJobsW(m_handle, 0, MAXDWORD, 1, buffer.data(), needed, &needed, &count))
      return 0;
    const auto *jobs = reinterpret_cast<const JOB_INFO_1W *>(buffer.data()); // NOLINT
    for (DWORD i = 0; i < count; ++i) {
      if (jobs[i].pDocument && QString::fromWCharArray(jobs[i].pDocument) == document) // NOLINT
        return jobs[i].JobId;                                                           // NOLINT
    }
    return 0;
  }

  // The job's status, or nothing once it has left the queue.
  std::optional<DWORD> status(DWORD job) const
  {
    DWORD needed = 0;
    GetJobW(m_handle, job, 1, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetJobW(m_handle, job, 1, buffer.data(), needed, &needed))
      return std::nullopt;
    return reinterpret_cast<const JOB_INFO_1W *>(buffer.data())->Status; // NOLINT
  }

  bool control(DWORD job, DWORD command) const
  {
    return SetJobW(m_handle, job, 0, nullptr, command) != FALSE;
  }

private:
  HANDLE m_handle = nullptr;
};

// A printer whose job is held in the queue from the moment Windows knows it,
// before a page is drawn, so that it prints only once it is let go.
class HeldPrinter : public QPrinter {
public:
  HeldPrinter(const QPrinterInfo &info, const Queue &queue, PrintHandOver &handOver)
      : QPrinter(info, QPrinter::HighResolution), m_queue(queue), m_handOver(handOver),
        m_document(AppTitle + QStringLiteral(" reading ") +
                   QUuid::createUuid().toString(QUuid::WithoutBraces))
  {
    // Named so that its job can be found among the queue's.
    setDocName(m_document);
  }

  DWORD job() const { return m_job; }
  bool held() const { return m_held; }

protected:
  // QPainter calls this once the spooler has opened the job.
  void initPainter(QPainter *painter) const override
  {
    QPrinter::initPainter(painter);
    m_job = m_queue.findJob(m_document);
    if (!m_job)
      return;
    // On a handle of its own, the job can be taken back from any thread, even
    // while this one still hands the spooler its pages.
    m_handOver.holds([printer = printerName(), job = m_job](QDeadlineTimer) {
      const Queue queue(printer);
      return queue.isOpen() && queue.control(job, JOB_CONTROL_DELETE);
    });
    m_held = m_queue.control(m_job, JOB_CONTROL_PAUSE);
  }

private:
  const Queue &m_queue;
  PrintHandOver &m_handOver;
  QString m_document;
  mutable DWORD m_job = 0;
  mutable bool m_held = false;
};

} // namespace

void printOnDefaultPrinter(const QTextDocument &document, PrintHandOver &handOver)
{
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull() || info.state() == QPrinter::Error || handOver.givenUp())
    return;
  const Queue queue(info.printerName());
  if (!queue.isOpen())
    return;
  HeldPrinter printer(info, queue, handOver);
  document.print(&printer);
  const DWORD job = printer.job();
  // A job that could not be held is never let go blindly: it is taken back.
  const auto spooled = printer.held() ? queue.status(job) : std::nullopt;
  if (!spooled || (*spooled & (Failed | JOB_STATUS_SPOOLING)) != 0 || !handOver.mayLetGo()) {
    handOver.takeBack(QDeadlineTimer());
    return;
  }
  queue.control(job, JOB_CONTROL_RESUME);
  const auto printing = queue.status(job);
  if ((printing && (*printing & Failed) != 0) || !handOver.printed())
    handOver.takeBack(QDeadlineTimer());
}

#include "platform/printing/printing_p.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QLibrary>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <chrono>
#include <sys/socket.h>
#include <thread>

namespace {

// libcups' handles, never looked into here.
struct http_t;
struct ipp_t;
struct ipp_attribute_t;

struct CupsOption {
  const char *name;
  const char *value;
};

// Values of libcups' interface and of IPP.
constexpr int HttpContinue = 100;
constexpr int IppLastSuccess = 0x00FF;
constexpr int IppGetJobAttributes = 0x0009;
constexpr int IppReleaseJob = 0x000D;
constexpr int IppTagOperation = 0x01;
constexpr int IppTagEnum = 0x23;
constexpr int IppTagName = 0x42;
constexpr int IppTagKeyword = 0x44;
constexpr int IppTagUri = 0x45;
constexpr int IppJobPending = 3;
constexpr int IppJobProcessing = 5;
constexpr int IppJobCompleted = 9;
constexpr int IppFirstServerError = 0x0500;
constexpr int ConnectTimeoutMs = 30000;
// A job that the print server could not be asked to take back is asked again
// for a while: it may be back in a moment (as systemd starts it again), with
// the job held for good otherwise.
constexpr std::chrono::seconds TakeBackFor{60};
constexpr std::chrono::seconds TakeBackPause{1};

template <typename Function> bool resolve(QLibrary &library, Function *&function, const char *name)
{
  function = reinterpret_cast<Function *>(library.resolve(name)); // NOLINT(*-reinterpret-cast)
  return function != nullptr;
}

// libcups is looked up the first time the user prints, never linked in:
// linked, it would load with all it needs at every start, and Qt's print
// support has loaded it already where CUPS prints.
struct Libcups {
  const char *(*cupsServer)() = nullptr;
  int (*ippPort)() = nullptr;
  int (*cupsEncryption)() = nullptr;
  const char *(*cupsUser)() = nullptr;
  http_t *(*httpConnect2)(const char *host, int port, void *addresses, int family, int encryption,
                          int blocking, int msec, int *cancel) = nullptr;
  void (*httpClose)(http_t *http) = nullptr;
  int (*cupsCreateJob)(http_t *http, const char *queue, const char *title, int optionCount,
                       CupsOption *options) = nullptr;
  int (*cupsStartDocument)(http_t *http, const char *queue, int job, const char *name,
                           const char *format, int last) = nullptr;
  int (*cupsWriteRequestData)(http_t *http, const char *data, size_t size) = nullptr;
  int (*cupsFinishDocument)(http_t *http, const char *queue) = nullptr;
  int (*cupsCancelJob2)(http_t *http, const char *queue, int job, int purge) = nullptr;
  ipp_t *(*ippNewRequest)(int operation) = nullptr;
  ipp_attribute_t *(*ippAddString)(ipp_t *ipp, int group, int tag, const char *name,
                                   const char *language, const char *value) = nullptr;
  ipp_t *(*cupsDoRequest)(http_t *http, ipp_t *request, const char *resource) = nullptr;
  int (*ippGetStatusCode)(ipp_t *ipp) = nullptr;
  ipp_attribute_t *(*ippFindAttribute)(ipp_t *ipp, const char *name, int tag) = nullptr;
  int (*ippGetInteger)(ipp_attribute_t *attribute, int element) = nullptr;
  void (*ippDelete)(ipp_t *ipp) = nullptr;
  bool loaded = false;

  Libcups()
  {
    QLibrary library(QStringLiteral("cups"), 2);
    loaded = resolve(library, cupsServer, "cupsServer") && resolve(library, ippPort, "ippPort") &&
             resolve(library, cupsEncryption, "cupsEncryption") &&
             resolve(library, cupsUser, "cupsUser") &&
             resolve(library, httpConnect2, "httpConnect2") &&
             resolve(library, httpClose, "httpClose") &&
             resolve(library, cupsCreateJob, "cupsCreateJob") &&
             resolve(library, cupsStartDocument, "cupsStartDocument") &&
             resolve(library, cupsWriteRequestData, "cupsWriteRequestData") &&
             resolve(library, cupsFinishDocument, "cupsFinishDocument") &&
             resolve(library, cupsCancelJob2, "cupsCancelJob2") &&
             resolve(library, ippNewRequest, "ippNewRequest") &&
             resolve(library, ippAddString, "ippAddString") &&
             resolve(library, cupsDoRequest, "cupsDoRequest") &&
             resolve(library, ippGetStatusCode, "ippGetStatusCode") &&
             resolve(library, ippFindAttribute, "ippFindAttribute") &&
             resolve(library, ippGetInteger, "ippGetInteger") &&
             resolve(library, ippDelete, "ippDelete");
  }
};

const Libcups &libcups()
{
  static const Libcups cups;
  return cups;
}

// Each step talks to the print server on a connection of its own, so that
// one that broke in the middle of the send does not carry into the next
// step, least of all into taking the job back.
class Connection {
public:
  explicit Connection(const Libcups &cups)
      : m_cups(cups),
        m_http(cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC,
                                 cups.cupsEncryption(), 1, ConnectTimeoutMs, nullptr))
  {
  }
  ~Connection()
  {
    if (m_http)
      m_cups.httpClose(m_http);
  }
  Connection(const Connection &) = delete;
  Connection &operator=(const Connection &) = delete;

  http_t *http() const { return m_http; }

private:
  const Libcups &m_cups;
  http_t *m_http;
};

// One job on the print server. It is created held, so that it cannot print
// before the whole document is there and the reading window still waits for
// it.
class ServerJob {
public:
  ServerJob(const Libcups &cups, QByteArray queue) : m_cups(cups), m_queue(std::move(queue)) {}

  bool create(const QByteArray &title, const QByteArray &media)
  {
    std::array<CupsOption, 2> options{
        {{"media", media.constData()}, {"job-hold-until", "indefinite"}}};
    const Connection connection(m_cups);
    if (connection.http())
      m_id = m_cups.cupsCreateJob(connection.http(), m_queue.constData(), title.constData(),
                                  int(options.size()), options.data());
    return m_id > 0;
  }

  bool send(const QByteArray &pdf)
  {
    const Connection connection(m_cups);
    http_t *http = connection.http();
    return http &&
           m_cups.cupsStartDocument(http, m_queue.constData(), m_id, nullptr, "application/pdf",
                                    1) == HttpContinue &&
           m_cups.cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) == HttpContinue &&
           m_cups.cupsFinishDocument(http, m_queue.constData()) <= IppLastSuccess;
  }

  bool letGo()
  {
    ipp_t *answer = ask(IppReleaseJob);
    const bool released = answer && m_cups.ippGetStatusCode(answer) <= IppLastSuccess;
    m_cups.ippDelete(answer);
    return released;
  }

  // Whether the print server prints the job, or has printed it, by the job's
  // state there: libcups' last error may tell of another request, even one
  // that libcups made by itself.
  bool isPrinting()
  {
    ipp_t *answer = ask(IppGetJobAttributes, "job-state");
    ipp_attribute_t *state =
        answer ? m_cups.ippFindAttribute(answer, "job-state", IppTagEnum) : nullptr;
    const int value = state ? m_cups.ippGetInteger(state, 0) : 0;
    m_cups.ippDelete(answer);
    return value == IppJobPending || value == IppJobProcessing || value == IppJobCompleted;
  }

  // Cancels the job on connections of its own, from any thread, even while
  // another connection of the job waits on the print server.
  TakeBack takeBack() const
  {
    return [&cups = m_cups, queue = m_queue, id = m_id](QDeadlineTimer deadline) {
      for (;;) {
        const Connection connection(cups);
        if (connection.http() &&
            cups.cupsCancelJob2(connection.http(), queue.constData(), id, 0) < IppFirstServerError)
          return true;
        if (deadline.hasExpired())
          return false;
        std::this_thread::sleep_for(
            std::min<std::chrono::nanoseconds>(TakeBackPause, deadline.remainingTimeAsDuration()));
      }
    };
  }

private:
  // The print server's answer to an operation on the job, or none.
  ipp_t *ask(int operation, const char *attribute = nullptr)
  {
    const Connection connection(m_cups);
    if (!connection.http())
      return nullptr;
    ipp_t *request = m_cups.ippNewRequest(operation);
    // The print server reads only the job's number from its address.
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(m_id);
    m_cups.ippAddString(request, IppTagOperation, IppTagUri, "job-uri", nullptr, uri.constData());
    m_cups.ippAddString(request, IppTagOperation, IppTagName, "requesting-user-name", nullptr,
                        m_cups.cupsUser());
    if (attribute)
      m_cups.ippAddString(request, IppTagOperation, IppTagKeyword, "requested-attributes", nullptr,
                          attribute);
    // cupsDoRequest frees the request.
    return m_cups.cupsDoRequest(connection.http(), request, "/jobs/");
  }

  const Libcups &m_cups;
  QByteArray m_queue;
  int m_id = 0;
};

// The document as Qt prints it on the printer: its page size and margins, at
// its resolution.
QByteArray asPdf(const QTextDocument &document, const QPrinter &printer)
{
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  QPdfWriter writer(&pdf);
  writer.setResolution(printer.resolution());
  writer.setPageLayout(printer.pageLayout());
  document.print(&writer);
  return pdf.data();
}

} // namespace

// Qt's own CUPS printing sends the job and never looks at how it went, and
// cannot take back a job that the user was told did not print. So the
// reading is made into a PDF here, as Qt does it, and sent through libcups.
void printOnDefaultPrinter(const QTextDocument &document, PrintHandOver &handOver)
{
  const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
  if (printerInfo.isNull())
    return;
  // A stopped queue takes the job and keeps it instead of printing it.
  if (printerInfo.state() == QPrinter::Error)
    return;
  const Libcups &cups = libcups();
  if (!cups.loaded)
    return;
  const QPrinter printer(printerInfo, QPrinter::HighResolution);
  const QByteArray pdf = asPdf(document, printer);
  if (pdf.isEmpty() || handOver.givenUp())
    return;

  // CUPS knows the queue by its name without the instance. The title and the
  // page size are those that Qt's own printing gives the job.
  ServerJob job(cups, printerInfo.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit());
  if (!job.create(printer.docName().toLocal8Bit(),
                  printer.pageLayout().pageSize().key().toLocal8Bit()))
    return;
  handOver.holds(job.takeBack());
  if (!handOver.givenUp() && job.send(pdf) && handOver.mayLetGo() && job.letGo() &&
      job.isPrinting() && handOver.printed())
    return;
  handOver.end();
  handOver.takeBack(QDeadlineTimer(TakeBackFor));
}

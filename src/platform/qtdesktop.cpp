#include "platform/qtdesktop.h"

#include "platform/placement.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QSysInfo>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

// In a build with AddressSanitizer (gcc names it __SANITIZE_ADDRESS__, clang
// __has_feature), the end of the process checks for leaks.
#if defined(__SANITIZE_ADDRESS__)
#define QUORRIN_CHECK_LEAKS_AT_END 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORRIN_CHECK_LEAKS_AT_END 1
#endif
#endif
#ifdef QUORRIN_CHECK_LEAKS_AT_END
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// "Description|pattern" as the program keeps it, to Qt's "Description (pattern)".
QString qtFilter(const QString &filter)
{
  QString description = filter.section(QLatin1Char('|'), 0, 0).trimmed();
  const QString pattern = filter.section(QLatin1Char('|'), 1).trimmed();
  if (pattern.isEmpty() || description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
    return description;
  return QStringLiteral("%1 (%2)").arg(description, pattern);
}

// A box or dialog that no window asked for comes up in the middle of the
// screen with the focus; one with an owner is put over it by Qt and kept above
// it by the window manager.
int runModal(QDialog &dialog, QWidget *owner)
{
  if (!owner) {
    centreOnScreen(dialog);
    QTimer::singleShot(0, &dialog, [&dialog] {
      dialog.raise();
      dialog.activateWindow();
    });
  }
  return dialog.exec();
}

QString runFileDialog(QWidget *owner, const FileDialogRequest &request,
                      QFileDialog::AcceptMode mode)
{
  QFileDialog dialog(owner, request.title, QString(), qtFilter(request.filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (runModal(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

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
  const auto lastError = reinterpret_cast<LastError>(QLibrary::resolve(
      QStringLiteral("cups"), 2, "cupsLastError")); // NOLINT(*-reinterpret-cast)
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

enum class LockClaim { Claimed, HeldByAnotherCopy, Unusable };

// A copy that is starting creates its lock file first and writes it a moment
// later: a lock file this young may still be filled in.
constexpr std::chrono::milliseconds LockWriteGrace{1000};
// How long a start keeps trying one folder before it turns to the next.
constexpr std::chrono::milliseconds LockPatience{3000};

// Whether a lock that QLockFile would not take over belongs to a running copy
// of this program on this machine. QLockFile has then already checked that
// the process it names is running under this program's name; an empty or
// unreadable lock, one from another machine and one from another program
// are no copy of the program.
bool namesRunningCopy(const QLockFile &lock)
{
  qint64 pid = 0;
  QString host;
  QString program;
  if (!lock.getLockInfo(&pid, &host, &program))
    return false;
  return (host.isEmpty() || host == QSysInfo::machineHostName()) &&
         (program.isEmpty() ||
          program == QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

bool writtenMomentsAgo(const QString &path)
{
  const QDateTime written = QFileInfo(path).lastModified();
  return written.isValid() &&
         qAbs(written.msecsTo(QDateTime::currentDateTime())) < LockWriteGrace.count();
}

// Takes the lock, taking over one that no running copy holds. The removal is
// itself locked, and the lock is taken again before the removal lock is let
// go, so that of two copies starting together only one removes and takes it.
LockClaim claimLock(QLockFile &lock, const QString &path)
{
  // The lock is held for the whole run, so its age says nothing; a lock left by
  // a copy that crashed is recognised by its dead process and taken over.
  lock.setStaleLockTime(0);
  const QDeadlineTimer patience(LockPatience);
  do {
    if (lock.tryLock(0))
      return LockClaim::Claimed;
    if (lock.error() != QLockFile::LockFailedError)
      return LockClaim::Unusable;
    if (namesRunningCopy(lock))
      return LockClaim::HeldByAnotherCopy;
    if (!writtenMomentsAgo(path)) {
      QLockFile removal(path + QLatin1String(".rmlock"));
      if (removal.tryLock(0) && !namesRunningCopy(lock) && !writtenMomentsAgo(path)) {
        if (!lock.removeStaleLockFile())
          return LockClaim::Unusable;
        if (lock.tryLock(0))
          return LockClaim::Claimed;
      }
    }
    QThread::msleep(100);
  } while (!patience.hasExpired());
  return LockClaim::Unusable;
}

QSettings::Format settingsFormat() { return QSettings::IniFormat; }

// A settings file larger than this was not written by the program, whose file
// holds one short value.
constexpr qint64 LargestSettingsFile = qint64{1024} * 1024;

QString settingsFilePath()
{
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty())
    return {};
  const QString name = QtDesktop::applicationName();
  return folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1String(".ini");
}

// Whether QSettings reads the file back whole. It passes over bytes that are
// not UTF-8 and lines it cannot parse, and would then write the file anew
// without them.
bool readsBackWhole(const QString &path)
{
  // Checked before opening: opening a named pipe would wait for a writer.
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > LargestSettingsFile)
    return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(file.readAll());
  if (utf8.hasError() || text.contains(QChar::Null))
    return false;
  return QSettings(path, settingsFormat()).status() == QSettings::NoError;
}

// Moves the file, or whatever stands in its place, aside under a name of its
// own, so that nothing in it is lost and the program starts a fresh store.
bool setAside(const QString &path)
{
  const QString base = path + QLatin1String(".damaged");
  QString aside = base;
  for (int number = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++number)
    aside = base + QLatin1Char('-') + QString::number(number);
  return QDir().rename(path, aside);
}

// The settings file the program can use: the file as it is when it reads back
// whole or is not there yet, else a fresh one once the old one is set aside.
// Nothing when even that fails.
std::optional<QString> usableSettingsFile()
{
  const QString path = settingsFilePath();
  if (path.isEmpty())
    return std::nullopt;
  const QFileInfo info(path);
  if ((!info.exists() && !info.isSymLink()) || readsBackWhole(path) || setAside(path))
    return path;
  return std::nullopt;
}

} // namespace

QtDesktop::QtDesktop() = default;
QtDesktop::~QtDesktop() = default;

MessageAnswer QtDesktop::messageBox(QWidget *owner, const QString &text, MessageIcon icon,
                                    MessageButtons buttons, const QString &title)
{
  QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information,
                  title, text, QMessageBox::NoButton, owner);
  if (buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int answer = runModal(box, owner);
  if (buttons == MessageButtons::Ok)
    return MessageAnswer::Ok;
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtDesktop::openFileName(QWidget *owner, const FileDialogRequest &request)
{
  return runFileDialog(owner, request, QFileDialog::AcceptOpen);
}

QString QtDesktop::saveFileName(QWidget *owner, const FileDialogRequest &request)
{
  return runFileDialog(owner, request, QFileDialog::AcceptSave);
}

bool QtDesktop::openUrl(const QString &address)
{
  // QDesktopServices hands the address to the desktop's opener as one
  // argument; no shell ever sees it.
  return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

bool QtDesktop::printDocument(const QTextDocument &document)
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

QDate QtDesktop::today() { return QDate::currentDate(); }

void QtDesktop::seedRandom()
{
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  m_random.seed(static_cast<std::mt19937::result_type>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

float QtDesktop::nextRandom() { return drawFromBits(m_random()); }

float QtDesktop::drawFromBits(std::uint32_t bits)
{
  // 24 random bits scaled by 2^-24 fill a float's mantissa exactly, so the
  // draw can never round up to 1.
  constexpr float scale = 1.0F / 16777216.0F;
  return static_cast<float>(bits >> 8U) * scale;
}

bool QtDesktop::claimSingleInstance()
{
  const QString name = applicationName() + QLatin1String(".lock");
  // Every copy looks in the same folders in the same order: the user's runtime
  // folder, then the user's cache folder for when the runtime folder cannot
  // hold a file (a read-only one, say).
  for (const auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::CacheLocation}) {
    const QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty() || !QDir().mkpath(folder))
      continue;
    const QString path = folder + QLatin1Char('/') + name;
    auto lock = std::make_unique<QLockFile>(path);
    switch (claimLock(*lock, path)) {
    case LockClaim::Claimed:
      m_instanceLock = std::move(lock);
      return true;
    case LockClaim::HeldByAnotherCopy:
      return false;
    case LockClaim::Unusable:
      break;
    }
  }
  // Only a running copy may keep the program from starting: where no folder
  // can hold the lock, it runs unguarded.
  return true;
}

std::optional<QString> QtDesktop::readSetting(const QString &section, const QString &key)
{
  const auto path = usableSettingsFile();
  if (!path)
    return std::nullopt;
  QSettings settings(*path, settingsFormat());
  if (settings.status() != QSettings::NoError)
    return std::nullopt;
  settings.beginGroup(section);
  return settings.value(key, QString()).toString();
}

bool QtDesktop::writeSetting(const QString &section, const QString &key, const QString &value)
{
  const auto path = usableSettingsFile();
  if (!path)
    return false;
  QSettings settings(*path, settingsFormat());
  settings.beginGroup(section);
  settings.setValue(key, value);
  settings.endGroup();
  settings.sync();
  return settings.status() == QSettings::NoError;
}

void QtDesktop::endProcess()
{
  if (m_instanceLock)
    m_instanceLock->unlock();
  std::fflush(nullptr);
#ifdef QUORRIN_CHECK_LEAKS_AT_END
  // _Exit skips the check LeakSanitizer makes at a normal exit. A leak found
  // here ends the process with LeakSanitizer's report and exit code instead.
  __lsan_do_leak_check();
#endif
  // Leaving at once guarantees that no window event runs after the last unload.
  std::_Exit(EXIT_SUCCESS);
}

QString QtDesktop::applicationName()
{
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

#include "platform/qtdesktop.h"

#include "platform/filedialog.h"
#include "platform/singlecopy/handoff.h"
#include "platform/singlecopy/instancelock.h"
#include "platform/placement.h"
#include "platform/printing/printing.h"
#include "platform/singlecopy/handoff.h"
#include "platform/singlecopy/instancelock.h"
#include "platform/store/settingsstore.h"
#include "platform/systemfacts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <cstdlib>

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
  return rememberFolder(askForFile(owner, request, FileDialogMode::Open, dialogFolder()));
}

QString QtDesktop::saveFileName(QWidget *owner, const FileDialogRequest &request)
{
  return rememberFolder(askForFile(owner, request, FileDialogMode::Save, dialogFolder()));
}

QString QtDesktop::dialogFolder() const
{
  // Never the working folder, which is the program's own folder when the
  // Start menu starts it.
  const QStringList candidates = {
      m_lastDialogFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
      QDir::homePath()};
  for (const QString &folder : candidates) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
      return folder;
  }
  return {};
}

QString QtDesktop::rememberFolder(const QString &chosenFile)
{
  if (!chosenFile.isEmpty())
    m_lastDialogFolder = QFileInfo(chosenFile).absolutePath();
  return chosenFile;
}

bool QtDesktop::openUrl(const QString &address)
{
  // QDesktopServices hands the address to the desktop's opener as one
  // argument; no shell ever sees it.
  return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

bool QtDesktop::printDocument(const QTextDocument &document)
{
  return printWithoutFreezing(document);
}

qsizetype QtDesktop::longestWebAddress() const { return SystemFacts::longestBrowserAddress(); }

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
  m_handoff.reset();
  m_instance = {};
  m_instance = claimInstanceLock(applicationName() + QLatin1String(".lock"));
  return !m_instance.anotherCopyRuns;
}

void QtDesktop::receiveHandedFiles(std::function<void(const QString &path)> receiver)
{
  m_handoff = std::make_unique<FileHandoff>(std::move(receiver));
  if (!m_handoff->listen(m_instance.handoffNames))
    m_handoff.reset();
}

void QtDesktop::refuseHandedFiles()
{
  if (m_handoff)
    m_handoff->refuse();
}

bool QtDesktop::handToRunningCopy(const QString &path)
{
  return FileHandoff::send(m_instance.handoffNames, path);
}

std::optional<QString> QtDesktop::readSetting(const QString &section, const QString &key)
{
  const auto settings = openSettingsStore(applicationName());
  if (!settings || settings->status() != QSettings::NoError)
    return std::nullopt;
  settings->beginGroup(section);
  return settings->value(key, QString()).toString();
}

bool QtDesktop::writeSetting(const QString &section, const QString &key, const QString &value)
{
  const auto settings = openSettingsStore(applicationName());
  if (!settings)
    return false;
  settings->beginGroup(section);
  settings->setValue(key, value);
  settings->endGroup();
  settings->sync();
  return settings->status() == QSettings::NoError;
}

void QtDesktop::endProcess()
{
  m_handoff.reset();
  m_instance.locks.clear();
  takeBackUnprintedJobs();
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

#include "platform/qtdesktop.h"

#include "platform/handoff.h"
#include "platform/instancelock.h"
#include "platform/placement.h"
#include "platform/printing.h"
#include "platform/settingsstore.h"
#include "platform/systemfacts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
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
  if (m_instance.folder.isEmpty())
    return;
  m_handoff = std::make_unique<FileHandoff>(std::move(receiver));
  if (!m_handoff->listen(FileHandoff::nameInFolder(m_instance.folder)))
    m_handoff.reset();
}

bool QtDesktop::handToRunningCopy(const QString &path)
{
  // The running copy listens in the first folder whose lock it holds, which
  // need not be this start's first.
  QStringList names;
  for (const QString &folder : instanceLockFolders()) {
    if (!folder.isEmpty())
      names.append(FileHandoff::nameInFolder(folder));
  }
  return FileHandoff::send(names, path);
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

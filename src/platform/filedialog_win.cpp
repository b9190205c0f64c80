#include "platform/filedialog.h"

#include <QDialog>
#include <QDir>
#include <QWidget>

#include <string>
#include <vector>

#include <windows.h>

#include <commdlg.h>

// Windows' common dialogs themselves: Qt's file dialog writes what it
// remembers under HKEY_CURRENT_USER\Software\QtProject, a key that every Qt
// program shares and no uninstaller removes.

namespace {

// Room for the longest path Windows takes.
constexpr DWORD LongestPath = 32768;

// "Description|pattern" as the program keeps it, to the dialog's pair of
// strings, each ended by a NUL, and an empty one to end the list.
std::wstring windowsFilter(const QString &filter)
{
  const QString description = filter.section(QLatin1Char('|'), 0, 0).trimmed();
  QString pattern = filter.section(QLatin1Char('|'), 1).trimmed();
  if (pattern.isEmpty())
    pattern = QStringLiteral("*.*");
  return (description + QChar::Null + pattern + QChar::Null + QChar::Null).toStdWString();
}

} // namespace

QString askForFile(QWidget *owner, const FileDialogRequest &request, FileDialogMode mode,
                   const QString &folder)
{
  const std::wstring filter = windowsFilter(request.filter);
  const std::wstring title = request.title.toStdWString();
  const std::wstring suffix = request.defaultSuffix.toStdWString();
  const std::wstring startFolder = QDir::toNativeSeparators(folder).toStdWString();
  std::vector<wchar_t> file(LongestPath, L'\0');

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr; // NOLINT
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = LongestPath;
  dialog.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN |
                 (mode == FileDialogMode::Open ? OFN_FILEMUSTEXIST
                                               : OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);

  // Stands for the system's dialog among the program's windows, as Qt's own
  // native dialogs do: while it is up the other windows are blocked and a
  // handed file waits, as for any box of the program.
  QDialog standIn(owner);
  standIn.setAttribute(Qt::WA_DontShowOnScreen);
  standIn.setWindowModality(Qt::ApplicationModal);
  standIn.show();
  const BOOL chosen =
      mode == FileDialogMode::Open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  standIn.hide();
  if (!chosen)
    return {};
  return QDir::fromNativeSeparators(QString::fromWCharArray(file.data()));
}

#include "platform/filedialog.h"

#include "platform/placement.h"

#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>

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

// Qt's dialog remembers its folders and view in the user's store of Qt,
// ~/.config/QtProject.conf, which every Qt program shares: the program's
// dialogs keep theirs in the program's own configuration folder instead.
void keepQtStateWithProgram()
{
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (!folder.isEmpty())
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

} // namespace

QString askForFile(QWidget *owner, const FileDialogRequest &request, FileDialogMode mode,
                   const QString &folder)
{
  keepQtStateWithProgram();
  QFileDialog dialog(owner, request.title, QString(), qtFilter(request.filter));
  // After construction: Qt's dialog would go to the folder it remembers.
  dialog.setDirectory(folder);
  dialog.setAcceptMode(mode == FileDialogMode::Open ? QFileDialog::AcceptOpen
                                                    : QFileDialog::AcceptSave);
  dialog.setFileMode(mode == FileDialogMode::Open ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (runModal(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

#include "platform/store/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

constexpr QSettings::Format SettingsFormat = QSettings::IniFormat;

// A settings file larger than this was not written by the program, whose file
// holds one short value.
constexpr qint64 LargestSettingsFile = qint64{1024} * 1024;

QString settingsFilePath(const QString &name)
{
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty())
    return {};
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
  return QSettings(path, SettingsFormat).status() == QSettings::NoError;
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

} // namespace

std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName)
{
  const QString path = settingsFilePath(applicationName);
  if (path.isEmpty())
    return nullptr;
  const QFileInfo info(path);
  if ((!info.exists() && !info.isSymLink()) || readsBackWhole(path) || setAside(path))
    return std::make_unique<QSettings>(path, SettingsFormat);
  return nullptr;
}

#include "content/content.h"

#include "config.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace Content {

namespace {
QString readText(const QString &path)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QString text = QString::fromUtf8(file.readAll());
  while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
    text.chop(1);
  return text.replace(QStringLiteral("{site}"), MakerSiteUrl);
}

QPixmap readPng(const QString &path)
{
  // Left to guess, the reader would load every image plugin to ask whether it
  // reads PNG, which costs the main window milliseconds before it appears.
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}
} // namespace

QString text(const QString &name)
{
  return readText(QStringLiteral(":/content/text/%1.txt").arg(name));
}

QStringList signDescriptions()
{
  // The files are numbered by month, so their sorted order is calendar order.
  const QDir folder(QStringLiteral(":/content/text/signs"));
  QStringList descriptions;
  for (const QString &file : folder.entryList(QDir::Files, QDir::Name))
    descriptions.append(readText(folder.filePath(file)));
  return descriptions;
}

QIcon applicationIcon()
{
  // Every size the icon is drawn in, so that a desktop never scales the one it
  // shows; the small ones are drawn for their size.
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(readPng(QStringLiteral(":/content/icons/application-%1.png").arg(size)));
  return icon;
}

QPixmap applicationPixmap()
{
  return readPng(QStringLiteral(":/content/icons/application-32.png"));
}

} // namespace Content

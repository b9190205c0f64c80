#include "content/content.h"

#include "web/siteaddresses.h"

#include <QDir>
#include <QFile>
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
  // Every rendered size, so that a desktop never scales the icon it shows; the
  // small ones are drawn for their size.
  QIcon icon;
  const QDir folder(QStringLiteral(":/content/icons"));
  for (const QString &file : folder.entryList({QStringLiteral("application-*.png")}, QDir::Files))
    icon.addFile(folder.filePath(file));
  return icon;
}

QPixmap applicationPixmap()
{
  return QPixmap(QStringLiteral(":/content/icons/application-32.png"));
}

} // namespace Content

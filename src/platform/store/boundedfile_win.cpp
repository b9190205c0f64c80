#include "platform/store/boundedfile.h"

#include <QFile>
#include <QFileInfo>

// Named pipes have a namespace of their own here, apart from files and
// folders, and opening a file never waits for a writer: Qt's own checks do.
std::optional<QByteArray> readBoundedFile(const QString &path, qint64 largest)
{
  if (!QFileInfo(path).isFile())
    return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > largest)
    return std::nullopt;
  QByteArray bytes = file.read(largest + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > largest)
    return std::nullopt;
  return bytes;
}

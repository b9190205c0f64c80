#include "platform/store/filenames.h"

#include <QDir>

#include <filesystem>
#include <system_error>

QString absoluteFileName(const QString &path)
{
  // Not cleaned with QDir::cleanPath: it decodes the name again, as Qt decodes
  // names, and the system resolves "." and ".." itself.
  if (QDir::isAbsolutePath(path))
    return path;
  std::error_code failed;
  const std::string working = std::filesystem::current_path(failed).native();
  return fileNameFromSystem(QByteArray::fromStdString(working)) + QLatin1Char('/') + path;
}

QString localFileOf(const QUrl &address)
{
  const QString path = fileNameFromSystem(
      QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1()));
  const QString host = address.host();
  if (host.isEmpty() || host == QLatin1String("localhost"))
    return path;
  return QStringLiteral("//") + host + path;
}

#include "platform/store/boundedfile.h"
#include "platform/store/filenames.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QByteArray> readBoundedFile(const QString &path, qint64 largest)
{
  // Without O_NONBLOCK, opening a named pipe waits for a writer.
  const int descriptor =
      ::open(fileNameForSystem(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0)
    return std::nullopt;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > largest) {
    ::close(descriptor);
    return std::nullopt;
  }
  QFile file;
  if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return std::nullopt;
  }
  // The file may have grown since fstat.
  QByteArray bytes = file.read(largest + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > largest)
    return std::nullopt;
  return bytes;
}

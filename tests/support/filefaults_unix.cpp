#include "support/filefaults.h"

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

bool makeNamedPipe(const QString &path)
{
  return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

void passWriterThrough(const QString &path)
{
  ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
}

bool makeSymbolicLink(const QString &target, const QString &link)
{
  return QFile::link(target, link);
}

struct FileSizeLimit::Saved {
  void (*signal)(int);
  rlimit limit;
};

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
    return;
  // Past the limit the kernel sends SIGXFSZ, which would end the test.
  m_saved = std::make_unique<Saved>(Saved{std::signal(SIGXFSZ, SIG_IGN), limit});
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
    std::signal(SIGXFSZ, m_saved->signal);
    m_saved.reset();
  }
}

FileSizeLimit::~FileSizeLimit()
{
  if (!m_saved)
    return;
  setrlimit(RLIMIT_FSIZE, &m_saved->limit);
  std::signal(SIGXFSZ, m_saved->signal);
}

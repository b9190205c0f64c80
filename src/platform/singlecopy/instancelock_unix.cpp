#include "platform/singlecopy/instancelock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Each round either takes the lock or clears away one thing that stood in
// its place; more than a few means something keeps putting things there.
constexpr int Rounds = 4;

// What stands at the lock's path and is no lock file goes: a link itself (never
// what it points to), a pipe or a device is removed, a folder is kept aside
// whole under another name.
bool clearWay(const QByteArray &path, const struct stat &standing)
{
  if (S_ISDIR(standing.st_mode))
    return ::rename(path.constData(), (path + ".damaged").constData()) == 0;
  return ::unlink(path.constData()) == 0;
}

bool sameFile(const struct stat &one, const struct stat &other)
{
  return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// Who holds the lock, in the three lines older copies of the program read:
// process id, program file name, host name.
void describeHolder(int descriptor)
{
  const QByteArray holder =
      QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
      QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName()) + '\n' +
      QSysInfo::machineHostName().toUtf8() + '\n';
  // A lock that says nothing still locks: a write that fails (a full disk) is
  // not a reason to run unguarded.
  if (::ftruncate(descriptor, 0) == 0)
    (void)!::pwrite(descriptor, holder.constData(), static_cast<size_t>(holder.size()), 0);
}

// The lock file as the system knows it, with the user: the name of the
// hand-off of whichever copy holds this very file. A start refused by it
// finds that copy, whatever its runtime folder, and no copy beside it.
QString handoffNameOf(const QString &lockPath, const struct stat &file)
{
  return QStringLiteral("%1-%2-%3-%4")
      .arg(QFileInfo(lockPath).fileName())
      .arg(::geteuid())
      .arg(file.st_dev)
      .arg(file.st_ino);
}

} // namespace

QStringList instanceLockFolders()
{
  // The runtime folder is where a lock belongs; the cache folder stands in
  // when the runtime folder cannot hold a file (a read-only or full one).
  return {QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
          QStandardPaths::writableLocation(QStandardPaths::CacheLocation)};
}

InstanceLock::Claim InstanceLock::claim()
{
  release();
  const QByteArray path = QFile::encodeName(m_path);
  for (int round = 0; round < Rounds; ++round) {
    struct stat standing {};
    if (::lstat(path.constData(), &standing) == 0 && !S_ISREG(standing.st_mode)) {
      if (!clearWay(path, standing))
        return Claim::Unusable;
      continue;
    }
    // Not following a link and not waiting on a pipe, in case one was put
    // there since the look above.
    const int descriptor =
        ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (descriptor < 0) {
      if (errno == ELOOP || errno == EISDIR || errno == ENXIO)
        continue;
      return Claim::Unusable;
    }
    struct stat opened {};
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      ::close(descriptor);
      continue;
    }
    m_handoffName = handoffNameOf(m_path, opened);
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(descriptor);
      return error == EWOULDBLOCK ? Claim::HeldByAnotherCopy : Claim::Unusable;
    }
    // A copy that was ending may have removed the file between the open and
    // the lock: then the lock is on a file nobody else will find.
    struct stat named {};
    if (::stat(path.constData(), &named) != 0 || !sameFile(named, opened)) {
      ::close(descriptor);
      continue;
    }
    describeHolder(descriptor);
    m_handle = descriptor;
    return Claim::Claimed;
  }
  return Claim::Unusable;
}

void InstanceLock::release()
{
  if (m_handle < 0)
    return;
  // Removed while still held, so that no other copy can lock this file after
  // it is gone from the folder; but only while the path still names this
  // file: another copy's lock may stand there since this one was deleted.
  const QByteArray path = QFile::encodeName(m_path);
  struct stat held {};
  struct stat named {};
  if (::fstat(static_cast<int>(m_handle), &held) == 0 && ::lstat(path.constData(), &named) == 0 &&
      sameFile(held, named))
    ::unlink(path.constData());
  ::close(static_cast<int>(m_handle));
  m_handle = -1;
}

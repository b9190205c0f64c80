#include "platform/instancelock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>

#include <chrono>

namespace {

enum class LockClaim { Claimed, HeldByAnotherCopy, Unusable };

// A copy that is starting creates its lock file first and writes it a moment
// later: a lock file this young may still be filled in.
constexpr std::chrono::milliseconds LockWriteGrace{1000};
// How long a start keeps trying one folder before it turns to the next.
constexpr std::chrono::milliseconds LockPatience{3000};

// Whether a lock that QLockFile would not take over belongs to a running copy
// of this program on this machine. QLockFile has then already checked that
// the process it names is running under this program's name; an empty or
// unreadable lock, one from another machine and one from another program
// are no copy of the program.
bool namesRunningCopy(const QLockFile &lock)
{
  qint64 pid = 0;
  QString host;
  QString program;
  if (!lock.getLockInfo(&pid, &host, &program))
    return false;
  return (host.isEmpty() || host == QSysInfo::machineHostName()) &&
         (program.isEmpty() ||
          program == QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

bool writtenMomentsAgo(const QString &path)
{
  const QDateTime written = QFileInfo(path).lastModified();
  return written.isValid() &&
         qAbs(written.msecsTo(QDateTime::currentDateTime())) < LockWriteGrace.count();
}

// Takes the lock, taking over one that no running copy holds. The removal is
// itself locked, and the lock is taken again before the removal lock is let
// go, so that of two copies starting together only one removes and takes it.
LockClaim claimLock(QLockFile &lock, const QString &path)
{
  // The lock is held for the whole run, so its age says nothing; a lock left by
  // a copy that crashed is recognised by its dead process and taken over.
  lock.setStaleLockTime(0);
  const QDeadlineTimer patience(LockPatience);
  do {
    if (lock.tryLock(0))
      return LockClaim::Claimed;
    if (lock.error() != QLockFile::LockFailedError)
      return LockClaim::Unusable;
    if (namesRunningCopy(lock))
      return LockClaim::HeldByAnotherCopy;
    if (!writtenMomentsAgo(path)) {
      QLockFile removal(path + QLatin1String(".rmlock"));
      if (removal.tryLock(0) && !namesRunningCopy(lock) && !writtenMomentsAgo(path)) {
        if (!lock.removeStaleLockFile())
          return LockClaim::Unusable;
        if (lock.tryLock(0))
          return LockClaim::Claimed;
      }
    }
    QThread::msleep(100);
  } while (!patience.hasExpired());
  return LockClaim::Unusable;
}

} // namespace

InstanceClaim claimInstanceLock(const QString &fileName)
{
  // Every copy looks in the same folders in the same order: the user's runtime
  // folder, then the user's cache folder for when the runtime folder cannot
  // hold a file (a read-only one, say).
  for (const auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::CacheLocation}) {
    const QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty() || !QDir().mkpath(folder))
      continue;
    const QString path = folder + QLatin1Char('/') + fileName;
    auto lock = std::make_unique<QLockFile>(path);
    switch (claimLock(*lock, path)) {
    case LockClaim::Claimed:
      return {false, std::move(lock)};
    case LockClaim::HeldByAnotherCopy:
      return {true, nullptr};
    case LockClaim::Unusable:
      break;
    }
  }
  // Only a running copy may keep the program from starting: where no folder
  // can hold the lock, it runs unguarded.
  return {false, nullptr};
}

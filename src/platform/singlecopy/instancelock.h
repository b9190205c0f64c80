#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One lock file, held with the operating system's own file lock for as long
// as this object lives. The system lets go of it when the process ends, however
// it ends, so a copy that crashed never blocks the next start, and nothing
// about the process (its id, its name, the host name) has to be guessed from
// the file's contents.
class InstanceLock {
public:
  enum class Claim { Claimed, HeldByAnotherCopy, Unusable };

  explicit InstanceLock(QString path);
  InstanceLock(const InstanceLock &) = delete;
  InstanceLock &operator=(const InstanceLock &) = delete;
  ~InstanceLock();

  // Takes the lock without waiting. Whatever stands at the path that is no
  // lock file of the program (a folder, a link, a pipe, a device, a file far
  // larger than a lock) is never read: it is put out of the way first.
  Claim claim();
  // The name under which the copy that holds this lock file takes handed
  // files, once claim() has found the file claimed or held: no other lock
  // file, of this user or another, has the same.
  const QString &handoffName() const { return m_handoffName; }

private:
  void release();

  QString m_path;
  QString m_handoffName;
  // The open lock file while it is held: a descriptor, or a Windows handle.
  qintptr m_handle = -1;
};

struct InstanceClaim {
  // Only a running copy of the program refuses a start.
  bool anotherCopyRuns = false;
  // Held for the whole run; none when no folder can hold a lock.
  std::vector<std::unique_ptr<InstanceLock>> locks;
  // Where the running copy takes handed files: this copy under the name of
  // each lock it holds; for a refused start, the name of the lock that
  // refused it, which names exactly the copy holding it.
  QStringList handoffNames;
};

// The folders that hold this user's lock, in the order every copy tries them.
QStringList instanceLockFolders();

// Claims this user's single running copy through a lock file of the given
// name in every folder that can hold one. A copy holding the lock in any of
// them refuses the start, so a copy whose first folder was unusable when it
// started (full, read-only, or not named at all) is still found by the next.
InstanceClaim claimInstanceLock(const QString &fileName);

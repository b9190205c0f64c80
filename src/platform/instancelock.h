#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

struct InstanceClaim {
  // Only a running copy of the program on this machine refuses a start.
  bool anotherCopyRuns = false;
  // Held for the whole run; none when no folder can hold the lock.
  std::unique_ptr<QLockFile> lock;
};

// Claims this user's single running copy through a lock file of the given name
// in the user's runtime folder, or in the cache folder when the runtime folder
// cannot hold it. A lock that names no running copy (left by a copy that was
// killed, empty, damaged, from another machine) is taken over.
InstanceClaim claimInstanceLock(const QString &fileName);

#include "platform/singlecopy/instancelock.h"

#include <QDir>

InstanceLock::InstanceLock(QString path) : m_path(std::move(path)) {}

InstanceLock::~InstanceLock() { release(); }

InstanceClaim claimInstanceLock(const QString &fileName)
{
  InstanceClaim claim;
  for (const QString &folder : instanceLockFolders()) {
    if (folder.isEmpty() || !QDir().mkpath(folder))
      continue;
    auto lock = std::make_unique<InstanceLock>(folder + QLatin1Char('/') + fileName);
    switch (lock->claim()) {
    case InstanceLock::Claim::Claimed:
      claim.handoffNames.append(lock->handoffName());
      claim.locks.push_back(std::move(lock));
      break;
    case InstanceLock::Claim::HeldByAnotherCopy:
      // The locks taken so far go with the claim.
      return {true, {}, {lock->handoffName()}};
    case InstanceLock::Claim::Unusable:
      break;
    }
  }
  // Only a running copy may keep the program from starting: where no folder
  // can hold the lock, it runs unguarded.
  return claim;
}

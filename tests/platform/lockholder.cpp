#include "platform/singlecopy/instancelock.h"

#include <QCoreApplication>

#include <cstdio>

// Holds the single-copy lock at the path it is given, as a running copy of the
// program does, until it is ended; says "held" once it holds it.
int main(int argc, char *argv[])
{
  const QCoreApplication application(argc, argv);
  InstanceLock lock(QCoreApplication::arguments().value(1));
  if (lock.claim() != InstanceLock::Claim::Claimed)
    return 1;
  std::puts("held");
  std::fflush(stdout);
  return QCoreApplication::exec();
}

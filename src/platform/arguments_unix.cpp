#include "platform/arguments.h"
#include "platform/store/filenames.h"

QStringList commandLineArguments(int argc, char *argv[])
{
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments.append(fileNameFromSystem(QByteArray(argv[i]))); // NOLINT
  return arguments;
}

#include "platform/arguments.h"

// With shellapi.h, for CommandLineToArgvW.
#include <windows.h>

QStringList commandLineArguments(int /*argc*/, char * /*argv*/[])
{
  int count = 0;
  wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
  QStringList arguments;
  if (!wide)
    return arguments;
  for (int i = 0; i < count; ++i)
    arguments.append(QString::fromWCharArray(wide[i])); // NOLINT
  LocalFree(static_cast<HLOCAL>(wide));
  return arguments;
}

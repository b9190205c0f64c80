#include "platform/terminal.h"

#include <cstdio>
#include <windows.h>

namespace {
bool goesSomewhere(DWORD stream)
{
  const HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}
} // namespace

void useStartingTerminal()
{
  // Output sent to a file or a pipe stays there.
  if (goesSomewhere(STD_OUTPUT_HANDLE) && goesSomewhere(STD_ERROR_HANDLE))
    return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS))
    return;
  if (!goesSomewhere(STD_OUTPUT_HANDLE))
    (void)!std::freopen("CONOUT$", "w", stdout);
  if (!goesSomewhere(STD_ERROR_HANDLE))
    (void)!std::freopen("CONOUT$", "w", stderr);
}

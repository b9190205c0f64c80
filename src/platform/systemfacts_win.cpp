#include "platform/systemfacts.h"

namespace SystemFacts {

qsizetype longestBrowserAddress()
{
  // The shell starts the default browser with the address on its command
  // line, and Windows takes no command line of 32,767 characters or more; the
  // browser's own path and options take some of them.
  constexpr qsizetype LongestCommandLine = 32767;
  constexpr qsizetype BrowserCommand = 1024;
  return LongestCommandLine - BrowserCommand;
}

} // namespace SystemFacts

#include "platform/systemfacts.h"

namespace SystemFacts {

qsizetype longestBrowserAddress()
{
  // xdg-open, and the browser after it, each get the address as one argument
  // of a new program, and Linux takes no argument of 128 KiB or more (its
  // MAX_ARG_STRLEN, with the closing zero). Browsers take longer addresses:
  // Chromium 2 MiB, Firefox 1 MiB.
  constexpr qsizetype LongestArgument = qsizetype{128} * 1024 - 1;
  return LongestArgument;
}

} // namespace SystemFacts

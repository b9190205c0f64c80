#pragma once

#include <QtGlobal>

// Facts of the operating system the program is built for.
namespace SystemFacts {

// The longest web address, in bytes, that the desktop hands to the browser
// whole.
qsizetype longestBrowserAddress();

} // namespace SystemFacts

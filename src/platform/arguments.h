#pragma once

#include <QStringList>

// The program's command line, its own name first, as the user gave it: on
// Windows read as UTF-16 from the system, not through the ANSI code page of
// argv; on Unix each argument's bytes kept whole, UTF-8 or not.
QStringList commandLineArguments(int argc, char *argv[]);

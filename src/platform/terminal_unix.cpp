#include "platform/terminal.h"

// A program started from a terminal writes to it already.
void useStartingTerminal() {}

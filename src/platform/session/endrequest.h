#pragma once

#include <functional>

// Calls `end` on the UI thread, from whatever event loop runs, when the system
// asks the program to end: at logout or shutdown, or as `kill` does. Set once,
// once the application object exists.
void onEndRequest(std::function<void()> end);

#pragma once

// The one way the program ends: unloads every loaded window in load order,
// each running its own unload handling, then ends the process.
void ExitApplication();

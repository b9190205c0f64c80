#pragma once

#include <QString>

// Saved readings that reach the program other than through its open command:
// a file named when the program starts, or one that a later start hands over.
// Each is shown as the open command shows a file, in the order they came. A
// window that waits for an answer (a message box, the reading window, the
// about window) comes to the front and is left to the user; the reading is
// shown once it is closed. Otherwise the user leaves whatever window is up
// for a fresh main window, as Back does, and the reading opens from there.
void ShowSavedReadingFile(const QString &path);

#pragma once

class QDialog;
class QWidget;

// Puts a top-level window in the middle of its screen, frame included, as it is
// about to be shown for the first time. The window manager's frame is known
// only once it has framed a window: until then its size is taken from another
// framed window of the program, and a window shown before any other is put
// right as soon as its own frame is known.
void centreOnScreen(QWidget &window);

// Runs a box or dialog modally. One that no window asked for comes up in the
// middle of the screen with the focus; one with an owner is put over it by Qt
// and kept above it by the window manager.
int runModal(QDialog &dialog, QWidget *owner);

#pragma once

class QTextEdit;
class QWidget;

// modRTB: makes the links of a rich-text control live. A press of the left
// button on a web link opens its address in the browser at once; the press
// still goes on to the control, which selects and moves its caret as usual.
// One hook at a time: enabling again first removes the one in place.

// The hook belongs to the parent window and goes with it at the latest.
void EnableUrlLinks(QTextEdit &richText, QWidget &parent);
// Does nothing when no hook is in place.
void DisableUrlLinks();

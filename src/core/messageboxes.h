#pragma once

#include "platform/desktop.h"

#include <QString>

class QWidget;

// The program's message boxes, one function for each kind, every box
// captioned with the program's title. The owner is the window the user acted
// in; null for a box that nothing the user did asked for.

// A refusal or a failure: the critical icon and OK.
void showError(QWidget *owner, const QString &text);
// A notice: the information icon and OK.
void showNotice(QWidget *owner, const QString &text);
// A question: the information icon, Yes (the default) and No.
MessageAnswer askYesNo(QWidget *owner, const QString &text);

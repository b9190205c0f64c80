#pragma once

#include <QString>

// What assistive technology is told about the program's own kinds of widget.
// Everything else keeps Qt's own account: a button is named by its caption, a
// box by the label whose buddy it is, a menu entry by its caption.
namespace Accessibility {

// Teaches Qt that a window of the program is a window, named by its title and
// described by what it is, and that a link caption is a link that a screen
// reader can press. Safe to call any number of times.
void install();

// A caption as a screen reader says it: without the & of its access key.
QString withoutAccessKey(const QString &caption);

} // namespace Accessibility

#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

// What assistive technology is told about the program's own kinds of widget.
// Everything else keeps Qt's own account: a button is named by its caption, a
// box by the label whose buddy it is, a menu entry by its caption.
namespace Accessibility {

// Teaches Qt that a window of the program is a window, named by its title and
// described by what it is, that a link caption is a link that a screen reader
// can press, and that a drop-down list shows its chosen entry as text and
// leads the reader to the entry chosen from the keyboard. Safe to call any
// number of times.
void install();

// Adds the captions, in order, to what a screen reader says of the window
// when it opens, after what the window is: what the window is there to say.
void describeWindowBy(QWidget *window, const QList<QLabel *> &captions);

// A caption as a screen reader says it: without the & of its access key.
QString withoutAccessKey(const QString &caption);

} // namespace Accessibility

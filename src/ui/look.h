#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

// The program's common look. Window geometry is designed in twips; Qt's
// high-DPI scaling takes logical pixels from there.
namespace Look {

constexpr int TwipsPerPixel = 15;

constexpr int px(int twips) { return twips / TwipsPerPixel; }
constexpr QRect twips(int left, int top, int width, int height)
{
  return {px(left), px(top), px(width), px(height)};
}
constexpr QSize twipsSize(int width, int height) { return {px(width), px(height)}; }

inline const QColor DarkGreen{0, 64, 0};
inline const QColor Orange{255, 128, 0};
inline const QColor Yellow{255, 255, 0};
inline const QColor White{255, 255, 255};
inline const QColor Black{0, 0, 0};
inline const QColor BrightGreen{0, 255, 0};
inline const QColor Navy{0, 0, 128};
inline const QColor CheckBlue{0, 0, 192};
inline const QColor DarkCyan{0, 128, 128};
inline const QColor Blue{0, 0, 255};
// The face of a button on a light desktop.
inline const QColor ButtonFace{240, 240, 240};

enum FontStyle { Regular = 0, Bold = 1, Underlined = 2 };

// Verdana where it is installed, else a sans serif of the same metrics.
QFont verdana(qreal points, int style = Regular);
// Whether verdana() stands in for Verdana, which is not installed here.
bool verdanaStandsIn();
QFont sansSerif(qreal points, int style = Regular);

// Sets the colour of a widget's own text (labels, frame captions) and, when
// given, its background, which makes it opaque. Edit boxes and buttons inside
// keep the desktop's colours.
void paint(QWidget *widget, const QColor &text, const QColor &background = QColor());

// A page of text: black on white with blue links, whatever the desktop's
// colours, as the page comes out of the printer.
void paintPage(QWidget *page);

// A button with a face of its own colour under its text colour, which stays
// readable on a dark desktop.
void paintButton(QWidget *button, const QColor &text, const QColor &face = ButtonFace);

// A label at a designed place: text, font and colour, transparent unless
// painted otherwise. A null size means "sized to its text".
QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &place,
              const QFont &font, const QColor &colour);

} // namespace Look

namespace Look {
// Gives a control its program name, which the tests find it by. A screen
// reader never hears it: it is told what the user reads.
template <class Widget> Widget *named(Widget *widget, const QString &name)
{
  widget->setObjectName(name);
  return widget;
}
} // namespace Look

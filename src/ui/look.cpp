#include "ui/look.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPalette>

namespace Look {

namespace {
QFont styled(QFont font, qreal points, int style)
{
  font.setPointSizeF(points);
  font.setBold((style & Bold) != 0);
  font.setUnderline((style & Underlined) != 0);
  return font;
}

// The first of the families that is installed, else the last. Chosen once:
// asking the desktop for a family it lacks costs a search of every font.
QString installedFamily(const QStringList &families)
{
  for (const QString &family : families) {
    if (QFontDatabase::hasFamily(family))
      return family;
  }
  return families.constLast();
}

const QString Verdana = QStringLiteral("Verdana");

QString verdanaFamily()
{
  static const QString family = installedFamily({Verdana, QStringLiteral("DejaVu Sans")});
  return family;
}
} // namespace

QFont verdana(qreal points, int style) { return styled(QFont(verdanaFamily()), points, style); }

bool verdanaStandsIn() { return verdanaFamily() != Verdana; }

QFont sansSerif(qreal points, int style)
{
  static const QString family =
      installedFamily({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                       QStringLiteral("DejaVu Sans")});
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  return styled(font, points, style);
}

void paint(QWidget *widget, const QColor &text, const QColor &background)
{
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, text);
  if (background.isValid()) {
    palette.setColor(QPalette::Window, background);
    widget->setAutoFillBackground(true);
  }
  widget->setPalette(palette);
}

void paintPage(QWidget *page)
{
  QPalette palette = page->palette();
  palette.setColor(QPalette::Base, White);
  palette.setColor(QPalette::Text, Black);
  palette.setColor(QPalette::Link, Blue);
  page->setPalette(palette);
}

void paintButton(QWidget *button, const QColor &text, const QColor &face)
{
  QPalette palette = button->palette();
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Button, face);
  button->setPalette(palette);
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &place,
              const QFont &font, const QColor &colour)
{
  auto *result = named(new QLabel(text, parent), name);
  result->setFont(font);
  result->setTextFormat(Qt::PlainText);
  paint(result, colour);
  if (place.size().isEmpty()) {
    result->move(place.topLeft());
    result->adjustSize();
  } else {
    result->setGeometry(place);
  }
  return result;
}

} // namespace Look

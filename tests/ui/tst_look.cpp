#include "config.h"
#include "platform/qtdesktop.h"
#include "support/windowtest.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"
#include "ui/windows/frmSave.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

// A dark colour scheme as desktops offer it: light text on dark grounds.
QPalette darkPalette()
{
  const QColor ground(53, 53, 53);
  const QColor field(35, 35, 35);
  const QColor text(230, 230, 230);
  const QColor dim(127, 127, 127);
  const QColor blue(42, 130, 218);
  QPalette palette(text, ground, ground.lighter(), ground.darker(), ground, text, text, field,
                   ground);
  palette.setColor(QPalette::Link, blue);
  palette.setColor(QPalette::Highlight, blue);
  palette.setColor(QPalette::HighlightedText, Qt::black);
  palette.setColor(QPalette::PlaceholderText, dim);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, dim);
  return palette;
}

double luminance(const QColor &colour)
{
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

double contrast(const QColor &one, const QColor &other)
{
  const auto [dark, light] = std::minmax({luminance(one), luminance(other)});
  return (light + 0.05) / (dark + 0.05);
}

// The colour that covers most of the area: what the text is read against.
// Close shades count as one, so that a gradient fill outweighs an outline of a
// single shade; the result is their mean.
QColor dominantColour(const QImage &image, const QRect &area)
{
  struct Shade {
    int count = 0;
    int red = 0, green = 0, blue = 0;
  };
  QHash<int, Shade> shades;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      Shade &shade =
          shades[(pixel.red() >> 4) << 8 | (pixel.green() >> 4) << 4 | pixel.blue() >> 4];
      ++shade.count;
      shade.red += pixel.red();
      shade.green += pixel.green();
      shade.blue += pixel.blue();
    }
  }
  Shade most;
  for (const Shade &shade : std::as_const(shades)) {
    if (shade.count > most.count)
      most = shade;
  }
  return most.count == 0
             ? QColor()
             : QColor(most.red / most.count, most.green / most.count, most.blue / most.count);
}

// Whether text of that colour was drawn in the area: stems of glyphs come out
// in the full colour, their edges blended with the ground.
bool drawnIn(const QImage &image, const QRect &area, const QColor &colour)
{
  constexpr int Tolerance = 24;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
              std::abs(pixel.blue() - colour.blue()) <=
          Tolerance)
        return true;
    }
  }
  return false;
}

// The part of the widget the user sees in its window: inside every parent.
QRect seenArea(const QWidget *widget, const QWidget *window)
{
  QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
  for (const QWidget *parent = widget->parentWidget(); parent && parent != window;
       parent = parent->parentWidget())
    area &= QRect(parent->mapTo(window, QPoint(0, 0)), parent->size());
  return area & window->rect();
}

struct Text {
  QString words;
  QColor colour;
  QRect area; // in the window
};

// Each text a widget shows and the colour it is drawn in.
QList<Text> textsOf(QWidget *widget, const QWidget *window)
{
  const QRect area = seenArea(widget, window);
  const QColor foreground = widget->palette().color(widget->foregroundRole());
  QList<Text> texts;
  const auto add = [&](const QString &words, const QColor &colour, const QRect &where) {
    if (!words.trimmed().isEmpty())
      texts.append({words.simplified(), colour, where});
  };
  if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
    const int titleHeight = frame->fontMetrics().height();
    add(frame->title(), foreground, area & QRect(area.topLeft(), QSize(area.width(), titleHeight)));
  } else if (auto *list = qobject_cast<QComboBox *>(widget)) {
    // A list that cannot be typed in is drawn as a button.
    add(list->currentText(), list->palette().color(QPalette::ButtonText), area);
  } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget)) {
    add(plain->toPlainText(), plain->palette().color(QPalette::Text), area);
  } else if (auto *rich = qobject_cast<QTextEdit *>(widget)) {
    // Rich text carries its own colours, fragment by fragment.
    for (QTextBlock block = rich->document()->begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        add(it.fragment().text(),
            format.foreground().style() == Qt::NoBrush ? rich->palette().color(QPalette::Text)
                                                       : format.foreground().color(),
            seenArea(rich->viewport(), window));
      }
    }
  } else if (auto *bar = qobject_cast<QMenuBar *>(widget)) {
    for (QAction *action : bar->actions()) {
      if (action->isEnabled())
        add(action->text(), foreground, bar->actionGeometry(action).translated(area.topLeft()));
    }
  } else {
    // Captions, buttons and boxes of one line.
    add(widget->property("text").toString(), foreground, area);
  }
  return texts;
}

// Every text of the window that is drawn below 4.5:1 against what is behind
// it, as rendered; text of a control that is switched off needs no contrast.
QStringList faintTexts(QWidget *window)
{
  const QImage shot = window->grab().toImage();
  QStringList faults;
  int checked = 0;
  for (QWidget *widget : window->findChildren<QWidget *>()) {
    if (!widget->isVisibleTo(window) || !widget->isEnabled())
      continue;
    for (const Text &text : textsOf(widget, window)) {
      if (text.area.isEmpty())
        continue;
      ++checked;
      const QColor ground = dominantColour(shot, text.area);
      const double ratio = contrast(text.colour, ground);
      if (ratio < 4.5)
        faults << QStringLiteral("%1 \"%2\": %3 on %4, %5:1")
                      .arg(widget->objectName(), text.words.left(30), text.colour.name(),
                           ground.name())
                      .arg(ratio, 0, 'f', 2);
      else if (!drawnIn(shot, text.area, text.colour))
        faults << QStringLiteral("%1 \"%2\": no %3 drawn on %4")
                      .arg(widget->objectName(), text.words.left(30), text.colour.name(),
                           ground.name());
    }
  }
  if (checked < 2)
    faults << QStringLiteral("only %1 texts found in %2").arg(checked).arg(window->objectName());
  return faults;
}

} // namespace

// How the windows look on a desktop: under a dark colour scheme every text of
// every window stays readable, at least 4.5:1 against the colour actually drawn
// behind it; and the desktop gets the icon in each size it shows.
class LookTest : public WindowTest {
  Q_OBJECT

  QPalette m_desktopPalette;


private slots:
  void initTestCase()
  {
    m_desktopPalette = QApplication::palette();
    QApplication::setPalette(darkPalette());
  }

  void cleanupTestCase() { QApplication::setPalette(m_desktopPalette); }

  void everyTextIsReadable_data()
  {
    QTest::addColumn<QString>("window");
    for (const char *name :
         {"frmMain", "frmAustralianAstrologyResult", "frmSave", "frmAbout", "frmNagScreen2"})
      QTest::newRow(name) << QString::fromLatin1(name);
  }

  void everyTextIsReadable()
  {
    QFETCH(QString, window);
    QWidget &shown = openWindow(window, QStringLiteral("December"));
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    const QStringList faults = faintTexts(&shown);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  void messageBoxTextIsReadable()
  {
    QWidget &main = openWindow(QStringLiteral("frmMain"), QStringLiteral("December"));
    QStringList faults{QStringLiteral("no message box came up")};
    QTimer::singleShot(0, &main, [&faults] {
      auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      if (!box)
        return;
      faults = faintTexts(box);
      box->accept();
    });
    QtDesktop().messageBox(&main, QStringLiteral("Please Enter Your Name"), MessageIcon::Critical,
                           MessageButtons::Ok, AppTitle);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  void windowsOfferTheIconInEverySize()
  {
    const QIcon icon = openWindow(QStringLiteral("frmMain"), QStringLiteral("December")).windowIcon();
    const QList<QSize> expected{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    for (const QSize &size : expected)
      QVERIFY2(icon.availableSizes().contains(size), qPrintable(QString::number(size.width())));
  }
};

QTEST_MAIN(LookTest)
#include "tst_look.moc"

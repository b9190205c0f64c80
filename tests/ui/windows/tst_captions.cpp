#include "config.h"
#include "support/windowtest.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"
#include "ui/windows/frmSave.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTextEdit>
#include <QtTest>

namespace {
// Everything a window says: its title, captions, buttons, frames, menus and
// rich text.
QStringList textsOf(const QWidget &window)
{
  QStringList texts{window.windowTitle()};
  for (const auto *label : window.findChildren<QLabel *>())
    texts.append(label->text());
  for (const auto *button : window.findChildren<QAbstractButton *>())
    texts.append(button->text());
  for (const auto *frame : window.findChildren<QGroupBox *>())
    texts.append(frame->title());
  for (const auto *rich : window.findChildren<QTextEdit *>())
    texts.append(rich->toPlainText());
  for (const auto *action : window.findChildren<QAction *>())
    texts.append(action->text());
  return texts;
}
} // namespace

// What the windows say about the maker's site.
class CaptionsTest : public WindowTest {
  Q_OBJECT

private slots:
  void everyWindowNamesTheConfiguredSite()
  {
    auto &readingWindow = Forms::get<frmSave>();
    readingWindow.setReading({QStringLiteral("Tom"), QStringLiteral("May")});
    const QList<Form *> windows{&Forms::get<frmMain>(), &Forms::get<frmAustralianAstrologyResult>(),
                                &readingWindow, &Forms::get<frmAbout>(),
                                &Forms::get<frmNagScreen2>()};
    static const QRegularExpression address(QStringLiteral(R"((?:https?://|www\.)[^\s]*)"));
    static const QRegularExpression placeholder(QStringLiteral(R"(\{\w*\}|%\d)"));
    int siteNamed = 0;
    for (const Form *window : windows) {
      for (const QString &text : textsOf(*window)) {
        const QString where = window->objectName() + QStringLiteral(": ") + text;
        QVERIFY2(!placeholder.match(text).hasMatch(), qPrintable(where));
        QRegularExpressionMatchIterator found = address.globalMatch(text);
        while (found.hasNext()) {
          QVERIFY2(found.next().captured().startsWith(MakerSiteUrl), qPrintable(where));
          ++siteNamed;
        }
      }
    }
    // The forum invitations of three windows, the closing screen's button,
    // the about window's link and the report's footer.
    QCOMPARE(siteNamed, 6);
  }
};

QTEST_MAIN(CaptionsTest)
#include "tst_captions.moc"

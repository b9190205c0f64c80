#include "config.h"
#include "content/content.h"
#include "core/webpages.h"
#include "support/windowtest.h"
#include "ui/linklabel.h"
#include "ui/referafriend.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
frmNagScreen2 &activeClosingScreen()
{
  frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
  screen.showModeless();
  screen.activateWindow();
  if (!QTest::qWaitForWindowActive(&screen))
    qWarning("the closing screen did not become active");
  return screen;
}

QString focusedName() { return QApplication::focusWidget()->objectName(); }
} // namespace

class ClosingScreenTest : public WindowTest {
  Q_OBJECT

private slots:
  void theAppealIsDrawnOnceAtLoad_data()
  {
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("appeal");
    QTest::newRow("0") << 0.0F << 0;
    QTest::newRow("0.25") << 0.25F << 1;
    QTest::newRow("0.5") << 0.5F << 2;
    QTest::newRow("0.75") << 0.75F << 3;
    QTest::newRow("0.9999") << 0.9999F << 3;
  }

  void theAppealIsDrawnOnceAtLoad()
  {
    QFETCH(float, draw);
    QFETCH(int, appeal);
    scripted->draws << draw << 0.0F;
    const QString expected = Content::text(QStringLiteral("appeal-%1").arg(appeal));

    Forms::get<frmNagScreen2>().showModeless();
    Forms::get<frmNagScreen2>().hideForm();
    frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
    screen.showModeless();
    QCOMPARE(screen.Label2->text(), expected);
    QCOMPARE(scripted->seeds, 1);
    QCOMPARE(scripted->draws.size(), 1);
    QVERIFY(screen.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  }

  void backBeforeAnyExitCreatesItHidden()
  {
    scripted->draws << 0.25F << 0.75F;
    Forms::get<frmAustralianAstrologyResult>().showModeless();
    Forms::find<frmAustralianAstrologyResult>()->cmdBack_Click();
    frmNagScreen2 *screen = Forms::find<frmNagScreen2>();
    QVERIFY(screen && !screen->isVisible());

    // Leaving the main window then shows the text drawn at that first request.
    Forms::find<frmMain>()->unload();
    QCOMPARE(Forms::find<frmNagScreen2>(), screen);
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->Label2->text(), Content::text(QStringLiteral("appeal-1")));
  }

  void check1OpensTheHomePageAndComesUpAgain()
  {
    frmNagScreen2 &screen = activeClosingScreen();
    QTest::mouseClick(screen.Check1, Qt::LeftButton);
    QVERIFY(!screen.Check1->isChecked());
    QTest::keyClick(screen.Check1, Qt::Key_Space);
    QVERIFY(!screen.Check1->isChecked());
    QTest::mouseClick(screen.lblGoToHome, Qt::LeftButton);
    const QString home = PageAddress(PageKey::Home);
    QCOMPARE(scripted->openedUrls, QStringList({home, home, PageAddress(PageKey::Catalogue)}));
  }

  void exitAndTheCloseBoxEndTheProgram_data()
  {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Alt+X") << false;
    QTest::newRow("close box") << true;
  }

  void exitAndTheCloseBoxEndTheProgram()
  {
    QFETCH(bool, closeBox);
    Forms::get<frmMain>();
    frmNagScreen2 &screen = activeClosingScreen();
    if (closeBox)
      screen.close();
    else
      QTest::keyClick(&screen, Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(scripted->processEnds, 1);
    QVERIFY(Forms::loaded().isEmpty());
  }

  void tabVisitsTheFormInOrderClearingAndRestoringCaptions()
  {
    frmNagScreen2 &screen = activeClosingScreen();
    QCOMPARE(focusedName(), QStringLiteral("cmdClose"));
    QStringList visited;
    for (int step = 0; step < 8; ++step) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited.append(focusedName());
      if (auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
        QVERIFY2(field->text().isEmpty(), qPrintable(field->text()));
    }
    QCOMPARE(visited, QStringList({"Check1", "txtName", "cmdSubmit", "txtEmail", "txtFriendEmail",
                                   "txtFriendName", "txtMessage", "cmdClose"}));
    QCOMPARE(screen.Frame2->txtFriendName->text(), QStringLiteral("Friend's Name"));
    // The message box starts with a line break after its caption: not cleared.
    QCOMPARE(screen.Frame2->values().message, QStringLiteral("Your Message\r\n"));
  }

  void typedSpacesAreRefusedInEmailFields()
  {
    frmNagScreen2 &screen = activeClosingScreen();
    for (QLineEdit *box : {screen.Frame2->txtEmail, screen.Frame2->txtFriendEmail}) {
      scripted->messageBoxes.clear();
      box->setFocus(Qt::TabFocusReason);
      QTest::keyClicks(box, QStringLiteral("ann @x.org"));
      QCOMPARE(box->text(), QStringLiteral("ann@x.org"));
      QCOMPARE(scripted->messageTexts(), QStringList{"Email Address Cannot Contain Space"});
      const auto &refusal = scripted->messageBoxes.constFirst();
      QVERIFY(refusal.icon == MessageIcon::Critical && refusal.buttons == MessageButtons::Ok);
      QCOMPARE(refusal.title, AppTitle);
      QCOMPARE(refusal.owner, &screen);
      QCOMPARE(QApplication::focusWidget(), box);

      QGuiApplication::clipboard()->setText(QStringLiteral(" b"));
      QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(box->text(), QStringLiteral("ann@x.org b"));
      QCOMPARE(scripted->messageBoxes.size(), 1);
    }
  }

  // What checkReferral says comes up over the closing screen, the topmost
  // window, as a box it owns; the page does not open.
  void aRefusalComesUpOverTheClosingScreen()
  {
    frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
    screen.Frame2->cmdSubmit->click();
    QCOMPARE(scripted->messageTexts(), QStringList{"Please Enter Proper Email Address"});
    const auto &refusal = scripted->messageBoxes.constFirst();
    QCOMPARE(refusal.owner, &screen);
    QVERIFY(refusal.icon == MessageIcon::Critical && refusal.buttons == MessageButtons::Ok);
    QCOMPARE(refusal.title, AppTitle);
    QVERIFY(scripted->openedUrls.isEmpty());
  }

  void aSubmissionSendsTrimmedEncodedValues()
  {
    frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
    screen.showModeless();
    screen.Frame2->txtName->setText(QStringLiteral("  Ann & Bob "));
    screen.Frame2->txtEmail->setText(QStringLiteral(" ann+news@example.org"));
    screen.Frame2->txtFriendName->setText(QStringLiteral("Bob #1"));
    screen.Frame2->txtFriendEmail->setText(QStringLiteral("bob@example.net  "));
    screen.Frame2->cmdSubmit->click();
    screen.Frame2->cmdSubmit->click();

    const QString address = ProductBaseUrl + "ssd.php?page=quorrin-refer-a-friend" +
                            "&taf1=Ann%20%26%20Bob&taf2=ann%2Bnews%40example.org" +
                            "&taf3=Your%20Message%0D%0A&taf4=Bob%20%231&taf5=bob%40example.net" +
                            "&taf6=" + ProductBaseUrl;
    QCOMPARE(scripted->openedUrls, QStringList({address, address}));
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.Frame2->txtName->text(), QStringLiteral("  Ann & Bob "));
  }
};

QTEST_MAIN(ClosingScreenTest)
#include "tst_frmnagscreen2.moc"

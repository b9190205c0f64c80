#include "config.h"
#include "content/content.h"
#include "core/webpages.h"
#include "support/windowtest.h"
#include "ui/linklabel.h"
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
    QCOMPARE(screen.txtFriendName->text(), QStringLiteral("Friend's Name"));
    // The message box starts with a line break after its caption: not cleared.
    QCOMPARE(screen.messageText(), QStringLiteral("Your Message\r\n"));
  }

  void typedSpacesAreRefusedInEmailFields()
  {
    frmNagScreen2 &screen = activeClosingScreen();
    for (QLineEdit *box : {screen.txtEmail, screen.txtFriendEmail}) {
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

  void submitChecksInOrder_data()
  {
    QTest::addColumn<QStringList>("fields"); // e-mail, friend's e-mail, name, friend, message
    QTest::addColumn<QString>("refusal");    // empty: the page opens
    const QString distinct = QStringLiteral("Please Enter Distinct Email Addresses");
    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    const QString message = QStringLiteral("Your Message\r\n");
    const auto row = [](const char *name, const QStringList &fields, const QString &refusal) {
      QTest::newRow(name) << fields << refusal;
    };
    row("untouched",
        {"Your Email Address", "Friend's Email Address", "Your Name", "Friend's Name", message},
        proper);
    row("both empty", {"", "  ", "Your Name", "", ""}, distinct);
    row("same address", {"a@x.org", " a@x.org ", "Ann", "Bob", message}, distinct);
    row("only case differs", {"A@x.org", "a@x.org", "Ann", "Bob", message}, "");
    row("no @", {"a@x.org", "b.x.org", "Ann", "Bob", message}, proper);
    row("no .", {"a@xorg", "b@x.org", "Ann", "Bob", message}, proper);
    row("@ and . anywhere", {".a@", "@b.", "Ann", "Bob", message}, "");
    row("name unfilled", {"a@x.org", "b@x.org", "Your Name", "", ""}, "Please Enter Your Name");
    row("message emptied", {"a@x.org", "b@x.org", "Ann", "", "Your Message"},
        "Please Enter Your Message");
    row("friend unfilled", {"a@x.org", "b@x.org", "Ann", "Friend's Name", message},
        "Please Enter Your Friend's Name");
  }

  void submitChecksInOrder()
  {
    QFETCH(QStringList, fields);
    QFETCH(QString, refusal);
    frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
    screen.txtEmail->setText(fields.at(0));
    screen.txtFriendEmail->setText(fields.at(1));
    screen.txtName->setText(fields.at(2));
    screen.txtFriendName->setText(fields.at(3));
    screen.txtMessage->setPlainText(fields.at(4));
    screen.cmdSubmit->click();
    QCOMPARE(scripted->messageTexts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(scripted->openedUrls.size(), refusal.isEmpty() ? 1 : 0);
    // Above the topmost closing screen only a box it owns is seen.
    for (const auto &box : scripted->messageBoxes)
      QCOMPARE(box.owner, &screen);
  }

  // An address the browser cannot be handed whole is not cut short: the user
  // is told, over the form, and nothing opens.
  void anAddressTooLongForTheBrowserIsRefused()
  {
    frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
    screen.txtName->setText(QString(100, QChar(0x00e9)));
    screen.txtEmail->setText(QStringLiteral("a@x.org"));
    screen.txtFriendName->setText(QStringLiteral("Bob"));
    screen.txtFriendEmail->setText(QStringLiteral("b@x.org"));
    screen.cmdSubmit->click();
    QCOMPARE(scripted->openedUrls.size(), 1);
    const QString address = scripted->openedUrls.constFirst();

    scripted->longestAddress = address.size() - 1;
    screen.cmdSubmit->click();
    QCOMPARE(scripted->openedUrls.size(), 1);
    QCOMPARE(scripted->messageTexts(),
             QStringList{QStringLiteral("Your entries are too long to send. Please shorten them.")});
    QCOMPARE(scripted->messageBoxes.constFirst().owner, &screen);
    QCOMPARE(scripted->messageBoxes.constFirst().icon, MessageIcon::Critical);
  }

  void aSubmissionSendsTrimmedEncodedValues()
  {
    frmNagScreen2 &screen = Forms::get<frmNagScreen2>();
    screen.showModeless();
    screen.txtName->setText(QStringLiteral("  Ann & Bob "));
    screen.txtEmail->setText(QStringLiteral(" ann+news@example.org"));
    screen.txtFriendName->setText(QStringLiteral("Bob #1"));
    screen.txtFriendEmail->setText(QStringLiteral("bob@example.net  "));
    screen.cmdSubmit->click();
    screen.cmdSubmit->click();

    const QString address = ProductBaseUrl + "ssd.php?page=quorrin-refer-a-friend" +
                            "&taf1=Ann%20%26%20Bob&taf2=ann%2Bnews%40example.org" +
                            "&taf3=Your%20Message%0D%0A&taf4=Bob%20%231&taf5=bob%40example.net" +
                            "&taf6=" + ProductBaseUrl;
    QCOMPARE(scripted->openedUrls, QStringList({address, address}));
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.txtName->text(), QStringLiteral("  Ann & Bob "));
  }
};

QTEST_MAIN(ClosingScreenTest)
#include "tst_frmnagscreen2.moc"

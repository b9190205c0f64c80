#include "core/signtable.h"
#include "core/webpages.h"
#include "support/windowtest.h"
#include "ui/linklabel.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

class ResultWindowTest : public WindowTest {
  Q_OBJECT

  frmAustralianAstrologyResult &readingFor(const QString &name, const QString &month)
  {
    auto &main = Forms::get<frmMain>();
    main.showModeless();
    main.txtName->setText(name);
    main.cboMonth->setCurrentText(month);
    main.cmdProceed->click();
    return Forms::get<frmAustralianAstrologyResult>();
  }

  static bool closingScreenShown()
  {
    const auto *closing = Forms::find<frmNagScreen2>();
    return closing && closing->isVisible();
  }

  // Counts the closing screen coming up, however briefly.
  class ClosingScreenShows final : public QObject {
  public:
    ClosingScreenShows() { qApp->installEventFilter(this); }
    ~ClosingScreenShows() override { qApp->removeEventFilter(this); }
    ClosingScreenShows(const ClosingScreenShows &) = delete;
    ClosingScreenShows &operator=(const ClosingScreenShows &) = delete;
    int count = 0;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
      if (event->type() == QEvent::Show && qobject_cast<frmNagScreen2 *>(watched))
        ++count;
      return false;
    }
  };

  static void expectFreshMainWindow()
  {
    auto *main = Forms::find<frmMain>();
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QVERIFY(main->txtName->text().isEmpty());
    QCOMPARE(main->cboMonth->currentText(), QStringLiteral("January"));
  }

private slots:
  void showsTheReadingWithBackFocused()
  {
    auto &result = readingFor(QStringLiteral("Tom"), QStringLiteral("October"));
    QCOMPARE(result.lblLabel[0]->text(), QStringLiteral("Sun Sign"));
    QCOMPARE(result.lblResult[0]->text(), QStringLiteral("DIBBLER"));
    QCOMPARE(result.lblResult[1]->text().size(), 671);
    QTRY_COMPARE(QApplication::focusWidget(), result.cmdBack);
    QVERIFY(!result.mnuMakeMoney->isEnabled());
  }

  void backByButtonOrMenuGivesAFreshMainWindow_data()
  {
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("button") << false;
    QTest::newRow("menu") << true;
  }

  void backByButtonOrMenuGivesAFreshMainWindow()
  {
    QFETCH(bool, byMenu);
    // Twice: Back first makes the closing screen, hidden, then finds it.
    const ClosingScreenShows shows;
    for (int round = 0; round < 2; ++round) {
      auto &result = readingFor(QStringLiteral("Tom"), QStringLiteral("May"));
      if (byMenu)
        result.mnuBack->trigger();
      else
        result.cmdBack->click();

      expectFreshMainWindow();
      QVERIFY(!Forms::find<frmAustralianAstrologyResult>());
      QVERIFY(Forms::find<frmNagScreen2>());
      QCOMPARE(shows.count, 0);
    }
  }

  void enterOnTheFreshWindowIsBack()
  {
    auto &result = readingFor(QStringLiteral("Tom"), QStringLiteral("May"));
    QVERIFY(QTest::qWaitForWindowActive(&result));
    QTRY_COMPARE(QApplication::focusWidget(), result.cmdBack);
    QTest::keyClick(result.cmdBack, Qt::Key_Return);
    QTRY_VERIFY(Forms::find<frmMain>());
    QVERIFY(!Forms::find<frmAustralianAstrologyResult>());
  }

  void exitAndTheCloseBoxLeadToTheClosingScreen_data()
  {
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("File > Exit") << true;
    QTest::newRow("close box") << false;
  }

  void exitAndTheCloseBoxLeadToTheClosingScreen()
  {
    QFETCH(bool, byMenu);
    auto &result = readingFor(QStringLiteral("Tom"), QStringLiteral("May"));
    if (byMenu)
      result.mnuExit->trigger();
    else
      result.close();
    QVERIFY(!Forms::find<frmAustralianAstrologyResult>());
    QVERIFY(closingScreenShown());
    QCOMPARE(scripted->processEnds, 0);
  }

  void twoReadingsInARowShowTheSecond()
  {
    readingFor(QStringLiteral("Tom"), QStringLiteral("May")).cmdBack->click();
    auto &second = readingFor(QStringLiteral("Tom"), QStringLiteral("December"));
    QCOMPARE(second.lblResult[0]->text(), QStringLiteral("EMU"));
  }

  void linksAndMenuEntriesOpenTheirPages()
  {
    auto &result = readingFor(QStringLiteral("Tom"), QStringLiteral("May"));
    result.mnuOnline->trigger();
    result.mnuVisit->trigger();
    result.mnuUpdate->trigger();
    result.mnuDonate->trigger();
    QTest::mouseClick(result.Label61, Qt::LeftButton);
    QTest::mouseClick(result.lblFullBrand, Qt::LeftButton);
    QCOMPARE(scripted->openedUrls, QStringList({PageAddress(QStringLiteral("help-web-page")),
                                                PageAddress(QStringLiteral("home-page")),
                                                PageAddress(QStringLiteral("download-web-page")),
                                                PageAddress(QStringLiteral("donate")),
                                                PageAddress(QStringLiteral("home-page")),
                                                PageAddress(QStringLiteral("fully-branded"))}));
  }
};

QTEST_MAIN(ResultWindowTest)
#include "tst_result.moc"

#include "core/webpages.h"
#include "support/windowtest.h"
#include "ui/linklabel.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmAustralianAstrologyResult.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
constexpr int PatienceMs = 5000;

// Opens the about window as the result window does and runs `whileShown` in
// its modal loop. True when the window went away by itself; one still up after
// a while is unloaded so that the test goes on.
bool runAbout(const std::function<void(frmAbout &)> &whileShown)
{
  bool stuck = false;
  QTimer::singleShot(0, [&] {
    frmAbout *about = Forms::find<frmAbout>();
    about->activateWindow();
    if (!QTest::qWaitForWindowActive(about))
      qWarning("the about window did not become active");
    whileShown(*about);
  });
  QTimer::singleShot(PatienceMs, [&] {
    if (frmAbout *about = Forms::find<frmAbout>()) {
      stuck = true;
      about->unload();
    }
  });
  Forms::get<frmAbout>().showModal();
  return !stuck;
}
} // namespace

class AboutTest : public WindowTest {
  Q_OBJECT

private slots:
  void enterEscAndTheCloseBoxCloseIt()
  {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
      QVERIFY(runAbout([key](frmAbout &about) { QTest::keyClick(about.Label1, key); }));
      QVERIFY(runAbout([key](frmAbout &) { QTest::keyClick(QApplication::focusWidget(), key); }));
    }
    QVERIFY(runAbout([](frmAbout &about) { about.close(); }));
    QCOMPARE(Forms::find<frmAbout>(), nullptr);
  }

  void linksOpenTheirPagesAndKeepItModal()
  {
    Forms::get<frmAustralianAstrologyResult>().showModeless();
    QVERIFY(runAbout([&](frmAbout &about) {
      QTest::mouseClick(about.lblHomePage, Qt::LeftButton);
      QTest::mouseClick(about.lblCobrand, Qt::LeftButton);
      QVERIFY(about.isVisible());
      QCOMPARE(QApplication::activeModalWidget(), &about);
      QCOMPARE(scripted->openedUrls,
               QStringList({PageAddress(PageKey::Home), PageAddress(PageKey::FullyBranded)}));
      about.cmdOK->click();
    }));
  }

  void eachOpeningIsAFreshWindow()
  {
    QPointer<frmAbout> first;
    QString designed;
    QVERIFY(runAbout([&](frmAbout &about) {
      first = &about;
      designed = about.Label2->text();
      about.Label2->setText(QStringLiteral("changed"));
      about.cmdOK->click();
    }));
    QTRY_VERIFY(first.isNull());
    QString title;
    QString caption;
    QVERIFY(runAbout([&](frmAbout &about) {
      title = about.Label2->text();
      caption = about.windowTitle();
      about.cmdOK->click();
    }));
    QCOMPARE(title, designed);
    // The window names the program and its version as every caption does.
    QCOMPARE(title, caption);
  }
};

QTEST_MAIN(AboutTest)
#include "tst_frmabout.moc"

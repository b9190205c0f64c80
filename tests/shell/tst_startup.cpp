#include "reading/frmAustralianAstrologyResult.h"
#include "reading/frmMain.h"
#include "shell/linklabel.h"
#include "shell/masking.h"
#include "shell/startup.h"
#include "support/windowtest.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
QWidget *offerInFront(const frmMain &window)
{
  return window.fraFullBrand->childAt(window.lblFullBrand->geometry().center());
}
} // namespace

class StartupTest : public WindowTest {
  Q_OBJECT

private slots:
  void aSecondCopyIsRefusedWithoutAWindow()
  {
    scripted->anotherCopyRunning = true;
    StartApplication();
    QCOMPARE(scripted->messageBoxes.size(), 1);
    const auto &box = scripted->messageBoxes.constFirst();
    QCOMPARE(box.text, QStringLiteral("Application is already running"));
    QCOMPARE(box.owner, nullptr);
    QCOMPARE(box.icon, MessageIcon::Information);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(box.title, QStringLiteral("Quorrin Australian Astrology"));
    QCOMPARE(scripted->processEnds, 1);
    QVERIFY(Forms::loaded().isEmpty());
    QVERIFY(scripted->settings.isEmpty());
  }

  void theReminderComesBeforeTheMainWindow()
  {
    const QString key = QStringLiteral("Settings/") + MaskText(QStringLiteral("Duration"));
    scripted->settings.insert(key, MaskText(QStringLiteral("2026-11-01")));
    int windowsVisibleDuringBox = -1;
    scripted->whileMessageBoxShown = [&](const ScriptedDesktop::MessageBoxCall &) {
      windowsVisibleDuringBox = 0;
      for (QWidget *widget : QApplication::topLevelWidgets())
        windowsVisibleDuringBox += widget->isVisible() ? 1 : 0;
    };
    StartApplication();
    QCOMPARE(scripted->messageBoxes.size(), 1);
    QCOMPARE(windowsVisibleDuringBox, 0);
    QCOMPARE(scripted->seeds, 1);
    auto *main = Forms::find<frmMain>();
    QVERIFY(main);
    QVERIFY(main->isVisible());
  }

  void theDrawRoundsHalvesToEven_data()
  {
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("number");
    QTest::newRow("0") << 0.0F << 1;
    QTest::newRow("0.25") << 0.25F << 2;
    QTest::newRow("0.5") << 0.5F << 4;
    QTest::newRow("0.75") << 0.75F << 6;
    QTest::newRow("0.95") << 0.95F << 7;
    QTest::newRow("largest") << 0.99999994F << 7;
  }

  void theDrawRoundsHalvesToEven()
  {
    QFETCH(float, draw);
    QFETCH(int, number);
    QCOMPARE(CoBrand_Randomize(draw), number);
    QCOMPARE(intCoBrandRandomNumber, number);
  }

  void theDrawPicksTheOfferInFront_data()
  {
    QTest::addColumn<float>("draw");
    QTest::addColumn<QString>("front");
    QTest::newRow("0: co-brand") << 0.0F << QStringLiteral("lblCobrand");
    QTest::newRow("0.25: full brand") << 0.25F << QStringLiteral("lblFullBrand");
    QTest::newRow("0.75: full brand") << 0.75F << QStringLiteral("lblFullBrand");
    QTest::newRow("0.95: as laid out") << 0.95F << QStringLiteral("lblFullBrand");
  }

  void theDrawPicksTheOfferInFront()
  {
    QFETCH(float, draw);
    QFETCH(QString, front);
    scripted->draws.enqueue(draw);
    StartApplication();
    auto *main = Forms::find<frmMain>();
    QVERIFY(main);
    QCOMPARE(offerInFront(*main)->objectName(), front);
  }

  void aMainWindowAfterBackHasTheLaidOutOrder()
  {
    scripted->draws.enqueue(0.0F);
    StartApplication();
    auto *main = Forms::find<frmMain>();
    QCOMPARE(offerInFront(*main), main->lblCobrand);
    main->txtName->setText(QStringLiteral("Tom"));
    main->cmdProceed->click();
    Forms::get<frmAustralianAstrologyResult>().cmdBack->click();
    auto *fresh = Forms::find<frmMain>();
    QVERIFY(fresh && fresh != main);
    QCOMPARE(offerInFront(*fresh), fresh->lblFullBrand);
  }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

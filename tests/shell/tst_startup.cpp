#include "reading/currentreading.h"
#include "reading/frmAustralianAstrologyResult.h"
#include "reading/frmMain.h"
#include "report/frmSave.h"
#include "report/savedreading.h"
#include "shell/linklabel.h"
#include "shell/masking.h"
#include "shell/startup.h"
#include "support/windowtest.h"
#include "web/frmNagScreen2.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
QWidget *offerInFront(const frmMain &window)
{
  return window.fraFullBrand->childAt(window.lblFullBrand->geometry().center());
}

// The sign the result window shows, once it shows one.
QString shownSign()
{
  auto *result = Forms::find<frmAustralianAstrologyResult>();
  return result && result->isVisible() ? result->lblResult[0]->text() : QString();
}
} // namespace

class StartupTest : public WindowTest {
  Q_OBJECT

  QTemporaryDir m_folder;

  QString savedReading(const QString &name, const QString &month)
  {
    const QString path = m_folder.filePath(name + QStringLiteral(".zod"));
    if (!WriteSavedReading(path, {name, month}))
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }

  void handOver(const QString &path)
  {
    QVERIFY(scripted->handedFileReceiver);
    scripted->handedFileReceiver(path);
  }

private slots:
  void aFileGivenAtTheStartShowsItsReading()
  {
    StartApplication(savedReading(QStringLiteral("Ada"), QStringLiteral("June")));
    QTRY_COMPARE(shownSign(), QStringLiteral("NORTHERN HAIRY-NOSED WOMBAT"));
    QVERIFY(!Forms::find<frmMain>());
    QCOMPARE(currentReading().strUserName, QStringLiteral("Ada"));
  }

  void aFileNotNamedAsAReadingIsRefusedOverTheMainWindow()
  {
    StartApplication(m_folder.filePath(QStringLiteral("notes.txt")));
    QTRY_COMPARE(scripted->messageBoxes.size(), 1);
    QCOMPARE(scripted->messageBoxes.constFirst().text, QStringLiteral("Please Check The File."));
    QCOMPARE(scripted->messageBoxes.constFirst().owner, Forms::find<frmMain>());
    QVERIFY(Forms::find<frmMain>()->isVisible());
  }

  void aSecondStartHandsItsFileToTheRunningCopy_data()
  {
    QTest::addColumn<bool>("taken");
    QTest::newRow("taken") << true;
    QTest::newRow("not taken: the user is told") << false;
  }

  void aSecondStartHandsItsFileToTheRunningCopy()
  {
    QFETCH(bool, taken);
    scripted->anotherCopyRunning = true;
    scripted->runningCopyTakesFiles = taken;
    const QString path = savedReading(QStringLiteral("Ada"), QStringLiteral("June"));
    StartApplication(path);
    QCOMPARE(scripted->handedFiles, QStringList{path});
    QCOMPARE(scripted->messageTexts(),
             taken ? QStringList() : QStringList{QStringLiteral("Application is already running")});
    QCOMPARE(scripted->processEnds, 1);
    QVERIFY(Forms::loaded().isEmpty());
  }

  // Wherever the user is, a handed file ends in its reading, and no window
  // is left over from where they were.
  void aHandedFileIsShownWhereverTheUserIs_data()
  {
    QTest::addColumn<QString>("where");
    QTest::newRow("main window") << QStringLiteral("main");
    QTest::newRow("result window") << QStringLiteral("result");
    QTest::newRow("closing screen") << QStringLiteral("closing");
  }

  void aHandedFileIsShownWhereverTheUserIs()
  {
    QFETCH(QString, where);
    StartApplication();
    auto *main = Forms::find<frmMain>();
    if (where == QLatin1String("result")) {
      main->txtName->setText(QStringLiteral("Tom"));
      main->cmdProceed->click();
    } else if (where == QLatin1String("closing")) {
      main->close();
      QVERIFY(Forms::find<frmNagScreen2>()->isVisible());
    }
    handOver(savedReading(QStringLiteral("Ada"), QStringLiteral("December")));
    QTRY_COMPARE(shownSign(), QStringLiteral("EMU"));
    QVERIFY(!Forms::find<frmMain>());
    auto *closing = Forms::find<frmNagScreen2>();
    QVERIFY(!closing || !closing->isVisible());
    QCOMPARE(scripted->messageBoxes.size(), 0);
  }

  // A window that waits for the user is not taken away: the reading comes
  // once it is closed, and two files come in the order they were handed.
  void handedFilesWaitForTheReadingWindow()
  {
    StartApplication();
    auto *main = Forms::find<frmMain>();
    main->txtName->setText(QStringLiteral("Tom"));
    main->cmdProceed->click();
    QString signWhileOpen;
    QTimer::singleShot(0, this, [&] {
      handOver(savedReading(QStringLiteral("Ada"), QStringLiteral("March")));
      handOver(savedReading(QStringLiteral("Bea"), QStringLiteral("December")));
      QTimer::singleShot(600, this, [&] {
        signWhileOpen = shownSign();
        Forms::find<frmSave>()->unload();
      });
    });
    Forms::find<frmAustralianAstrologyResult>()->cmdPrint_Click();
    QCOMPARE(signWhileOpen, QStringLiteral("GALAH"));
    QTRY_COMPARE(shownSign(), QStringLiteral("EMU"));
    QCOMPARE(currentReading().strUserName, QStringLiteral("Bea"));
  }

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

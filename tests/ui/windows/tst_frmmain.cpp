#include "config.h"
#include "core/signtable.h"
#include "support/windowtest.h"
#include "ui/linklabel.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QtTest>

#include <memory>

class MainWindowTest : public WindowTest {
  Q_OBJECT

  frmMain &openMainWindow()
  {
    auto &window = Forms::get<frmMain>();
    window.showModeless();
    return window;
  }

  static bool closingScreenShown()
  {
    const auto *closing = Forms::find<frmNagScreen2>();
    return closing && closing->isVisible();
  }

private slots:
  void opensEmptyOnJanuary()
  {
    frmMain &window = openMainWindow();
    QVERIFY(window.txtName->text().isEmpty());
    QCOMPARE(window.cboMonth->count(), 12);
    QCOMPARE(window.cboMonth->currentText(), QStringLiteral("January"));
    QCOMPARE(window.cboMonth->itemText(11), QStringLiteral("December"));
    QTRY_COMPARE(QApplication::focusWidget(), window.txtName);
    // The open button lies below the client area but is still reachable.
    QVERIFY(window.cmdOpen->geometry().top() >= window.client()->height());
    QVERIFY(window.cmdOpen->isEnabled());
    // As laid out, the full-branding offer is the one in front.
    const QPoint middle = window.lblFullBrand->geometry().center();
    QCOMPARE(window.fraFullBrand->childAt(middle), window.lblFullBrand);
    // The month is picked, never typed: keys only move through the list.
    window.cboMonth->setFocus();
    QTest::keyClicks(window.cboMonth, QStringLiteral("Smarch"));
    QVERIFY(MonthNames().contains(window.cboMonth->currentText()));
  }

  void tabVisitsTheFieldsInOrder()
  {
    frmMain &window = openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(QApplication::focusWidget(), window.txtName);
    for (QWidget *next :
         {static_cast<QWidget *>(window.cboMonth), static_cast<QWidget *>(window.cmdProceed),
          static_cast<QWidget *>(window.cmdOpen)}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QTRY_COMPARE(QApplication::focusWidget(), next);
    }
  }

  void aMissingNameIsRefused_data()
  {
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("    ");
  }

  void aMissingNameIsRefused()
  {
    QFETCH(QString, name);
    frmMain &window = openMainWindow();
    window.txtName->setText(name);
    window.cmdOpen->setFocus();
    window.cmdProceed->click();

    QCOMPARE(scripted->messageBoxes.size(), 1);
    const auto &box = scripted->messageBoxes.constFirst();
    QCOMPARE(box.text, QStringLiteral("Please Enter Your Name"));
    QCOMPARE(box.owner, &window);
    QCOMPARE(box.icon, MessageIcon::Critical);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(box.title, AppTitle);
    QTRY_COMPARE(QApplication::focusWidget(), window.txtName);
    QVERIFY(Forms::find<frmMain>());
    QVERIFY(!Forms::find<frmAustralianAstrologyResult>());
  }

  void proceedKeepsInnerSpacesAndShowsTheSign()
  {
    frmMain &window = openMainWindow();
    window.txtName->setText(QStringLiteral("  Mary  Ann  "));
    window.cboMonth->setCurrentText(QStringLiteral("June"));
    window.cmdProceed->click();

    auto *result = Forms::find<frmAustralianAstrologyResult>();
    QVERIFY(result);
    QVERIFY(result->isVisible());
    QCOMPARE(result->reading().userName, QStringLiteral("Mary  Ann"));
    QCOMPARE(result->reading().birthMonth, QStringLiteral("June"));
    QCOMPARE(result->lblResult[0]->text(), QStringLiteral("NORTHERN HAIRY-NOSED WOMBAT"));
    QVERIFY(!Forms::find<frmMain>());
    QVERIFY(scripted->messageBoxes.isEmpty());
    QVERIFY(!closingScreenShown());
  }

  void everyMonthShowsASignOfItsOwnWhole()
  {
    QSet<QString> animals;
    QSet<QString> descriptions;
    for (const QString &month : MonthNames()) {
      frmMain &window = openMainWindow();
      window.txtName->setText(QStringLiteral("Tom"));
      window.cboMonth->setCurrentText(month);
      window.cmdProceed->click();
      auto *result = Forms::find<frmAustralianAstrologyResult>();
      QVERIFY(result);
      const QLabel *animal = result->lblResult[0];
      QVERIFY2(!animal->text().isEmpty() && animal->text() == animal->text().toUpper(),
               qPrintable(month + QStringLiteral(": ") + animal->text()));
      QVERIFY2(animal->width() >= animal->fontMetrics().horizontalAdvance(animal->text()),
               qPrintable(animal->text()));
      animals << animal->text();
      descriptions << result->lblResult[1]->text();

      // A month the sign table does not know leaves the sign shown.
      result->setReading({QStringLiteral("Tom"), month.toLower()});
      QCOMPARE(result->lblResult[0]->text(), animal->text());
      discardForms();
    }
    QCOMPARE(animals.size(), 12);
    QCOMPARE(descriptions.size(), 12);
  }

  void enterInTheNameBoxDoesNothingButAltFProceeds()
  {
    frmMain &window = openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.txtName->setFocus();
    QTest::keyClicks(window.txtName, QStringLiteral("Tom"));
    QTest::keyClick(window.txtName, Qt::Key_Return);
    QTest::qWait(200);
    QVERIFY(!Forms::find<frmAustralianAstrologyResult>());

    QTest::keyClick(window.txtName, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(Forms::find<frmAustralianAstrologyResult>());
    QCOMPARE(Forms::find<frmAustralianAstrologyResult>()->reading().userName,
             QStringLiteral("Tom"));
  }

  void theCloseBoxLeadsToTheClosingScreen()
  {
    frmMain &window = openMainWindow();
    QPointer<frmMain> guard(&window);
    window.close();
    QVERIFY(closingScreenShown());
    QVERIFY(!Forms::find<frmMain>());
    QTRY_VERIFY(!guard);
    QCOMPARE(scripted->processEnds, 0);
  }
};

QTEST_MAIN(MainWindowTest)
#include "tst_frmmain.moc"

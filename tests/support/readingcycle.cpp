#include "support/readingcycle.h"

#include "support/scripteddesktop.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmSave.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {
const QString Name = QStringLiteral("Tom Smith");
const QString Month = QStringLiteral("June");

frmAustralianAstrologyResult *shownResult()
{
  auto *result = Forms::find<frmAustralianAstrologyResult>();
  return result && result->isVisible() ? result : nullptr;
}

void printSaveAndClose(ScriptedDesktop &desktop, frmAustralianAstrologyResult &result,
                       const QString &savedPath)
{
  desktop.fileNames.enqueue(savedPath);
  bool reportWritten = false;
  QTimer::singleShot(0, &result, [&reportWritten] {
    auto *reading = Forms::find<frmSave>();
    if (!reading)
      return;
    reportWritten = reading->RTB->toPlainText().startsWith(QStringLiteral("Name: ") + Name);
    reading->cmdPrint->click();
    reading->cmdSave->click();
    reading->close();
  });
  result.mnuPrint->trigger(); // returns once the reading window is closed
  QVERIFY(reportWritten);
  QVERIFY(!Forms::find<frmSave>());
}
} // namespace

void runReadingCycle(ScriptedDesktop &desktop, const QString &savedPath)
{
  // Only what the program holds should grow, never the record of the script.
  desktop.printedDocuments.clear();
  desktop.fileDialogs.clear();

  auto &main = Forms::get<frmMain>();
  main.showModeless();
  main.txtName->setText(Name);
  main.cboMonth->setCurrentIndex(static_cast<int>(main.cboMonth->findText(Month)));
  main.cmdProceed->click();
  frmAustralianAstrologyResult *result = shownResult();
  QVERIFY(result);

  printSaveAndClose(desktop, *result, savedPath);
  if (QTest::currentTestFailed())
    return;
  QCOMPARE(desktop.printedDocuments.size(), 1);

  result->cmdBack->click();
  auto *again = Forms::find<frmMain>();
  QVERIFY(again && again->isVisible());
  desktop.fileNames.enqueue(savedPath);
  again->cmdOpen->click();
  result = shownResult();
  QVERIFY(result);
  QCOMPARE(result->reading().userName, Name);
  QCOMPARE(result->reading().birthMonth, Month);
  result->cmdBack->click();
  QVERIFY(Forms::find<frmMain>());
  QVERIFY(desktop.messageBoxes.isEmpty());

  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

qsizetype countLiveObjects()
{
  qsizetype count = qApp->findChildren<QObject *>().size();
  for (const QWidget *window : QApplication::topLevelWidgets())
    count += 1 + window->findChildren<QObject *>().size();
  return count;
}

#include "support/windowtest.h"
#include "ui/shutdown.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"
#include "ui/windows/frmSave.h"

#include <QtTest>

#include <memory>

namespace {
QStringList unloadOrder;

// A window that notes when its unload handling runs.
class ProbeForm : public Form {
  Q_OBJECT
public:
  explicit ProbeForm(const QString &name) : Form(name, name, QSize(100, 100)) {}

protected:
  void Form_Unload() override { unloadOrder.append(objectName()); }
};
} // namespace

class ShutdownTest : public WindowTest {
  Q_OBJECT

private slots:
  void init()
  {
    WindowTest::init();
    unloadOrder.clear();
  }

  void unloadsEveryWindowInLoadOrderThenEnds()
  {
    for (const char *name : {"first", "second", "third"}) {
      auto *probe = new ProbeForm(QString::fromLatin1(name));
      loadForm(probe);
      probe->showModeless();
    }
    ExitApplication();
    QCOMPARE(unloadOrder, QStringList({"first", "second", "third"}));
    QVERIFY(Forms::loaded().isEmpty());
    QCOMPARE(scripted->processEnds, 1);
  }

  void theClosingScreensReentryEndsTheProcessOnce()
  {
    Forms::get<frmAustralianAstrologyResult>().showModeless();
    Forms::get<frmSave>();
    Forms::get<frmNagScreen2>().showModeless();
    auto *probe = new ProbeForm(QStringLiteral("last"));
    loadForm(probe);

    ExitApplication();
    QVERIFY(Forms::loaded().isEmpty());
    QCOMPARE(unloadOrder, QStringList({"last"}));
    QCOMPARE(scripted->processEnds, 1);
    QVERIFY(scripted->messageBoxes.isEmpty());
  }

  void closingTheClosingScreenEndsTheProgram()
  {
    Forms::get<frmNagScreen2>().showModeless();
    Forms::get<frmNagScreen2>().close();
    QVERIFY(Forms::loaded().isEmpty());
    QCOMPARE(scripted->processEnds, 1);
  }
};

QTEST_MAIN(ShutdownTest)
#include "tst_shutdown.moc"

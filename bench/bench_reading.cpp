// Benchmarks of the work a user waits on. Targets, on the 2-core reference
// machine: a whole reading (main window loaded, Proceed, result window shown)
// under 50 ms; masking a name under 5 microseconds. Run by hand:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_reading
// They are never part of the test run.

#include "core/masking.h"
#include "support/scripteddesktop.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class ReadingBenchmark : public QObject {
  Q_OBJECT

private slots:
  void maskingAName()
  {
    const QString name = QStringLiteral("Northern Hairy-nosed Wombat");
    QBENCHMARK { UnmaskText(MaskText(name)); }
  }

  void aWholeReading()
  {
    ScriptedDesktop scripted;
    QBENCHMARK
    {
      auto &main = Forms::get<frmMain>();
      main.showModeless();
      main.txtName->setText(QStringLiteral("Tom"));
      main.cboMonth->setCurrentIndex(9);
      main.cmdProceed->click();
      discardForms();
    }
  }
};

QTEST_MAIN(ReadingBenchmark)
#include "bench_reading.moc"

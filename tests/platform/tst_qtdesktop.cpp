#include "platform/qtdesktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <array>
#include <memory>

// The real desktop's random draws and printing, each test in folders of its
// own.
class QtDesktopTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> m_folders;

  QString folder(const QString &name) const { return m_folders->filePath(name); }
private slots:
  void init()
  {
    m_folders = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folders->isValid());
    QDir(m_folders->path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(folder(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", folder(QStringLiteral("runtime")).toUtf8());
    qputenv("XDG_CACHE_HOME", folder(QStringLiteral("cache")).toUtf8());
    qputenv("XDG_CONFIG_HOME", folder(QStringLiteral("config")).toUtf8());
  }

  // Every draw lies in [0, 1) and the draws cover it evenly: the closing
  // screen picks its appeal as int(draw * 4), and a draw of 1 would pick a
  // fifth appeal that does not exist.
  void randomDrawsFillZeroToOne()
  {
    constexpr int Draws = 1000000;
    constexpr int Appeals = 4;
    QtDesktop desktop;
    desktop.seedRandom();
    float lowest = 1.0F;
    float highest = 0.0F;
    double sum = 0.0;
    std::array<int, Appeals> appeals{};
    for (int i = 0; i < Draws; ++i) {
      const float draw = desktop.nextRandom();
      if (!(draw >= 0.0F && draw < 1.0F))
        QFAIL(qPrintable(QStringLiteral("draw %1 is %2").arg(i).arg(double(draw), 0, 'g', 9)));
      lowest = std::min(lowest, draw);
      highest = std::max(highest, draw);
      sum += draw;
      ++appeals.at(static_cast<size_t>(draw * Appeals));
    }
    // A million even draws come within a few millionths of either end, and
    // their mean within a few ten-thousandths of the middle: the bounds leave
    // so wide a margin that chance never fails the test.
    QVERIFY2(lowest < 0.001F, qPrintable(QString::number(double(lowest))));
    QVERIFY2(highest > 0.999F, qPrintable(QString::number(double(highest))));
    QVERIFY2(qAbs(sum / Draws - 0.5) < 0.005, qPrintable(QString::number(sum / Draws)));
    for (const int count : appeals)
      QVERIFY2(qAbs(count - Draws / Appeals) < Draws / 100, qPrintable(QString::number(count)));

    // The ends, which a million draws are unlikely to meet: the generator's
    // largest numbers must not round up to 1.
    QCOMPARE(QtDesktop::drawFromBits(0), 0.0F);
    for (const std::uint32_t bits : {0xFFFFFFFFU, 0xFFFFFF80U, 0xFFFFFF7FU})
      QVERIFY2(QtDesktop::drawFromBits(bits) < 1.0F, qPrintable(QString::number(bits, 16)));
  }

  void printingWithoutAPrinterFails()
  {
    qputenv("CUPS_SERVER", "/nonexistent");
    QtDesktop desktop;
    QTextDocument document(QStringLiteral("Name: Tom"));
    QVERIFY(!desktop.printDocument(document));
  }

  void aPrintServerThatNeverAnswersFailsWhileEventsGoOn()
  {
    // A server that takes the connection and never says a word.
    QLocalServer silent;
    const QString socket = folder(QStringLiteral("silent.sock"));
    QVERIFY(silent.listen(socket));
    QList<QLocalSocket *> held;
    connect(&silent, &QLocalServer::newConnection, this,
            [&] { held.append(silent.nextPendingConnection()); });
    qputenv("CUPS_SERVER", socket.toUtf8());

    int ticks = 0;
    QTimer ticking;
    connect(&ticking, &QTimer::timeout, this, [&] { ++ticks; });
    ticking.start(100);

    QtDesktop desktop;
    QTextDocument document(QStringLiteral("Name: Tom"));
    QElapsedTimer took;
    took.start();
    QVERIFY(!desktop.printDocument(document));
    QVERIFY2(took.elapsed() < 15000, qPrintable(QString::number(took.elapsed())));
    QVERIFY(!held.isEmpty());
    // The wait left the event loop running: the timer went on ticking.
    QVERIFY2(ticks > 20, qPrintable(QString::number(ticks)));
    qunsetenv("CUPS_SERVER");
  }
};

QTEST_MAIN(QtDesktopTest)
#include "tst_qtdesktop.moc"

#include "platform/printing/printing_p.h"
#include "platform/qtdesktop.h"
#include "platform/singlecopy/handoff.h"
#include "platform/singlecopy/instancelock.h"
#include "realdesktoptest.h"
#include "support/filefaults.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QPrinterInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTextDocument>
#include <QtTest>

#include <array>
#include <memory>
#include <thread>
#include <vector>

namespace {

// How a start that is not the program reaches the running copy: in Linux's
// abstract namespace, or at Windows' named pipe, which Qt names as the copy does.
#ifdef Q_OS_WIN
constexpr QLocalSocket::SocketOptions HandoffSocket = QLocalSocket::NoOptions;
#else
constexpr QLocalSocket::SocketOptions HandoffSocket = QLocalSocket::AbstractNamespaceOption;
#endif

// A request of a later start, as it sends one.
QByteArray request(const QString &path)
{
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream.setVersion(QDataStream::Qt_6_0);
  stream << path;
  return bytes;
}

// A lock file as a copy of this program writes it.
QByteArray lockContents(qint64 pid, const QString &host)
{
  return QByteArray::number(pid) + '\n' +
         QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
         host.toUtf8() + '\n';
}

} // namespace

// The real desktop's random draws, single-copy lock, hand-over of files and
// printing, as they are on every system.
class QtDesktopTest : public RealDesktopTest {
  Q_OBJECT

private slots:
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

  void aRunningCopyRefusesTheNext()
  {
    QtDesktop first;
    QVERIFY(first.claimSingleInstance());
    QtDesktop second;
    QVERIFY(!second.claimSingleInstance());
  }

  // The lock is the system's own file lock: what the file says, or who wrote
  // it, does not matter; only whether a process holds it.
  void aLockNoProcessHoldsIsTakenOver_data()
  {
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\x01\xfe garbage\n\n\nmore");
    QTest::newRow("this very process on another host")
        << lockContents(QCoreApplication::applicationPid(), QStringLiteral("elsewhere.example"));
  }

  void aLockNoProcessHoldsIsTakenOver()
  {
    QFETCH(QByteArray, contents);
    writeFile(lockPath(), contents);
    {
      QtDesktop desktop;
      QVERIFY(desktop.claimSingleInstance());
      QCOMPARE(fileBytes(lockPath()).split('\n').constFirst().trimmed(),
               QByteArray::number(QCoreApplication::applicationPid()));
      QtDesktop next;
      QVERIFY(!next.claimSingleInstance());
    }
    QVERIFY(!QFileInfo::exists(lockPath()));
  }

  // Another copy holds the lock for as long as it runs, and lets go of it
  // however it ends, killed too.
  void aLockHeldByAnotherCopyIsTakenOnceItIsKilled()
  {
    QProcess holder;
    holder.start(QCoreApplication::applicationDirPath() + QStringLiteral("/" LOCK_HOLDER),
                 {lockPath()});
    QVERIFY2(holder.waitForReadyRead(), qPrintable(holder.errorString()));
    QCOMPARE(holder.readAllStandardOutput().trimmed(), QByteArray("held"));
    QtDesktop desktop;
    QVERIFY(!desktop.claimSingleInstance());
    holder.kill();
    QVERIFY(holder.waitForFinished());
    QVERIFY(desktop.claimSingleInstance());
  }

  // Whatever stands at the lock's path is never read and never waited on:
  // it is cleared away, a link itself and never what it points to, and the
  // lock takes its place at once.
  void whatStandsInTheLocksPlaceIsClearedAway_data()
  {
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << QStringLiteral("pipe");
    QTest::newRow("link to /dev/zero") << QStringLiteral("zero");
    QTest::newRow("link to a file") << QStringLiteral("link");
    QTest::newRow("sparse 2 GB file") << QStringLiteral("sparse");
    QTest::newRow("folder") << QStringLiteral("folder");
  }

  void whatStandsInTheLocksPlaceIsClearedAway()
  {
    QFETCH(QString, kind);
    const QString target = folder(QStringLiteral("target"));
    writeFile(target, "not the lock's");
    if (kind == QLatin1String("pipe") && !makeNamedPipe(lockPath()))
      QSKIP("no named pipe can stand at a file's path here");
    if (kind == QLatin1String("zero") && !makeSymbolicLink(QStringLiteral("/dev/zero"), lockPath()))
      QSKIP("no symbolic link to /dev/zero here");
    if (kind == QLatin1String("link") && !makeSymbolicLink(target, lockPath()))
      QSKIP("no symbolic link here");
    if (kind == QLatin1String("sparse"))
      QVERIFY(QFile(lockPath()).open(QIODevice::WriteOnly) &&
              QFile::resize(lockPath(), qint64{2} << 30));
    if (kind == QLatin1String("folder")) {
      QVERIFY(QDir().mkpath(lockPath()));
      writeFile(QDir(lockPath()).filePath(QStringLiteral("inside")), "kept");
    }

    QElapsedTimer took;
    took.start();
    QtDesktop desktop;
    QVERIFY(desktop.claimSingleInstance());
    QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
    const QFileInfo lock(lockPath());
    QVERIFY(lock.isFile() && !lock.isSymLink() && lock.size() < 4096);
    QCOMPARE(fileBytes(target), QByteArray("not the lock's"));
    if (kind == QLatin1String("folder"))
      QCOMPARE(fileBytes(lockPath() + QStringLiteral(".damaged/inside")), QByteArray("kept"));
    QtDesktop next;
    QVERIFY(!next.claimSingleInstance());
  }

  // A later start hands its file to the running copy, which takes it exactly
  // as named; what is no request for a path, or comes too slowly, is dropped
  // without holding up the running copy. A copy that is ending takes nothing.
  void aLaterStartHandsItsFileOver()
  {
    QtDesktop running;
    QVERIFY(running.claimSingleInstance());
    QStringList received;
    running.receiveHandedFiles([&](const QString &path) { received.append(path); });
    InstanceLock refusing(lockPath());
    QCOMPARE(refusing.claim(), InstanceLock::Claim::HeldByAnotherCopy);

    // One that connects and says nothing, and requests that are no path.
    QLocalSocket silent;
    silent.setSocketOptions(HandoffSocket);
    silent.connectToServer(refusing.handoffName());
    QVERIFY(silent.waitForConnected());
    const QByteArray tooLong = QByteArray::fromHex("7fffffff") + QByteArray(64, '/');
    std::vector<std::unique_ptr<QLocalSocket>> senders;
    for (const QByteArray &message :
         {request(QStringLiteral("relative/x.zod")), request(QString()),
          request(QStringLiteral("/a") + QChar(QChar::Null) + QStringLiteral("b.zod")),
          request(QStringLiteral("/x.zod")).chopped(1),
          request(QStringLiteral("/x.zod")) + "take\n", tooLong}) {
      senders.push_back(std::make_unique<QLocalSocket>());
      senders.back()->setSocketOptions(HandoffSocket);
      senders.back()->connectToServer(refusing.handoffName());
      QVERIFY(senders.back()->waitForConnected());
      senders.back()->write(message);
    }
    QTest::qWait(500);
    for (const auto &sender : senders)
      QCOMPARE(sender->readAll(), QByteArray());

    const QStringList saved{QDir::rootPath() + QStringLiteral("saved/Zoë Ōtaki 漢字.zod"),
                            QDir::rootPath() + QStringLiteral("saved/a.zod\nb.zod"),
                            QDir::rootPath() + QStringLiteral("saved/Zo") + QChar(0xDCEB) +
                                QStringLiteral(".zod"),
                            QDir::rootPath() + QString(32000, QLatin1Char('x'))};
    bool handed = true;
    std::thread later([&] {
      for (const QString &path : saved) {
        QtDesktop start;
        handed = handed && !start.claimSingleInstance() && start.handToRunningCopy(path);
      }
    });
    QElapsedTimer took;
    took.start();
    QTRY_COMPARE(received, saved);
    later.join();
    QVERIFY(handed);
    // Served while the silent one was still connected.
    QVERIFY2(took.elapsed() < 4000, qPrintable(QString::number(took.elapsed())));
    QCOMPARE(silent.state(), QLocalSocket::ConnectedState);
    QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 10000);

    running.refuseHandedFiles();
    QtDesktop late;
    QVERIFY(!late.claimSingleInstance());
    QVERIFY(!late.handToRunningCopy(saved.constFirst()));
    QCOMPARE(received, saved);
  }

  void withNoRunningCopyNothingTakesTheFile()
  {
    QtDesktop start;
    QVERIFY(!start.handToRunningCopy(QStringLiteral("/saved/a.zod")));
  }

  // The tests' environment names a print server that is not there, for
  // Wine's print system as well: the system knows no printer.
  void printingWithoutAPrinterFails()
  {
    QCOMPARE(qgetenv("CUPS_SERVER"), QByteArray("/nonexistent"));
    QVERIFY2(QPrinterInfo::availablePrinterNames().isEmpty(),
             qPrintable(QPrinterInfo::availablePrinterNames().join(QLatin1Char(','))));
    QtDesktop desktop;
    QTextDocument document(QStringLiteral("Name: Tom"));
    QVERIFY(!desktop.printDocument(document));
  }
  // The window and the print thread agree on whether the job prints, however
  // their moments fall: the user is told that nothing was printed only of a
  // job that is never let go, or is taken back.
  void theWindowAndThePrintThreadAgreeOnTheOutcome()
  {
    {
      PrintHandOver givenUpFirst;
      QVERIFY(!givenUpFirst.giveUp());
      QVERIFY(!givenUpFirst.mayLetGo());
    }
    {
      // The window's wait ends while the job is let go: it waits for the answer.
      PrintHandOver lettingGo;
      QVERIFY(lettingGo.mayLetGo());
      QVERIFY(lettingGo.lettingGo());
      QVERIFY(lettingGo.printed());
      lettingGo.end(); // as the print thread ends
      QVERIFY(lettingGo.giveUp());
    }
    {
      // That answer came too late: the thread takes the job back.
      PrintHandOver tooLate;
      QVERIFY(tooLate.mayLetGo());
      QVERIFY(!tooLate.giveUp());
      QVERIFY(!tooLate.printed());
    }
    {
      // A print that failed ends the wait at once, and once.
      PrintHandOver failed;
      QSignalSpy ended(&failed, &PrintHandOver::ended);
      failed.end();
      failed.end();
      QCOMPARE(ended.count(), 1);
      QVERIFY(failed.isOver());
      QVERIFY(!failed.giveUp());
    }
  }
};

QTEST_MAIN(QtDesktopTest)
#include "tst_qtdesktop.moc"

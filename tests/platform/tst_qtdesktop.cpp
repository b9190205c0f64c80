#include "platform/handoff.h"
#include "platform/printing_p.h"
#include "platform/qtdesktop.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <array>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>
#include <utime.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString &path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A lock file as a copy of this program writes it.
QByteArray lockContents(qint64 pid, const QString &host)
{
  return QByteArray::number(pid) + '\n' +
         QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
         host.toUtf8() + '\n';
}

// Whether a process holds the system's lock on the file.
bool lockedElsewhere(const QString &path)
{
  const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  const bool locked = descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) != 0;
  if (descriptor >= 0)
    ::close(descriptor);
  return locked;
}

// Makes a file look as if it was written a while ago, not by a copy starting now.
void age(const QString &path)
{
  const time_t minuteAgo = QDateTime::currentSecsSinceEpoch() - 60;
  const utimbuf times{minuteAgo, minuteAgo};
  QCOMPARE(::utime(QFile::encodeName(path).constData(), &times), 0);
}

} // namespace

// The real desktop's random draws, single-copy lock, settings store and
// printing, each test in folders of its own.
class QtDesktopTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> m_folders;
  QString m_temporary;

  QString folder(const QString &name) const { return m_folders->filePath(name); }
  QString lockPath() const
  {
    return folder(QStringLiteral("runtime/")) + QtDesktop::applicationName() +
           QStringLiteral(".lock");
  }
  QString settingsPath() const
  {
    const QString name = QtDesktop::applicationName();
    return folder(QStringLiteral("config/")) + name + QLatin1Char('/') + name +
           QStringLiteral(".ini");
  }

private slots:
  void initTestCase() { m_temporary = QDir::tempPath(); }

  void init()
  {
    m_folders = std::make_unique<QTemporaryDir>(m_temporary + QStringLiteral("/tst_qtdesktop-XXXXXX"));
    QVERIFY(m_folders->isValid());
    QDir(m_folders->path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(folder(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", folder(QStringLiteral("runtime")).toUtf8());
    qputenv("XDG_CACHE_HOME", folder(QStringLiteral("cache")).toUtf8());
    qputenv("XDG_CONFIG_HOME", folder(QStringLiteral("config")).toUtf8());
    // Where Qt makes a runtime folder when the one named is unusable.
    QDir(m_folders->path()).mkdir(QStringLiteral("tmp"));
    qputenv("TMPDIR", folder(QStringLiteral("tmp")).toUtf8());
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
      QVERIFY(fileBytes(lockPath())
                  .startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
      QtDesktop next;
      QVERIFY(!next.claimSingleInstance());
    }
    QVERIFY(!QFileInfo::exists(lockPath()));
  }

  void aLockHeldByAnotherProcessRefusesUntilItEnds()
  {
    writeFile(lockPath(), "whatever it says");
    QProcess holder;
    // -o: the lock stays with flock itself, not with the command it runs.
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-o"), lockPath(), QStringLiteral("sleep"), QStringLiteral("30")});
    QVERIFY(holder.waitForStarted());
    QTRY_VERIFY(lockedElsewhere(lockPath()));
    QtDesktop desktop;
    QVERIFY(!desktop.claimSingleInstance());
    holder.kill();
    QVERIFY(holder.waitForFinished());
    // flock's command may hold the lock for a moment after it is forked.
    QTRY_VERIFY(desktop.claimSingleInstance());
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
    const QByteArray path = QFile::encodeName(lockPath());
    const QString target = folder(QStringLiteral("target"));
    writeFile(target, "not the lock's");
    if (kind == QLatin1String("pipe"))
      QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else if (kind == QLatin1String("zero"))
      QVERIFY(QFile::link(QStringLiteral("/dev/zero"), lockPath()));
    else if (kind == QLatin1String("link"))
      QVERIFY(QFile::link(target, lockPath()));
    else if (kind == QLatin1String("sparse"))
      QVERIFY(QFile(lockPath()).open(QIODevice::WriteOnly) && QFile::resize(lockPath(), qint64{2} << 30));
    else if (QDir().mkpath(lockPath()))
      writeFile(QDir(lockPath()).filePath(QStringLiteral("inside")), "kept");

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

  // A copy that could lock only in the cache folder (its runtime folder full,
  // read-only, or not named) still refuses a start that can use its own.
  void aCopyLockedInTheCacheFolderOnlyRefusesTheNext()
  {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    writeFile(folder(QStringLiteral("blocker")), "a file, not a folder");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder(QStringLiteral("blocker/runtime"))));
    QtDesktop first;
    QVERIFY(first.claimSingleInstance());
    qputenv("XDG_RUNTIME_DIR", runtime);
    QtDesktop second;
    QVERIFY(!second.claimSingleInstance());
    QVERIFY(!QFileInfo::exists(lockPath()));
  }

  void withNoFolderForTheLockTheProgramStillStarts()
  {
    writeFile(folder(QStringLiteral("blocker")), "a file, not a folder");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder(QStringLiteral("blocker/runtime"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folder(QStringLiteral("blocker/cache"))));
    // Nor can Qt make a runtime folder in the temporary folder.
    qputenv("TMPDIR", QFile::encodeName(folder(QStringLiteral("blocker"))));
    QtDesktop first;
    QVERIFY(first.claimSingleInstance());
    QtDesktop second;
    QVERIFY(second.claimSingleInstance());
  }

  // A later start hands its file to the running copy; what is not a path, or
  // comes too slowly, is dropped without holding up the running copy.
  void aLaterStartHandsItsFileOver()
  {
    QtDesktop running;
    QVERIFY(running.claimSingleInstance());
    QStringList received;
    running.receiveHandedFiles([&](const QString &path) { received.append(path); });
    const QString socket = FileHandoff::nameInFolder(folder(QStringLiteral("runtime")));

    // One that connects and says nothing, and messages that are no path.
    QLocalSocket silent;
    silent.connectToServer(socket);
    QVERIFY(silent.waitForConnected());
    for (const QByteArray &message :
         {QByteArray("relative/x.zod\n"), QByteArray("/bad\xff\xfe.zod\n"),
          QByteArray("/no-line-end.zod"), QByteArray(FileHandoff::LongestMessage + 1, '/')}) {
      QLocalSocket sender;
      sender.connectToServer(socket);
      QVERIFY(sender.waitForConnected());
      sender.write(message);
      QVERIFY(sender.waitForBytesWritten());
      QCoreApplication::processEvents();
    }

    bool handed = false;
    std::thread later([&] {
      QtDesktop start;
      handed = start.handToRunningCopy(QStringLiteral("/saved/Zoë Ōtaki 漢字.zod"));
    });
    QElapsedTimer took;
    took.start();
    QTRY_COMPARE(received, QStringList{QStringLiteral("/saved/Zoë Ōtaki 漢字.zod")});
    later.join();
    QVERIFY(handed);
    // Served while the silent one was still connected.
    QVERIFY2(took.elapsed() < 4000, qPrintable(QString::number(took.elapsed())));
    QCOMPARE(silent.state(), QLocalSocket::ConnectedState);
    QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 10000);
  }

  void withNoRunningCopyNothingTakesTheFile()
  {
    QtDesktop start;
    QVERIFY(!start.handToRunningCopy(QStringLiteral("/saved/a.zod")));
  }

  void aDamagedSettingsFileIsSetAsideWhole_data()
  {
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("not UTF-8") << QByteArray("[Settings]\n\xb6\xb7=\xff\xfe\x80\n");
    QTest::newRow("unclosed section") << QByteArray("[Settings\nkey=value\n");
    QTest::newRow("NUL bytes") << QByteArray("[Settings]\nkey=va\0lue\n", 23);
    QTest::newRow("too large to be the program's") << QByteArray(qsizetype{2} * 1024 * 1024, 'x');
  }

  void aDamagedSettingsFileIsSetAsideWhole()
  {
    QFETCH(QByteArray, contents);
    QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).path()));
    writeFile(settingsPath(), contents);
    QtDesktop desktop;
    QCOMPARE(desktop.readSetting(QStringLiteral("Settings"), QStringLiteral("key")), QString());
    QCOMPARE(fileBytes(settingsPath() + QStringLiteral(".damaged")), contents);
    QVERIFY(desktop.writeSetting(QStringLiteral("Settings"), QStringLiteral("key"),
                                 QStringLiteral("\u00b6\u00ff")));
    QCOMPARE(desktop.readSetting(QStringLiteral("Settings"), QStringLiteral("key")),
             QStringLiteral("\u00b6\u00ff"));
    // A store the program wrote itself reads back whole and stays where it is.
    QVERIFY(!QFileInfo::exists(settingsPath() + QStringLiteral(".damaged-2")));

    // Damaged again, later: the first file set aside is kept as well. (QSettings
    // takes a file of the same size and time as the one it read for unchanged.)
    writeFile(settingsPath(), contents);
    age(settingsPath());
    QCOMPARE(desktop.readSetting(QStringLiteral("Settings"), QStringLiteral("key")), QString());
    QCOMPARE(fileBytes(settingsPath() + QStringLiteral(".damaged-2")), contents);
    QCOMPARE(fileBytes(settingsPath() + QStringLiteral(".damaged")), contents);
  }

  void whatStandsInTheSettingsFilesPlaceIsSetAside_data()
  {
    QTest::addColumn<bool>("pipe");
    QTest::newRow("a folder") << false;
    QTest::newRow("a named pipe, never opened") << true;
  }

  void whatStandsInTheSettingsFilesPlaceIsSetAside()
  {
    QFETCH(bool, pipe);
    QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).path()));
    if (pipe) {
      QCOMPARE(::mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0);
    } else {
      QVERIFY(QDir().mkpath(settingsPath()));
      writeFile(settingsPath() + QStringLiteral("/inside"), "kept");
    }
    QtDesktop desktop;
    QVERIFY(desktop.writeSetting(QStringLiteral("Settings"), QStringLiteral("key"),
                                 QStringLiteral("2026-12-07")));
    QCOMPARE(desktop.readSetting(QStringLiteral("Settings"), QStringLiteral("key")),
             QStringLiteral("2026-12-07"));
    const QString aside = settingsPath() + QStringLiteral(".damaged");
    if (!pipe)
      QCOMPARE(fileBytes(aside + QStringLiteral("/inside")), QByteArray("kept"));
    else
      QVERIFY(!QFileInfo(aside).isFile() && QFileInfo::exists(aside));
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

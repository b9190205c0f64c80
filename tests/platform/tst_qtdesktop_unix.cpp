#include "platform/qtdesktop.h"
#include "platform/singlecopy/instancelock.h"
#include "realdesktoptest.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace {

// Whether a process holds the system's lock on the file.
bool lockedElsewhere(const QString &path)
{
  const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  const bool locked = descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) != 0;
  if (descriptor >= 0)
    ::close(descriptor);
  return locked;
}

// Answers the file dialog that the call runs with the file, or cancels it with
// none; gives the folder the dialog started in and the file the call returned.
std::pair<QString, QString> answerFileDialog(const std::function<QString()> &call,
                                             const QString &file)
{
  QString startedIn;
  QTimer poll;
  // Answered again on each tick while it stays up: the dialog may not take an
  // answer before it has looked at the folder.
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog)
      return;
    if (startedIn.isEmpty())
      startedIn = dialog->directory().absolutePath();
    if (file.isEmpty()) {
      dialog->reject();
    } else {
      // Typed, as a user would: selectFile() leaves the name box alone once
      // it has the focus.
      dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
      static_cast<QDialog *>(dialog)->accept(); // public there
    }
  });
  poll.start(10);
  const QString chosen = call();
  return {startedIn, chosen};
}

// Makes a file look as if it was written a while ago, not by a copy starting now.
void age(const QString &path)
{
  const time_t minuteAgo = QDateTime::currentSecsSinceEpoch() - 60;
  const utimbuf times{minuteAgo, minuteAgo};
  QCOMPARE(::utime(QFile::encodeName(path).constData(), &times), 0);
}

// A socket of the hand-off's kind connected to the name as another user,
// nobody; -1 when that cannot be done. For a child of fork(): nothing here
// allocates.
int socketAsNobody(const QByteArray &encoded)
{
  constexpr uid_t Nobody = 65534;
  if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
    return -1;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, encoded.constData(), size_t(encoded.size()));
  const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + encoded.size());
  const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const auto *where = reinterpret_cast<const sockaddr *>(&address); // NOLINT
  return ::connect(descriptor, where, size) == 0 ? descriptor : -1;
}

// Waits for the child, the events going on meanwhile; its exit status.
int exitStatus(pid_t child)
{
  int status = 0;
  QElapsedTimer took;
  took.start();
  while (::waitpid(child, &status, WNOHANG) == 0 && took.elapsed() < 20000)
    QTest::qWait(20);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// The real desktop where it keeps to the user's folders of a Unix desktop: the
// runtime and cache folders of the lock, the settings file in the
// configuration folder, and print servers.
class QtDesktopUnixTest : public RealDesktopTest {
  Q_OBJECT

  QString settingsPath() const
  {
    const QString name = QtDesktop::applicationName();
    return folder(QStringLiteral("config/")) + name + QLatin1Char('/') + name +
           QStringLiteral(".ini");
  }

private slots:
  // The dialogs start in the user's documents, not in the working folder, then
  // in the folder last chosen; what Qt keeps of them stays in the program's
  // folder, not in the store that every Qt program shares.
  void theFileDialogsStartInDocumentsThenWhereTheUserLastChose()
  {
    const QString documents = folder(QStringLiteral("documents"));
    const QString elsewhere = folder(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(documents) && QDir().mkpath(elsewhere));
    QVERIFY(QDir().mkpath(folder(QStringLiteral("config"))));
    writeFile(folder(QStringLiteral("config/user-dirs.dirs")),
              "XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n");
    const QString reading = elsewhere + QStringLiteral("/ada.zod");
    writeFile(reading, "");
    QtDesktop desktop;
    const FileDialogRequest request{QStringLiteral("Title"), QStringLiteral("Readings|*.zod"),
                                    QStringLiteral("zod")};
    const auto open = [&] { return desktop.openFileName(nullptr, request); };
    const auto save = [&] { return desktop.saveFileName(nullptr, request); };

    QCOMPARE(answerFileDialog(save, QString()), std::make_pair(documents, QString()));
    QCOMPARE(answerFileDialog(open, reading), std::make_pair(documents, reading));
    QCOMPARE(answerFileDialog(save, QString()).first, elsewhere);
    QCOMPARE(answerFileDialog(open, QString()).first, elsewhere);

    const QString programFolder = folder(QStringLiteral("config/")) + QtDesktop::applicationName();
    QVERIFY(QFileInfo::exists(programFolder + QStringLiteral("/QtProject.conf")));
    QVERIFY(!QFileInfo::exists(folder(QStringLiteral("config/QtProject.conf"))));
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

  // Another user's request is not taken: the copy closes the connection
  // without a word.
  void anotherUserHandsNothingOver()
  {
    if (::geteuid() != 0)
      QSKIP("becoming another user needs root");
    QtDesktop running;
    QVERIFY(running.claimSingleInstance());
    QStringList received;
    running.receiveHandedFiles([&](const QString &path) { received.append(path); });
    InstanceLock refusing(lockPath());
    QCOMPARE(refusing.claim(), InstanceLock::Claim::HeldByAnotherCopy);

    QByteArray request;
    QDataStream stream(&request, QIODevice::WriteOnly);
    stream << QStringLiteral("/tmp/x.zod");
    const QByteArray name = refusing.handoffName().toUtf8();
    const pid_t sender = ::fork();
    if (sender == 0) {
      // 0 when the copy closes the connection without a word.
      const int descriptor = socketAsNobody(name);
      char answer = 0;
      ::_exit(descriptor < 0                                                         ? 2
              : ::write(descriptor, request.constData(), size_t(request.size())) < 0 ? 3
              : ::read(descriptor, &answer, 1) > 0                                   ? 1
                                                                                     : 0);
    }
    QCOMPARE(exitStatus(sender), 0);
    QVERIFY(received.isEmpty());
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

QTEST_MAIN(QtDesktopUnixTest)
#include "tst_qtdesktop_unix.moc"

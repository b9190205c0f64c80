#include "core/commandline.h"
#include "platform/arguments.h"
#include "platform/store/filenames.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtTest>

// What each command line asks the program to do.
class CommandLineTest : public QObject {
  Q_OBJECT

private slots:
  void eachCommandLineAsksForOneThing_data()
  {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");
    using Action = CommandLine::Action;
    const QString here = QDir::currentPath();
    QTest::newRow("nothing") << QStringList() << int(Action::Run) << QString();
    // On Windows an absolute path without a drive is on the current drive.
    const QString absolute = QFileInfo(QStringLiteral("/tmp/a b.zod")).absoluteFilePath();
    QTest::newRow("absolute") << QStringList{"/tmp/a b.zod"} << int(Action::Run) << absolute;
    QTest::newRow("relative") << QStringList{"saved/Zoë.zod"} << int(Action::Run)
                              << here + QStringLiteral("/saved/Zoë.zod");
    QTest::newRow("file address") << QStringList{"file:///tmp/Zo%C3%AB%20R.zod"} << int(Action::Run)
                                  << QFileInfo(QStringLiteral("/tmp/Zoë R.zod")).absoluteFilePath();
    QTest::newRow("a file named like an option")
        << QStringList{"--", "-v.zod"} << int(Action::Run) << here + QStringLiteral("/-v.zod");
    QTest::newRow("--help") << QStringList{"--help"} << int(Action::ShowHelp) << QString();
    QTest::newRow("-h before a file")
        << QStringList{"-h", "a.zod"} << int(Action::ShowHelp) << QString();
    QTest::newRow("--version") << QStringList{"--version"} << int(Action::ShowVersion) << QString();
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate"} << int(Action::Refuse) << QString();
    QTest::newRow("two files") << QStringList{"a.zod", "b.zod"} << int(Action::Refuse) << QString();
  }

  void eachCommandLineAsksForOneThing()
  {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, file);
    const CommandLine command = ParseCommandLine(arguments);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.file, file);
    QCOMPARE(command.error.isEmpty(), action != int(CommandLine::Action::Refuse));
    QVERIFY(!command.error.contains(QLatin1Char('\n')));
  }

  // Every name the system can give comes back as the same bytes; UTF-8 reads
  // as Qt reads it.
  void fileNamesSurviveTheRoundTrip()
  {
    const QByteArray utf8("/saved/Zo\xc3\xab \xe6\xbc\xa2\xf0\x9f\xa6\x98.zod");
    QCOMPARE(fileNameFromSystem(utf8), QString::fromUtf8(utf8));
    QCOMPARE(fileNameFromSystem("bad\xff"), QStringLiteral("bad") + QChar(0xDCFF));
    QList<QByteArray> names{utf8,
                            "Latin-1 \xe9\xeb",
                            "surrogate \xed\xb2\x80 overlong \xc0\xaf \xe0\x80\xaf",
                            "cut \xf0\x9f\xa6",
                            "above U+10FFFF \xf4\x90\x80\x80",
                            "\x80\xbf\xfe"};
    auto *random = QRandomGenerator::global();
    for (int i = 0; i < 2000; ++i) {
      QByteArray bytes(random->bounded(1, 24), Qt::Uninitialized);
      for (char &byte : bytes)
        byte = char(random->bounded(1, 256));
      names.append(bytes);
    }
    for (const QByteArray &name : names)
      QVERIFY2(fileNameForSystem(fileNameFromSystem(name)) == name, name.toHex().constData());
    // A surrogate pair that happens to end in an escaped byte's code is text.
    const QString pair = QString::fromUcs4(U"\U000100FF");
    QCOMPARE(fileNameForSystem(pair), pair.toUtf8());
  }

#ifndef Q_OS_WIN
  // A name that is no UTF-8 reaches the program whole, given as a path or as
  // a file:// address, as Latin-1 names of old archives are.
  void aNameThatIsNoUtf8IsKeptWhole()
  {
    QByteArray program("australian-astrology");
    QByteArray path("/tmp/Zo\xeb\n.zod");
    char *argv[] = {program.data(), path.data()};
    const QStringList arguments = commandLineArguments(2, argv);
    QCOMPARE(arguments.size(), 2);
    QCOMPARE(fileNameForSystem(ParseCommandLine(arguments.mid(1)).file), path);
    QCOMPARE(fileNameForSystem(ParseCommandLine({QStringLiteral("file:///tmp/Zo%EB%0A.zod")}).file),
             path);
  }
#endif
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"

#include "core/commandline.h"

#include <QDir>
#include <QFileInfo>
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
    QTest::newRow("file address")
        << QStringList{"file:///tmp/Zo%C3%AB%20R.zod"} << int(Action::Run)
        << QFileInfo(QStringLiteral("/tmp/Zoë R.zod")).absoluteFilePath();
    QTest::newRow("a file named like an option")
        << QStringList{"--", "-v.zod"} << int(Action::Run) << here + QStringLiteral("/-v.zod");
    QTest::newRow("--help") << QStringList{"--help"} << int(Action::ShowHelp) << QString();
    QTest::newRow("-h before a file")
        << QStringList{"-h", "a.zod"} << int(Action::ShowHelp) << QString();
    QTest::newRow("--version") << QStringList{"--version"} << int(Action::ShowVersion)
                               << QString();
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << int(Action::Refuse)
                                    << QString();
    QTest::newRow("two files") << QStringList{"a.zod", "b.zod"} << int(Action::Refuse)
                               << QString();
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
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"

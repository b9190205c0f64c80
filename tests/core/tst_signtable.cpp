#include "core/signtable.h"
#include "support/scripteddesktop.h"
#include "ui/windows/frmAustralianAstrologyResult.h"

#include <QLabel>
#include <QtTest>

class SignTableTest : public QObject {
  Q_OBJECT

private slots:
  void cleanup()
  {
    discardForms();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
  }

  void monthsMapToTheirAnimals()
  {
    const QStringList animals = {
        QStringLiteral("Galah"),    QStringLiteral("Koala"),
        QStringLiteral("Dingbat"),  QStringLiteral("Western Swamp Turtle"),
        QStringLiteral("Kangaroo"), QStringLiteral("Northern Hairy-nosed Wombat"),
        QStringLiteral("Platypus"), QStringLiteral("Possum"),
        QStringLiteral("Numbat"),   QStringLiteral("Dibbler"),
        QStringLiteral("Dingo"),    QStringLiteral("Emu")};
    QCOMPARE(MonthNames().size(), 12);
    QCOMPARE(MonthNames().first(), QStringLiteral("January"));
    QCOMPARE(MonthNames().last(), QStringLiteral("December"));
    for (int i = 0; i < 12; ++i)
      QCOMPARE(AnimalForMonth(MonthNames().at(i)), animals.at(i));
    QVERIFY(!AnimalForMonth(QStringLiteral("january")));
    QVERIFY(!AnimalForMonth(QString()));
  }

  void descriptionsHaveTheirLengthAndOpening_data()
  {
    QTest::addColumn<QString>("animal");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("opening");
    const auto row = [](const char *animal, int length, const char *opening) {
      QTest::newRow(animal) << QString::fromLatin1(animal) << length
                            << QString::fromLatin1(opening);
    };
    row("Galah", 497, "A feathery delight of pinkish hue, this Australian bird stands");
    row("Koala", 520, "The Koala people are confident and rather choosy about the");
    row("Dingbat", 444, "This sign is associated with foolish and rash behavior. The");
    row("Western Swamp Turtle", 539, "You are tagged among your friends and relatives as a");
    row("Kangaroo", 606, "Independence, speed, drive and a great urge to lead others");
    row("Northern Hairy-nosed Wombat", 516,
        "You are hard-working, sincere and tend to accomplish your aim");
    row("Platypus", 530, "The Platypus people are marked by their easy and smooth");
    row("Possum", 591, "These people are thought to be the sweetest of the");
    row("Numbat", 605, "The Numbat people can be adventurous, outgoing and always want");
    row("Dibbler", 671, "It will be not unfair to say that dibblers are");
    row("Dingo", 575, "You are a very calm and cool person. You are");
    row("Emu", 599, "The ruling planet of this zodiac is Uranus. Emu people");
  }

  void descriptionsHaveTheirLengthAndOpening()
  {
    QFETCH(QString, animal);
    QFETCH(int, length);
    QFETCH(QString, opening);
    const QString description = SignDescription(animal);
    QCOMPARE(description.size(), length);
    QVERIFY2(description.startsWith(opening), qPrintable(description.left(80)));
    for (const QChar character : description)
      QVERIFY2(character.unicode() >= 0x20 && character.unicode() < 0x7F, "not printable ASCII");
  }

  void showSignResultWritesCapitalsAndDescription()
  {
    ScriptedDesktop scripted;
    ShowSignResult(QStringLiteral("Northern Hairy-nosed Wombat"));
    auto *result = Forms::find<frmAustralianAstrologyResult>();
    QVERIFY(result);
    QVERIFY(!result->isVisible());
    QCOMPARE(result->lblResult[0]->text(), QStringLiteral("NORTHERN HAIRY-NOSED WOMBAT"));
    QCOMPARE(result->lblResult[1]->text(),
             SignDescription(QStringLiteral("Northern Hairy-nosed Wombat")));

    // A second lookup overwrites the same window.
    ShowSignResult(QStringLiteral("Emu"));
    QCOMPARE(Forms::find<frmAustralianAstrologyResult>(), result);
    QCOMPARE(result->lblResult[0]->text(), QStringLiteral("EMU"));
    QCOMPARE(result->lblResult[1]->text().size(), 599);
  }

  void inexactNamesMatchNothing_data()
  {
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << QStringLiteral("galah");
    QTest::newRow("capitals") << QStringLiteral("GALAH");
    QTest::newRow("leading space") << QStringLiteral(" Galah");
    QTest::newRow("trailing space") << QStringLiteral("Galah ");
    QTest::newRow("empty") << QString();
    QTest::newRow("month") << QStringLiteral("January");
  }

  void inexactNamesMatchNothing()
  {
    QFETCH(QString, name);
    ScriptedDesktop scripted;
    ShowSignResult(name);
    QVERIFY(!Forms::find<frmAustralianAstrologyResult>());
    QVERIFY(SignDescription(name).isEmpty());
  }
};

QTEST_MAIN(SignTableTest)
#include "tst_signtable.moc"

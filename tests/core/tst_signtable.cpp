#include "core/signtable.h"

#include <QLocale>
#include <QSet>
#include <QtTest>

class SignTableTest : public QObject {
  Q_OBJECT

private slots:
  void monthsRunInCalendarOrder()
  {
    QStringList calendar;
    for (int month = 1; month <= 12; ++month)
      calendar << QLocale::c().monthName(month, QLocale::LongFormat);
    QCOMPARE(MonthNames(), calendar);
  }

  void everyMonthHasAnAnimalAndDescriptionOfItsOwn()
  {
    QSet<QString> animals;
    QSet<QString> descriptions;
    for (const QString &month : MonthNames()) {
      const auto animal = AnimalForMonth(month);
      QVERIFY2(animal && !animal->isEmpty(), qPrintable(month));
      animals << *animal;
      const QString description = SignDescription(*animal);
      QVERIFY2(!description.isEmpty(), qPrintable(*animal));
      QCOMPARE(description, description.trimmed());
      for (const QChar character : description)
        QVERIFY2(character.unicode() >= 0x20 && character.unicode() < 0x7F, qPrintable(*animal));
      descriptions << description;
    }
    QCOMPARE(animals.size(), 12);
    QCOMPARE(descriptions.size(), 12);
  }

  void onlyExactNamesMatch_data()
  {
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("animal");
    const QString month = MonthNames().constFirst();
    const QString animal = AnimalForMonth(month).value_or(QString());
    QTest::newRow("lower case") << month.toLower() << animal.toLower();
    QTest::newRow("capitals") << month.toUpper() << animal.toUpper();
    QTest::newRow("leading space") << QLatin1Char(' ') + month << QLatin1Char(' ') + animal;
    QTest::newRow("trailing space") << month + QLatin1Char(' ') << animal + QLatin1Char(' ');
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("the other kind") << animal << month;
  }

  void onlyExactNamesMatch()
  {
    QFETCH(QString, month);
    QFETCH(QString, animal);
    QVERIFY(!AnimalForMonth(month));
    QVERIFY(SignDescription(animal).isEmpty());
  }
};

QTEST_GUILESS_MAIN(SignTableTest)
#include "tst_signtable.moc"

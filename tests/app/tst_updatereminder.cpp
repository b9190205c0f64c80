#include "app/updatereminder.h"
#include "config.h"
#include "core/masking.h"
#include "core/webpages.h"
#include "support/scripteddesktop.h"

#include <QtTest>

#include <memory>

class UpdateReminderTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ScriptedDesktop> scripted;
  const QString durationKey = QStringLiteral("Settings/") + MaskText(QStringLiteral("Duration"));

  void storeDay(const QString &text) { scripted->settings.insert(durationKey, MaskText(text)); }
  QString storedDay() const { return UnmaskText(scripted->settings.value(durationKey)); }
  QString todayStored() const { return scripted->currentDay.toString(Qt::ISODate); }

private slots:
  void init() { scripted = std::make_unique<ScriptedDesktop>(); }
  void cleanup() { scripted.reset(); }

  void firstStartStoresTodayQuietly()
  {
    CheckUpdateReminder();
    QVERIFY(scripted->messageBoxes.isEmpty());
    QTRY_COMPARE(storedDay(), QStringLiteral("2026-12-07"));
  }

  void withinFourteenDaysNothingHappens_data()
  {
    QTest::addColumn<int>("days");
    QTest::newRow("14 days ago") << -14;
    QTest::newRow("today") << 0;
    QTest::newRow("14 days ahead") << 14;
  }

  void withinFourteenDaysNothingHappens()
  {
    QFETCH(int, days);
    const QString day = scripted->currentDay.addDays(days).toString(Qt::ISODate);
    storeDay(day);
    CheckUpdateReminder();
    QVERIFY(scripted->messageBoxes.isEmpty());
    QCOMPARE(storedDay(), day);
  }

  void fifteenDaysAwayAsksAndRemembersToday_data()
  {
    QTest::addColumn<int>("days");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QStringList>("opened");
    const QStringList download = {PageAddress(QStringLiteral("download-web-page"))};
    QTest::newRow("15 days ago, yes") << -15 << MessageAnswer::Yes << download;
    QTest::newRow("15 days ago, no") << -15 << MessageAnswer::No << QStringList();
    QTest::newRow("15 days ahead, yes") << 15 << MessageAnswer::Yes << download;
    QTest::newRow("a year ago, no") << -365 << MessageAnswer::No << QStringList();
  }

  void fifteenDaysAwayAsksAndRemembersToday()
  {
    QFETCH(int, days);
    QFETCH(MessageAnswer, answer);
    QFETCH(QStringList, opened);
    storeDay(scripted->currentDay.addDays(days).toString(Qt::ISODate));
    scripted->messageAnswers.enqueue(answer);
    CheckUpdateReminder();

    QCOMPARE(scripted->messageBoxes.size(), 1);
    const auto &box = scripted->messageBoxes.constFirst();
    QCOMPARE(box.text, QStringLiteral("There maybe an update to this software available\n"
                                      "Do you want to check for an update?"));
    QCOMPARE(box.owner, nullptr);
    QCOMPARE(box.icon, MessageIcon::Information);
    QCOMPARE(box.buttons, MessageButtons::YesNo);
    QCOMPARE(box.title, AppTitle);
    QCOMPARE(storedDay(), todayStored());
    QCOMPARE(scripted->openedUrls, opened);
  }

  void aDamagedValueIsReplacedQuietly()
  {
    storeDay(QStringLiteral("not a day"));
    CheckUpdateReminder();
    QVERIFY(scripted->messageBoxes.isEmpty());
    QTRY_COMPARE(storedDay(), todayStored());
  }

  void anUnreadableStoreIsLeftAlone()
  {
    scripted->settingsReadable = false;
    CheckUpdateReminder();
    QVERIFY(scripted->messageBoxes.isEmpty());
    QTest::qWait(0);
    QVERIFY(scripted->settings.isEmpty());
  }
};

QTEST_GUILESS_MAIN(UpdateReminderTest)
#include "tst_updatereminder.moc"

#include "core/masking.h"
#include "core/settings.h"
#include "platform/qtdesktop.h"

#include <QProcess>
#include <QSettings>
#include <QtTest>

namespace {
const QString Vendor = QStringLiteral("HKEY_CURRENT_USER\\Software\\Quorrin");
}

// The real per-user store: the program's key in the user's part of the
// registry, emptied before and after each test.
class SettingsStoreTest : public QObject {
  Q_OBJECT

  static void removeProgramKey() { QSettings(Vendor, QSettings::NativeFormat).remove(program()); }
  static QString program() { return QtDesktop::applicationName(); }

private slots:
  void init() { removeProgramKey(); }
  void cleanup() { removeProgramKey(); }

  void roundTripsMaskedThroughTheRegistry()
  {
    QtDesktop qtDesktop;
    setDesktop(&qtDesktop);
    QCOMPARE(ReadSetting(QStringLiteral("Duration")), QString());
    QVERIFY(WriteSetting(QStringLiteral("Duration"), QStringLiteral("2026-12-07")));
    QCOMPARE(ReadSetting(QStringLiteral("Duration")), QStringLiteral("2026-12-07"));
    setDesktop(nullptr);

    // As Windows' own tool lists it: one key per program, named after the
    // executable, with nothing in plain text.
    const QString key = Vendor + QLatin1Char('\\') + program();
    QProcess reg;
    reg.start(QStringLiteral("reg"), {QStringLiteral("query"), key, QStringLiteral("/s")});
    QVERIFY2(reg.waitForFinished(), qPrintable(reg.errorString()));
    const QString listed = QString::fromLocal8Bit(reg.readAllStandardOutput());
    QVERIFY2(reg.exitCode() == 0 && listed.contains(key + QStringLiteral("\\Settings")),
             qPrintable(listed));
    QVERIFY2(!listed.contains(QStringLiteral("Duration")), qPrintable(listed));
    QVERIFY2(!listed.contains(QStringLiteral("2026")), qPrintable(listed));

    // Read apart from the program's store: the masked key holds the masked value.
    QSettings stored(key, QSettings::NativeFormat);
    QCOMPARE(stored.childGroups(), QStringList{QStringLiteral("Settings")});
    stored.beginGroup(QStringLiteral("Settings"));
    QCOMPARE(stored.childKeys(), QStringList{MaskText(QStringLiteral("Duration"))});
    QCOMPARE(stored.value(MaskText(QStringLiteral("Duration"))).toString(),
             MaskText(QStringLiteral("2026-12-07")));
  }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settingsstore_win.moc"

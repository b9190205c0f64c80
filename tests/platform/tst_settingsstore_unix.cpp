#include "core/masking.h"
#include "core/settings.h"
#include "platform/qtdesktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The real per-user store, in a configuration folder of the test's own.
class SettingsStoreTest : public QObject {
  Q_OBJECT

  static QTemporaryDir &home()
  {
    static QTemporaryDir folder;
    return folder;
  }

public:
  static void initMain() { qputenv("XDG_CONFIG_HOME", home().path().toUtf8()); }

private slots:
  void roundTripsMaskedThroughTheFile()
  {
    QtDesktop qtDesktop;
    setDesktop(&qtDesktop);
    QCOMPARE(ReadSetting(QStringLiteral("Duration")), QString());
    QVERIFY(WriteSetting(QStringLiteral("Duration"), QStringLiteral("2026-12-07")));
    QCOMPARE(ReadSetting(QStringLiteral("Duration")), QStringLiteral("2026-12-07"));

    // One file per program, named after the executable, with nothing in plain text.
    const QString path = home().path() + QStringLiteral("/tst_settingsstore/tst_settingsstore.ini");
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QString stored = QString::fromUtf8(file.readAll());
    QVERIFY(stored.contains(QStringLiteral("[Settings]")));
    QVERIFY(stored.contains(MaskText(QStringLiteral("2026-12-07"))));
    QVERIFY(!stored.contains(QStringLiteral("Duration")));
    QVERIFY(!stored.contains(QStringLiteral("2026")));
    setDesktop(nullptr);
  }

  void anUnwritableFolderLosesOnlyTheValue()
  {
    // A configuration folder below a regular file can never be created.
    const QString blocker = home().path() + QStringLiteral("/blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_CONFIG_HOME", (blocker + QStringLiteral("/config")).toUtf8());

    QtDesktop qtDesktop;
    setDesktop(&qtDesktop);
    QVERIFY(!WriteSetting(QStringLiteral("Duration"), QStringLiteral("2026-12-07")));
    QCOMPARE(ReadSetting(QStringLiteral("Duration")).value_or(QString()), QString());
    setDesktop(nullptr);
    qputenv("XDG_CONFIG_HOME", home().path().toUtf8());
  }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settingsstore_unix.moc"

#include "platform/qtdesktop.h"
#include "realdesktoptest.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

// The real desktop where it keeps to Windows' own places.
class QtDesktopWindowsTest : public RealDesktopTest {
  Q_OBJECT

private slots:
  // The user's local application data is theirs alone and never goes to
  // another computer with a roaming profile.
  void theLockLiesInTheUsersLocalApplicationData()
  {
    const QString localData = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
    QVERIFY(!localData.isEmpty());
    QtDesktop desktop;
    QVERIFY(desktop.claimSingleInstance());
    QVERIFY2(QFileInfo(lockPath()).isFile(), qPrintable(lockPath()));
    QVERIFY2(lockPath().startsWith(localData + QLatin1Char('/'), Qt::CaseInsensitive),
             qPrintable(lockPath() + QStringLiteral(" is not in ") + localData));
  }
};

QTEST_MAIN(QtDesktopWindowsTest)
#include "tst_qtdesktop_win.moc"

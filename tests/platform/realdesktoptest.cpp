#include "realdesktoptest.h"

#include "platform/qtdesktop.h"
#include "platform/singlecopy/instancelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

QString RealDesktopTest::lockPath()
{
  return instanceLockFolders().constFirst() + QLatin1Char('/') + QtDesktop::applicationName() +
         QStringLiteral(".lock");
}

void RealDesktopTest::writeFile(const QString &path, const QByteArray &bytes)
{
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray RealDesktopTest::fileBytes(const QString &path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void RealDesktopTest::initTestCase() { m_temporary = QDir::tempPath(); }

void RealDesktopTest::init()
{
  m_folders =
      std::make_unique<QTemporaryDir>(m_temporary + QStringLiteral("/tst_qtdesktop-XXXXXX"));
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
  // Windows keeps the lock in a folder of the user's that every test shares:
  // each starts it afresh. The program makes it when it first runs; the tests
  // put things there before.
  const QString lockFolder = QFileInfo(lockPath()).path();
  if (!lockFolder.startsWith(m_folders->path()))
    QVERIFY(QDir(lockFolder).removeRecursively());
  QVERIFY(QDir().mkpath(lockFolder));
}

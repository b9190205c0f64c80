#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The base of the tests of the real desktop: each test runs in folders of its
// own, named to the desktop as the user's runtime, cache and configuration
// folders. Windows names no such folders: there the tests share the user's
// local application data.
class RealDesktopTest : public QObject {
  Q_OBJECT

protected:
  QString folder(const QString &name) const { return m_folders->filePath(name); }
  // The single-copy lock in the folder where every copy looks first.
  static QString lockPath();

  static void writeFile(const QString &path, const QByteArray &bytes);
  static QByteArray fileBytes(const QString &path);

protected slots:
  // Qt Test runs these for a subclass too.
  void initTestCase();
  void init();

private:
  std::unique_ptr<QTemporaryDir> m_folders;
  QString m_temporary;
};

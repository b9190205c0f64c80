#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

// Saved readings handed from a later start to the copy that runs, over a
// local socket only this user can reach (a socket file beside the lock; a
// named pipe on Windows). A message is one absolute path in UTF-8 and a line
// end; the running copy answers "ok" once it has taken the path.
class FileHandoff : public QObject {
  Q_OBJECT
public:
  using Receiver = std::function<void(const QString &path)>;

  explicit FileHandoff(Receiver receiver);

  // Listens under the name; false when the name cannot be listened on.
  bool listen(const QString &name);

  // Hands the path to the copy listening under the first of the names that
  // answers; false when none took it.
  static bool send(const QStringList &names, const QString &path);

  // The socket's name for a lock folder.
  static QString nameInFolder(const QString &folder);

  // The longest message taken, in bytes: the longest path Windows allows,
  // in UTF-8, and the line end.
  static constexpr qsizetype LongestMessage = 32767 * 3 + 1;

private:
  void acceptWaiting();

  QLocalServer m_server;
  Receiver m_receiver;
  int m_connections = 0;
};

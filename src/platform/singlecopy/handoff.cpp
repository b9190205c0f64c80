#include "platform/singlecopy/handoff.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStringDecoder>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

namespace {

// A sender has this long from connecting to its line end; one that sends
// nothing, or a byte at a time, is cut off then. Nothing waits for it
// meanwhile: the windows go on as before.
constexpr std::chrono::seconds SenderPatience{5};
// Connections served at once; more are turned away until one ends.
constexpr int MostConnections = 8;
// How long a start waits for the running copy to take its file.
constexpr std::chrono::seconds AnswerPatience{5};

const QByteArray Taken = QByteArrayLiteral("ok\n");

// The path in a message, when it is one: UTF-8 text naming an absolute path.
std::optional<QString> pathIn(const QByteArray &line)
{
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString path = utf8(line);
  if (utf8.hasError() || path.isEmpty() || path.contains(QChar::Null) ||
      !QDir::isAbsolutePath(path))
    return std::nullopt;
  return path;
}

} // namespace

FileHandoff::FileHandoff(Receiver receiver) : m_receiver(std::move(receiver))
{
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&m_server, &QLocalServer::newConnection, this, &FileHandoff::acceptWaiting);
}

bool FileHandoff::listen(const QString &name)
{
  // Only the copy that holds the lock listens, so a socket left by a copy
  // that crashed is no one's.
  QLocalServer::removeServer(name);
  return m_server.listen(name);
}

void FileHandoff::acceptWaiting()
{
  while (QLocalSocket *socket = m_server.nextPendingConnection()) {
    if (m_connections >= MostConnections) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    ++m_connections;
    connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const auto cutOff = [socket] {
      socket->abort();
      socket->deleteLater();
    };
    QTimer::singleShot(SenderPatience, socket, cutOff);

    auto received = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received, cutOff] {
      received->append(socket->read(LongestMessage - received->size()));
      const qsizetype end = received->indexOf('\n');
      if (end < 0) {
        if (received->size() >= LongestMessage)
          cutOff();
        return;
      }
      const auto path = pathIn(received->left(end));
      if (!path) {
        cutOff();
        return;
      }
      // One path a connection: whatever follows is not read.
      disconnect(socket, &QLocalSocket::readyRead, socket, nullptr);
      socket->write(Taken);
      socket->disconnectFromServer();
      m_receiver(*path);
    });
  }
}

bool FileHandoff::send(const QStringList &names, const QString &path)
{
  const QByteArray message = path.toUtf8() + '\n';
  if (message.size() > LongestMessage)
    return false;
  for (const QString &name : names) {
    const QDeadlineTimer patience(AnswerPatience);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(patience.remainingTime()))
      continue;
    socket.write(message);
    QByteArray answer;
    while (answer.size() < Taken.size() && socket.waitForReadyRead(patience.remainingTime()))
      answer += socket.readAll();
    if (answer.startsWith(Taken))
      return true;
  }
  return false;
}

QString FileHandoff::nameInFolder(const QString &folder)
{
  // On Windows a local socket is a named pipe, whose name may be any text
  // without a backslash: the same path names it there.
  return folder + QLatin1Char('/') + QCoreApplication::applicationName() +
         QLatin1String(".socket");
}

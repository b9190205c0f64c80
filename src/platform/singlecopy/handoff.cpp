#include "platform/singlecopy/handoff.h"

#include "platform/singlecopy/handoffchannel.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QTimer>

#include <chrono>
#include <optional>

namespace {

// A start has this long from connecting to its confirmation; one that sends
// nothing, or a byte at a time, is cut off then. Nothing waits for it
// meanwhile: the windows go on as before.
constexpr std::chrono::seconds SenderPatience{5};
// Connections served at once; more are turned away until one ends.
constexpr int MostConnections = 8;
// How long a start waits for the running copy to take its file.
constexpr std::chrono::seconds AnswerPatience{5};

const QByteArray Ready = QByteArrayLiteral("ready\n");
const QByteArray Confirmed = QByteArrayLiteral("take\n");
const QByteArray Taken = QByteArrayLiteral("taken\n");

constexpr QDataStream::Version Format = QDataStream::Qt_6_0;

QByteArray requestFor(const QString &path)
{
  QByteArray request;
  QDataStream stream(&request, QIODevice::WriteOnly);
  stream.setVersion(Format);
  stream << path;
  return request;
}

enum class Request { Incomplete, Refused, Complete };

// What the bytes received so far make of a request: a length in bytes, then
// the path in UTF-16, naming an absolute path.
Request readRequest(const QByteArray &received, QString &path)
{
  constexpr qsizetype LengthBytes = 4;
  if (received.size() < LengthBytes)
    return Request::Incomplete;
  QDataStream stream(received);
  stream.setVersion(Format);
  quint32 length = 0;
  stream >> length;
  if (length % 2 != 0 || length > quint32(FileHandoff::LongestMessage - LengthBytes))
    return Request::Refused; // a null string's length, 0xFFFFFFFF, among them
  if (received.size() < LengthBytes + qsizetype(length))
    return Request::Incomplete;
  if (received.size() > LengthBytes + qsizetype(length))
    return Request::Refused; // nothing follows a request before it is answered
  QDataStream whole(received);
  whole.setVersion(Format);
  whole >> path;
  if (path.isEmpty() || path.contains(QChar::Null) || !QDir::isAbsolutePath(path))
    return Request::Refused;
  return Request::Complete;
}

// Waits until the copy has said the answer, and nothing else, in time.
bool answered(QLocalSocket &socket, const QByteArray &answer, const QDeadlineTimer &patience)
{
  QByteArray said = socket.read(answer.size());
  while (said.size() < answer.size() && socket.waitForReadyRead(patience.remainingTime()))
    said += socket.read(answer.size() - said.size());
  return said == answer;
}

} // namespace

FileHandoff::FileHandoff(Receiver receiver) : m_receiver(std::move(receiver)) {}

FileHandoff::~FileHandoff() { refuse(); }

bool FileHandoff::listen(const QStringList &names)
{
  for (const QString &name : names) {
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(handoffServerOptions());
    if (!server->listen(name))
      continue;
    QLocalServer *listening = server.get();
    connect(listening, &QLocalServer::newConnection, this,
            [this, listening] { acceptWaiting(*listening); });
    m_servers.push_back(std::move(server));
  }
  return !m_servers.empty();
}

void FileHandoff::refuse()
{
  for (const auto &server : m_servers) {
    server->close();
    // The connections served are the server's children.
    for (QLocalSocket *socket : server->findChildren<QLocalSocket *>())
      socket->abort();
  }
  m_servers.clear();
}

void FileHandoff::acceptWaiting(QLocalServer &server)
{
  while (QLocalSocket *socket = server.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (m_connections >= MostConnections || !peerIsThisUser(*socket)) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    ++m_connections;
    connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
    const auto cutOff = [socket] {
      socket->abort();
      socket->deleteLater();
    };
    QTimer::singleShot(SenderPatience, socket, cutOff);

    auto received = std::make_shared<QByteArray>();
    auto path = std::make_shared<QString>();
    auto ready = std::make_shared<bool>(false);
    connect(socket, &QLocalSocket::readyRead, socket, [=] {
      received->append(socket->read(LongestMessage - received->size()));
      if (!*ready) {
        switch (readRequest(*received, *path)) {
        case Request::Incomplete:
          if (received->size() >= LongestMessage)
            cutOff();
          return;
        case Request::Refused:
          cutOff();
          return;
        case Request::Complete:
          *ready = true;
          received->clear();
          socket->write(Ready);
          socket->flush();
          return;
        }
      }
      if (received->size() < Confirmed.size())
        return;
      if (*received != Confirmed) {
        cutOff();
        return;
      }
      // One file a connection: whatever follows is not read.
      disconnect(socket, &QLocalSocket::readyRead, socket, nullptr);
      m_receiver(*path);
      socket->write(Taken);
      socket->disconnectFromServer();
    });
  }
}

bool FileHandoff::send(const QStringList &names, const QString &path)
{
  const QByteArray request = requestFor(path);
  if (request.size() > LongestMessage)
    return false;
  for (const QString &name : names) {
    const QDeadlineTimer patience(AnswerPatience);
    QLocalSocket socket;
    socket.setSocketOptions(handoffSocketOptions());
    socket.connectToServer(name);
    if (!socket.waitForConnected(patience.remainingTime()) || !peerIsThisUser(socket))
      continue;
    socket.write(request);
    socket.flush();
    if (!answered(socket, Ready, patience))
      continue;
    socket.write(Confirmed);
    socket.flush();
    if (answered(socket, Taken, patience))
      return true;
  }
  return false;
}

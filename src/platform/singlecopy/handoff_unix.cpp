#include "platform/singlecopy/handoff.h"
#include "platform/singlecopy/handoff_p.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>
#include <vector>

// The sockets live in the abstract namespace, which needs no file and so
// neither a folder that every start agrees on nor a path short enough for a
// socket address; having no file permissions either, each end asks the system
// who the other is.

namespace {

// Whether the process at the other end of the connected socket runs as this
// user: the system's record of the process that connected, or the one that
// listened.
bool peerIsThisUser(const QLocalSocket &socket)
{
  ucred peer{};
  socklen_t size = sizeof(peer);
  return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                      &size) == 0 &&
         peer.uid == ::geteuid();
}

} // namespace

struct FileHandoff::Listening {
  void serve(FileHandoff &handoff, QLocalSocket *socket);

  ~Listening()
  {
    for (const auto &server : servers) {
      server->close();
      // The connections served are the server's children.
      for (QLocalSocket *socket : server->findChildren<QLocalSocket *>())
        socket->abort();
    }
  }

  // Before the servers, whose connections count themselves off as they go.
  int connections = 0;
  std::vector<std::unique_ptr<QLocalServer>> servers;
};

FileHandoff::FileHandoff(Receiver receiver) : m_receiver(std::move(receiver)) {}

FileHandoff::~FileHandoff() { refuse(); }

void FileHandoff::refuse() { m_listening.reset(); }

bool FileHandoff::listen(const QStringList &names)
{
  auto listening = std::make_unique<Listening>();
  for (const QString &name : names) {
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(name))
      continue;
    QLocalServer *listener = server.get();
    Listening *served = listening.get();
    connect(listener, &QLocalServer::newConnection, this, [this, listener, served] {
      while (QLocalSocket *socket = listener->nextPendingConnection())
        served->serve(*this, socket);
    });
    listening->servers.push_back(std::move(server));
  }
  if (listening->servers.empty())
    return false;
  m_listening = std::move(listening);
  return true;
}

void FileHandoff::Listening::serve(FileHandoff &handoff, QLocalSocket *socket)
{
  QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  if (connections >= MostConnections || !peerIsThisUser(*socket)) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  ++connections;
  QObject::connect(socket, &QObject::destroyed, &handoff, [this] { --connections; });
  const auto cutOff = [socket] {
    socket->abort();
    socket->deleteLater();
  };
  QTimer::singleShot(SenderPatience, socket, cutOff);

  auto exchange = std::make_shared<HandoffExchange>();
  QObject::connect(socket, &QLocalSocket::readyRead, socket, [=, &handoff] {
    switch (exchange->received(socket->read(exchange->room()))) {
    case HandoffExchange::Step::Wait:
      return;
    case HandoffExchange::Step::CutOff:
      cutOff();
      return;
    case HandoffExchange::Step::AnswerReady:
      socket->write(HandoffReady);
      socket->flush();
      return;
    case HandoffExchange::Step::Take:
      // One file a connection: whatever follows is not read.
      QObject::disconnect(socket, &QLocalSocket::readyRead, socket, nullptr);
      handoff.m_receiver(exchange->path());
      socket->write(HandoffTaken);
      socket->disconnectFromServer();
      return;
    }
  });
}

struct HandoffConnection::Channel {
  QLocalSocket socket;
};

HandoffConnection::HandoffConnection(std::unique_ptr<Channel> channel)
    : m_channel(std::move(channel))
{
}

HandoffConnection::~HandoffConnection() = default;

std::unique_ptr<HandoffConnection> HandoffConnection::open(const QString &name,
                                                           const QDeadlineTimer &patience)
{
  auto channel = std::make_unique<Channel>();
  channel->socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  channel->socket.connectToServer(name);
  if (!channel->socket.waitForConnected(int(patience.remainingTime())) ||
      !peerIsThisUser(channel->socket))
    return nullptr;
  return std::unique_ptr<HandoffConnection>(new HandoffConnection(std::move(channel)));
}

bool HandoffConnection::write(const QByteArray &bytes, const QDeadlineTimer & /*patience*/)
{
  // Written into the socket's buffer, and from there as far as it goes.
  const bool written = m_channel->socket.write(bytes) == bytes.size();
  m_channel->socket.flush();
  return written;
}

QByteArray HandoffConnection::read(qsizetype size, const QDeadlineTimer &patience)
{
  QByteArray bytes = m_channel->socket.read(size);
  if (bytes.isEmpty() && m_channel->socket.waitForReadyRead(int(patience.remainingTime())))
    bytes = m_channel->socket.read(size);
  return bytes;
}

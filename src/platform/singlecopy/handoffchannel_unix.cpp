#include "platform/singlecopy/handoffchannel.h"

#include <sys/socket.h>
#include <unistd.h>

QLocalServer::SocketOptions handoffServerOptions() { return QLocalServer::AbstractNamespaceOption; }

QLocalSocket::SocketOptions handoffSocketOptions() { return QLocalSocket::AbstractNamespaceOption; }

bool peerIsThisUser(const QLocalSocket &socket)
{
  // The system's record of the other end: the process that connected, or the
  // one that listened.
  ucred peer{};
  socklen_t size = sizeof(peer);
  return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                      &size) == 0 &&
         peer.uid == ::geteuid();
}

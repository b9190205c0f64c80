#include "platform/singlecopy/handoffchannel.h"

QLocalServer::SocketOptions handoffServerOptions() { return QLocalServer::UserAccessOption; }

QLocalSocket::SocketOptions handoffSocketOptions() { return QLocalSocket::NoOptions; }

// The pipe's access list admits this user alone.
bool peerIsThisUser(const QLocalSocket & /*socket*/) { return true; }

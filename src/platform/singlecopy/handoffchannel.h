#pragma once

#include <QLocalServer>
#include <QLocalSocket>

// What the local sockets of the hand-off need on this system so that only the
// same user reaches the running copy, and the running copy is the same user's.
// On Linux they live in the abstract namespace, which needs no file and so
// neither a folder that every start agrees on nor a path short enough for a
// socket address; having no file permissions either, each end asks the system
// who the other is. On Windows they are named pipes that admit this user only,
// and a start asks who made the pipe.
QLocalServer::SocketOptions handoffServerOptions();
QLocalSocket::SocketOptions handoffSocketOptions();

// Whether the process at the other end of the connected socket runs as this user.
bool peerIsThisUser(const QLocalSocket &socket);

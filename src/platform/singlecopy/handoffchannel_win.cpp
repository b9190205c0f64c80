#include "platform/singlecopy/handoffchannel.h"

#include <memory>
#include <type_traits>
#include <vector>
#include <windows.h>

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The user a process runs as, as the bytes of its token's user; nothing when
// the process cannot be asked, as another user's cannot.
std::vector<char> userOf(HANDLE process)
{
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token))
    return {};
  const Handle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<char> user(size);
  if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
    return {};
  return user;
}

bool sameUser(const std::vector<char> &one, const std::vector<char> &other)
{
  if (one.empty() || other.empty())
    return false;
  const auto *first = reinterpret_cast<const TOKEN_USER *>(one.data());    // NOLINT
  const auto *second = reinterpret_cast<const TOKEN_USER *>(other.data()); // NOLINT
  return EqualSid(first->User.Sid, second->User.Sid) != FALSE;
}

} // namespace

QLocalServer::SocketOptions handoffServerOptions() { return QLocalServer::UserAccessOption; }

QLocalSocket::SocketOptions handoffSocketOptions() { return QLocalSocket::NoOptions; }

bool peerIsThisUser(const QLocalSocket &socket)
{
  // The pipe's access list admits only this user to the running copy; a
  // start asks as well, since another user may have made the pipe first.
  auto *pipe = reinterpret_cast<HANDLE>(socket.socketDescriptor()); // NOLINT
  DWORD end = 0;
  ULONG peer = 0;
  if (!GetNamedPipeInfo(pipe, &end, nullptr, nullptr, nullptr))
    return false;
  const BOOL known = (end & PIPE_SERVER_END) != 0 ? GetNamedPipeClientProcessId(pipe, &peer)
                                                  : GetNamedPipeServerProcessId(pipe, &peer);
  if (!known)
    return false;
  const Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, peer));
  return process && sameUser(userOf(process.get()), userOf(GetCurrentProcess()));
}

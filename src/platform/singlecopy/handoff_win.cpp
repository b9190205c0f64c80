#include "platform/singlecopy/handoff.h"
#include "platform/singlecopy/handoff_p.h"

#include <algorithm>
#include <atomic>
#include <list>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>
#include <windows.h>

// Each name is a named pipe that admits this user only; a start asks as well
// who made the pipe, since another user may have made it first. A thread
// waits for starts to connect and serves each on a thread of its own, so the
// windows never wait; only the file's taking happens on the windows' thread.

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

Handle newEvent() { return Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

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

PSID sidOf(const std::vector<char> &user)
{
  return reinterpret_cast<const TOKEN_USER *>(user.data())->User.Sid; // NOLINT
}

bool runsAsThisUser(ULONG processId)
{
  const Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process)
    return false;
  const std::vector<char> peer = userOf(process.get());
  const std::vector<char> self = userOf(GetCurrentProcess());
  return !peer.empty() && !self.empty() && EqualSid(sidOf(peer), sidOf(self)) != FALSE;
}

std::wstring pipePath(const QString &name)
{
  return (QStringLiteral("\\\\.\\pipe\\") + name).toStdWString();
}

// A new instance of the pipe whose access list admits this user alone; the
// first one fails where any process has the name already.
Handle newPipe(const std::wstring &path, bool first)
{
  const std::vector<char> user = userOf(GetCurrentProcess());
  if (user.empty())
    return {};
  const PSID sid = sidOf(user);
  std::vector<char> acl(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
  auto *access = reinterpret_cast<PACL>(acl.data()); // NOLINT
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeAcl(access, DWORD(acl.size()), ACL_REVISION) ||
      !AddAccessAllowedAce(access, ACL_REVISION, FILE_ALL_ACCESS, sid) ||
      !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, access, FALSE))
    return {};
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, FALSE};
  constexpr DWORD Buffer = 4096;
  const HANDLE pipe = CreateNamedPipeW(
      path.c_str(),
      PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
      PIPE_UNLIMITED_INSTANCES, Buffer, Buffer, 0, &attributes);
  return pipe == INVALID_HANDLE_VALUE ? Handle() : Handle(pipe);
}

// Waits for an operation begun on the pipe until it is done, patience runs
// out or stop is set; whatever is not done by then is cancelled. The bytes it
// moved, or nothing when it failed or was cancelled.
std::optional<DWORD> finished(HANDLE pipe, OVERLAPPED &operation, BOOL begun,
                              const QDeadlineTimer &patience, HANDLE stop)
{
  if (!begun && GetLastError() != ERROR_IO_PENDING)
    return std::nullopt;
  const HANDLE events[] = {operation.hEvent, stop};
  const qint64 left = patience.remainingTime();
  const DWORD waited =
      WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, left < 0 ? INFINITE : DWORD(left));
  if (waited != WAIT_OBJECT_0)
    CancelIoEx(pipe, &operation);
  DWORD moved = 0;
  if (!GetOverlappedResult(pipe, &operation, &moved, TRUE) || waited != WAIT_OBJECT_0)
    return std::nullopt;
  return moved;
}

QByteArray readPipe(HANDLE pipe, qsizetype size, const QDeadlineTimer &patience,
                    HANDLE stop = nullptr)
{
  QByteArray bytes(size, Qt::Uninitialized);
  const Handle done = newEvent();
  OVERLAPPED operation{};
  operation.hEvent = done.get();
  const BOOL begun = ReadFile(pipe, bytes.data(), DWORD(size), nullptr, &operation);
  const std::optional<DWORD> read = finished(pipe, operation, begun, patience, stop);
  bytes.truncate(read ? qsizetype(*read) : 0);
  return bytes;
}

bool writePipe(HANDLE pipe, const QByteArray &bytes, const QDeadlineTimer &patience,
               HANDLE stop = nullptr)
{
  const Handle done = newEvent();
  OVERLAPPED operation{};
  operation.hEvent = done.get();
  const BOOL begun = WriteFile(pipe, bytes.constData(), DWORD(bytes.size()), nullptr, &operation);
  return finished(pipe, operation, begun, patience, stop) == DWORD(bytes.size());
}

} // namespace

struct FileHandoff::Listening {
  explicit Listening(FileHandoff &handoff) : handoff(handoff) {}
  ~Listening()
  {
    SetEvent(stop.get());
    for (std::thread &listener : listeners)
      listener.join();
  }

  void listen(const std::wstring &path, Handle pipe);
  void serve(Handle pipe);
  bool take(const QString &path);

  FileHandoff &handoff;
  const Handle stop = newEvent();
  std::atomic<int> connections = 0;
  std::vector<std::thread> listeners;
};

FileHandoff::FileHandoff(Receiver receiver) : m_receiver(std::move(receiver)) {}

FileHandoff::~FileHandoff() { refuse(); }

void FileHandoff::refuse() { m_listening.reset(); }

bool FileHandoff::listen(const QStringList &names)
{
  auto listening = std::make_unique<Listening>(*this);
  for (const QString &name : names) {
    const std::wstring path = pipePath(name);
    Handle pipe = newPipe(path, true);
    if (!pipe)
      continue;
    listening->listeners.emplace_back([served = listening.get(), path, first = pipe.release()] {
      served->listen(path, Handle(first));
    });
  }
  if (listening->listeners.empty())
    return false;
  m_listening = std::move(listening);
  return true;
}

// Waits for each start to connect, a fresh instance of the pipe always ready
// for the next, and ends the connections it serves when it ends.
void FileHandoff::Listening::listen(const std::wstring &path, Handle pipe)
{
  struct Serving {
    std::thread thread;
    std::atomic<bool> done = false;
  };
  std::list<Serving> serving;
  const Handle connected = newEvent();
  while (pipe) {
    OVERLAPPED operation{};
    operation.hEvent = connected.get();
    const BOOL begun = ConnectNamedPipe(pipe.get(), &operation);
    const bool joined = (!begun && GetLastError() == ERROR_PIPE_CONNECTED) ||
                        finished(pipe.get(), operation, begun, QDeadlineTimer::Forever, stop.get());
    if (WaitForSingleObject(stop.get(), 0) == WAIT_OBJECT_0)
      break;
    Handle next = newPipe(path, false);
    serving.remove_if([](Serving &one) {
      const bool ended = one.done;
      if (ended)
        one.thread.join();
      return ended;
    });
    if (joined && connections < MostConnections) {
      ++connections;
      Serving &one = serving.emplace_back();
      one.thread = std::thread([this, &one, client = pipe.release()] {
        serve(Handle(client));
        --connections;
        one.done = true;
      });
    }
    pipe = std::move(next);
  }
  for (Serving &one : serving)
    one.thread.join();
}

void FileHandoff::Listening::serve(Handle pipe)
{
  ULONG client = 0;
  if (!GetNamedPipeClientProcessId(pipe.get(), &client) || !runsAsThisUser(client))
    return;
  const QDeadlineTimer patience(SenderPatience);
  HandoffExchange exchange;
  for (;;) {
    const QByteArray bytes = readPipe(pipe.get(), exchange.room(), patience, stop.get());
    if (bytes.isEmpty())
      return;
    switch (exchange.received(bytes)) {
    case HandoffExchange::Step::Wait:
      continue;
    case HandoffExchange::Step::CutOff:
      return;
    case HandoffExchange::Step::AnswerReady:
      if (!writePipe(pipe.get(), HandoffReady, patience, stop.get()))
        return;
      continue;
    case HandoffExchange::Step::Take:
      if (!take(exchange.path()) || !writePipe(pipe.get(), HandoffTaken, patience, stop.get()))
        return;
      // Closed once the start has read the answer and gone.
      readPipe(pipe.get(), 1, patience, stop.get());
      return;
    }
  }
}

// Has the windows' thread take the file, unless the copy refuses files by
// then.
bool FileHandoff::Listening::take(const QString &path)
{
  struct Answer {
    Handle given = newEvent();
    bool taken = false;
  };
  const auto answer = std::make_shared<Answer>();
  QMetaObject::invokeMethod(
      &handoff,
      [handoff = &handoff, answer, path] {
        answer->taken = handoff->m_listening != nullptr;
        if (answer->taken)
          handoff->m_receiver(path);
        SetEvent(answer->given.get());
      },
      Qt::QueuedConnection);
  const HANDLE events[] = {answer->given.get(), stop.get()};
  return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 && answer->taken;
}

struct HandoffConnection::Channel {
  Handle pipe;
};

HandoffConnection::HandoffConnection(std::unique_ptr<Channel> channel)
    : m_channel(std::move(channel))
{
}

HandoffConnection::~HandoffConnection() = default;

std::unique_ptr<HandoffConnection> HandoffConnection::open(const QString &name,
                                                           const QDeadlineTimer &patience)
{
  const std::wstring path = pipePath(name);
  for (;;) {
    // Identification only: the copy cannot act as this user.
    const HANDLE opened = CreateFileW(
        path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (opened != INVALID_HANDLE_VALUE) {
      Handle pipe(opened);
      ULONG server = 0;
      if (!GetNamedPipeServerProcessId(pipe.get(), &server) || !runsAsThisUser(server))
        return nullptr;
      return std::unique_ptr<HandoffConnection>(
          new HandoffConnection(std::make_unique<Channel>(Channel{std::move(pipe)})));
    }
    // Every instance of the pipe busy: the copy makes another at once.
    if (GetLastError() != ERROR_PIPE_BUSY || patience.hasExpired() ||
        !WaitNamedPipeW(path.c_str(), DWORD(std::max<qint64>(1, patience.remainingTime()))))
      return nullptr;
  }
}

bool HandoffConnection::write(const QByteArray &bytes, const QDeadlineTimer &patience)
{
  return writePipe(m_channel->pipe.get(), bytes, patience);
}

QByteArray HandoffConnection::read(qsizetype size, const QDeadlineTimer &patience)
{
  return readPipe(m_channel->pipe.get(), size, patience);
}

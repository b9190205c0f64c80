#include "platform/session/endrequest.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// SIGTERM at logout and shutdown, SIGHUP when the terminal the program was
// started from goes, SIGINT for Ctrl+C there.
constexpr std::array EndSignals{SIGTERM, SIGHUP, SIGINT};

// The signal handler may only write to it; the UI thread reads it.
std::array<int, 2> signalPipe{-1, -1};

void noteEndSignal(int /*signal*/)
{
  const char signalled = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &signalled, 1);
}

} // namespace

void onEndRequest(std::function<void()> end)
{
  // Without the pipe the signals keep their default action, which ends the
  // process at once.
  if (::pipe2(signalPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  auto *notifier =
      new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [end = std::move(end)] {
    char signalled = 0;
    while (::read(signalPipe[0], &signalled, 1) > 0) {
    }
    end();
  });

  // A second signal ends the process at once, should the orderly end hang.
  struct sigaction action = {};
  action.sa_handler = noteEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int signal : EndSignals) {
    // One that the program was started to ignore, as under nohup, stays
    // ignored.
    struct sigaction before = {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
      sigaction(signal, &action, nullptr);
  }
}

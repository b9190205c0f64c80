// Starts a program and times it from fork/exec to the MapNotify of its first
// top-level window on the X server named by DISPLAY. Then, as asked, it reads
// the program's resident size once it has rested, or the CPU time it spends
// idle with that window holding the input focus, and kills it. It prints one
// line of name=value figures:
//
//   mapwatch [--rest SECONDS] [--idle SECONDS] -- PROGRAM [ARGUMENTS...]
//
// It listens for the map on the root window itself, so that no polling
// interval adds to the time. Run it on an X server without a window manager,
// where a top-level window is a child of the root.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

constexpr int MapTimeoutMs = 30000;

double nowMs()
{
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

pid_t child = 0;

[[noreturn]] void fail(const char *why)
{
  std::fprintf(stderr, "mapwatch: %s\n", why);
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  std::exit(2);
}

void sleepSeconds(double seconds)
{
  timespec span{
      static_cast<time_t>(seconds),
      static_cast<long>((seconds - static_cast<double>(static_cast<time_t>(seconds))) * 1e9)};
  while (nanosleep(&span, &span) != 0) {
  }
}

// The first top-level window that is mapped, or fails when the program ends
// or shows nothing in time.
xcb_window_t waitForMap(xcb_connection_t *connection)
{
  const double deadline = nowMs() + MapTimeoutMs;
  pollfd socket{xcb_get_file_descriptor(connection), POLLIN, 0};
  for (;;) {
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
      const bool map = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
      const auto *notify = reinterpret_cast<xcb_map_notify_event_t *>(event);
      const xcb_window_t window = map && !notify->override_redirect ? notify->window : 0;
      std::free(event);
      if (window != 0)
        return window;
    }
    if (xcb_connection_has_error(connection))
      fail("lost the X server");
    if (waitpid(child, nullptr, WNOHANG) == child) {
      child = 0;
      fail("the program ended before it showed a window");
    }
    const double left = deadline - nowMs();
    if (left <= 0)
      fail("no window was mapped in time");
    poll(&socket, 1, static_cast<int>(left < 100 ? left : 100));
  }
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
  xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
  std::free(reply);
  return result;
}

// The process that says it owns the window; 0 when it says nothing.
long windowPid(xcb_connection_t *connection, xcb_window_t window)
{
  xcb_get_property_reply_t *reply = xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, window, atom(connection, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 0,
                       1),
      nullptr);
  long pid = 0;
  if (reply && xcb_get_property_value_length(reply) == 4)
    pid = *static_cast<const uint32_t *>(xcb_get_property_value(reply));
  std::free(reply);
  return pid;
}

xcb_window_t focusedWindow(xcb_connection_t *connection)
{
  xcb_get_input_focus_reply_t *reply =
      xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
  const xcb_window_t window = reply ? reply->focus : XCB_NONE;
  std::free(reply);
  return window;
}

// No window manager hands out the focus here, so it is given directly, and
// given again should the program's own activation arrive later and move it.
void giveFocus(xcb_connection_t *connection, xcb_window_t window)
{
  constexpr int Tries = 5;
  for (int attempt = 0; attempt < Tries; ++attempt) {
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(connection);
    sleepSeconds(1);
    if (focusedWindow(connection) == window)
      return;
  }
  std::fprintf(stderr, "mapwatch: focus is on 0x%x, not on the window 0x%x\n",
               focusedWindow(connection), window);
  fail("the window did not keep the input focus");
}

std::string statusField(const char *name)
{
  std::ifstream status("/proc/" + std::to_string(child) + "/status");
  std::string line;
  const std::string prefix = std::string(name) + ":";
  while (std::getline(status, line)) {
    if (line.compare(0, prefix.size(), prefix) == 0) {
      std::istringstream value(line.substr(prefix.size()));
      std::string kilobytes;
      value >> kilobytes;
      return kilobytes;
    }
  }
  fail("no memory figures for the program");
}

// utime + stime of the whole process, in clock ticks.
long cpuTicks()
{
  std::ifstream stat("/proc/" + std::to_string(child) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name may hold spaces; the fields are counted after it.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int number = 3; fields >> field && number <= 15; ++number) {
    if (number >= 14)
      ticks += std::stol(field);
  }
  return ticks;
}

// CPU time of every thread of the process in nanoseconds, far finer than ticks.
double cpuNanoseconds()
{
  const std::string tasks = "/proc/" + std::to_string(child) + "/task";
  DIR *folder = opendir(tasks.c_str());
  if (!folder)
    fail("no threads for the program");
  double total = 0;
  while (const dirent *entry = readdir(folder)) {
    if (entry->d_name[0] == '.')
      continue;
    std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
    double nanoseconds = 0;
    if (schedstat >> nanoseconds)
      total += nanoseconds;
  }
  closedir(folder);
  return total;
}

} // namespace

int main(int argc, char *argv[])
{
  double rest = 0;
  double idle = 0;
  int first = 1;
  for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first) {
    if (std::strcmp(argv[first], "--rest") == 0 && first + 1 < argc)
      rest = std::atof(argv[++first]);
    else if (std::strcmp(argv[first], "--idle") == 0 && first + 1 < argc)
      idle = std::atof(argv[++first]);
    else
      fail("usage: mapwatch [--rest SECONDS] [--idle SECONDS] -- PROGRAM [ARGUMENTS...]");
  }
  if (first + 1 >= argc)
    fail("usage: mapwatch [--rest SECONDS] [--idle SECONDS] -- PROGRAM [ARGUMENTS...]");

  int screenNumber = 0;
  xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection))
    fail("cannot reach the X server in DISPLAY");
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int skip = 0; skip < screenNumber; ++skip)
    xcb_screen_next(&screens);
  const xcb_window_t root = screens.data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(
      connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));

  const double started = nowMs();
  child = fork();
  if (child < 0)
    fail("cannot fork");
  if (child == 0) {
    execvp(argv[first + 1], argv + first + 1);
    std::perror("mapwatch: exec");
    _exit(127);
  }
  const xcb_window_t window = waitForMap(connection);
  const double mapped = nowMs();

  const long owner = windowPid(connection, window);
  if (owner != 0 && owner != child)
    fail("the first window mapped belongs to another process");
  std::printf("startup_ms=%.3f", mapped - started);

  if (rest > 0) {
    sleepSeconds(rest);
    std::printf(" rss_kb=%s hwm_kb=%s", statusField("VmRSS").c_str(), statusField("VmHWM").c_str());
  }
  if (idle > 0) {
    giveFocus(connection, window);
    const long ticksBefore = cpuTicks();
    const double nanosecondsBefore = cpuNanoseconds();
    sleepSeconds(idle);
    std::printf(" idle_ticks=%ld idle_cpu_ms=%.3f", cpuTicks() - ticksBefore,
                (cpuNanoseconds() - nanosecondsBefore) / 1e6);
  }
  std::printf("\n");

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  xcb_disconnect(connection);
  return 0;
}

// Opening a saved reading of a gigabyte with no line break in it: how long
// ReadSavedReading takes, and whether the program's resident size grows.
//   build/bench/bench_savedreading [FILE]
// Without FILE it makes a sparse file of 1 GiB of zero bytes, which the read
// path reads like any other bytes. A small saved reading is opened first, so
// that what the first call sets up once is not counted as growth. Prints
// name=value figures.

#include "core/savedreading.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr qint64 OneGiB = qint64(1) << 30;
constexpr int Calls = 21;

long statusKilobytes(const std::string &name)
{
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, name.size() + 1, name + ":") == 0)
      return std::stol(line.substr(name.size() + 1));
  }
  return -1;
}

double timedRead(const QString &path)
{
  QElapsedTimer clock;
  clock.start();
  const Reading reading = ReadSavedReading(path);
  const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  // Used, so that the call cannot be left out.
  if (reading.userName.size() > OneGiB)
    std::puts("");
  return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
  QCoreApplication application(argc, argv);
  QTemporaryDir folder;
  QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : folder.filePath("huge.zod");
  if (argc <= 1) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(OneGiB)) {
      std::fprintf(stderr, "bench_savedreading: cannot make %s\n", qPrintable(path));
      return 2;
    }
  }

  const QString small = folder.filePath("small.zod");
  WriteSavedReading(small, {QStringLiteral("Tom"), QStringLiteral("October")});
  timedRead(small);

  const long rssBefore = statusKilobytes("VmRSS");
  const long hwmBefore = statusKilobytes("VmHWM");
  const double first = timedRead(path);
  std::vector<double> times;
  times.reserve(Calls);
  for (int call = 0; call < Calls; ++call)
    times.push_back(timedRead(path));
  std::sort(times.begin(), times.end());

  std::printf("open_ms=%.3f open_first_ms=%.3f rss_before_kb=%ld rss_after_kb=%ld "
              "hwm_before_kb=%ld hwm_after_kb=%ld\n",
              times[times.size() / 2], first, rssBefore, statusKilobytes("VmRSS"), hwmBefore,
              statusKilobytes("VmHWM"));
  return 0;
}

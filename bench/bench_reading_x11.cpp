// A reading as the user waits for it on a real X server: from the click on
// Proceed until the X server reports the result window mapped. Each round is
// paired with a bare click that shows a window of the main window's size with
// one label, the floor that Qt itself sets. Rounds alternate which goes first.
// Run on the xcb platform by bench/run.sh, which gives it its own Xvfb:
//   QT_QPA_PLATFORM=xcb build/bench/bench_reading_x11 [ROUNDS]
// Prints name=value figures in milliseconds.

#include "support/scripteddesktop.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr int DefaultRounds = 31;
constexpr int MapTimeoutMs = 10000;

class MapWatch final : public QAbstractNativeEventFilter {
public:
  bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr * /*result*/) override
  {
    if (eventType == "xcb_generic_event_t") {
      const auto *event = static_cast<xcb_generic_event_t *>(message);
      if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY)
        mapped.insert(reinterpret_cast<const xcb_map_notify_event_t *>(event)->window);
    }
    return false;
  }

  void waitFor(const QWidget &window)
  {
    const QDeadlineTimer deadline(MapTimeoutMs);
    while (!mapped.contains(static_cast<xcb_window_t>(window.winId()))) {
      if (deadline.hasExpired()) {
        std::fprintf(stderr, "bench_reading_x11: no window was mapped in time\n");
        std::exit(2);
      }
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  }

  QSet<xcb_window_t> mapped;
};

void deleteUnloadedWindows()
{
  discardForms();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double programReading(MapWatch &watch)
{
  auto &main = Forms::get<frmMain>();
  main.showModeless();
  watch.waitFor(main);
  main.txtName->setText(QStringLiteral("Tom"));
  main.cboMonth->setCurrentIndex(9);

  QElapsedTimer clock;
  clock.start();
  main.cmdProceed->click();
  const auto *result = Forms::find<frmAustralianAstrologyResult>();
  if (!result) {
    std::fprintf(stderr, "bench_reading_x11: Proceed showed no result\n");
    std::exit(2);
  }
  watch.waitFor(*result);
  const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  deleteUnloadedWindows();
  return elapsed;
}

double bareClick(MapWatch &watch)
{
  QWidget first;
  first.setFixedSize(408, 292);
  auto *button = new QPushButton(QStringLiteral("Proceed"), &first);
  std::unique_ptr<QWidget> second;
  QObject::connect(button, &QPushButton::clicked, [&] {
    second = std::make_unique<QWidget>();
    second->setFixedSize(545, 282);
    new QLabel(QStringLiteral("Dibbler"), second.get());
    second->show();
    first.hide();
  });
  first.show();
  watch.waitFor(first);

  QElapsedTimer clock;
  clock.start();
  button->click();
  watch.waitFor(*second);
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
  QApplication application(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultRounds;
  ScriptedDesktop scripted;
  MapWatch watch;
  application.installNativeEventFilter(&watch);

  std::vector<double> program;
  std::vector<double> bare;
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) {
      program.push_back(programReading(watch));
      bare.push_back(bareClick(watch));
    } else {
      bare.push_back(bareClick(watch));
      program.push_back(programReading(watch));
    }
    watch.mapped.clear();
  }
  // The first reading of a run also loads fonts and texts for the first time.
  std::printf("reading_ms=%.3f bare_ms=%.3f reading_first_ms=%.3f bare_first_ms=%.3f\n",
              median(program), median(bare), program.front(), bare.front());
  return 0;
}

#include "platform/printing/printing.h"

#include "platform/printing/printing_p.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

// How long the reading window waits for a print before telling the user that
// nothing was printed. A one-page job reaches a print server that answers in
// a second or two.
constexpr std::chrono::seconds PrintWait{10};
// A job that is being let go to print when that wait ends is waited for a
// little longer: the print server's answer is a moment away, and it tells
// whether the job prints.
constexpr std::chrono::seconds LetGoWait{3};
// How long the end of the process waits for the print server to take back
// the jobs it holds: a server that answers does so at once.
constexpr std::chrono::seconds TakeBackAtEndWait{2};

// The prints of the process, so that its end can take back what they hold.
struct LivePrints {
  std::mutex mutex;
  std::vector<PrintHandOver *> handOvers;
};

LivePrints &livePrints()
{
  static LivePrints prints;
  return prints;
}

} // namespace

PrintHandOver::PrintHandOver()
{
  LivePrints &prints = livePrints();
  const std::lock_guard lock(prints.mutex);
  prints.handOvers.push_back(this);
}

PrintHandOver::~PrintHandOver()
{
  LivePrints &prints = livePrints();
  const std::lock_guard lock(prints.mutex);
  prints.handOvers.erase(std::find(prints.handOvers.begin(), prints.handOvers.end(), this));
}

void PrintHandOver::holds(TakeBack takeBack)
{
  const std::lock_guard lock(m_mutex);
  m_takeBack = std::move(takeBack);
}

void PrintHandOver::takeBack(QDeadlineTimer deadline)
{
  TakeBack takeBack;
  {
    const std::lock_guard lock(m_mutex);
    takeBack = m_takeBack;
  }
  if (!takeBack || !takeBack(deadline))
    return;
  const std::lock_guard lock(m_mutex);
  m_takeBack = nullptr;
}

void PrintHandOver::takeBackAllBefore(QDeadlineTimer deadline)
{
  std::vector<TakeBack> takeBacks;
  {
    LivePrints &prints = livePrints();
    const std::lock_guard lock(prints.mutex);
    for (PrintHandOver *handOver : prints.handOvers) {
      const std::lock_guard handOverLock(handOver->m_mutex);
      handOver->m_givenUp = !handOver->m_printed;
      if (handOver->m_givenUp && handOver->m_takeBack)
        takeBacks.push_back(handOver->m_takeBack);
    }
  }
  if (takeBacks.empty())
    return;
  // A print server that does not answer holds the thread that asks it: the
  // process ends without waiting for that thread.
  std::promise<void> asked;
  const std::future<void> answered = asked.get_future();
  std::thread([asked = std::move(asked), takeBacks = std::move(takeBacks), deadline]() mutable {
    for (const TakeBack &takeBack : takeBacks)
      takeBack(deadline);
    asked.set_value();
  }).detach();
  answered.wait_for(deadline.remainingTimeAsDuration());
}

bool PrintHandOver::mayLetGo()
{
  const std::lock_guard lock(m_mutex);
  m_lettingGo = !m_givenUp;
  return m_lettingGo;
}

bool PrintHandOver::printed()
{
  {
    const std::lock_guard lock(m_mutex);
    if (m_givenUp)
      return false;
    m_printed = m_over = true;
  }
  emit ended();
  return true;
}

void PrintHandOver::end()
{
  {
    const std::lock_guard lock(m_mutex);
    if (m_over)
      return;
    m_over = true;
  }
  emit ended();
}

bool PrintHandOver::givenUp() const
{
  const std::lock_guard lock(m_mutex);
  return m_givenUp;
}

bool PrintHandOver::isOver() const
{
  const std::lock_guard lock(m_mutex);
  return m_over;
}

bool PrintHandOver::lettingGo() const
{
  const std::lock_guard lock(m_mutex);
  return m_lettingGo && !m_over;
}

bool PrintHandOver::giveUp()
{
  const std::lock_guard lock(m_mutex);
  m_givenUp = !m_printed;
  return m_printed;
}

bool printWithoutFreezing(const QTextDocument &document)
{
  // The print server may take minutes to answer, or never answer at all (a
  // server that has stopped still takes the connection). Asked on the UI
  // thread, even the look-up of the default printer would freeze every window
  // of the program. So the look-up and the job run on a thread of their own,
  // with a copy of the document, while the windows go on painting; input waits
  // until the print is over. A thread given up on is left to end by itself:
  // it holds only its own copy, and the process ends with _Exit, which never
  // waits for it.
  auto handOver = std::make_shared<PrintHandOver>();
  QTextDocument *copy = document.clone();
  QThread *printThread = QThread::create([handOver, copy] {
    printOnDefaultPrinter(*copy, *handOver);
    handOver->end();
    delete copy;
  });
  copy->moveToThread(printThread);
  QObject::connect(printThread, &QThread::finished, printThread, &QObject::deleteLater);

  QEventLoop wait;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
  QObject::connect(handOver.get(), &PrintHandOver::ended, &wait, &QEventLoop::quit,
                   Qt::QueuedConnection);
  const auto waitAtMost = [&](std::chrono::milliseconds time) {
    deadline.start(time);
    if (!handOver->isOver())
      wait.exec(QEventLoop::ExcludeUserInputEvents);
  };

  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  printThread->start();
  waitAtMost(PrintWait);
  if (handOver->lettingGo())
    waitAtMost(LetGoWait);
  QGuiApplication::restoreOverrideCursor();
  return handOver->giveUp();
}

void takeBackUnprintedJobs()
{
  PrintHandOver::takeBackAllBefore(QDeadlineTimer(TakeBackAtEndWait));
}

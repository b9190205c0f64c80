#pragma once

#include <QDeadlineTimer>
#include <QObject>

#include <functional>
#include <mutex>

class QTextDocument;

// Takes a job back from the print server, from any thread, trying until the
// deadline: true once the server has it no more, or will never print it.
using TakeBack = std::function<bool(QDeadlineTimer deadline)>;

// Between the window that waits for a print and the thread that sends it. The
// window gives up on a print that takes too long and tells the user that
// nothing was printed; the thread lets a job go to print only while the
// window still waits, so that nothing comes out after that message.
class PrintHandOver : public QObject {
  Q_OBJECT

public:
  PrintHandOver();
  ~PrintHandOver() override;
  PrintHandOver(const PrintHandOver &) = delete;
  PrintHandOver &operator=(const PrintHandOver &) = delete;

  // On the print thread, as soon as the print server holds the job: how to
  // take it back should the process end before the job prints.
  void holds(TakeBack takeBack);
  // On the print thread: takes back the job it holds, trying until the
  // deadline.
  void takeBack(QDeadlineTimer deadline);
  // On the print thread, at the moment the job would be let go to print:
  // false once the window has given up.
  bool mayLetGo();
  // On the print thread, once the print server has the whole job and prints
  // it: false when the window gave up meanwhile, and the job must be taken
  // back.
  bool printed();
  // On the print thread: the print is over, and unless printed() said so,
  // nothing was printed.
  void end();
  bool givenUp() const;

  // On the window's side.
  bool isOver() const;
  // The job is being let go this very moment.
  bool lettingGo() const;
  // When the window stops waiting: true when the job has printed; otherwise
  // the print is given up, and false.
  bool giveUp();

  // As the process ends: every print is given up, and the jobs not yet seen
  // to print are taken back before the deadline, or left held, where nothing
  // lets them go to print.
  static void takeBackAllBefore(QDeadlineTimer deadline);

signals:
  void ended();

private:
  mutable std::mutex m_mutex;
  bool m_givenUp = false;
  bool m_lettingGo = false;
  bool m_over = false;
  bool m_printed = false;
  TakeBack m_takeBack;
};

// On the print thread: prints the whole document on the default printer as
// one job, and tells handOver that it printed only once the print server has
// the whole job and has been let go to print it; a job that ends any other
// way is taken back. Each system has its own, in a file of its own.
void printOnDefaultPrinter(const QTextDocument &document, PrintHandOver &handOver);

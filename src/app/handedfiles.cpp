#include "app/handedfiles.h"

#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"

#include <QApplication>
#include <QQueue>
#include <QTimer>

#include <chrono>

namespace {

// How often a waiting file looks whether the window in its way has closed.
constexpr std::chrono::milliseconds WaitingLook{250};

QQueue<QString> &waitingFiles()
{
  static QQueue<QString> files;
  return files;
}

void bringToFront(QWidget *window)
{
  window->raise();
  window->activateWindow();
}

// The user was leaving, with the closing screen up: the reading brings them
// back, as Back would.
void leaveClosingScreen()
{
  if (Forms::find<frmMain>() || Forms::find<frmAustralianAstrologyResult>())
    return;
  Forms::get<frmMain>().showModeless();
  if (auto *closing = Forms::find<frmNagScreen2>())
    closing->hideForm();
}

frmMain &freshMainWindow()
{
  if (auto *result = Forms::find<frmAustralianAstrologyResult>())
    result->cmdBack_Click();
  else
    leaveClosingScreen();
  return Forms::get<frmMain>();
}

void showWaitingFiles()
{
  if (waitingFiles().isEmpty())
    return;
  if (QWidget *modal = QApplication::activeModalWidget()) {
    bringToFront(modal);
    QTimer::singleShot(WaitingLook, showWaitingFiles);
    return;
  }
  frmMain &main = freshMainWindow();
  bringToFront(&main);
  main.openSavedReading(waitingFiles().dequeue());
  if (auto *result = Forms::find<frmAustralianAstrologyResult>())
    bringToFront(result);
  QTimer::singleShot(0, showWaitingFiles);
}

} // namespace

void ShowSavedReadingFile(const QString &path)
{
  waitingFiles().enqueue(path);
  // The closing screen goes at once, so that an Exit pressed on it a moment
  // ago cannot end the program before the reading is shown.
  if (!QApplication::activeModalWidget())
    leaveClosingScreen();
  // Shown from the event loop, never from inside whatever handed it over.
  if (waitingFiles().size() == 1)
    QTimer::singleShot(0, showWaitingFiles);
}

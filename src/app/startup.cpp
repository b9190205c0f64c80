#include "app/startup.h"

#include "app/handedfiles.h"
#include "app/updatereminder.h"
#include "core/messageboxes.h"
#include "platform/desktop.h"
#include "ui/linklabel.h"
#include "ui/shutdown.h"
#include "ui/windows/frmMain.h"

#include <cmath>

void StartApplication(const QString &savedReading)
{
  if (!desktop().claimSingleInstance()) {
    // A file the running copy did not take is never dropped in silence.
    if (savedReading.isEmpty() || !desktop().handToRunningCopy(savedReading))
      showNotice(nullptr, QStringLiteral("Application is already running"));
    ExitApplication();
    return;
  }
  desktop().receiveHandedFiles(ShowSavedReadingFile);
  desktop().seedRandom();
  CheckUpdateReminder();
  Forms::get<frmMain>().showModeless();
  CoBrand_Randomize();
  if (!savedReading.isEmpty())
    ShowSavedReadingFile(savedReading);
}

void CoBrand_Randomize() { CoBrand_Randomize(desktop().nextRandom()); }

int CoBrand_Randomize(float r)
{
  // Rounded, not truncated, and an exact half goes to the even neighbour
  // (the default rounding mode), so 0.25 draws 2 and 0.75 draws 6.
  constexpr float Choices = 6.0F;
  const float scaled = r * Choices + 1.0F;
  const int drawn = static_cast<int>(std::nearbyint(scaled));

  auto *mainWindow = Forms::find<frmMain>();
  if (!mainWindow)
    return drawn;
  switch (drawn) {
  case 1:
  case 3:
  case 5:
    mainWindow->lblCobrand->raise();
    break;
  case 2:
  case 4:
  case 6:
    mainWindow->lblFullBrand->raise();
    break;
  default:
    break; // 7 keeps the order the window was laid out in
  }
  return drawn;
}

#include "report/savedreading.h"

#include "reading/frmMain.h"

void OpenSavedReading(frmMain &mainWindow) { Q_UNUSED(mainWindow); }

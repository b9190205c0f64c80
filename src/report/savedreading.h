#pragma once

class frmMain;

// The main window's open command: reads a saved reading and makes it again.
void OpenSavedReading(frmMain &mainWindow);

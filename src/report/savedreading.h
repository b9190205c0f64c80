#pragma once

#include <QByteArray>
#include <QString>

class frmMain;

// A saved reading: a .zod file of two lines, the masked name and the masked
// birth month, in Windows-1252 bytes, each line ended by CR LF. The sign is
// looked up again when the reading is opened.

struct SavedReading {
  QString userName;
  QString birthMonth;
};

QByteArray SavedReadingBytes(const SavedReading &reading);

// Replaces the file whole or leaves it as it was; false when it could not be
// written.
bool WriteSavedReading(const QString &path, const SavedReading &reading);

// The first two lines of a saved reading, unmasked; a line ends at CR, CR LF
// or LF. A file that cannot be read, or anything but a regular file, reads as
// empty lines. Only the start of the file is read, however large it is.
SavedReading ReadSavedReading(const QString &path);

// The reading window's save command: asks where, then saves the current
// reading there.
void SaveCurrentReading();

// The main window's open command: reads a saved reading into the main window
// and runs its Proceed, which makes the reading again.
void OpenSavedReading(frmMain &mainWindow);

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QWidget;

// A saved reading: a .zod file of two lines, the masked name and the masked
// birth month, in Windows-1252 bytes, each line ended by CR LF. The sign is
// looked up again when the reading is opened.

struct SavedReading {
  QString userName;
  QString birthMonth;
};

// The longest name a saved reading holds: the name box takes no more.
constexpr qsizetype LongestSavedName = 32767;
// The longest month name, "September".
constexpr qsizetype LongestMonthName = 9;
// The largest file the program writes: the longest name and month, each ended
// by CR LF. Anything larger is no saved reading.
constexpr qint64 LargestSavedReading = LongestSavedName + 2 + LongestMonthName + 2;

QByteArray SavedReadingBytes(const SavedReading &reading);

// The first two lines of a saved reading, unmasked; a line ends at CR, CR LF
// or LF. Bytes that cannot be a saved reading, more than the largest the
// program writes, read as empty lines.
SavedReading ParseSavedReading(const QByteArray &bytes);

// Replaces the file whole or leaves it as it was; false when it could not be
// written.
bool WriteSavedReading(const QString &path, const SavedReading &reading);

// A saved reading from a file, as ParseSavedReading reads it. A file that
// cannot be read, or anything but a regular file, reads as empty lines; no
// more than the largest saved reading is ever read.
SavedReading ReadSavedReading(const QString &path);

// The reading window's save command: asks where, then saves the current
// reading there. Its dialog and message belong to the given window.
void SaveCurrentReading(QWidget *window);

// The open command's file: asks for a saved reading and reads it. Nothing when
// the user cancels, or picks a file not named as a saved reading (the user is
// told). Its dialog and message belong to the given window.
std::optional<SavedReading> ChooseSavedReading(QWidget *window);

// The open command's steps after its dialog: the name check, with the user
// told of a file not named as a saved reading, then the read.
std::optional<SavedReading> OpenSavedReading(QWidget *window, const QString &path);

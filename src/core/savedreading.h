#pragma once

#include "core/reading.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QWidget;

// A saved reading: a .zod file of the masked name and the masked birth month,
// in Windows-1252 bytes, each line ended by CR LF. The sign is looked up again
// when the reading is opened. Masking keeps only characters of codes up to
// 170, so a name with any other character gets a third line that keeps it
// whole: its UTF-8, percent-encoded, then masked. Copies of the program that
// read two lines open such a file as before, without those characters.

// The longest name a saved reading holds: the name box takes no more.
constexpr qsizetype LongestSavedName = 32767;
// The longest month name, "September".
constexpr qsizetype LongestMonthName = 9;
// A character of the name box takes at most three bytes of UTF-8 (a
// surrogate pair, two characters, takes four), and each byte at most three
// characters once percent-encoded.
constexpr qsizetype LongestWholeName = LongestSavedName * 3 * 3;
// The largest file the program writes: the masked name, the month and the
// whole name, each ended by CR LF. The masked name then lacks at least one
// character, the one that called for the third line. Anything larger is no
// saved reading.
constexpr qint64 LargestSavedReading =
    (LongestSavedName - 1) + 2 + LongestMonthName + 2 + LongestWholeName + 2;

QByteArray SavedReadingBytes(const Reading &reading);

// The name and month of a saved reading, unmasked; a line ends at CR, CR LF
// or LF. The name is the third line's when that line is whole and agrees with
// the first (masked, it gives the first line), else the first line's. Bytes
// that cannot be a saved reading, more than the largest the program writes,
// read as empty lines.
Reading ParseSavedReading(const QByteArray &bytes);

// Replaces the file whole or leaves it as it was; false when it could not be
// written.
bool WriteSavedReading(const QString &path, const Reading &reading);

// A saved reading from a file, as ParseSavedReading reads it. A file that
// cannot be read, is larger than the largest saved reading, or anything but a
// regular file reads as empty lines, at once: no more than the largest saved
// reading and a byte is ever read.
Reading ReadSavedReading(const QString &path);

// The reading window's save command: asks where, then saves the reading
// there. Its dialog and message belong to the given window.
void SaveReading(QWidget *window, const Reading &reading);

// The open command's file: asks for a saved reading and opens it as
// OpenSavedReading does. Nothing when the user cancels. Its dialog belongs to
// the given window.
std::optional<Reading> ChooseSavedReading(QWidget *window);

// The saved reading at the path, read as ReadSavedReading does. Nothing when
// the path is not named as a saved reading: the user is told in a message
// that belongs to the given window.
std::optional<Reading> OpenSavedReading(QWidget *window, const QString &path);

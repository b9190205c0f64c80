#pragma once

#include <QString>

// The program's masking of settings and saved readings: every character's
// Windows-1252 code moves by +85 (MaskText) or -85 (UnmaskText); a character
// that would leave 0..255, or that the code page cannot hold, is dropped.
QString MaskText(const QString &text);
QString UnmaskText(const QString &text);

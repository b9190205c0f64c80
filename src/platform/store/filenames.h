#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// File names as the system has them. A Unix name is bytes that need not be
// UTF-8 (old archives are full of Latin-1 names), and Qt decodes them as UTF-8
// with U+FFFD for the bytes that are not, after which the file cannot be
// named again. Decoded here, each such byte becomes a lone surrogate,
// U+DC80 + the byte, and encoding gives the byte back: every name the system
// allows survives the round trip, and a UTF-8 name decodes as Qt decodes it.
QString fileNameFromSystem(const QByteArray &name);
QByteArray fileNameForSystem(const QString &name);

// A path made absolute against the working folder, the names of both kept as
// the system has them.
QString absoluteFileName(const QString &path);

// The local file a file:// address names, its bytes kept as the system has them.
QString localFileOf(const QUrl &address);

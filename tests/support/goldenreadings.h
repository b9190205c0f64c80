#pragma once

#include <QByteArray>

// Saved readings byte for byte as every version of the program writes them:
// files users keep must open the same in the next version.
namespace GoldenReadings {
// "Tom", born in May.
inline const QByteArray TomInMay = QByteArray::fromHex("a9c4c20d0aa2b6ce0d0a");
// The month line alone.
inline const QByteArray MayLine = QByteArray::fromHex("a2b6ce0d0a");
} // namespace GoldenReadings

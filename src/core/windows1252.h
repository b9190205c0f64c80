#pragma once

#include <QChar>

#include <optional>

// The single-byte code page that masking and saved readings are defined in.
// Qt's own converter knows it only on ICU builds and turns an unmappable
// character into 0x1A instead of reporting it, hence this small table.
namespace Windows1252 {

// The code of a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> encode(QChar character);
QChar decode(unsigned char code);

} // namespace Windows1252

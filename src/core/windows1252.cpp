#include "core/windows1252.h"

#include <array>

namespace Windows1252 {

namespace {
// Codes 0x80..0x9F. The five codes the code page leaves unassigned keep their
// C1 control characters, as Windows' own conversion does.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr unsigned FirstHigh = 0x80;
constexpr unsigned LastHigh = 0x9F;
constexpr unsigned LastCode = 0xFF;
} // namespace

std::optional<unsigned char> encode(QChar character)
{
  const char16_t unicode = character.unicode();
  if (unicode < FirstHigh || (unicode > LastHigh && unicode <= LastCode))
    return static_cast<unsigned char>(unicode);
  for (unsigned i = 0; i < HighControls.size(); ++i) {
    if (HighControls[i] == unicode)
      return static_cast<unsigned char>(FirstHigh + i);
  }
  return std::nullopt;
}

QChar decode(unsigned char code)
{
  if (code >= FirstHigh && code <= LastHigh)
    return QChar(HighControls[code - FirstHigh]);
  return QChar(static_cast<char16_t>(code));
}

} // namespace Windows1252

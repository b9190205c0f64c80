#include "core/masking.h"

#include "core/windows1252.h"

namespace {
constexpr int MaskShift = 85;
constexpr int HighestCode = 255;

QString shifted(const QString &text, int shift)
{
  QString result;
  result.reserve(text.size());
  for (const QChar character : text) {
    const auto code = Windows1252::encode(character);
    if (!code)
      continue;
    const int moved = *code + shift;
    if (moved >= 0 && moved <= HighestCode)
      result.append(Windows1252::decode(static_cast<unsigned char>(moved)));
  }
  return result;
}
} // namespace

QString MaskText(const QString &text) { return shifted(text, MaskShift); }

QString UnmaskText(const QString &text) { return shifted(text, -MaskShift); }

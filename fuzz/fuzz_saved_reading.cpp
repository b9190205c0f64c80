// A saved reading from any bytes: ParseSavedReading never crashes, hangs or
// looks past the largest saved reading; more bytes than that read as no
// reading; what it gives is a reading that saves and opens back as itself;
// and every reading the program saves, whatever the name, reads back as it
// was, its lines of bytes the masking leaves (0x55..0xFF) and the third only
// where the name needs it.

#include "core/masking.h"
#include "core/savedreading.h"
#include "core/signtable.h"
#include "core/windows1252.h"
#include "fuzzcheck.h"

#include <algorithm>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/asan_interface.h>
#include <vector>

namespace {
// Masking moves codes up by 85, so only characters of codes up to 170 survive
// it.
constexpr int HighestMaskedCode = 170;
constexpr unsigned char LowestMaskedByte = 0x55;

bool holdsOnlyMaskedCharacters(const QString &text)
{
  return std::all_of(text.begin(), text.end(), [](QChar character) {
    const auto code = Windows1252::encode(character);
    return code && *code <= HighestMaskedCode;
  });
}

void parsesAnyBytes(const uint8_t *data, size_t size)
{
  const auto bytes =
      QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const Reading read = ParseSavedReading(bytes);
  FUZZ_CHECK(read.userName.size() + read.birthMonth.size() <= bytes.size());
  FUZZ_CHECK(holdsOnlyMaskedCharacters(read.birthMonth));
  const Reading again = ParseSavedReading(SavedReadingBytes(read));
  FUZZ_CHECK(again.userName == read.userName);
  FUZZ_CHECK(again.birthMonth == read.birthMonth);
}

// The input repeated to a byte or more past the largest saved reading. Every
// byte past that bound is poisoned, so that looking at one is an ASan report.
void largerIsNoReading(const uint8_t *data, size_t size)
{
  constexpr size_t Bound = LargestSavedReading;
  static std::vector<char> buffer(Bound + 64);
  const size_t total = Bound + 1 + size % 63;
  size_t filled = std::min(size, total);
  std::copy(data, data + filled, buffer.data());
  if (filled == 0)
    buffer[filled++] = 'x';
  // Doubling what is there keeps the input's period and takes a few copies
  // where a byte at a time would slow every run down.
  for (; filled < total; filled *= 2)
    std::copy_n(buffer.data(), std::min(filled, total - filled), buffer.data() + filled);
  ASAN_POISON_MEMORY_REGION(buffer.data() + Bound, total - Bound);
  const Reading read =
      ParseSavedReading(QByteArray::fromRawData(buffer.data(), static_cast<qsizetype>(total)));
  ASAN_UNPOISON_MEMORY_REGION(buffer.data() + Bound, total - Bound);
  FUZZ_CHECK(read.userName.isEmpty() && read.birthMonth.isEmpty());
}

// A character of the code page that masking keeps, or any character at all.
void appendCharacter(FuzzedDataProvider &input, QString &name)
{
  if (input.ConsumeBool()) {
    name.append(Windows1252::decode(
        static_cast<unsigned char>(input.ConsumeIntegralInRange<int>(0, HighestMaskedCode))));
    return;
  }
  auto point = input.ConsumeIntegralInRange<char32_t>(0, 0x10FFFF);
  if (QChar::isSurrogate(point))
    point = QChar::ReplacementCharacter;
  name.append(QString::fromUcs4(&point, 1));
}

void savedReadingsReadBack(const uint8_t *data, size_t size)
{
  FuzzedDataProvider input(data, size);
  const QString month =
      MonthNames().at(input.ConsumeIntegralInRange<qsizetype>(0, MonthNames().size() - 1));
  QString name;
  // Two characters fewer than the name box takes leave room for a last pair.
  while (input.remaining_bytes() > 0 && name.size() <= LongestSavedName - 2)
    appendCharacter(input, name);

  const QByteArray saved = SavedReadingBytes({name, month});
  FUZZ_CHECK(saved.size() <= LargestSavedReading);
  const QList<QByteArray> lines = saved.split('\n');
  const bool needsWholeName = UnmaskText(MaskText(name)) != name;
  FUZZ_CHECK(lines.size() == (needsWholeName ? 4 : 3) && lines.last().isEmpty());
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
    const QByteArray &line = lines.at(i);
    FUZZ_CHECK(line.endsWith('\r'));
    FUZZ_CHECK(std::all_of(line.cbegin(), line.cend() - 1, [](char byte) {
      return static_cast<unsigned char>(byte) >= LowestMaskedByte;
    }));
  }
  const Reading read = ParseSavedReading(saved);
  FUZZ_CHECK(read.userName == name);
  FUZZ_CHECK(read.birthMonth == month);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  parsesAnyBytes(data, size);
  largerIsNoReading(data, size);
  savedReadingsReadBack(data, size);
  return 0;
}

// A saved reading from any bytes: ParseSavedReading never crashes, hangs or
// looks past the largest saved reading; more bytes than that read as no
// reading; what it gives holds only characters a saved reading can hold; and
// every reading the program saves reads back as it was.

#include "fuzzcheck.h"
#include "reading/signtable.h"
#include "report/savedreading.h"
#include "shell/windows1252.h"

#include <algorithm>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/asan_interface.h>
#include <vector>

namespace {
// Masking moves codes up by 85, so only names of codes up to 170 survive it.
constexpr int HighestNameCode = 170;

bool holdsOnlyNameCharacters(const QString &text)
{
  return std::all_of(text.begin(), text.end(), [](QChar character) {
    const auto code = Windows1252::encode(character);
    return code && *code <= HighestNameCode;
  });
}

void parsesAnyBytes(const uint8_t *data, size_t size)
{
  const auto bytes =
      QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const SavedReading read = ParseSavedReading(bytes);
  FUZZ_CHECK(read.userName.size() + read.birthMonth.size() <= bytes.size());
  FUZZ_CHECK(holdsOnlyNameCharacters(read.userName));
  FUZZ_CHECK(holdsOnlyNameCharacters(read.birthMonth));
}

// The input repeated to a byte or more past the largest saved reading. Every
// byte past that bound is poisoned, so that looking at one is an ASan report.
void largerIsNoReading(const uint8_t *data, size_t size)
{
  constexpr size_t Bound = LargestSavedReading;
  static std::vector<char> buffer(Bound + 64);
  const size_t total = Bound + 1 + size % 63;
  for (size_t i = 0; i < total; ++i)
    buffer[i] = size > 0 ? static_cast<char>(data[i % size]) : 'x';
  ASAN_POISON_MEMORY_REGION(buffer.data() + Bound, total - Bound);
  const SavedReading read =
      ParseSavedReading(QByteArray::fromRawData(buffer.data(), static_cast<qsizetype>(total)));
  ASAN_UNPOISON_MEMORY_REGION(buffer.data() + Bound, total - Bound);
  FUZZ_CHECK(read.userName.isEmpty() && read.birthMonth.isEmpty());
}

void savedReadingsReadBack(const uint8_t *data, size_t size)
{
  FuzzedDataProvider input(data, size);
  const QString month =
      MonthNames().at(input.ConsumeIntegralInRange<qsizetype>(0, MonthNames().size() - 1));
  QString name;
  while (input.remaining_bytes() > 0)
    name.append(Windows1252::decode(
        static_cast<unsigned char>(input.ConsumeIntegralInRange<int>(0, HighestNameCode))));

  const QByteArray saved = SavedReadingBytes({name, month});
  FUZZ_CHECK(saved.size() <= LargestSavedReading);
  const SavedReading read = ParseSavedReading(saved);
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

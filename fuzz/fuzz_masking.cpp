// Masking of any text: a text of codes up to 170 comes back whole; every
// character masking or unmasking writes has a Windows-1252 code; and what
// either drops is exactly what cannot make the move.

#include "core/masking.h"
#include "core/windows1252.h"
#include "fuzzcheck.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {
constexpr int MaskShift = 85;
constexpr int HighestCode = 255;

// The characters of a text whose codes lie in [lowest, highest].
QString withCodesIn(const QString &text, int lowest, int highest)
{
  QString kept;
  for (const QChar character : text) {
    const auto code = Windows1252::encode(character);
    if (code && *code >= lowest && *code <= highest)
      kept.append(character);
  }
  return kept;
}

bool writableInTheCodePage(const QString &text)
{
  return withCodesIn(text, 0, HighestCode).size() == text.size();
}

// Any UTF-16 text, lone surrogates and all.
QString anyText(FuzzedDataProvider &input)
{
  QString text;
  while (input.remaining_bytes() >= 2)
    text.append(QChar(input.ConsumeIntegral<char16_t>()));
  return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  // Each byte taken as a code of 0..170, the range a name may use.
  QString name;
  for (size_t i = 0; i < size; ++i)
    name.append(
        Windows1252::decode(static_cast<unsigned char>(data[i] % (HighestCode - MaskShift + 1))));
  const QString maskedName = MaskText(name);
  FUZZ_CHECK(maskedName.size() == name.size());
  FUZZ_CHECK(writableInTheCodePage(maskedName));
  FUZZ_CHECK(UnmaskText(maskedName) == name);

  FuzzedDataProvider input(data, size);
  const QString text = anyText(input);
  const QString masked = MaskText(text);
  FUZZ_CHECK(writableInTheCodePage(masked));
  FUZZ_CHECK(UnmaskText(masked) == withCodesIn(text, 0, HighestCode - MaskShift));
  const QString unmasked = UnmaskText(text);
  FUZZ_CHECK(writableInTheCodePage(unmasked));
  FUZZ_CHECK(MaskText(unmasked) == withCodesIn(text, MaskShift, HighestCode));
  return 0;
}

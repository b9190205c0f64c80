#include "platform/store/filenames.h"

namespace {

constexpr char16_t EscapedByte = 0xDC00;

bool isContinuation(unsigned char byte) { return (byte & 0xC0U) == 0x80U; }

// The length of the well-formed UTF-8 sequence at the start of the bytes, or 0:
// no overlong forms, no surrogates, nothing above U+10FFFF.
qsizetype sequenceLength(const unsigned char *bytes, qsizetype available)
{
  const unsigned char lead = bytes[0];
  if (lead < 0x80)
    return 1;
  qsizetype length = 0;
  unsigned char lowest = 0x80; // the bounds of the second byte
  unsigned char highest = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0)
      lowest = 0xA0;
    if (lead == 0xED)
      highest = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0)
      lowest = 0x90;
    if (lead == 0xF4)
      highest = 0x8F;
  } else {
    return 0;
  }
  if (available < length || bytes[1] < lowest || bytes[1] > highest)
    return 0;
  for (qsizetype i = 2; i < length; ++i) {
    if (!isContinuation(bytes[i]))
      return 0;
  }
  return length;
}

bool isEscapedByte(char16_t unit)
{
  return unit >= EscapedByte + 0x80 && unit <= EscapedByte + 0xFF;
}

} // namespace

QString fileNameFromSystem(const QByteArray &name)
{
  const auto *bytes = reinterpret_cast<const unsigned char *>(name.constData()); // NOLINT
  QString decoded;
  decoded.reserve(name.size());
  qsizetype start = 0; // of the well-formed run not yet decoded
  qsizetype at = 0;
  while (at < name.size()) {
    const qsizetype length = sequenceLength(bytes + at, name.size() - at);
    if (length > 0) {
      at += length;
      continue;
    }
    decoded += QString::fromUtf8(name.constData() + start, at - start);
    decoded += QChar(char16_t(EscapedByte + bytes[at]));
    start = ++at;
  }
  decoded += QString::fromUtf8(name.constData() + start, at - start);
  return decoded;
}

QByteArray fileNameForSystem(const QString &name)
{
  QByteArray encoded;
  encoded.reserve(name.size());
  qsizetype start = 0; // of the text not yet encoded
  for (qsizetype at = 0; at < name.size(); ++at) {
    const char16_t unit = name.at(at).unicode();
    const bool paired = at > 0 && name.at(at - 1).isHighSurrogate();
    if (!isEscapedByte(unit) || paired)
      continue;
    encoded += QStringView(name).mid(start, at - start).toUtf8();
    encoded += char(unit - EscapedByte);
    start = at + 1;
  }
  encoded += QStringView(name).mid(start).toUtf8();
  return encoded;
}

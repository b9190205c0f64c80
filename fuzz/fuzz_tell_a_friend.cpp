// The refer-a-friend address for any five values: decoded, its query holds
// exactly the keys page and taf1 to taf6 in that order, and every value
// comes back whole, whatever the user typed.

#include "config.h"
#include "core/tellafriend.h"
#include "fuzzcheck.h"

#include <QStringDecoder>
#include <QUrl>
#include <QUrlQuery>

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {
using Query = QList<QPair<QString, QString>>;

// UTF-8 as it is, a byte order mark at the start included (QString::fromUtf8
// drops one there).
QString utf8(QByteArrayView bytes)
{
  QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return decoder(bytes);
}

QString typed(FuzzedDataProvider &input)
{
  const std::string bytes = input.ConsumeRandomLengthString();
  return utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Qt's URL decoder keeps the 66 Unicode noncharacters (U+FDD0 to U+FDEF and
// the last two code points of every plane), which no keyboard types,
// percent-encoded, and fully decoded gives U+FFFD for each of their UTF-8
// bytes. The address carries them percent-encoded as UTF-8 like any other
// character, as the byte-exact decoding below shows.
QString asQtDecodes(const QString &value)
{
  constexpr char32_t FirstBeyondBmp = 0x10000;
  QString result;
  for (const char32_t code : value.toUcs4()) {
    if ((code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE)
      result.append(QString(code < FirstBeyondBmp ? 3 : 4, QChar::ReplacementCharacter));
    else if (code < FirstBeyondBmp)
      result.append(QChar(static_cast<char16_t>(code)));
    else
      result.append(QChar(QChar::highSurrogate(code))).append(QChar(QChar::lowSurrogate(code)));
  }
  return result;
}

// The query split at every "&" and "=", each part percent-decoded as UTF-8.
Query decodedBytes(const QUrl &address)
{
  Query items;
  for (const QByteArray &item : address.query(QUrl::FullyEncoded).toLatin1().split('&')) {
    const qsizetype equals = item.indexOf('=');
    FUZZ_CHECK(equals > 0 && item.indexOf('=', equals + 1) < 0);
    items.append({utf8(QByteArray::fromPercentEncoding(item.left(equals))),
                  utf8(QByteArray::fromPercentEncoding(item.mid(equals + 1)))});
  }
  return items;
}

void report(const char *what, const Query &query)
{
  for (const auto &[key, value] : query)
    qWarning("%s %s=%s", what, qPrintable(key), value.toUtf8().toHex(' ').constData());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  FuzzedDataProvider input(data, size);
  TellAFriendValues values;
  values.name = typed(input);
  values.email = typed(input);
  values.message = typed(input);
  values.friendName = typed(input);
  values.friendEmail = typed(input);

  const QUrl address(TellAFriendAddress(values));
  FUZZ_CHECK(address.isValid());
  FUZZ_CHECK(address.fragment().isNull());
  const Query typedQuery = {{QStringLiteral("page"), QStringLiteral("quorrin-refer-a-friend")},
                            {QStringLiteral("taf1"), values.name},
                            {QStringLiteral("taf2"), values.email},
                            {QStringLiteral("taf3"), values.message},
                            {QStringLiteral("taf4"), values.friendName},
                            {QStringLiteral("taf5"), values.friendEmail},
                            {QStringLiteral("taf6"), ProductBaseUrl}};
  Query qtQuery = typedQuery;
  for (auto &item : qtQuery)
    item.second = asQtDecodes(item.second);

  const Query decoded = QUrlQuery(address).queryItems(QUrl::FullyDecoded);
  const Query exact = decodedBytes(address);
  if (decoded != qtQuery || exact != typedQuery) {
    report("typed  ", typedQuery);
    report("Qt read", decoded);
    report("bytes  ", exact);
  }
  FUZZ_CHECK(decoded == qtQuery);
  FUZZ_CHECK(exact == typedQuery);
  return 0;
}

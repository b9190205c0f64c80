#include "core/masking.h"
#include "core/windows1252.h"

#include <QtTest>

namespace {
QList<int> codes(const QString &text)
{
  QList<int> result;
  for (const QChar character : text)
    result.append(Windows1252::encode(character).value_or(-1));
  return result;
}

QString fromCodes(std::initializer_list<int> codes)
{
  QString text;
  for (const int code : codes)
    text.append(Windows1252::decode(static_cast<unsigned char>(code)));
  return text;
}
} // namespace

class MaskingTest : public QObject {
  Q_OBJECT

private slots:
  void emptyStaysEmpty()
  {
    QCOMPARE(MaskText(QString()), QString());
    QCOMPARE(UnmaskText(QString()), QString());
  }

  void shiftsByEightyFiveBothWays()
  {
    const QString masked = MaskText(QStringLiteral("abc"));
    QCOMPARE(codes(masked), QList<int>({182, 183, 184}));
    QCOMPARE(UnmaskText(masked), QStringLiteral("abc"));
  }

  void keepsCodesUpTo170AndDropsTheRest()
  {
    QCOMPARE(codes(MaskText(fromCodes({170}))), QList<int>({255}));
    QCOMPARE(UnmaskText(MaskText(fromCodes({170}))), fromCodes({170}));
    QCOMPARE(MaskText(fromCodes({171})), QString());
    // "é" is 233: dropped, the rest kept in order.
    QCOMPARE(UnmaskText(MaskText(QStringLiteral("Ren\u00e9e"))), QStringLiteral("Rene"));
  }

  void unmaskingPlainTextDropsLowCodes()
  {
    QCOMPARE(UnmaskText(QStringLiteral("12")), QString());
    QCOMPARE(codes(UnmaskText(QStringLiteral("a"))), QList<int>({97 - 85}));
  }

  void usesTheWindows1252CodesAboveAscii()
  {
    // The euro sign is 0x80 in the code page, so it masks to 0xD5.
    QCOMPARE(codes(MaskText(QStringLiteral("\u20ac"))), QList<int>({0xD5}));
    // 'G' (71) masks to 156, the code page's small oe ligature.
    QCOMPARE(MaskText(QStringLiteral("G")), QStringLiteral("\u0153"));
    QCOMPARE(UnmaskText(QStringLiteral("\u0153")), QStringLiteral("G"));
    // A character the code page cannot hold is dropped, not replaced.
    QCOMPARE(MaskText(QStringLiteral("a\u4e2db")), MaskText(QStringLiteral("ab")));
  }

  void everyCodeRoundTripsThroughTheTable()
  {
    for (int code = 0; code <= 255; ++code)
      QCOMPARE(int(*Windows1252::encode(Windows1252::decode(static_cast<unsigned char>(code)))),
               code);
  }
};

QTEST_APPLESS_MAIN(MaskingTest)
#include "tst_masking.moc"

#include "core/savedreading.h"
#include "support/filefaults.h"
#include "support/goldenreadings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <future>

namespace {

// A line of ASCII text as a saved reading holds it: each code moved up by 85.
QByteArray maskedLine(const QByteArray &ascii)
{
  QByteArray line = ascii;
  for (char &byte : line)
    byte = static_cast<char>(byte + 85);
  return line + "\r\n";
}

QByteArray bytesOf(const QString &path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class SavedReadingTest : public QObject {
  Q_OBJECT
private slots:
  void bytesOnDisk();
  void readsTheNameAndMonth_data();
  void readsTheNameAndMonth();
  void namesOfEveryKindOpenBackWhole_data();
  void namesOfEveryKindOpenBackWhole();
  void failedSaveKeepsTheOldFile();
  void refusedDestinations();
  void everySavedReadingOpensBackWhole();
  void largerFilesAreNoReading();
  void codePageCharactersSaveAsTheirCodes();
  void namedPipeReadsAtOnce();

private:
  QTemporaryDir m_folder;
};

void SavedReadingTest::bytesOnDisk()
{
  QCOMPARE(SavedReadingBytes({QStringLiteral("Tom"), QStringLiteral("May")}),
           GoldenReadings::TomInMay);

  const QString path = m_folder.filePath(QStringLiteral("again.zod"));
  writeBytes(path, QByteArray(100, 'x'));
  QVERIFY(WriteSavedReading(path, {QStringLiteral("Tom"), QStringLiteral("May")}));
  QCOMPARE(bytesOf(path), GoldenReadings::TomInMay);

  // Masking keeps neither é (233 in Windows-1252, shifted beyond 255) nor Ñ,
  // ú or Ł: the first line holds what it can, the third the whole name.
  const Reading accented{QStringLiteral("José Ñúñez Łukasz"), QStringLiteral("May")};
  const QByteArray accentedBytes = maskedLine("Jos ez ukasz") + GoldenReadings::MayLine +
                                   maskedLine("Jos%C3%A9%20%C3%91%C3%BA%C3%B1ez%20%C5%81ukasz");
  QVERIFY(WriteSavedReading(path, accented));
  QCOMPARE(bytesOf(path), accentedBytes);
  QCOMPARE(ReadSavedReading(path).userName, accented.userName);
}

// clang-format off
void SavedReadingTest::readsTheNameAndMonth_data()
{
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("userName");
  QTest::addColumn<QString>("birthMonth");
  const QByteArray tom = QByteArray::fromHex("a9c4c2");
  const QByteArray may = QByteArray::fromHex("a2b6ce");
  QTest::newRow("three lines") << tom + "\r\n" + may + "\r\n" + tom + "\r\n" << "Tom" << "May";
  QTest::newRow("CR only") << tom + "\r" + may + "\r" << "Tom" << "May";
  QTest::newRow("LF only") << tom + "\n" + may << "Tom" << "May";
  QTest::newRow("empty first line") << QByteArray("\r\n") << "" << "";
  QTest::newRow("written before names were kept whole")
      << maskedLine("Zo") + GoldenReadings::MayLine << "Zo" << "May";
  const QByteArray jos = maskedLine("Jos");
  QTest::newRow("whole name") << jos + GoldenReadings::MayLine + maskedLine("Jos%C3%A9") << "José" << "May";
  QTest::newRow("whole name of another") << GoldenReadings::TomInMay + maskedLine("Jos%C3%A9") << "Tom" << "May";
  QTest::newRow("no percent-encoding") << jos + GoldenReadings::MayLine + maskedLine("Jos%zz%C3%A9") << "Jos" << "May";
  QTest::newRow("no UTF-8") << jos + GoldenReadings::MayLine + maskedLine("Jos%E9") << "Jos" << "May";
}
// clang-format on

void SavedReadingTest::readsTheNameAndMonth()
{
  QFETCH(QByteArray, bytes);
  const QString path = m_folder.filePath(QStringLiteral("lines.zod"));
  writeBytes(path, bytes);
  const Reading read = ReadSavedReading(path);
  QTEST(read.userName, "userName");
  QTEST(read.birthMonth, "birthMonth");
}

void SavedReadingTest::namesOfEveryKindOpenBackWhole_data()
{
  QTest::addColumn<QString>("name");
  QTest::newRow("accents") << QStringLiteral("Zoë Renée Chloë Ōtaki Dvořák");
  QTest::newRow("CJK") << QStringLiteral("山田 太郎 김민준");
  QTest::newRow("emoji") << QStringLiteral("🦘 Skippy 🌏👩‍👩‍👧");
  QTest::newRow("right to left") << QStringLiteral("שלום محمد \u200f\u202eend\u202c");
  QTest::newRow("controls") << QChar(0) + QStringLiteral("a\r\nb\tc\x1b \x7f\u0085\u2028é");
  QTest::newRow("percent signs") << QStringLiteral("%C3%A9 100% é+%");
  QTest::newRow("longest") << QString(LongestSavedName, QChar(0x6F22));
}

void SavedReadingTest::namesOfEveryKindOpenBackWhole()
{
  QFETCH(QString, name);
  const QString path = m_folder.filePath(QStringLiteral("whole.zod"));
  QVERIFY(WriteSavedReading(path, {name, QStringLiteral("May")}));
  const Reading read = ReadSavedReading(path);
  QCOMPARE(read.userName, name);
  QCOMPARE(read.birthMonth, QStringLiteral("May"));
}

void SavedReadingTest::failedSaveKeepsTheOldFile()
{
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("kept.zod"));
  writeBytes(path, GoldenReadings::TomInMay);
  bool saved = true;
  {
    const FileSizeLimit limit(4);
    if (!limit.holds())
      QSKIP("this system limits the size of no process's files");
    saved = WriteSavedReading(path, {QStringLiteral("Annabel"), QStringLiteral("December")});
  }
  QVERIFY(!saved);
  QCOMPARE(bytesOf(path), GoldenReadings::TomInMay);
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
           QStringList{QStringLiteral("kept.zod")});
}

void SavedReadingTest::refusedDestinations()
{
  writeBytes(m_folder.filePath(QStringLiteral("plain")), "x");
  QVERIFY(!WriteSavedReading(m_folder.filePath(QStringLiteral("plain/x.zod")), {}));

  // Writing into a pipe would wait for a reader; replacing it is not ours to do.
  const QString pipe = m_folder.filePath(QStringLiteral("pipe.zod"));
  if (!makeNamedPipe(pipe))
    QSKIP("no named pipe can stand at a file's path here");
  QVERIFY(!WriteSavedReading(pipe, {}));
  QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
}

void SavedReadingTest::everySavedReadingOpensBackWhole()
{
  // The longest name the name box takes, of euro signs (kept by masking, nine
  // characters percent-encoded) and one character that masking drops, so
  // that the whole name is written too, in the longest month, fills the
  // largest saved reading to the byte.
  const Reading longest{QString(LongestSavedName - 1, QChar(0x20AC)) + QChar(0x6F22),
                             QStringLiteral("September")};
  const QString path = m_folder.filePath(QStringLiteral("longest.zod"));
  QVERIFY(WriteSavedReading(path, longest));
  QCOMPARE(QFileInfo(path).size(), LargestSavedReading);
  const Reading read = ReadSavedReading(path);
  QCOMPARE(read.userName, longest.userName);
  QCOMPARE(read.birthMonth, longest.birthMonth);
}

void SavedReadingTest::largerFilesAreNoReading()
{
  // A byte more than the largest saved reading, and a sparse gigabyte without
  // a line break: neither is read as a name.
  const QString path = m_folder.filePath(QStringLiteral("huge.zod"));
  writeBytes(path, QByteArray(LargestSavedReading + 1, char(0xB6)));
  QCOMPARE(ReadSavedReading(path).userName, QString());
  constexpr qint64 Gigabyte = qint64(1) << 30;
  if (!QFile(path).resize(Gigabyte))
    QSKIP("cannot make a sparse file here");
  const Reading read = ReadSavedReading(path);
  QFile::remove(path);
  QCOMPARE(read.userName, QString());
  QCOMPARE(read.birthMonth, QString());
}

void SavedReadingTest::codePageCharactersSaveAsTheirCodes()
{
  // The 27 characters Windows-1252 puts at 0x80..0x9F (the euro sign,
  // typographic quotes, dashes and the rest), in code order: each is saved as
  // its code moved up by 85, and nothing else gives those bytes.
  const QString assigned = QStringLiteral(
      "\u20ac\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\u017d"
      "\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\u017e"
      "\u0178");
  const QByteArray assignedBytes = QByteArray::fromHex(
      "d5d7d8d9dadbdcdddedfe0e1e3e6e7e8e9eaebecedeeeff0f1f3f4" // 0x80, 0x82..0x8c, 0x8e, ...
      "0d0aa2b6ce0d0a");                                       // and May
  QCOMPARE(SavedReadingBytes({assigned, QStringLiteral("May")}), assignedBytes);
  QCOMPARE(ParseSavedReading(assignedBytes).userName, assigned);

  // The five codes the code page leaves unassigned (0x81, 0x8d, 0x8f, 0x90,
  // 0x9d) read as the C1 control characters of the same numbers, and save
  // back as those codes.
  const QString unassigned = QStringLiteral("\u0081\u008d\u008f\u0090\u009d");
  const QByteArray unassignedBytes = QByteArray::fromHex("d6e2e4e5f20d0aa2b6ce0d0a");
  QCOMPARE(ParseSavedReading(unassignedBytes).userName, unassigned);
  QCOMPARE(SavedReadingBytes({unassigned, QStringLiteral("May")}), unassignedBytes);
}

void SavedReadingTest::namedPipeReadsAtOnce()
{
  // Opening a named pipe to read waits for a writer, for ever if none comes.
  const QString pipe = m_folder.filePath(QStringLiteral("reading.zod"));
  if (!makeNamedPipe(pipe))
    QSKIP("no named pipe can stand at a file's path here");
  auto reading = std::async(std::launch::async, [&pipe] { return ReadSavedReading(pipe); });
  if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
    // A writer that comes and goes lets the waiting read end.
    passWriterThrough(pipe);
    reading.wait();
    QFAIL("reading a named pipe waited for a writer");
  }
  QCOMPARE(reading.get().userName, QString());
}

QTEST_GUILESS_MAIN(SavedReadingTest)
#include "tst_savedreading.moc"

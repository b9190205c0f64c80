#include "report/savedreading.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QByteArray TomInMay = QByteArray::fromHex("a9c4c20d0aa2b6ce0d0a");

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

// Makes writes past the first few bytes of any file fail, as a full disk does,
// even for root.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
  {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit limited = m_saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit()
  {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_signal);
  }
  FileSizeLimit(const FileSizeLimit &) = delete;
  FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
  void (*m_signal)(int);
  rlimit m_saved{};
};
} // namespace

class SavedReadingTest : public QObject {
  Q_OBJECT
private slots:
  void bytesOnDisk();
  void readsTheFirstTwoLines_data();
  void readsTheFirstTwoLines();
  void failedSaveKeepsTheOldFile();
  void refusedDestinations();
  void everySavedReadingOpensBackWhole();
  void largerFilesAreNoReading();
  void codePageCharactersSaveAsTheirCodes();

private:
  QTemporaryDir m_folder;
};

void SavedReadingTest::bytesOnDisk()
{
  QCOMPARE(SavedReadingBytes({QStringLiteral("Tom"), QStringLiteral("May")}), TomInMay);

  const QString path = m_folder.filePath(QStringLiteral("again.zod"));
  writeBytes(path, QByteArray(100, 'x'));
  QVERIFY(WriteSavedReading(path, {QStringLiteral("Tom"), QStringLiteral("May")}));
  QCOMPARE(bytesOf(path), TomInMay);

  // é is 233 in Windows-1252: shifted beyond 255, it cannot be kept.
  QVERIFY(WriteSavedReading(path, {QStringLiteral("Zoé"), QStringLiteral("May")}));
  QCOMPARE(bytesOf(path).size(), 2 + 2 + 3 + 2);
  QCOMPARE(ReadSavedReading(path).userName, QStringLiteral("Zo"));
}

// clang-format off
void SavedReadingTest::readsTheFirstTwoLines_data()
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
}
// clang-format on

void SavedReadingTest::readsTheFirstTwoLines()
{
  QFETCH(QByteArray, bytes);
  const QString path = m_folder.filePath(QStringLiteral("lines.zod"));
  writeBytes(path, bytes);
  const SavedReading read = ReadSavedReading(path);
  QTEST(read.userName, "userName");
  QTEST(read.birthMonth, "birthMonth");
}

void SavedReadingTest::failedSaveKeepsTheOldFile()
{
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("kept.zod"));
  writeBytes(path, TomInMay);
  bool saved = true;
  {
    const FileSizeLimit limit(4);
    saved = WriteSavedReading(path, {QStringLiteral("Annabel"), QStringLiteral("December")});
  }
  QVERIFY(!saved);
  QCOMPARE(bytesOf(path), TomInMay);
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
           QStringList{QStringLiteral("kept.zod")});
}

void SavedReadingTest::refusedDestinations()
{
  writeBytes(m_folder.filePath(QStringLiteral("plain")), "x");
  QVERIFY(!WriteSavedReading(m_folder.filePath(QStringLiteral("plain/x.zod")), {}));

  // Writing into a pipe would wait for a reader; replacing it is not ours to do.
  const QString pipe = m_folder.filePath(QStringLiteral("pipe.zod"));
  if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
    QSKIP("cannot make a named pipe here");
  QVERIFY(!WriteSavedReading(pipe, {}));
  QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
}

void SavedReadingTest::everySavedReadingOpensBackWhole()
{
  // The longest name the name box takes, in the longest month, fills the
  // largest saved reading to the byte.
  const SavedReading longest{QString(LongestSavedName, QLatin1Char('a')),
                             QStringLiteral("September")};
  const QString path = m_folder.filePath(QStringLiteral("longest.zod"));
  QVERIFY(WriteSavedReading(path, longest));
  QCOMPARE(QFileInfo(path).size(), LargestSavedReading);
  const SavedReading read = ReadSavedReading(path);
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
  const SavedReading read = ReadSavedReading(path);
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

QTEST_GUILESS_MAIN(SavedReadingTest)
#include "tst_savedreading.moc"

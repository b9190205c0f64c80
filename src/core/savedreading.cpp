#include "core/savedreading.h"

#include "core/masking.h"
#include "core/messageboxes.h"
#include "core/windows1252.h"
#include "platform/desktop.h"
#include "platform/store/boundedfile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

namespace {
const QString Suffix = QStringLiteral("zod");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
constexpr qsizetype LinesUsed = 3;

const FileDialogRequest SaveDialog{QStringLiteral("Save Your Zodiac Signs Result ...."),
                                   QStringLiteral("Rich Text Format | *.zod"), Suffix};
const FileDialogRequest OpenDialog{QStringLiteral("Select the source file"),
                                   QStringLiteral("Quorrin Free Zodiac Signs (*.zod)|*.zod"),
                                   Suffix};

// Masked text holds only characters of the code page, so nothing is lost here.
QByteArray codePageBytes(const QString &text)
{
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const QChar character : text) {
    if (const auto code = Windows1252::encode(character))
      bytes.append(static_cast<char>(*code));
  }
  return bytes;
}

QString codePageText(const QByteArray &bytes)
{
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes)
    text.append(Windows1252::decode(static_cast<unsigned char>(byte)));
  return text;
}

// The name as the third line of a saved reading keeps it, or nothing when the
// line is not one the program writes for a name that masks to the first line.
// Only percent-encoding in Qt's own form, of UTF-8, comes back the same.
std::optional<QString> wholeName(const QString &wholeLine, const QString &maskedLine)
{
  const QString encoded = UnmaskText(wholeLine);
  const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded.toLatin1()));
  if (QString::fromLatin1(QUrl::toPercentEncoding(name)) != encoded || MaskText(name) != maskedLine)
    return std::nullopt;
  return name;
}
} // namespace

QByteArray SavedReadingBytes(const Reading &reading)
{
  const QString maskedName = MaskText(reading.userName);
  QByteArray bytes =
      codePageBytes(maskedName) + LineEnd + codePageBytes(MaskText(reading.birthMonth)) + LineEnd;
  if (UnmaskText(maskedName) != reading.userName) {
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(reading.userName));
    bytes += codePageBytes(MaskText(encoded)) + LineEnd;
  }
  return bytes;
}

bool WriteSavedReading(const QString &path, const Reading &reading)
{
  // A device or a pipe where the file should go is never replaced or written
  // into.
  const QFileInfo existing(path);
  if (existing.exists() && !existing.isFile())
    return false;
  QSaveFile file(path);
  // Unbuffered, so that write() tells of a short write: Qt's file engine takes
  // one for success when a full disk stops it part way.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return false;
  const QByteArray bytes = SavedReadingBytes(reading);
  if (file.write(bytes) != bytes.size())
    file.cancelWriting();
  return file.commit();
}

Reading ParseSavedReading(const QByteArray &bytes)
{
  if (bytes.size() > LargestSavedReading)
    return {};
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = codePageText(bytes).split(lineBreak);
  lines.resize(LinesUsed);
  return {wholeName(lines.at(2), lines.at(0)).value_or(UnmaskText(lines.at(0))),
          UnmaskText(lines.at(1))};
}

Reading ReadSavedReading(const QString &path)
{
  return ParseSavedReading(readBoundedFile(path, LargestSavedReading).value_or(QByteArray()));
}

void SaveReading(QWidget *window, const Reading &reading)
{
  const QString path = desktop().saveFileName(window, SaveDialog);
  if (path.isEmpty())
    return;
  if (!WriteSavedReading(path, reading))
    showError(window, QStringLiteral("The reading could not be saved."));
}

std::optional<Reading> ChooseSavedReading(QWidget *window)
{
  const QString path = desktop().openFileName(window, OpenDialog);
  if (path.isEmpty())
    return std::nullopt;
  return OpenSavedReading(window, path);
}

std::optional<Reading> OpenSavedReading(QWidget *window, const QString &path)
{
  if (!path.endsWith(Suffix, Qt::CaseSensitive)) {
    showError(window, QStringLiteral("Please Check The File."));
    return std::nullopt;
  }
  return ReadSavedReading(path);
}

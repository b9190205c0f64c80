#include "report/savedreading.h"

#include "platform/desktop.h"
#include "reading/currentreading.h"
#include "shell/masking.h"
#include "shell/titles.h"
#include "shell/windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {
const QString Suffix = QStringLiteral("zod");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
constexpr qsizetype LinesUsed = 2;

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

void tellUser(QWidget *window, const QString &text)
{
  desktop().messageBox(window, text, MessageIcon::Critical, MessageButtons::Ok, AppTitle);
}
} // namespace

QByteArray SavedReadingBytes(const SavedReading &reading)
{
  return codePageBytes(MaskText(reading.userName)) + LineEnd +
         codePageBytes(MaskText(reading.birthMonth)) + LineEnd;
}

bool WriteSavedReading(const QString &path, const SavedReading &reading)
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

SavedReading ParseSavedReading(const QByteArray &bytes)
{
  if (bytes.size() > LargestSavedReading)
    return {};
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = codePageText(bytes).split(lineBreak);
  lines.resize(LinesUsed);
  return {UnmaskText(lines.at(0)), UnmaskText(lines.at(1))};
}

SavedReading ReadSavedReading(const QString &path)
{
  // Checked before opening: opening a named pipe would wait for a writer.
  if (!QFileInfo(path).isFile())
    return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  // One byte more than a saved reading can hold tells a larger file, however
  // large, without reading it.
  return ParseSavedReading(file.read(LargestSavedReading + 1));
}

void SaveCurrentReading(QWidget *window)
{
  const QString path = desktop().saveFileName(window, SaveDialog);
  if (path.isEmpty())
    return;
  const CurrentReading &current = currentReading();
  if (!WriteSavedReading(path, {current.strUserName, current.strBirthMonth}))
    tellUser(window, QStringLiteral("The reading could not be saved."));
}

std::optional<SavedReading> ChooseSavedReading(QWidget *window)
{
  const QString path = desktop().openFileName(window, OpenDialog);
  if (path.isEmpty())
    return std::nullopt;
  return OpenSavedReading(window, path);
}

std::optional<SavedReading> OpenSavedReading(QWidget *window, const QString &path)
{
  if (!path.endsWith(Suffix, Qt::CaseSensitive)) {
    tellUser(window, QStringLiteral("Please Check The File."));
    return std::nullopt;
  }
  return ReadSavedReading(path);
}

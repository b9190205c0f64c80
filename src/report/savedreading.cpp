#include "report/savedreading.h"

#include "platform/desktop.h"
#include "reading/currentreading.h"
#include "reading/frmMain.h"
#include "shell/masking.h"
#include "shell/titles.h"
#include "shell/windows1252.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSaveFile>

namespace {
const QString Suffix = QStringLiteral("zod");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
constexpr qsizetype LinesUsed = 2;
// Far more than two lines of any name a person types; a file of a gigabyte
// without line breaks is answered as fast as a small one.
constexpr qint64 MostBytesRead = 4096;

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

void tellUser(const QString &text)
{
  desktop().messageBox(text, MessageIcon::Critical, MessageButtons::Ok, AppTitle);
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

SavedReading ReadSavedReading(const QString &path)
{
  // Checked before opening: opening a named pipe would wait for a writer.
  if (!QFileInfo(path).isFile())
    return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = codePageText(file.read(MostBytesRead)).split(lineBreak);
  lines.resize(LinesUsed);
  return {UnmaskText(lines.at(0)), UnmaskText(lines.at(1))};
}

void SaveCurrentReading()
{
  const QString path = desktop().saveFileName(SaveDialog);
  if (path.isEmpty())
    return;
  const CurrentReading &current = currentReading();
  if (!WriteSavedReading(path, {current.strUserName, current.strBirthMonth}))
    tellUser(QStringLiteral("The reading could not be saved."));
}

void OpenSavedReading(frmMain &mainWindow)
{
  const QString path = desktop().openFileName(OpenDialog);
  if (path.isEmpty())
    return;
  if (!path.endsWith(Suffix, Qt::CaseSensitive)) {
    tellUser(QStringLiteral("Please Check The File."));
    return;
  }
  const SavedReading saved = ReadSavedReading(path);
  mainWindow.txtName->setText(saved.userName);
  const int month =
      mainWindow.cboMonth->findText(saved.birthMonth, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (month >= 0)
    mainWindow.cboMonth->setCurrentIndex(month);
  mainWindow.cmdProceed_Click();
}

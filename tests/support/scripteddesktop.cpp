#include "support/scripteddesktop.h"

#include "ui/form.h"

#include <QTextDocument>

ScriptedDesktop::ScriptedDesktop() { setDesktop(this); }

ScriptedDesktop::~ScriptedDesktop() { setDesktop(nullptr); }

MessageAnswer ScriptedDesktop::messageBox(QWidget *owner, const QString &text, MessageIcon icon,
                                          MessageButtons buttons, const QString &title)
{
  const MessageBoxCall call{owner, text, icon, buttons, title};
  messageBoxes.append(call);
  if (whileMessageBoxShown)
    whileMessageBoxShown(call);
  if (buttons == MessageButtons::Ok)
    return MessageAnswer::Ok;
  return messageAnswers.isEmpty() ? MessageAnswer::No : messageAnswers.dequeue();
}

QString ScriptedDesktop::openFileName(QWidget *owner, const FileDialogRequest &request)
{
  fileDialogs.append({owner, false, request});
  return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedDesktop::saveFileName(QWidget *owner, const FileDialogRequest &request)
{
  fileDialogs.append({owner, true, request});
  return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedDesktop::openUrl(const QString &address)
{
  openedUrls.append(address);
  return true;
}

bool ScriptedDesktop::handToRunningCopy(const QString &path)
{
  handedFiles.append(path);
  return runningCopyTakesFiles;
}

bool ScriptedDesktop::printDocument(const QTextDocument &document)
{
  if (!printerAvailable)
    return false;
  printedDocuments.append(document.toPlainText());
  if (whilePrinting)
    whilePrinting(document);
  return true;
}

float ScriptedDesktop::nextRandom()
{
  constexpr float Middle = 0.5F;
  return draws.isEmpty() ? Middle : draws.dequeue();
}

std::optional<QString> ScriptedDesktop::readSetting(const QString &section, const QString &key)
{
  if (!settingsReadable)
    return std::nullopt;
  return settings.value(section + QLatin1Char('/') + key);
}

bool ScriptedDesktop::writeSetting(const QString &section, const QString &key, const QString &value)
{
  if (!settingsWritable)
    return false;
  settings.insert(section + QLatin1Char('/') + key, value);
  return true;
}

QStringList ScriptedDesktop::messageTexts() const
{
  QStringList texts;
  for (const MessageBoxCall &call : messageBoxes)
    texts.append(call.text);
  return texts;
}

void discardForms()
{
  const QList<Form *> forms = Forms::loaded();
  qDeleteAll(forms);
}

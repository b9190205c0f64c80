#pragma once

#include "platform/desktop.h"

#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// A desktop for tests: records what the program asks of it and answers from
// a script.
class ScriptedDesktop final : public Desktop {
public:
  // Owners are kept as the program gave them, only to be compared with its
  // windows; a window may be gone by the time a test looks.
  struct MessageBoxCall {
    const QWidget *owner;
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
    QString title;
  };
  struct FileDialogCall {
    const QWidget *owner;
    bool save;
    FileDialogRequest request;
  };

  // Installs itself as the program's desktop for its lifetime.
  ScriptedDesktop();
  ~ScriptedDesktop() override;

  // Script: answers given in order; a box with no scripted answer gets OK or No.
  QQueue<MessageAnswer> messageAnswers;
  QQueue<QString> fileNames; // an empty name is a cancelled dialog
  QQueue<float> draws;       // when empty, draws 0.5
  QDate currentDay = QDate(2026, 12, 7);
  bool anotherCopyRunning = false;
  // Whether the copy that runs takes a file handed to it.
  bool runningCopyTakesFiles = true;
  qsizetype longestAddress = 131071;
  bool settingsReadable = true;
  bool settingsWritable = true;
  bool printerAvailable = true;
  // Runs while a message box is up, as a user would look at the screen.
  std::function<void(const MessageBoxCall &)> whileMessageBoxShown;
  // Runs for each print job on an available printer, to print it for real.
  std::function<void(const QTextDocument &)> whilePrinting;

  // Record.
  QList<MessageBoxCall> messageBoxes;
  QList<FileDialogCall> fileDialogs;
  QStringList openedUrls;
  QStringList handedFiles; // handed to the running copy by this start
  // What the running copy does with a file a later start hands over.
  std::function<void(const QString &)> handedFileReceiver;
  QStringList printedDocuments;     // the plain text of each job
  QHash<QString, QString> settings; // "section/key" -> value, as stored
  int seeds = 0;
  int processEnds = 0;

  MessageAnswer messageBox(QWidget *owner, const QString &text, MessageIcon icon,
                           MessageButtons buttons, const QString &title) override;
  QString openFileName(QWidget *owner, const FileDialogRequest &request) override;
  QString saveFileName(QWidget *owner, const FileDialogRequest &request) override;
  bool openUrl(const QString &address) override;
  bool printDocument(const QTextDocument &document) override;
  QDate today() override { return currentDay; }
  void seedRandom() override { ++seeds; }
  float nextRandom() override;
  bool claimSingleInstance() override { return !anotherCopyRunning; }
  void receiveHandedFiles(std::function<void(const QString &path)> receiver) override
  {
    handedFileReceiver = std::move(receiver);
  }
  void refuseHandedFiles() override { handedFileReceiver = nullptr; }
  bool handToRunningCopy(const QString &path) override;
  qsizetype longestWebAddress() const override { return longestAddress; }
  std::optional<QString> readSetting(const QString &section, const QString &key) override;
  bool writeSetting(const QString &section, const QString &key, const QString &value) override;
  void endProcess() override { ++processEnds; }

  QStringList messageTexts() const;
};

// Destroys every window still loaded without running its unload handling,
// so that each test starts with none.
void discardForms();

#pragma once

#include "platform/desktop.h"

#include "platform/singlecopy/instancelock.h"

#include <cstdint>
#include <memory>
#include <random>

// The desktop on Qt: message boxes and file dialogs, the default browser,
// the default printer, QSettings in the user's own store, and lock
// files in the user's own folders for the single running copy, with a local
// socket through which later starts hand over saved readings.
class QtDesktop final : public Desktop {
public:
  QtDesktop();
  ~QtDesktop() override;

  MessageAnswer messageBox(QWidget *owner, const QString &text, MessageIcon icon,
                           MessageButtons buttons, const QString &title) override;
  QString openFileName(QWidget *owner, const FileDialogRequest &request) override;
  QString saveFileName(QWidget *owner, const FileDialogRequest &request) override;
  bool openUrl(const QString &address) override;
  bool printDocument(const QTextDocument &document) override;
  QDate today() override;
  void seedRandom() override;
  float nextRandom() override;
  bool claimSingleInstance() override;
  void receiveHandedFiles(std::function<void(const QString &path)> receiver) override;
  void refuseHandedFiles() override;
  bool handToRunningCopy(const QString &path) override;
  qsizetype longestWebAddress() const override;
  std::optional<QString> readSetting(const QString &section, const QString &key) override;
  bool writeSetting(const QString &section, const QString &key, const QString &value) override;
  void endProcess() override;

  // 32 random bits as a draw in [0, 1): what nextRandom gives for each number
  // of its generator.
  static float drawFromBits(std::uint32_t bits);

  // The settings store's application name: the executable's file name
  // without its extension, so a renamed program starts from empty settings.
  static QString applicationName();

private:
  // The file dialogs start in the user's documents, then in the folder last
  // chosen in this run.
  QString dialogFolder() const;
  QString rememberFolder(const QString &chosenFile);

  QString m_lastDialogFolder;
  InstanceClaim m_instance;
  std::unique_ptr<class FileHandoff> m_handoff;
  std::mt19937 m_random;
};

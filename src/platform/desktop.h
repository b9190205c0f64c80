#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

class QTextDocument;
class QWidget;

enum class MessageIcon { Information, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// What the program asks of a file dialog. The filter is written as the program
// keeps it: "Description|pattern", one entry.
struct FileDialogRequest {
  QString title;
  QString filter;
  QString defaultSuffix;
};

// The seam between the program and the desktop it runs on. Every message box,
// file dialog, browser hand-off, print job, settings access, clock reading,
// random draw, single-copy check and the end of the process goes through here,
// so that tests can put a scripted desktop in its place.
class Desktop {
public:
  Desktop() = default;
  Desktop(const Desktop &) = delete;
  Desktop &operator=(const Desktop &) = delete;
  virtual ~Desktop() = default;

  // Message boxes and file dialogs belong to the window the user acted in, their
  // owner: the window manager keeps them above it, a topmost window included.
  // With no owner (nothing the user did asked for it) a box is centred on the
  // screen and takes the focus.

  // A modal message box; YesNo boxes have Yes as the default button.
  virtual MessageAnswer messageBox(QWidget *owner, const QString &text, MessageIcon icon,
                                   MessageButtons buttons, const QString &title) = 0;

  // Modal file dialogs; an empty result means the user cancelled.
  virtual QString openFileName(QWidget *owner, const FileDialogRequest &request) = 0;
  virtual QString saveFileName(QWidget *owner, const FileDialogRequest &request) = 0;

  // Hands a web address to the default browser; false when nothing took it.
  virtual bool openUrl(const QString &address) = 0;

  // Prints the whole document on the default printer as one job, without a
  // dialog; false when there is no printer, the queue is stopped or refuses
  // the job, or the print server has not answered within a few seconds. The
  // windows keep painting while it waits.
  virtual bool printDocument(const QTextDocument &document) = 0;

  virtual QDate today() = 0;

  virtual void seedRandom() = 0;
  // A single-precision draw, uniform in [0, 1).
  virtual float nextRandom() = 0;

  // Claims this user's single running copy; false only while another copy of
  // the program runs.
  virtual bool claimSingleInstance() = 0;
  // The copy that claimed it takes saved readings from later starts from then
  // on, and passes the path of each to the receiver as it comes.
  virtual void receiveHandedFiles(std::function<void(const QString &path)> receiver) = 0;
  // The copy takes no more files from then on: it is ending.
  virtual void refuseHandedFiles() = 0;
  // A start that the running copy refused hands it the path of a saved
  // reading; false when the running copy did not take it.
  virtual bool handToRunningCopy(const QString &path) = 0;

  // The longest web address the browser can be handed, in characters.
  virtual qsizetype longestWebAddress() const = 0;

  // The per-user settings store of this program, addressed by section and key.
  // Reading gives nothing when the store cannot be read, the empty text for a
  // key that is absent; writing tells whether the value reached the store.
  virtual std::optional<QString> readSetting(const QString &section, const QString &key) = 0;
  virtual bool writeSetting(const QString &section, const QString &key, const QString &value) = 0;

  // Ends the process at once, but for taking back what the print server
  // holds and has not printed. The real desktop never returns from it.
  virtual void endProcess() = 0;
};

// The desktop the program talks to; set once at start-up (or by a test).
Desktop &desktop();
void setDesktop(Desktop *desktop);

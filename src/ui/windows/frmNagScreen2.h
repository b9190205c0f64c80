#pragma once

#include "ui/form.h"

class LinkLabel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The closing screen: shown when the user leaves the main or the result
// window, it stays above every other window with an appeal to visit the
// maker's forum, links to the maker's pages and the refer-a-friend form. It is
// created once per run; closing it ends the program.
class frmNagScreen2 : public Form {
  Q_OBJECT
public:
  frmNagScreen2();

  QLabel *picNagscreen2Icon;
  QLabel *lblNagScreen2Caption;
  QLabel *Label2;      // the appeal drawn at load
  QPushButton *Check1; // a check box drawn as a button that stays down while ticked
  QPushButton *cmdClose;
  QGroupBox *Frame2;
  QLineEdit *txtName;
  QLineEdit *txtEmail;
  QLineEdit *txtFriendName;
  QLineEdit *txtFriendEmail;
  QPushButton *cmdSubmit;
  QPlainTextEdit *txtMessage; // below the frame's visible area, still reached by Tab
  QGroupBox *Frame6;
  QLabel *Label3;
  LinkLabel *lblGoToHome;

  // The message as the form sends it, line breaks written as CR LF.
  QString messageText() const;

public slots:
  void cmdClose_Click();
  void Check1_Click();
  void cmdSubmit_Click();
  // A key code set to 0 discards the key.
  void txtEmail_KeyPress(int &KeyAscii);
  void txtFriendEmail_KeyPress(int &KeyAscii);

protected:
  void Form_Load() override;
  void Form_Unload() override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void buildReferAFriend();
  QString placeholderOf(const QObject *field) const;
  QString textOf(const QObject *field) const;
  void setTextOf(QObject *field, const QString &text);
  void field_GotFocus(QObject *field);
  void field_LostFocus(QObject *field);
  void refuseSpace(QLineEdit *field, int &KeyAscii);
};

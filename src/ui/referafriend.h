#pragma once

#include "core/tellafriend.h"

#include <QGroupBox>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The refer-a-friend form: four boxes that hold their captions until the user
// types, a message below the frame's visible area (still reached by Tab) and
// the submit button, which opens the referral page or tells the user, over
// the form's window, what to put right. The e-mail boxes take no typed space.
class ReferAFriend : public QGroupBox {
  Q_OBJECT
public:
  explicit ReferAFriend(QWidget *parent);

  QLineEdit *txtName;
  QLineEdit *txtEmail;
  QLineEdit *txtFriendName;
  QLineEdit *txtFriendEmail;
  QPushButton *cmdSubmit;
  QPlainTextEdit *txtMessage;

  // What the form holds, each value without leading and trailing spaces, the
  // message's line breaks written as CR LF.
  TellAFriendValues values() const;

public slots:
  void cmdSubmit_Click();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // Whether an e-mail box takes the typed text; a space is refused, and the
  // user told so.
  bool acceptsTyped(QLineEdit *emailBox, const QString &typed);
  QString messageText() const;
  QString placeholderOf(const QObject *field) const;
  QString textOf(const QObject *field) const;
  void setTextOf(QObject *field, const QString &text);
};

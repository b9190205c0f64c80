#include "ui/referafriend.h"

#include "core/messageboxes.h"
#include "core/trim.h"
#include "core/webpages.h"
#include "ui/look.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <array>

using namespace Look;

namespace {
constexpr QRect NamePlace = twips(85, 360, 3375, 285);
constexpr QRect EmailPlace = twips(3600, 360, 3375, 285);
constexpr QRect FriendNamePlace = twips(85, 720, 3375, 285);
constexpr QRect FriendEmailPlace = twips(3600, 720, 3375, 285);
constexpr QRect SubmitPlace = twips(1920, 1080, 3375, 285);
// Below the frame's visible area.
constexpr QRect MessagePlace = twips(4800, 3600, 1815, 495);

const QString CrLf = QStringLiteral("\r\n");
const QString InitialMessage = TafPlaceholder::Message + CrLf;
const QString Space = QStringLiteral(" ");

// A box of the form, holding its caption until the user types. The caption
// names the box to a screen reader, whatever the box holds.
QLineEdit *textBox(QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
  auto *box = named(new QLineEdit(caption, parent), name);
  box->setAccessibleName(caption);
  box->setGeometry(place);
  box->setFont(verdana(8.25)); // not the frame's bold caption font
  return box;
}

// Only moves between the window's own controls count, as when the user tabs
// or clicks: going to another window or opening a field's context menu leaves
// the placeholders alone.
bool movedWithinWindow(const QEvent *event)
{
  const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

ReferAFriend::ReferAFriend(QWidget *parent) : QGroupBox(QStringLiteral("Refer A Friend"), parent)
{
  txtName = textBox(this, QStringLiteral("txtName"), TafPlaceholder::Name, NamePlace);
  txtEmail = textBox(this, QStringLiteral("txtEmail"), TafPlaceholder::Email, EmailPlace);
  txtFriendName =
      textBox(this, QStringLiteral("txtFriendName"), TafPlaceholder::FriendName, FriendNamePlace);
  txtFriendEmail = textBox(this, QStringLiteral("txtFriendEmail"), TafPlaceholder::FriendEmail,
                           FriendEmailPlace);

  cmdSubmit = named(new QPushButton(QStringLiteral("Refer A Friend &Now"), this),
                    QStringLiteral("cmdSubmit"));
  cmdSubmit->setGeometry(SubmitPlace);
  cmdSubmit->setFont(verdana(8.25, Bold));

  txtMessage = named(new QPlainTextEdit(this), QStringLiteral("txtMessage"));
  txtMessage->setAccessibleName(TafPlaceholder::Message);
  txtMessage->setGeometry(MessagePlace);
  txtMessage->setFont(verdana(8.25));
  txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtMessage->setTabChangesFocus(true);
  setTextOf(txtMessage, InitialMessage);

  const std::array<QWidget *, 5> fields{txtName, txtEmail, txtFriendName, txtFriendEmail,
                                        txtMessage};
  for (QWidget *field : fields)
    field->installEventFilter(this);

  connect(cmdSubmit, &QPushButton::clicked, this, &ReferAFriend::cmdSubmit_Click);
}

QString ReferAFriend::messageText() const
{
  return txtMessage->toPlainText().replace(QLatin1Char('\n'), CrLf);
}

TellAFriendValues ReferAFriend::values() const
{
  return {TrimSpaces(txtName->text()), TrimSpaces(txtEmail->text()), TrimSpaces(messageText()),
          TrimSpaces(txtFriendName->text()), TrimSpaces(txtFriendEmail->text())};
}

void ReferAFriend::cmdSubmit_Click()
{
  const TellAFriendValues referral = values();
  if (const auto refusal = checkReferral(referral)) {
    showError(window(), *refusal);
    return;
  }
  LaunchUrl(TellAFriendAddress(referral));
}

bool ReferAFriend::acceptsTyped(QLineEdit *emailBox, const QString &typed)
{
  if (typed != Space)
    return true;
  showError(window(), QStringLiteral("Email Address Cannot Contain Space"));
  emailBox->setFocus();
  return false;
}

QString ReferAFriend::placeholderOf(const QObject *field) const
{
  if (field == txtName)
    return TafPlaceholder::Name;
  if (field == txtEmail)
    return TafPlaceholder::Email;
  if (field == txtFriendName)
    return TafPlaceholder::FriendName;
  if (field == txtFriendEmail)
    return TafPlaceholder::FriendEmail;
  return TafPlaceholder::Message;
}

QString ReferAFriend::textOf(const QObject *field) const
{
  if (field == txtMessage)
    return messageText();
  return static_cast<const QLineEdit *>(field)->text();
}

void ReferAFriend::setTextOf(QObject *field, const QString &text)
{
  if (field == txtMessage)
    txtMessage->setPlainText(text);
  else
    static_cast<QLineEdit *>(field)->setText(text);
}

bool ReferAFriend::eventFilter(QObject *watched, QEvent *event)
{
  switch (event->type()) {
  case QEvent::FocusIn:
    // A field that holds its caption empties for the user to type.
    if (movedWithinWindow(event) && TrimSpaces(textOf(watched)) == placeholderOf(watched))
      setTextOf(watched, QString());
    break;
  case QEvent::FocusOut:
    // A field left empty shows its caption again.
    if (movedWithinWindow(event) && TrimSpaces(textOf(watched)).isEmpty())
      setTextOf(watched, placeholderOf(watched));
    break;
  case QEvent::KeyPress:
    if (watched == txtEmail || watched == txtFriendEmail) {
      auto *box = static_cast<QLineEdit *>(watched);
      if (!acceptsTyped(box, static_cast<QKeyEvent *>(event)->text()))
        return true;
    }
    break;
  default:
    break;
  }
  return QGroupBox::eventFilter(watched, event);
}

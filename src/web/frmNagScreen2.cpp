#include "web/frmNagScreen2.h"

#include "content/content.h"
#include "platform/desktop.h"
#include "shell/linklabel.h"
#include "shell/look.h"
#include "shell/shutdown.h"
#include "shell/titles.h"
#include "shell/trim.h"
#include "web/tellafriend.h"
#include "web/webpages.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <array>

using namespace Look;

namespace {
constexpr QSize ClientSize = twipsSize(11115, 4725);
constexpr QRect IconPlace = twips(360, 120, 540, 540);
constexpr QRect CaptionPlace = twips(1080, 240, 0, 0);
constexpr QRect AppealPlace = twips(120, 840, 6975, 1095);
constexpr QRect Check1Place = twips(30, 2040, 7185, 555);
constexpr QRect ClosePlace = twips(6000, 2760, 1245, 375);
constexpr QRect Frame2Place = twips(120, 3240, 7065, 1455);
constexpr QRect Frame6Place = twips(7320, 120, 3735, 4575);
constexpr QRect CataloguePlace = twips(120, 360, 3495, 3855);
constexpr QRect GoToHomePlace = twips(75, 4250, 3585, 210);
// In Frame2.
constexpr QRect NamePlace = twips(85, 360, 3375, 285);
constexpr QRect EmailPlace = twips(3600, 360, 3375, 285);
constexpr QRect FriendNamePlace = twips(85, 720, 3375, 285);
constexpr QRect FriendEmailPlace = twips(3600, 720, 3375, 285);
constexpr QRect SubmitPlace = twips(1920, 1080, 3375, 285);
// Below the frame's visible area.
constexpr QRect MessagePlace = twips(4800, 3600, 1815, 495);

constexpr int AppealCount = 4;
constexpr int SpaceKey = 32;

const QString InitialMessage = TafPlaceholder::Message + QStringLiteral("\r\n");
const QString CrLf = QStringLiteral("\r\n");

// A box of the refer-a-friend form, holding its caption until the user types.
// The caption names the box to a screen reader, whatever the box holds.
QLineEdit *textBox(QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
  auto *box = named(new QLineEdit(caption, parent), name);
  box->setAccessibleName(caption);
  box->setGeometry(place);
  box->setFont(verdana(8.25)); // not the frame's bold caption font
  return box;
}

// A caption sized to its text, narrowed to its designed width where the
// stand-in for Verdana runs wider than Verdana, rather than cut off by its frame.
void fitToText(QLabel *label, const QRect &place)
{
  label->move(place.topLeft());
  const int natural = label->fontMetrics().horizontalAdvance(label->text());
  if (natural > place.width() && verdanaStandsIn()) {
    QFont font = label->font();
    font.setStretch(QFont::Unstretched * place.width() / natural);
    label->setFont(font);
  }
  label->adjustSize();
}

QGroupBox *navyFrame(QWidget *parent, const QString &name, const QString &caption,
                     const QRect &place)
{
  auto *frame = named(new QGroupBox(caption, parent), name);
  frame->setGeometry(place);
  frame->setFont(verdana(9.75, Bold));
  paint(frame, White, Navy);
  return frame;
}

// Only moves between this window's own controls count, as when the user tabs
// or clicks: going to another window or opening a field's context menu leaves
// the placeholders alone.
bool movedWithinWindow(const QEvent *event)
{
  const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

frmNagScreen2::frmNagScreen2()
    : Form(QStringLiteral("frmNagScreen2"), QStringLiteral("Closing screen"), ClientSize)
{
  QWidget *area = client();
  paint(area, Black, White);
  area->setFont(verdana(8.25));

  picNagscreen2Icon = named(new QLabel(area), QStringLiteral("picNagscreen2Icon"));
  picNagscreen2Icon->setGeometry(IconPlace);

  lblNagScreen2Caption = label(area, QStringLiteral("lblNagScreen2Caption"), QString(),
                               CaptionPlace, sansSerif(18), Black);

  Label2 =
      label(area, QStringLiteral("Label2"), QString(), AppealPlace, verdana(9.75, Bold), Black);
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Check1 = named(new QPushButton(Content::text(QStringLiteral("visit-now")), area),
                 QStringLiteral("Check1"));
  Check1->setCheckable(true);
  Check1->setAccessibleDescription(
      QStringLiteral("Opens the maker's web site in your web browser"));
  Check1->setGeometry(Check1Place);
  Check1->setFont(verdana(14.25));
  Check1->setCursor(Qt::PointingHandCursor);
  paintButton(Check1, CheckBlue);

  cmdClose = named(new QPushButton(QStringLiteral("E&xit"), area), QStringLiteral("cmdClose"));
  cmdClose->setGeometry(ClosePlace);

  Frame2 = navyFrame(area, QStringLiteral("Frame2"), QStringLiteral("Refer A Friend"), Frame2Place);
  buildReferAFriend();

  Frame6 = navyFrame(area, QStringLiteral("Frame6"), QStringLiteral("Download Quorrin Softwares"),
                     Frame6Place);
  Label3 = label(Frame6, QStringLiteral("Label3"), Content::text(QStringLiteral("catalogue")),
                 CataloguePlace, verdana(9), White);
  Label3->setWordWrap(true);
  Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  lblGoToHome = named(new LinkLabel(Frame6), QStringLiteral("lblGoToHome"));
  lblGoToHome->setText(QStringLiteral("Click Here To Visit Quorrin Softwares"));
  lblGoToHome->setTextFormat(Qt::PlainText);
  lblGoToHome->setAccessibleDescription(
      QStringLiteral("Opens the maker's catalogue of programs in your web browser"));
  lblGoToHome->setFont(verdana(9, Bold | Underlined));
  paint(lblGoToHome, Yellow);
  fitToText(lblGoToHome, GoToHomePlace);

  setTabOrder(cmdClose, Check1);
  setTabOrder(Check1, txtName);
  setTabOrder(txtName, cmdSubmit);
  setTabOrder(cmdSubmit, txtEmail);
  setTabOrder(txtEmail, txtFriendEmail);
  setTabOrder(txtFriendEmail, txtFriendName);
  setTabOrder(txtFriendName, txtMessage);
  cmdClose->setFocus();

  connect(cmdClose, &QPushButton::clicked, this, &frmNagScreen2::cmdClose_Click);
  // Every change of the tick, as a click, a key or a screen reader's toggle
  // makes it, runs Check1_Click, which clears the tick again.
  connect(Check1, &QPushButton::toggled, this, &frmNagScreen2::Check1_Click);
  connect(cmdSubmit, &QPushButton::clicked, this, &frmNagScreen2::cmdSubmit_Click);
  connect(lblGoToHome, &LinkLabel::clicked, this, [] { OpenWebPage(PageKey::Catalogue); });
}

void frmNagScreen2::buildReferAFriend()
{
  txtName = textBox(Frame2, QStringLiteral("txtName"), TafPlaceholder::Name, NamePlace);
  txtEmail = textBox(Frame2, QStringLiteral("txtEmail"), TafPlaceholder::Email, EmailPlace);
  txtFriendName =
      textBox(Frame2, QStringLiteral("txtFriendName"), TafPlaceholder::FriendName, FriendNamePlace);
  txtFriendEmail = textBox(Frame2, QStringLiteral("txtFriendEmail"), TafPlaceholder::FriendEmail,
                           FriendEmailPlace);

  cmdSubmit = named(new QPushButton(QStringLiteral("Refer A Friend &Now"), Frame2),
                    QStringLiteral("cmdSubmit"));
  cmdSubmit->setGeometry(SubmitPlace);
  cmdSubmit->setFont(verdana(8.25, Bold));

  txtMessage = named(new QPlainTextEdit(Frame2), QStringLiteral("txtMessage"));
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
}

void frmNagScreen2::Form_Load()
{
  setWindowTitle(WindowTitle);
  lblNagScreen2Caption->setText(WindowTitle);
  lblNagScreen2Caption->adjustSize();
  picNagscreen2Icon->setPixmap(Content::applicationPixmap());

  desktop().seedRandom();
  const int appeal = static_cast<int>(desktop().nextRandom() * AppealCount);
  Label2->setText(Content::text(QStringLiteral("appeal-%1").arg(appeal)));

  // Above every other window, the browser pages opened from here included.
  // It comes up as the user's last window goes, so it takes the keyboard as
  // any window does: a window manager need not hand it over, and without it
  // the form and Exit could not be reached by keyboard.
  setWindowFlag(Qt::WindowStaysOnTopHint);
}

void frmNagScreen2::Form_Unload() { ExitApplication(); }

void frmNagScreen2::cmdClose_Click()
{
  // A reading handed over between the press and the click took the user away
  // from here: the click comes too late to end the program under it.
  if (isVisible())
    ExitApplication();
}

void frmNagScreen2::Check1_Click()
{
  if (!Check1->isChecked())
    return;
  Check1->setChecked(false);
  OpenWebPage(PageKey::Home);
}

QString frmNagScreen2::messageText() const
{
  return txtMessage->toPlainText().replace(QLatin1Char('\n'), CrLf);
}

void frmNagScreen2::cmdSubmit_Click()
{
  TafName = TrimSpaces(txtName->text());
  TafEmail = TrimSpaces(txtEmail->text());
  TafMessage = TrimSpaces(messageText());
  TafFriendName = TrimSpaces(txtFriendName->text());
  TafFriendEmail = TrimSpaces(txtFriendEmail->text());

  if (TafEmail == TafFriendEmail) {
    RefuseTellAFriend(this, QStringLiteral("Please Enter Distinct Email Addresses"));
    return;
  }
  const auto bothContain = [](QChar mark) {
    return TafEmail.contains(mark) && TafFriendEmail.contains(mark);
  };
  if (!bothContain(QLatin1Char('@')) || !bothContain(QLatin1Char('.'))) {
    RefuseTellAFriend(this, QStringLiteral("Please Enter Proper Email Address"));
    return;
  }
  SubmitTellAFriend(this);
}

void frmNagScreen2::txtEmail_KeyPress(int &KeyAscii) { refuseSpace(txtEmail, KeyAscii); }

void frmNagScreen2::txtFriendEmail_KeyPress(int &KeyAscii)
{
  refuseSpace(txtFriendEmail, KeyAscii);
}

void frmNagScreen2::refuseSpace(QLineEdit *field, int &KeyAscii)
{
  if (KeyAscii != SpaceKey)
    return;
  RefuseTellAFriend(this, QStringLiteral("Email Address Cannot Contain Space"));
  KeyAscii = 0;
  field->setFocus();
}

QString frmNagScreen2::placeholderOf(const QObject *field) const
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

QString frmNagScreen2::textOf(const QObject *field) const
{
  if (field == txtMessage)
    return messageText();
  return static_cast<const QLineEdit *>(field)->text();
}

void frmNagScreen2::setTextOf(QObject *field, const QString &text)
{
  if (field == txtMessage)
    txtMessage->setPlainText(text);
  else
    static_cast<QLineEdit *>(field)->setText(text);
}

void frmNagScreen2::field_GotFocus(QObject *field)
{
  if (TrimSpaces(textOf(field)) == placeholderOf(field))
    setTextOf(field, QString());
}

void frmNagScreen2::field_LostFocus(QObject *field)
{
  if (TrimSpaces(textOf(field)).isEmpty())
    setTextOf(field, placeholderOf(field));
}

bool frmNagScreen2::eventFilter(QObject *watched, QEvent *event)
{
  switch (event->type()) {
  case QEvent::FocusIn:
    if (movedWithinWindow(event))
      field_GotFocus(watched);
    break;
  case QEvent::FocusOut:
    if (movedWithinWindow(event))
      field_LostFocus(watched);
    break;
  case QEvent::KeyPress: {
    const QString typed = static_cast<QKeyEvent *>(event)->text();
    if (typed.size() != 1 || (watched != txtEmail && watched != txtFriendEmail))
      break;
    int KeyAscii = typed.at(0).unicode();
    if (watched == txtEmail)
      txtEmail_KeyPress(KeyAscii);
    else
      txtFriendEmail_KeyPress(KeyAscii);
    if (KeyAscii == 0)
      return true;
    break;
  }
  default:
    break;
  }
  return Form::eventFilter(watched, event);
}

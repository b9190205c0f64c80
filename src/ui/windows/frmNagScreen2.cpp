#include "ui/windows/frmNagScreen2.h"

#include "config.h"
#include "content/content.h"
#include "core/webpages.h"
#include "platform/desktop.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/referafriend.h"
#include "ui/shutdown.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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

constexpr int AppealCount = 4;

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

template <class Frame> Frame *navyFrame(Frame *frame, const QString &name, const QRect &place)
{
  named(frame, name);
  frame->setGeometry(place);
  frame->setFont(verdana(9.75, Bold));
  paint(frame, White, Navy);
  return frame;
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

  Frame2 = navyFrame(new ReferAFriend(area), QStringLiteral("Frame2"), Frame2Place);

  Frame6 = navyFrame(new QGroupBox(QStringLiteral("Download Quorrin Softwares"), area),
                     QStringLiteral("Frame6"), Frame6Place);
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
  setTabOrder(Check1, Frame2->txtName);
  setTabOrder(Frame2->txtName, Frame2->cmdSubmit);
  setTabOrder(Frame2->cmdSubmit, Frame2->txtEmail);
  setTabOrder(Frame2->txtEmail, Frame2->txtFriendEmail);
  setTabOrder(Frame2->txtFriendEmail, Frame2->txtFriendName);
  setTabOrder(Frame2->txtFriendName, Frame2->txtMessage);
  cmdClose->setFocus();

  connect(cmdClose, &QPushButton::clicked, this, &frmNagScreen2::cmdClose_Click);
  // Every change of the tick, as a click, a key or a screen reader's toggle
  // makes it, runs Check1_Click, which clears the tick again.
  connect(Check1, &QPushButton::toggled, this, &frmNagScreen2::Check1_Click);
  connect(lblGoToHome, &LinkLabel::clicked, this, [] { OpenWebPage(PageKey::Catalogue); });
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

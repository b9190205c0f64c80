#include "ui/windows/frmMain.h"

#include "core/messageboxes.h"
#include "core/savedreading.h"
#include "core/signtable.h"
#include "core/trim.h"
#include "ui/brandoffers.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmNagScreen2.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Look;

namespace {
constexpr QSize ClientSize = twipsSize(6120, 4380);
constexpr QRect Label61Place = twips(645, 0, 4830, 585);
constexpr QRect Label3Place = twips(113, 840, 5895, 495);
constexpr QRect DetailsPlace = twips(578, 1515, 4965, 1815);
constexpr QRect NameLabelPlace = twips(480, 480, 0, 0);
constexpr QRect NamePlace = twips(1410, 405, 3345, 345);
constexpr QRect MonthLabelPlace = twips(180, 930, 0, 0);
constexpr QRect MonthPlace = twips(1410, 855, 1455, 330);
constexpr QRect ProceedPlace = twips(210, 1320, 4545, 375);
// Below the client area: never seen, still reached by Tab and Alt+O.
constexpr QRect OpenPlace = twips(240, 5040, 4845, 375);
constexpr QRect FullBrandFramePlace = twips(8, 3360, 6105, 1000);
constexpr QRect OfferPlace = twips(120, 120, 5865, 855);

const QString Invitation = QStringLiteral(
    "Are you a Wombat? Or a Koala? Know More about your Australian Astrology Animal Sign "
    "with this software.");
} // namespace

frmMain::frmMain() : Form(QStringLiteral("frmMain"), QStringLiteral("Main window"), ClientSize)
{
  QWidget *area = client();
  paint(area, White, DarkGreen);
  area->setFont(verdana(8.25));

  Label61 = makeForumInvitation(area, Label61Place);

  Label3 =
      label(area, QStringLiteral("Label3"), Invitation, Label3Place, verdana(8.25, Bold), Yellow);
  Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label3->setWordWrap(true);

  fraDetails =
      named(new QGroupBox(QStringLiteral("Personal Details"), area), QStringLiteral("fraDetails"));
  fraDetails->setGeometry(DetailsPlace);
  fraDetails->setFont(verdana(9, Bold));
  paint(fraDetails, Orange);

  Label1 = label(fraDetails, QStringLiteral("Label1"), QStringLiteral("Name"), NameLabelPlace,
                 verdana(8.25, Bold), Orange);

  txtName = named(new QLineEdit(fraDetails), QStringLiteral("txtName"));
  txtName->setGeometry(NamePlace);
  txtName->setFont(verdana(8.25));
  txtName->setMaxLength(LongestSavedName);
  // The captions beside the boxes name them to a screen reader.
  Label1->setBuddy(txtName);

  Label2 = label(fraDetails, QStringLiteral("Label2"), QStringLiteral("Birth Month"),
                 MonthLabelPlace, verdana(8.25, Bold), Orange);

  cboMonth = named(new QComboBox(fraDetails), QStringLiteral("cboMonth"));
  cboMonth->setEditable(false);
  cboMonth->setGeometry(MonthPlace);
  cboMonth->setFont(verdana(9));
  Label2->setBuddy(cboMonth);

  cmdProceed =
      named(new QPushButton(QStringLiteral("&Find My Australian Astrology Sign"), fraDetails),
            QStringLiteral("cmdProceed"));
  cmdProceed->setGeometry(ProceedPlace);
  cmdProceed->setFont(verdana(8.25, Bold));

  cmdOpen = named(new QPushButton(QStringLiteral("&Open Previously Saved Reading"), area),
                  QStringLiteral("cmdOpen"));
  cmdOpen->setGeometry(OpenPlace);
  cmdOpen->setFont(verdana(9.75, Bold));

  const BrandOffers offers = makeBrandOffers(area, FullBrandFramePlace, OfferPlace);
  fraFullBrand = offers.fraFullBrand;
  lblCobrand = offers.lblCobrand;
  lblFullBrand = offers.lblFullBrand;

  setTabOrder(txtName, cboMonth);
  setTabOrder(cboMonth, cmdProceed);
  setTabOrder(cmdProceed, cmdOpen);
  txtName->setFocus();

  connect(cmdProceed, &QPushButton::clicked, this, &frmMain::cmdProceed_Click);
  connect(cmdOpen, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
}

void frmMain::Form_Load()
{
  cboMonth->addItems(MonthNames());
  cboMonth->setCurrentIndex(0);
}

bool frmMain::ValidateName()
{
  if (!TrimSpaces(txtName->text()).isEmpty())
    return true;
  showError(this, QStringLiteral("Please Enter Your Name"));
  txtName->setFocus();
  return false;
}

void frmMain::cmdProceed_Click()
{
  if (!ValidateName())
    return;
  auto &result = Forms::get<frmAustralianAstrologyResult>();
  result.setReading({TrimSpaces(txtName->text()), cboMonth->currentText()});
  result.showModeless();
  m_unloadingForProceed = true;
  unload();
}

void frmMain::cmdOpen_Click()
{
  if (const auto saved = ChooseSavedReading(this))
    proceedWith(*saved);
}

void frmMain::openSavedReading(const QString &path)
{
  if (const auto saved = OpenSavedReading(this, path))
    proceedWith(*saved);
}

void frmMain::proceedWith(const Reading &saved)
{
  txtName->setText(saved.userName);
  const int month =
      cboMonth->findText(saved.birthMonth, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (month >= 0)
    cboMonth->setCurrentIndex(month);
  cmdProceed_Click();
}

void frmMain::Form_Unload()
{
  if (m_unloadingForProceed)
    return;
  Forms::get<frmNagScreen2>().showModeless();
}

#include "ui/windows/frmSave.h"

#include "core/messageboxes.h"
#include "core/savedreading.h"
#include "platform/desktop.h"
#include "ui/brandoffers.h"
#include "ui/linkhook.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/readingreport.h"

#include <QFrame>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

using namespace Look;

namespace {
constexpr QSize ClientSize = twipsSize(7725, 7815);
constexpr QRect Label61Place = twips(30, 0, 7665, 585);
constexpr QRect ReportPlace = twips(30, 480, 7665, 6135);
constexpr QRect SavePlace = twips(5400, 6660, 1125, 345);
constexpr QRect PrintPlace = twips(6555, 6660, 1125, 345);
constexpr QRect FullBrandFramePlace = twips(30, 7000, 7665, 800);
constexpr QRect OfferPlace = twips(120, 120, 7425, 650);
constexpr qreal ReportPoints = 9.75;
constexpr qreal WindowPoints = 8.25;
} // namespace

frmSave::frmSave() : Form(QStringLiteral("frmSave"), QStringLiteral("Reading window"), ClientSize)
{
  QWidget *area = client();
  paint(area, White, DarkGreen);
  area->setFont(verdana(WindowPoints));

  Label61 = makeForumInvitation(area, Label61Place);

  RTB = named(new QTextEdit(area), QStringLiteral("RTB"));
  RTB->setGeometry(ReportPlace);
  RTB->setFont(verdana(ReportPoints));
  paintPage(RTB);
  RTB->setAccessibleName(QStringLiteral("Your reading"));
  RTB->setReadOnly(true);
  // Read-only, yet the reader may select with mouse and keys, and sees the
  // hand over links; opening them is the link hook's business.
  RTB->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                               Qt::LinksAccessibleByMouse);

  cmdSave = named(new QPushButton(QStringLiteral("&Save"), area), QStringLiteral("cmdSave"));
  cmdSave->setGeometry(SavePlace);
  cmdSave->setFont(sansSerif(WindowPoints));

  cmdPrint = named(new QPushButton(QStringLiteral("&Print"), area), QStringLiteral("cmdPrint"));
  cmdPrint->setGeometry(PrintPlace);

  const BrandOffers offers = makeBrandOffers(area, FullBrandFramePlace, OfferPlace);
  fraFullBrand = offers.fraFullBrand;
  lblCobrand = offers.lblCobrand;
  lblFullBrand = offers.lblFullBrand;

  setTabOrder(RTB, cmdPrint);
  setTabOrder(cmdPrint, cmdSave);
  RTB->setFocus();

  connect(cmdPrint, &QPushButton::clicked, this, &frmSave::cmdPrint_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmSave::cmdSave_Click);
}

void frmSave::Form_Load() { EnableUrlLinks(*RTB, *this); }

void frmSave::setReading(const Reading &reading)
{
  m_reading = reading;
  RTB->clear();
  WriteReadingReport(*RTB, reading.userName);
}

void frmSave::Form_Unload() { DisableUrlLinks(); }

void frmSave::cmdPrint_Click()
{
  QTextCursor caret = RTB->textCursor();
  caret.clearSelection();
  RTB->setTextCursor(caret);
  if (!desktop().printDocument(*RTB->document()))
    showError(this, QStringLiteral("The reading could not be printed."));
}

void frmSave::cmdSave_Click() { SaveReading(this, m_reading); }

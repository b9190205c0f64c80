#include "ui/windows/frmAustralianAstrologyResult.h"

#include "core/signtable.h"
#include "core/webpages.h"
#include "ui/accessibility.h"
#include "ui/brandoffers.h"
#include "ui/linklabel.h"
#include "ui/look.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"
#include "ui/windows/frmSave.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace Look;

namespace {
constexpr QSize ClientSize = twipsSize(8175, 4230);
constexpr QRect Label61Place = twips(23, 0, 8085, 435);
constexpr QRect DetailsPlace = twips(45, 480, 8085, 2505);
constexpr QRect SunSignPlace = twips(120, 360, 0, 0);
constexpr QRect AnimalPlace = twips(1320, 330, 0, 0);
constexpr QRect DescriptionPlace = twips(120, 600, 7755, 1755);
constexpr QRect BackPlace = twips(7035, 3045, 1005, 345);
constexpr QRect FullBrandFramePlace = twips(45, 3400, 8085, 800);
constexpr QRect OfferPlace = twips(60, 120, 7905, 645);
// The designed captions, replaced by the reading before the window is shown.
const QString DesignedAnimal = QStringLiteral("Label1");
const QString DesignedDescriptionAnimal = QStringLiteral("Dibbler");
} // namespace

frmAustralianAstrologyResult::frmAustralianAstrologyResult()
    : Form(QStringLiteral("frmAustralianAstrologyResult"), QStringLiteral("Result window"),
           ClientSize)
{
  QWidget *area = client();
  paint(area, White, DarkGreen);
  area->setFont(verdana(8.25));

  Label61 = makeForumInvitation(area, Label61Place);
  // The one caption that links without the hand pointer.
  Label61->setHandPointer(false);

  fraStarUserSignDetails =
      named(new QGroupBox(QStringLiteral("Quorrin Australian Astrology Result"), area),
            QStringLiteral("fraStarUserSignDetails"));
  fraStarUserSignDetails->setGeometry(DetailsPlace);
  fraStarUserSignDetails->setFont(verdana(9.75, Bold));
  paint(fraStarUserSignDetails, White);

  lblLabel[0] = label(fraStarUserSignDetails, QStringLiteral("lblLabel0"),
                      QStringLiteral("Sun Sign"), SunSignPlace, verdana(8.25, Bold), Orange);
  lblResult[0] = label(fraStarUserSignDetails, QStringLiteral("lblResult0"), DesignedAnimal,
                       AnimalPlace, verdana(9.75, Bold), Yellow);
  lblResult[1] =
      label(fraStarUserSignDetails, QStringLiteral("lblResult1"),
            SignDescription(DesignedDescriptionAnimal), DescriptionPlace, verdana(8.25), Orange);
  lblResult[1]->setWordWrap(true);
  lblResult[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The Back button keeps the focus: a screen reader hears the reading with the window.
  Accessibility::describeWindowBy(this, {lblLabel[0], lblResult[0], lblResult[1]});

  cmdBack = named(new QPushButton(QStringLiteral("&Back"), area), QStringLiteral("cmdBack"));
  cmdBack->setGeometry(BackPlace);
  cmdBack->setFocus();

  const BrandOffers offers = makeBrandOffers(area, FullBrandFramePlace, OfferPlace);
  fraFullBrand = offers.fraFullBrand;
  lblCobrand = offers.lblCobrand;
  lblFullBrand = offers.lblFullBrand;

  buildMenus();

  connect(cmdBack, &QPushButton::clicked, this, &frmAustralianAstrologyResult::cmdBack_Click);
}

void frmAustralianAstrologyResult::buildMenus()
{
  QMenuBar *bar = addMenuBar();
  bar->setFont(QFont()); // the menus keep the desktop's font
  const auto entry = [](QMenu *menu, const QString &name, const QString &caption) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  const auto menu = [bar](const QString &name, const QString &caption) {
    QMenu *menu = named(bar->addMenu(caption), name);
    // An open menu is named as its entry in the bar.
    menu->setAccessibleName(Accessibility::withoutAccessKey(caption));
    return menu;
  };

  QMenu *mnuFile = menu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
  mnuPrint = entry(mnuFile, QStringLiteral("mnuPrint"), QStringLiteral("&Print"));
  mnuBack = entry(mnuFile, QStringLiteral("mnuBack"), QStringLiteral("&Back"));
  mnuFile->addSeparator();
  mnuExit = entry(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("E&xit"));

  QMenu *mnuHelp = menu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
  mnuOnline = entry(mnuHelp, QStringLiteral("mnuOnline"), QStringLiteral("&Online Help"));
  mnuVisit = entry(mnuHelp, QStringLiteral("mnuVisit"), QStringLiteral("&Visit Us Online"));
  mnuHelp->addSeparator();
  mnuUpdate =
      entry(mnuHelp, QStringLiteral("mnuUpdate"), QStringLiteral("Check for Software &Update"));
  mnuHelp->addSeparator();
  mnuAbout = entry(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("&About Software"));

  mnuDonate = bar->addAction(QStringLiteral("&Donate"));
  mnuDonate->setObjectName(QStringLiteral("mnuDonate"));
  // Shown but never available.
  mnuMakeMoney = bar->addAction(QStringLiteral("Make Money &Online"));
  mnuMakeMoney->setObjectName(QStringLiteral("mnuMakeMoney"));
  mnuMakeMoney->setEnabled(false);

  connect(mnuPrint, &QAction::triggered, this, &frmAustralianAstrologyResult::cmdPrint_Click);
  connect(mnuBack, &QAction::triggered, this, &frmAustralianAstrologyResult::cmdBack_Click);
  connect(mnuExit, &QAction::triggered, this, &frmAustralianAstrologyResult::cmdExit_Click);
  connect(mnuOnline, &QAction::triggered, this, [] { OpenWebPage(PageKey::Help); });
  connect(mnuVisit, &QAction::triggered, this, [] { OpenWebPage(PageKey::Home); });
  connect(mnuUpdate, &QAction::triggered, this, [] { OpenWebPage(PageKey::Download); });
  connect(mnuAbout, &QAction::triggered, this, [] { Forms::get<frmAbout>().showModal(); });
  connect(mnuDonate, &QAction::triggered, this, [] { OpenWebPage(PageKey::Donate); });
  connect(mnuMakeMoney, &QAction::triggered, this, [] { OpenWebPage(PageKey::FullyBranded); });
}

void frmAustralianAstrologyResult::cmdBack_Click()
{
  m_unloadingForBack = true;
  unload();
  Forms::get<frmMain>().showModeless();
  Forms::get<frmNagScreen2>().hideForm();
}

void frmAustralianAstrologyResult::setReading(const Reading &reading)
{
  m_reading = reading;
  const auto animal = AnimalForMonth(reading.birthMonth);
  if (!animal)
    return;
  lblResult[0]->setText(animal->toUpper());
  lblResult[0]->adjustSize();
  lblResult[1]->setText(SignDescription(*animal));
}

void frmAustralianAstrologyResult::cmdPrint_Click()
{
  auto &readingWindow = Forms::get<frmSave>();
  readingWindow.setReading(m_reading);
  readingWindow.showModal();
}

void frmAustralianAstrologyResult::cmdExit_Click() { unload(); }

void frmAustralianAstrologyResult::Form_Unload()
{
  if (m_unloadingForBack)
    return;
  Forms::get<frmNagScreen2>().showModeless();
}

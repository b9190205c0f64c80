#include "ui/windows/frmAbout.h"

#include "config.h"
#include "content/content.h"
#include "core/webpages.h"
#include "ui/linklabel.h"
#include "ui/look.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Look;

namespace {
constexpr QSize ClientSize = twipsSize(7095, 3015);
constexpr QRect IconPlace = twips(60, 60, 480, 480);
constexpr QRect TitlePlace = twips(720, 60, 0, 0);
constexpr QRect DescriptionPlace = twips(720, 390, 6195, 855);
constexpr QRect HomePagePlace = twips(2865, 1245, 0, 0);
constexpr QRect FullBrandPlace = twips(105, 1680, 6885, 435);
constexpr QRect CobrandPlace = twips(4620, 2115, 0, 0);
// A rule two pixels thick, centred on its designed line from x -30 to 7080.
constexpr QRect Line2Place = twips(-30, 2535, 7110, 30);
constexpr QRect OKPlace = twips(5655, 2640, 1260, 345);
const QColor &RuleColour = Black;

LinkLabel *link(QWidget *parent, const QString &name, const QString &text,
                const QString &description, const QRect &place)
{
  auto *result = named(new LinkLabel(parent), name);
  result->setText(text);
  result->setAccessibleDescription(description);
  result->setTextFormat(Qt::PlainText);
  result->setFont(verdana(8.25, Underlined));
  paint(result, BrightGreen);
  result->move(place.topLeft());
  result->adjustSize();
  return result;
}
} // namespace

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout"), QStringLiteral("About window"), ClientSize)
{
  QWidget *area = client();
  paint(area, White, DarkGreen);
  area->setFont(verdana(8.25));

  picIcon = named(new QLabel(area), QStringLiteral("picIcon"));
  picIcon->setGeometry(IconPlace);
  picIcon->setPixmap(Content::applicationPixmap());

  Label2 =
      label(area, QStringLiteral("Label2"), WindowTitle, TitlePlace, verdana(9.75, Bold), White);

  Label1 = label(area, QStringLiteral("Label1"), Content::text(QStringLiteral("about-description")),
                 DescriptionPlace, verdana(8.25), Orange);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  lblHomePage =
      link(area, QStringLiteral("lblHomePage"), Content::text(QStringLiteral("about-homepage")),
           QStringLiteral("Opens the maker's web site in your web browser"), HomePagePlace);

  Label3 = label(area, QStringLiteral("Label3"), Content::text(QStringLiteral("about-fullbrand")),
                 FullBrandPlace, verdana(8.25, Bold), White);
  Label3->setWordWrap(true);
  Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  lblCobrand =
      link(area, QStringLiteral("lblCobrand"), QStringLiteral("Click here for more details"),
           QStringLiteral("Opens the full-branding offer in your web browser"), CobrandPlace);

  Line2 = named(new QFrame(area), QStringLiteral("Line2"));
  Line2->setGeometry(Line2Place);
  paint(Line2, RuleColour, RuleColour);

  cmdOK = named(new QPushButton(QStringLiteral("OK"), area), QStringLiteral("cmdOK"));
  cmdOK->setGeometry(OKPlace);
  cmdOK->setDefault(true);
  cmdOK->setFocus();

  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
  connect(lblHomePage, &LinkLabel::clicked, this, [] { OpenWebPage(PageKey::Home); });
  // Beside the full-branding text this label leads to that offer, not to the
  // co-branding one that labels of the same name open elsewhere.
  connect(lblCobrand, &LinkLabel::clicked, this, [] { OpenWebPage(PageKey::FullyBranded); });
}

void frmAbout::cmdOK_Click() { unload(); }

void frmAbout::keyPressEvent(QKeyEvent *event)
{
  // cmdOK is both the default and the cancel button: Enter and Esc press it
  // wherever the focus is.
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Escape:
    cmdOK->click();
    break;
  default:
    Form::keyPressEvent(event);
  }
}

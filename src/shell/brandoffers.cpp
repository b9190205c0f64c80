#include "shell/brandoffers.h"

#include "content/content.h"
#include "shell/linklabel.h"
#include "shell/look.h"

#include <QFrame>

using namespace Look;

LinkLabel *makeLink(QWidget *parent, const QString &name, const QString &text, const QRect &place)
{
  auto *link = named(new LinkLabel(parent), name);
  link->setText(text);
  link->setTextFormat(Qt::PlainText);
  link->setGeometry(place);
  link->setFont(verdana(8.25, Bold | Underlined));
  link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  link->setWordWrap(true);
  paint(link, White);
  return link;
}

LinkLabel *makeForumInvitation(QWidget *parent, const QRect &place)
{
  return makeLink(parent, QStringLiteral("Label61"),
                  Content::text(QStringLiteral("forum-invitation")), place);
}

BrandOffers makeBrandOffers(QWidget *parent, const QRect &framePlace, const QRect &offerPlace)
{
  BrandOffers offers{};
  offers.fraFullBrand = named(new QFrame(parent), QStringLiteral("fraFullBrand"));
  offers.fraFullBrand->setGeometry(framePlace);
  paint(offers.fraFullBrand, White, DarkGreen);
  const auto offer = [&](const QString &name, const QString &textName) {
    LinkLabel *link = makeLink(offers.fraFullBrand, name, Content::text(textName), offerPlace);
    paint(link, White, DarkGreen);
    return link;
  };
  offers.lblCobrand = offer(QStringLiteral("lblCobrand"), QStringLiteral("cobrand-offer"));
  offers.lblFullBrand = offer(QStringLiteral("lblFullBrand"), QStringLiteral("fullbrand-offer"));
  return offers;
}

#include "ui/brandoffers.h"

#include "content/content.h"
#include "core/webpages.h"
#include "ui/linklabel.h"
#include "ui/look.h"

#include <QFrame>

using namespace Look;

LinkLabel *makeLink(QWidget *parent, const QString &name, const QString &text,
                    const QString &description, const QRect &place)
{
  auto *link = named(new LinkLabel(parent), name);
  link->setText(text);
  link->setAccessibleDescription(description);
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
  LinkLabel *link =
      makeLink(parent, QStringLiteral("Label61"), Content::text(QStringLiteral("forum-invitation")),
               QStringLiteral("Opens the maker's forum in your web browser"), place);
  QObject::connect(link, &LinkLabel::clicked, link, [] { OpenWebPage(PageKey::Home); });
  return link;
}

BrandOffers makeBrandOffers(QWidget *parent, const QRect &framePlace, const QRect &offerPlace)
{
  BrandOffers offers{};
  offers.fraFullBrand = named(new QFrame(parent), QStringLiteral("fraFullBrand"));
  offers.fraFullBrand->setGeometry(framePlace);
  paint(offers.fraFullBrand, White, DarkGreen);
  const auto offer = [&](const QString &name, const QString &textName, const QString &pageKey,
                         const QString &description) {
    LinkLabel *link =
        makeLink(offers.fraFullBrand, name, Content::text(textName), description, offerPlace);
    paint(link, White, DarkGreen);
    QObject::connect(link, &LinkLabel::clicked, link, [pageKey] { OpenWebPage(pageKey); });
    return link;
  };
  offers.lblCobrand =
      offer(QStringLiteral("lblCobrand"), QStringLiteral("cobrand-offer"), PageKey::CoBrand,
            QStringLiteral("Opens the co-branding offer in your web browser"));
  offers.lblFullBrand = offer(QStringLiteral("lblFullBrand"), QStringLiteral("fullbrand-offer"),
                              PageKey::FullyBranded,
                              QStringLiteral("Opens the full-branding offer in your web browser"));
  return offers;
}

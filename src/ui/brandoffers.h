#pragma once

#include <QRect>

class LinkLabel;
class QFrame;
class QWidget;

// A link caption: white, bold, underlined Verdana 8.25, centred and wrapped;
// opaque when given a background. A screen reader reads the caption and then
// the description of what pressing it does.
LinkLabel *makeLink(QWidget *parent, const QString &name, const QString &text,
                    const QString &description, const QRect &place);

// The invitation to the maker's forum that heads several windows; it opens
// the home page.
LinkLabel *makeForumInvitation(QWidget *parent, const QRect &place);

// The two offers that share one place in a dark green frame, so that only the
// one in front is seen and clicked; each opens its offer's page. They are laid
// out with the full-branding offer in front.
struct BrandOffers {
  QFrame *fraFullBrand;
  LinkLabel *lblCobrand;
  LinkLabel *lblFullBrand;
};
BrandOffers makeBrandOffers(QWidget *parent, const QRect &framePlace, const QRect &offerPlace);

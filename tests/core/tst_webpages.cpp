#include "config.h"
#include "core/webpages.h"
#include "support/scripteddesktop.h"

#include <QSet>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

class WebPagesTest : public QObject {
  Q_OBJECT

private slots:
  void everyPageOpensOnTheProductSiteEachTime()
  {
    const ScriptedDesktop scripted;
    const QStringList keys{PageKey::Home,      PageKey::Help,        PageKey::Download,
                           PageKey::Donate,    PageKey::CoBrand,     PageKey::FullyBranded,
                           PageKey::Catalogue, PageKey::ReferAFriend};
    QSet<QString> addresses;
    for (const QString &key : keys) {
      OpenWebPage(key);
      OpenWebPage(key);
      QCOMPARE(scripted.openedUrls.size(), 2 * (addresses.size() + 1));
      const QString address = scripted.openedUrls.constLast();
      QCOMPARE(scripted.openedUrls.at(scripted.openedUrls.size() - 2), address);
      QVERIFY2(address.startsWith(ProductBaseUrl), qPrintable(address));
      const QUrl url(address, QUrl::StrictMode);
      QVERIFY2(url.isValid(), qPrintable(address));
      QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("page")), key);
      addresses << address;
    }
    QCOMPARE(addresses.size(), keys.size());
  }
};

QTEST_GUILESS_MAIN(WebPagesTest)
#include "tst_webpages.moc"

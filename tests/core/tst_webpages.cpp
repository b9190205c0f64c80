#include "core/tellafriend.h"
#include "core/webpages.h"
#include "support/scripteddesktop.h"

#include <QtTest>

class WebPagesTest : public QObject {
  Q_OBJECT

private slots:
  void everyKeyOpensItsPageEachTime()
  {
    const ScriptedDesktop scripted;
    const QList<QPair<QString, QString>> pages{{PageKey::Home, "home-page"},
                                               {PageKey::Help, "help-web-page"},
                                               {PageKey::Download, "download-web-page"},
                                               {PageKey::Donate, "donate"},
                                               {PageKey::CoBrand, "co-brand"},
                                               {PageKey::FullyBranded, "fully-branded"},
                                               {PageKey::Catalogue, "quorrinsoftwares"},
                                               {PageKey::ReferAFriend, "quorrin-refer-a-friend"}};
    for (const auto &[key, written] : pages) {
      OpenWebPage(key);
      OpenWebPage(key);
      const QString address = ProductBaseUrl + "ssd.php?page=" + written;
      QCOMPARE(scripted.openedUrls.mid(scripted.openedUrls.size() - 2),
               QStringList({address, address}));
    }
    QCOMPARE(scripted.openedUrls.size(), 2 * pages.size());
  }

  void referAFriendValuesCannotSplitOrCutTheQuery()
  {
    const TellAFriendValues values{"Ann & Bob", "ann+news@example.org", "Hi #1\r\nSee you=soon?",
                                   "Zoë", "zoe@example.net"};
    QCOMPARE(TellAFriendAddress(values),
             ProductBaseUrl + "ssd.php?page=quorrin-refer-a-friend" +
                 "&taf1=Ann%20%26%20Bob&taf2=ann%2Bnews%40example.org" +
                 "&taf3=Hi%20%231%0D%0ASee%20you%3Dsoon%3F&taf4=Zo%C3%AB" +
                 "&taf5=zoe%40example.net&taf6=" + ProductBaseUrl);
  }
};

QTEST_GUILESS_MAIN(WebPagesTest)
#include "tst_webpages.moc"

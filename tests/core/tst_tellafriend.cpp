#include "config.h"
#include "core/tellafriend.h"
#include "support/scripteddesktop.h"

#include <QtTest>

class TellAFriendTest : public QObject {
  Q_OBJECT

private slots:
  void checkReferralSaysWhatIsWrongFirst_data()
  {
    // The values as the form hands them over: spaces trimmed, the message's
    // line breaks as CR LF.
    QTest::addColumn<QStringList>("fields"); // name, e-mail, message, friend, friend's e-mail
    QTest::addColumn<QString>("refusal");    // empty: the referral may go
    const QString distinct = QStringLiteral("Please Enter Distinct Email Addresses");
    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    const QString message = QStringLiteral("Your Message\r\n");
    const auto row = [](const char *name, const QStringList &fields, const QString &refusal) {
      QTest::newRow(name) << fields << refusal;
    };
    row("untouched",
        {"Your Name", "Your Email Address", message, "Friend's Name", "Friend's Email Address"},
        proper);
    row("both empty", {"Your Name", "", "", "", ""}, distinct);
    row("same address", {"Ann", "a@x.org", message, "Bob", "a@x.org"}, distinct);
    row("only case differs", {"Ann", "A@x.org", message, "Bob", "a@x.org"}, "");
    row("no @", {"Ann", "a@x.org", message, "Bob", "b.x.org"}, proper);
    row("no .", {"Ann", "a@xorg", message, "Bob", "b@x.org"}, proper);
    row("@ and . anywhere", {"Ann", ".a@", message, "Bob", "@b."}, "");
    row("name unfilled", {"Your Name", "a@x.org", "", "", "b@x.org"}, "Please Enter Your Name");
    row("name of spaces", {"  ", "a@x.org", message, "Bob", "b@x.org"}, "Please Enter Your Name");
    row("message emptied", {"Ann", "a@x.org", "Your Message", "", "b@x.org"},
        "Please Enter Your Message");
    row("friend unfilled", {"Ann", "a@x.org", message, "Friend's Name", "b@x.org"},
        "Please Enter Your Friend's Name");
    row("a line break is a message", {"Ann", "a@x.org", "\r\n", "Bob", "b@x.org"}, "");
  }

  void checkReferralSaysWhatIsWrongFirst()
  {
    QFETCH(QStringList, fields);
    QFETCH(QString, refusal);
    const ScriptedDesktop scripted;
    const TellAFriendValues values{fields.at(0), fields.at(1), fields.at(2), fields.at(3),
                                   fields.at(4)};
    QCOMPARE(checkReferral(values).value_or(QString()), refusal);
  }

  // An address the browser cannot be handed whole is refused, not cut short.
  void anAddressTooLongForTheBrowserIsRefused()
  {
    ScriptedDesktop scripted;
    const TellAFriendValues values{QString(100, QChar(0x00e9)), "a@x.org", "Hi", "Bob", "b@x.org"};
    const qsizetype length = TellAFriendAddress(values).size();
    scripted.longestAddress = length;
    QVERIFY(!checkReferral(values));
    scripted.longestAddress = length - 1;
    QCOMPARE(checkReferral(values),
             QStringLiteral("Your entries are too long to send. Please shorten them."));
  }

  void valuesCannotSplitOrCutTheQuery()
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

QTEST_GUILESS_MAIN(TellAFriendTest)
#include "tst_tellafriend.moc"

#include "core/tellafriend.h"

#include "config.h"
#include "core/trim.h"
#include "core/webpages.h"
#include "platform/desktop.h"

#include <QUrl>

QString TafName;
QString TafEmail;
QString TafMessage;
QString TafFriendName;
QString TafFriendEmail;
QString TafUrl;

namespace {

// Every byte but the unreserved ASCII letters, digits and "-._~" is escaped, so
// that "&", "#", "+", spaces and line breaks typed by the user can neither
// split the query nor cut it short.
QString encoded(const QString &value)
{
  return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

const QString TooLongToSend = QStringLiteral("Your entries are too long to send. Please shorten them.");

bool unfilled(const QString &value, const QString &placeholder)
{
  const QString trimmed = TrimSpaces(value);
  return trimmed.isEmpty() || trimmed == placeholder;
}

} // namespace

QString TellAFriendAddress(const TellAFriendValues &values)
{
  return PageAddress(PageKey::ReferAFriend) + QStringLiteral("&taf1=") + encoded(values.name) +
         QStringLiteral("&taf2=") + encoded(values.email) + QStringLiteral("&taf3=") +
         encoded(values.message) + QStringLiteral("&taf4=") + encoded(values.friendName) +
         QStringLiteral("&taf5=") + encoded(values.friendEmail) + QStringLiteral("&taf6=") +
         ProductBaseUrl;
}

void RefuseTellAFriend(QWidget *form, const QString &message)
{
  desktop().messageBox(form, message, MessageIcon::Critical, MessageButtons::Ok, AppTitle);
}

void SubmitTellAFriend(QWidget *form)
{
  if (unfilled(TafName, TafPlaceholder::Name)) {
    RefuseTellAFriend(form, QStringLiteral("Please Enter Your Name"));
    return;
  }
  if (unfilled(TafMessage, TafPlaceholder::Message)) {
    RefuseTellAFriend(form, QStringLiteral("Please Enter Your Message"));
    return;
  }
  if (unfilled(TafFriendName, TafPlaceholder::FriendName)) {
    RefuseTellAFriend(form, QStringLiteral("Please Enter Your Friend's Name"));
    return;
  }
  TafUrl = TellAFriendAddress({TafName, TafEmail, TafMessage, TafFriendName, TafFriendEmail});
  // Each value goes whole or not at all: an address cut short would send
  // a message the user did not write.
  if (TafUrl.size() > desktop().longestWebAddress()) {
    RefuseTellAFriend(form, TooLongToSend);
    return;
  }
  OpenTellAFriendPage();
}

void OpenTellAFriendPage() { LaunchUrl(TafUrl); }

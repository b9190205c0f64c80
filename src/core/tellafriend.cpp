#include "core/tellafriend.h"

#include "config.h"
#include "core/trim.h"
#include "core/webpages.h"
#include "platform/desktop.h"

#include <QUrl>

namespace {

// Every byte but the unreserved ASCII letters, digits and "-._~" is escaped, so
// that "&", "#", "+", spaces and line breaks typed by the user can neither
// split the query nor cut it short.
QString encoded(const QString &value)
{
  return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

bool unfilled(const QString &value, const QString &placeholder)
{
  const QString trimmed = TrimSpaces(value);
  return trimmed.isEmpty() || trimmed == placeholder;
}

bool bothContain(const TellAFriendValues &values, QChar mark)
{
  return values.email.contains(mark) && values.friendEmail.contains(mark);
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

std::optional<QString> checkReferral(const TellAFriendValues &values)
{
  if (values.email == values.friendEmail)
    return QStringLiteral("Please Enter Distinct Email Addresses");
  if (!bothContain(values, QLatin1Char('@')) || !bothContain(values, QLatin1Char('.')))
    return QStringLiteral("Please Enter Proper Email Address");
  if (unfilled(values.name, TafPlaceholder::Name))
    return QStringLiteral("Please Enter Your Name");
  if (unfilled(values.message, TafPlaceholder::Message))
    return QStringLiteral("Please Enter Your Message");
  if (unfilled(values.friendName, TafPlaceholder::FriendName))
    return QStringLiteral("Please Enter Your Friend's Name");
  // Each value goes whole or not at all: an address cut short would send a
  // message the user did not write.
  if (TellAFriendAddress(values).size() > desktop().longestWebAddress())
    return QStringLiteral("Your entries are too long to send. Please shorten them.");
  return std::nullopt;
}

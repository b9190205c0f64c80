#pragma once

#include <QString>

#include <optional>

// The refer-a-friend submission: the closing screen's form fills the values,
// each without leading and trailing spaces; the checks say what the user is
// told, and the address carries the values to the maker's site.

// Each field of the form holds its own caption until the user types into it.
namespace TafPlaceholder {
inline const QString Name = QStringLiteral("Your Name");
inline const QString Email = QStringLiteral("Your Email Address");
inline const QString FriendName = QStringLiteral("Friend's Name");
inline const QString FriendEmail = QStringLiteral("Friend's Email Address");
inline const QString Message = QStringLiteral("Your Message");
} // namespace TafPlaceholder

struct TellAFriendValues {
  QString name;
  QString email;
  QString message;
  QString friendName;
  QString friendEmail;
};

// The submission address: the refer-a-friend page with the five values as the
// keys taf1 to taf5, each percent-encoded as UTF-8, and the product's folder as
// taf6.
QString TellAFriendAddress(const TellAFriendValues &values);

// What the user is told instead of the page opening, in the order the checks
// run: two distinct e-mail addresses, each with an @ and a dot; the name, the
// message and the friend's name filled in (not empty, not their caption); an
// address no longer than the browser can be handed whole. Nothing when the
// referral may go.
std::optional<QString> checkReferral(const TellAFriendValues &values);

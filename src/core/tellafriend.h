#pragma once

#include <QString>

class QWidget;

// The refer-a-friend submission: the closing screen's form writes the public
// strings (each without leading and trailing spaces), and the submission checks
// them and opens the address that carries them to the maker's site.

extern QString TafName;
extern QString TafEmail;
extern QString TafMessage;
extern QString TafFriendName;
extern QString TafFriendEmail;
// The last submission address built.
extern QString TafUrl;

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

// Checks the sender's name, the message and the friend's name; when they are
// filled in, builds TafUrl and opens it, unless it is longer than the browser
// can be handed. A refusal is a message box over the form.
void SubmitTellAFriend(QWidget *form);
void RefuseTellAFriend(QWidget *form, const QString &message);
void OpenTellAFriendPage();

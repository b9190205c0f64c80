#pragma once

#include "config.h"

#include <QString>

// The pages of the maker's web site that the program opens, by page key.
namespace PageKey {
inline const QString Home = QStringLiteral("home-page");
inline const QString Help = QStringLiteral("help-web-page");
inline const QString Download = QStringLiteral("download-web-page");
inline const QString Donate = QStringLiteral("donate");
inline const QString CoBrand = QStringLiteral("co-brand");
inline const QString FullyBranded = QStringLiteral("fully-branded");
inline const QString Catalogue = QStringLiteral("quorrinsoftwares");
inline const QString ReferAFriend = QStringLiteral("quorrin-refer-a-friend");
} // namespace PageKey

// ProductBaseUrl + "ssd.php?page=" + key.
QString PageAddress(const QString &pageKey);

// Opens a page of the maker's site in the default browser. Whether the
// browser came up is not the program's concern: nothing is reported.
void OpenWebPage(const QString &pageKey);
void LaunchUrl(const QString &address);

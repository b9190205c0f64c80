#include "core/webpages.h"

#include "platform/desktop.h"

QString PageAddress(const QString &pageKey)
{
  return ProductBaseUrl + QStringLiteral("ssd.php?page=") + pageKey;
}

void OpenWebPage(const QString &pageKey) { LaunchUrl(PageAddress(pageKey)); }

void LaunchUrl(const QString &address) { desktop().openUrl(address); }

#include "platform/store/settingsstore.h"

std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName)
{
  // HKEY_CURRENT_USER\Software\Quorrin\<program>: where a Windows program
  // keeps what it remembers for a user, and what its uninstaller takes away.
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("Quorrin"), applicationName);
}

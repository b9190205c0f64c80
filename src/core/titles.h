#pragma once

#include <QString>

// The caption of every message box.
inline const QString AppTitle = QStringLiteral("Quorrin Australian Astrology");
inline const QString AppVersion = QStringLiteral("1.15");
// The caption of every window.
inline const QString WindowTitle = AppTitle + QStringLiteral(" v") + AppVersion;

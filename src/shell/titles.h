#pragma once

#include <QString>

// The caption of every message box.
inline const QString AppTitle = QStringLiteral("Quorrin Australian Astrology");
// The caption of every window.
inline const QString WindowTitle = QStringLiteral("Quorrin Australian Astrology v1.15");

#include "core/settings.h"

#include "core/masking.h"
#include "platform/desktop.h"

namespace {
const QString Section = QStringLiteral("Settings");
}

std::optional<QString> ReadSetting(const QString &key)
{
  const auto stored = desktop().readSetting(Section, MaskText(key));
  if (!stored)
    return std::nullopt;
  return UnmaskText(*stored);
}

bool WriteSetting(const QString &key, const QString &value)
{
  return desktop().writeSetting(Section, MaskText(key), MaskText(value));
}

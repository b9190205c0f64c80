#pragma once

#include <QString>

#include <optional>

// The program's per-user settings, all in the section "Settings", with the
// key and the value masked on their way to the store.
// ReadSetting gives the empty text for a key never written, and nothing when
// the store cannot be read; WriteSetting tells whether the value was stored.
std::optional<QString> ReadSetting(const QString &key);
bool WriteSetting(const QString &key, const QString &value);

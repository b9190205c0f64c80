#pragma once

#include <QSettings>
#include <QString>

#include <optional>

constexpr QSettings::Format SettingsFormat = QSettings::IniFormat;

// The settings file the program can use, in the user's configuration folder
// under the application's name: the file as it is when it reads back whole or
// is not there yet, else a fresh one once the old one is set aside under a
// name of its own (".damaged", then ".damaged-2", ...), so that nothing the
// user had is lost. Nothing when even that fails.
std::optional<QString> usableSettingsFile(const QString &applicationName);

#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The user's settings store of the program, named after it. On Linux it is a
// file in the user's configuration folder, used as it is when it reads back
// whole or is not there yet, else a fresh one once the old one is set aside
// under a name of its own (".damaged", then ".damaged-2", ...), so that
// nothing the user had is lost. On Windows it is the program's key in the
// user's part of the registry. Nothing when the store cannot be used.
std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName);

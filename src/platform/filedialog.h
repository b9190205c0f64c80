#pragma once

#include "platform/desktop.h"

#include <QString>

class QWidget;

enum class FileDialogMode { Open, Save };

// Asks for a file with the system's open or save dialog, over the owner and
// starting in the folder: the chosen path, or nothing when the user cancels.
// Neither dialog keeps anything of its own anywhere but in the program's own
// folders.
QString askForFile(QWidget *owner, const FileDialogRequest &request, FileDialogMode mode,
                   const QString &folder);

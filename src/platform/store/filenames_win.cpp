#include "platform/store/filenames.h"

#include <QFileInfo>

// Windows names are UTF-16 throughout, which QString holds whole.
QString absoluteFileName(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

QString localFileOf(const QUrl &address) { return address.toLocalFile(); }

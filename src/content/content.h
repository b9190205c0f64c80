#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The texts and images that are data, compiled in from src/content/.
namespace Content {

// A text by its file name under text/, without ".txt"; "{site}" in it stands
// for the maker's web address.
QString text(const QString &name);

// The twelve sign descriptions, January first.
QStringList signDescriptions();

// The application icon in every size it is drawn in, and its 32-pixel image,
// which the about window and the closing screen show.
QIcon applicationIcon();
QPixmap applicationPixmap();

} // namespace Content

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The whole content of a regular file of at most `largest` bytes. Nothing
// when the path names no regular file (a named pipe, a device, a folder),
// when the file cannot be opened or is larger. The file is opened without
// waiting and then checked through the same handle, so that nothing put in
// its place meanwhile can hold the caller up; no more than `largest` + 1
// bytes are ever read, however large the file or however it grows.
std::optional<QByteArray> readBoundedFile(const QString &path, qint64 largest);

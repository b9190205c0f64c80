#include "support/filefaults.h"

bool makeNamedPipe(const QString & /*path*/) { return false; }

void passWriterThrough(const QString & /*path*/) {}

bool makeSymbolicLink(const QString & /*target*/, const QString & /*link*/) { return false; }

struct FileSizeLimit::Saved {};

FileSizeLimit::FileSizeLimit(qint64 /*bytes*/) {}

FileSizeLimit::~FileSizeLimit() = default;

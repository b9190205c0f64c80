#pragma once

#include <QString>

#include <memory>

// Things a test puts in the program's way on purpose, where the system has
// them. Each says false where it has none, and the test skips with a reason.

// A named pipe at the path, with no writer. Windows keeps its named pipes
// apart from files and folders, so none can stand at a file's path.
bool makeNamedPipe(const QString &path);

// A writer that comes and goes on the pipe at the path: a read that waits for
// one ends.
void passWriterThrough(const QString &path);

// A symbolic link at `link` to `target`. Windows lets only a privileged user
// make one.
bool makeSymbolicLink(const QString &target, const QString &link);

// While it lives, a write past the first `bytes` of any file of this process
// fails, as on a full disk, even for root.
class FileSizeLimit {
public:
  explicit FileSizeLimit(qint64 bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit &) = delete;
  FileSizeLimit &operator=(const FileSizeLimit &) = delete;

  // False where the system limits no process's files.
  bool holds() const { return m_saved != nullptr; }

private:
  struct Saved;
  std::unique_ptr<Saved> m_saved;
};

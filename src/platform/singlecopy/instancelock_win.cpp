#include "platform/singlecopy/instancelock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <windows.h>

namespace {

// Each round either takes the lock or puts aside a folder that stood in its
// place; more than a few means something keeps the way blocked.
constexpr int Rounds = 4;

HANDLE asHandle(qintptr handle) { return reinterpret_cast<HANDLE>(handle); } // NOLINT

const wchar_t *wide(const QString &text) { return reinterpret_cast<const wchar_t *>(text.utf16()); }

// Who holds the lock, for a person who looks: process id, program, computer.
void describeHolder(HANDLE file)
{
  const QByteArray holder = QByteArray::number(QCoreApplication::applicationPid()) + "\r\n" +
                            QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() +
                            "\r\n" + QSysInfo::machineHostName().toUtf8() + "\r\n";
  DWORD written = 0;
  // A lock that says nothing still locks.
  if (SetEndOfFile(file))
    WriteFile(file, holder.constData(), static_cast<DWORD>(holder.size()), &written, nullptr);
}

} // namespace

QStringList instanceLockFolders()
{
  // The user's local application data: theirs alone, and never carried to
  // another computer with a roaming profile.
  return {QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)};
}

InstanceLock::Claim InstanceLock::claim()
{
  release();
  // A named pipe beside the lock file: the folder is the user's own, and the
  // pipe's name may be any text without a backslash.
  m_handoffName = QFileInfo(m_path).path() + QLatin1Char('/') +
                  QFileInfo(m_path).completeBaseName() + QLatin1String(".socket");
  const QString path = QDir::toNativeSeparators(m_path);
  for (int round = 0; round < Rounds; ++round) {
    // A folder or a link where the lock belongs is kept whole under another
    // name: a link itself, never what it points to.
    const DWORD standing = GetFileAttributesW(wide(path));
    constexpr DWORD NoLockFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (standing != INVALID_FILE_ATTRIBUTES && (standing & NoLockFile) != 0) {
      if (!MoveFileW(wide(path), wide(path + QLatin1String(".damaged"))))
        return Claim::Unusable;
      continue;
    }
    // Opened for writing and shared for reading only: a second copy that
    // opens it for writing gets a sharing violation until this handle is
    // closed, which Windows does when the process ends, however it ends,
    // while anyone may read who holds it.
    HANDLE file = CreateFileW(wide(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_ACCESS_DENIED)
        continue; // a folder put there since the look above, say
      return error == ERROR_SHARING_VIOLATION ? Claim::HeldByAnotherCopy : Claim::Unusable;
    }
    describeHolder(file);
    m_handle = reinterpret_cast<qintptr>(file); // NOLINT
    return Claim::Claimed;
  }
  return Claim::Unusable;
}

void InstanceLock::release()
{
  if (m_handle == -1)
    return;
  CloseHandle(asHandle(m_handle));
  m_handle = -1;
  // Once closed, the file goes, unless another copy has taken it meanwhile:
  // its handle shares no deleting. A copy that crashed leaves the file,
  // which the next start takes over.
  DeleteFileW(wide(QDir::toNativeSeparators(m_path)));
}

#include "platform/instancelock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <windows.h>

namespace {

HANDLE asHandle(qintptr handle) { return reinterpret_cast<HANDLE>(handle); } // NOLINT

// Who holds the lock, for a person who looks: process id, program, computer.
void describeHolder(HANDLE file)
{
  const QByteArray holder =
      QByteArray::number(QCoreApplication::applicationPid()) + "\r\n" +
      QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + "\r\n" +
      QSysInfo::machineHostName().toUtf8() + "\r\n";
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
  // Opened for writing and shared for reading only: a second copy that opens
  // it for writing gets a sharing violation until this handle is closed,
  // which Windows does when the process ends, however it ends. The file goes
  // with the handle.
  const QString path = QDir::toNativeSeparators(m_path);
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                            GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_SHARING_VIOLATION ? Claim::HeldByAnotherCopy : Claim::Unusable;
  describeHolder(file);
  m_handle = reinterpret_cast<qintptr>(file); // NOLINT
  return Claim::Claimed;
}

void InstanceLock::release()
{
  if (m_handle == -1)
    return;
  CloseHandle(asHandle(m_handle));
  m_handle = -1;
}

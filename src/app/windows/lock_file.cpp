// SPDX-License-Identifier: MIT

#include "app/lock_file.h"

#include <QDir>
#include <QSysInfo>
#include <windows.h>

namespace zr {
namespace {

// The lock is a one-byte region far past the end of the file: Windows locks keep
// others from reading what they cover, and the text of the file is for reading.
constexpr DWORD kLockOffsetHigh = 0x40000000;

std::wstring widePath(const QString& path) {
  return QDir::toNativeSeparators(path).toStdWString();
}

QString systemText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString message = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed()
                               : QString("error %1").arg(error);
  ::LocalFree(text);
  return message;
}

bool lockFar(HANDLE file) {
  OVERLAPPED where{};
  where.OffsetHigh = kLockOffsetHigh;
  return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where);
}

// The process number on the first line of a held lock file; 0 when there is none.
qint64 holderNamedIn(HANDLE file) {
  char text[32] = {};
  DWORD count = 0;
  OVERLAPPED start{};
  if (!::ReadFile(file, text, sizeof text - 1, &count, &start))
    return 0;
  return QByteArray(text, int(count)).split('\n').value(0).toLongLong();
}

} // namespace

LockFile::~LockFile() {
  if (handle_ == -1)
    return;
  // Opened with delete sharing, the file goes as its handle is closed.
  ::DeleteFileW(widePath(path_).c_str());
  ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

QString LockFile::unusableText(const QString& path, qint64 maxSize) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!::GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &info))
    return {};
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
    return "it is a symbolic link";
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    return "it is a folder";
  const qint64 size = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (size > maxSize)
    return QString("it holds %1 bytes").arg(size);
  return {};
}

bool LockFile::standsThere(const QString& path) {
  return ::GetFileAttributesW(widePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

LockFile::Result LockFile::take(const QString& path, qint64 maxSize) {
  path_ = path;
  holder_ = 0;
  error_.clear();
  const HANDLE file =
      ::CreateFileW(widePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = systemText(::GetLastError());
    return Result::CannotOpen;
  }
  LARGE_INTEGER size{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size) ||
      size.QuadPart > maxSize || !unusableText(path, maxSize).isEmpty()) {
    ::CloseHandle(file);
    error_ = systemText(ERROR_INVALID_PARAMETER);
    return Result::CannotOpen;
  }
  if (!lockFar(file)) {
    const DWORD lockError = ::GetLastError();
    const bool held = lockError == ERROR_LOCK_VIOLATION || lockError == ERROR_IO_PENDING;
    holder_ = held ? holderNamedIn(file) : 0;
    ::CloseHandle(file);
    error_ = systemText(lockError);
    return held ? Result::HeldByOther : Result::CannotOpen;
  }
  // For people who look: which process on which computer holds it.
  const QByteArray content = QByteArray::number(quint64(::GetCurrentProcessId())) + "\nZRDorvel\n" +
                             QSysInfo::machineHostName().toUtf8() + '\n';
  DWORD written = 0;
  OVERLAPPED start{};
  if (!::SetEndOfFile(file) ||
      !::WriteFile(file, content.constData(), DWORD(content.size()), &written, &start) ||
      written != DWORD(content.size()))
    error_ = systemText(::GetLastError());
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return Result::Taken;
}

} // namespace zr

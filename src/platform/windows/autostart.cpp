// SPDX-License-Identifier: MIT

#include "platform/autostart.h"

#include "core/error.h"

#include <QDir>
#include <windows.h>

// On Windows the entry is the value "ZRDorvelStartUp" under the user's Run key,
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, holding the quoted
// program path followed by " -startup". The key is opened for reading and writing and
// never created: without it the entry counts as unset and is not made.

namespace zr {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = L"ZRDorvelStartUp";

// Closes the key when it goes out of scope; holds none when the key did not open.
class RunKey {
public:
  RunKey() {
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_WRITE, &key_) !=
        ERROR_SUCCESS)
      key_ = nullptr;
  }
  RunKey(const RunKey&) = delete;
  RunKey& operator=(const RunKey&) = delete;
  ~RunKey() {
    if (key_)
      ::RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

[[noreturn]] void fail() {
  throw Error("Failed to set data for 'ZRDorvelStartUp'");
}

} // namespace

bool isStartingAtLogon() {
  const RunKey key;
  return key.get() && ::RegQueryValueExW(key.get(), kValueName, nullptr, nullptr, nullptr,
                                         nullptr) == ERROR_SUCCESS;
}

void setStartingAtLogon(bool enabled, const QString& programPath) {
  const RunKey key;
  if (!key.get())
    return;
  if (!enabled) {
    const LSTATUS result = ::RegDeleteValueW(key.get(), kValueName);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
      fail();
    return;
  }
  const std::wstring command =
      ('"' + QDir::toNativeSeparators(programPath) + QStringLiteral("\" -startup")).toStdWString();
  const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
  if (::RegSetValueExW(key.get(), kValueName, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(command.c_str()), bytes) != ERROR_SUCCESS)
    fail();
}

} // namespace zr

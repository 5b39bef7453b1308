// Windows variant of platform/autostart.h: the value "ZRDorvelStartUp" under the
// current user's Run key. Built only on Windows.
#include "platform/autostart.h"

#include "core/error.h"

#include <QDir>
#include <windows.h>

namespace zr {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = L"ZRDorvelStartUp";

// The Run key opened for reading and writing, never created; nullptr when it does not open.
HKEY openRunKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

} // namespace

bool isStartingAtLogon() {
  const HKEY key = openRunKey();
  if (!key)
    return false;
  const bool exists =
      RegQueryValueExW(key, kValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return exists;
}

void setStartingAtLogon(bool enabled, const QString& programPath) {
  const HKEY key = openRunKey();
  if (!key)
    return; // without a Run key the registry is left unchanged
  LSTATUS status = ERROR_SUCCESS;
  if (enabled) {
    const std::wstring data =
        (QDir::toNativeSeparators(programPath) + QStringLiteral(" -startup")).toStdWString();
    status = RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            DWORD((data.size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key, kValueName); // a missing value is no error
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS)
    throw Error("Failed to set data for 'ZRDorvelStartUp'");
}

} // namespace zr

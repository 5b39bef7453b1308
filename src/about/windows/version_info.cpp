// SPDX-License-Identifier: MIT

#include "about/version_info.h"

#include "core/error.h"

#include <vector>
#include <windows.h>

// On Windows the version data is read from the program file's own version resource,
// the string table of language US English, code page 1252 ("040904E4").

namespace zr {
namespace {

std::wstring programFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

QString stringValue(const std::vector<char>& resource, const wchar_t* name) {
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(resource.data(), key.c_str(), &value, &length) || length == 0)
    return {};
  // The length counts the closing zero.
  return QString::fromWCharArray(static_cast<const wchar_t*>(value), length - 1);
}

} // namespace

VersionInfo programVersionInfo() {
  const std::wstring file = programFile();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
  std::vector<char> resource(size);
  if (size == 0 || !::GetFileVersionInfoW(file.c_str(), 0, size, resource.data()))
    throw Error("File contains no version information");
  return {stringValue(resource, L"FileVersion"), stringValue(resource, L"CompanyName"),
          stringValue(resource, L"LegalCopyright")};
}

QString fileVersion() {
  return programVersionInfo().fileVersion;
}

} // namespace zr

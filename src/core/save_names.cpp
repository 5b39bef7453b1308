// SPDX-License-Identifier: MIT

#include "core/save_names.h"

namespace zr {

bool isLeftoverSaveName(std::string_view name, std::string_view fileName) {
  if (!name.starts_with(fileName))
    return false;
  name.remove_prefix(fileName.size());
  if (!name.starts_with(kSaveMark))
    return false;
  name.remove_prefix(kSaveMark.size());
  if (name.size() != kSaveSuffixLength)
    return false;
  for (const char c : name) {
    const bool alphanumeric =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alphanumeric)
      return false;
  }
  return true;
}

std::string sizeText(std::size_t bytes) {
  return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

} // namespace zr

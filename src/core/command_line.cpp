// SPDX-License-Identifier: MIT

#include "core/command_line.h"

#include "core/ascii_text.h"

namespace zr {
namespace {} // namespace

bool hasCommandLineSwitch(const std::vector<std::string>& arguments, std::string_view name) {
  const std::string wanted = toUpperAscii(name);
  bool found = false;
  for (const std::string& argument : arguments) {
    if (argument.empty() || (argument.front() != '-' && argument.front() != '/'))
      continue;
    // The switch's first occurrence must start right after the "-" or "/".
    if (wanted.empty() || toUpperAscii(argument).find(wanted) != 1)
      continue;
    const std::size_t after = 1 + wanted.size();
    if (argument.size() == after || argument[after] == ':' || argument[after] == '=')
      found = true;
  }
  return found;
}

} // namespace zr

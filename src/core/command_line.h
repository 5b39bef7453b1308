// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Whether the arguments after the program name carry the switch: "-" or "/",
// the switch in any letter case, then nothing or ":" / "=" and more text.
bool hasCommandLineSwitch(const std::vector<std::string>& arguments, std::string_view name);

} // namespace zr

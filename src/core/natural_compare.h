// SPDX-License-Identifier: MIT

#pragma once

#include <string_view>

namespace zr {

// Orders texts as people read them: letters without regard to case, and runs
// of digits by their numeric value ("Item 9" before "item 10"). Gives a
// negative number, 0 or a positive number.
int naturalCompare(std::string_view left, std::string_view right);

} // namespace zr

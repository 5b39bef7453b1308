// SPDX-License-Identifier: MIT

#pragma once

#include <stdexcept>
#include <string>

namespace zr {

// A failure the user is told about. The text is the program's own error text,
// shown as it stands in the error message box.
class Error : public std::runtime_error {
public:
  explicit Error(const std::string& text) : std::runtime_error(text) {}
};

} // namespace zr

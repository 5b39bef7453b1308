// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace zr {

// Lowers the red, green and blue bytes of a 0x00BBGGRR colour by `amount`
// (clamped to 0..255), stopping each at 0. The highest byte passes through
// unchanged, so a system colour keeps its marker and has its index byte lowered.
std::uint32_t darkenColor(std::uint32_t color, int amount);

} // namespace zr

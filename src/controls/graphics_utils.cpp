// SPDX-License-Identifier: MIT

#include "controls/graphics_utils.h"

#include <algorithm>

namespace zr {

std::uint32_t darkenColor(std::uint32_t color, int amount) {
  const auto step = static_cast<std::uint32_t>(std::clamp(amount, 0, 255));
  std::uint32_t result = color & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t byte = (color >> shift) & 0xFFu;
    result |= (byte > step ? byte - step : 0u) << shift;
  }
  return result;
}

} // namespace zr

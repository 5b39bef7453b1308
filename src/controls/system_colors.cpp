// SPDX-License-Identifier: MIT

#include "controls/system_colors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace zr {

namespace {

constexpr std::uint32_t kSystemColorMarker = 0xFF000000u;

struct SystemColor {
  std::optional<QPalette::ColorRole> role;
  QPalette::ColorGroup group;
  QRgb classic;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;
constexpr QPalette::ColorGroup kDisabled = QPalette::Disabled;
constexpr std::nullopt_t kNoRole = std::nullopt;

// Indexed by the classic Windows system colour number. The classic value stands
// where the palette has no matching role.
const std::array<SystemColor, 31> kSystemColors{{
    {kNoRole, kActive, qRgb(212, 208, 200)},                   // scroll bar
    {kNoRole, kActive, qRgb(58, 110, 165)},                    // desktop
    {kNoRole, kActive, qRgb(10, 36, 106)},                     // active caption
    {kNoRole, kActive, qRgb(128, 128, 128)},                   // inactive caption
    {QPalette::Window, kActive, qRgb(212, 208, 200)},          // menu
    {QPalette::Base, kActive, qRgb(255, 255, 255)},            // window (text area)
    {kNoRole, kActive, qRgb(0, 0, 0)},                         // window frame
    {QPalette::WindowText, kActive, qRgb(0, 0, 0)},            // menu text
    {QPalette::Text, kActive, qRgb(0, 0, 0)},                  // window text
    {kNoRole, kActive, qRgb(255, 255, 255)},                   // caption text
    {kNoRole, kActive, qRgb(212, 208, 200)},                   // active border
    {kNoRole, kActive, qRgb(212, 208, 200)},                   // inactive border
    {kNoRole, kActive, qRgb(128, 128, 128)},                   // application workspace
    {QPalette::Highlight, kActive, qRgb(10, 36, 106)},         // highlight
    {QPalette::HighlightedText, kActive, qRgb(255, 255, 255)}, // highlight text
    {QPalette::Button, kActive, qRgb(212, 208, 200)},          // button face
    {QPalette::Dark, kActive, qRgb(128, 128, 128)},            // button shadow
    {QPalette::Text, kDisabled, qRgb(128, 128, 128)},          // grey text
    {QPalette::ButtonText, kActive, qRgb(0, 0, 0)},            // button text
    {kNoRole, kActive, qRgb(212, 208, 200)},                   // inactive caption text
    {QPalette::Light, kActive, qRgb(255, 255, 255)},           // button highlight
    {QPalette::Shadow, kActive, qRgb(64, 64, 64)},             // 3D dark shadow
    {QPalette::Midlight, kActive, qRgb(212, 208, 200)},        // 3D light
    {QPalette::ToolTipText, kActive, qRgb(0, 0, 0)},           // info text
    {QPalette::ToolTipBase, kActive, qRgb(255, 255, 225)},     // info background
    {kNoRole, kActive, qRgb(0, 0, 0)},                         // unused
    {QPalette::Link, kActive, qRgb(0, 0, 128)},                // hot-tracked item
    {kNoRole, kActive, qRgb(166, 202, 240)},                   // active caption gradient
    {kNoRole, kActive, qRgb(192, 192, 192)},                   // inactive caption gradient
    {QPalette::Highlight, kActive, qRgb(10, 36, 106)},         // menu highlight
    {QPalette::Window, kActive, qRgb(212, 208, 200)},          // menu bar
}};

// Relative luminance of an sRGB colour, 0 for black to 1 for white.
double luminance(const QColor& color) {
  auto linear = [](double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
         0.0722 * linear(color.blueF());
}

} // namespace

QColor colorToQColor(std::uint32_t color, const QPalette& palette) {
  if ((color & 0xFF000000u) != kSystemColorMarker) {
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
  }
  const std::uint32_t index = color & 0xFFu;
  if ((color & 0x00FFFF00u) != 0 || index >= kSystemColors.size()) {
    return QColor(Qt::black);
  }
  const SystemColor& entry = kSystemColors[index];
  if (entry.role) {
    return palette.color(entry.group, *entry.role);
  }
  return QColor(entry.classic);
}

QColor readableTextColor(const QColor& background) {
  const double light = luminance(background) + 0.05;
  const double contrastWithBlack = light / 0.05;
  const double contrastWithWhite = 1.05 / light;
  return contrastWithBlack >= contrastWithWhite ? QColor(Qt::black) : QColor(Qt::white);
}

double contrastRatio(const QColor& a, const QColor& b) {
  const double first = luminance(a) + 0.05;
  const double second = luminance(b) + 0.05;
  return std::max(first, second) / std::min(first, second);
}

} // namespace zr

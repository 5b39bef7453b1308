#include "editor/value_conversions.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zr {

namespace {

constexpr qint64 kMillisecondsPerDay = 86'400'000;
const QDate kDayZero(1899, 12, 30);

// The palette entries that stand in for the system colours, by system colour
// index (scroll bar, desktop, captions, menus, windows, highlight, 3-D faces,
// tool tips, ...). Indices without an entry show the button face.
struct SystemColorEntry {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};
constexpr std::array<SystemColorEntry, 31> kSystemColors{{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Dark},            // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Mid},           // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Window},          // active border
    {QPalette::Inactive, QPalette::Window},        // inactive border
    {QPalette::Active, QPalette::Dark},            // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::WindowText},    // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // info text
    {QPalette::Active, QPalette::ToolTipBase},     // info background
    {QPalette::Active, QPalette::Button},          // unused index
    {QPalette::Active, QPalette::Link},            // hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // active caption gradient
    {QPalette::Inactive, QPalette::Mid},           // inactive caption gradient
    {QPalette::Active, QPalette::Highlight},       // menu highlight
    {QPalette::Active, QPalette::Window},          // menu bar
}};

QColor systemColor(unsigned index, const QPalette& palette) {
  if (index >= kSystemColors.size())
    return palette.color(QPalette::Active, QPalette::Button);
  const SystemColorEntry& entry = kSystemColors[index];
  return palette.color(entry.group, entry.role);
}

} // namespace

QTime toQTime(DateTime value) {
  if (!std::isfinite(value))
    return QTime(0, 0);
  const double fraction = value - std::floor(value);
  const auto milliseconds = static_cast<qint64>(std::llround(fraction * kMillisecondsPerDay));
  return QTime::fromMSecsSinceStartOfDay(
      static_cast<int>(std::min(milliseconds, kMillisecondsPerDay - 1)));
}

DateTime fromQTime(const QTime& time) {
  return static_cast<double>(time.msecsSinceStartOfDay()) / kMillisecondsPerDay;
}

QDate toQDate(DateTime value) {
  if (!std::isfinite(value) || value < 0)
    return kDayZero;
  const double lastDay = static_cast<double>(kDayZero.daysTo(QDate(9999, 12, 31)));
  return kDayZero.addDays(static_cast<qint64>(std::min(std::floor(value), lastDay)));
}

DateTime fromQDate(const QDate& date) {
  return static_cast<double>(kDayZero.daysTo(date));
}

QColor toQColor(Color color, const QPalette& palette) {
  if ((color >> 24) == 0xFF)
    return systemColor(color & 0xFF, palette);
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

Color fromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<Color>(rgb.red()) | static_cast<Color>(rgb.green()) << 8 |
         static_cast<Color>(rgb.blue()) << 16;
}

} // namespace zr

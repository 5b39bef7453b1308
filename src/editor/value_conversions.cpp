// SPDX-License-Identifier: MIT

#include "editor/value_conversions.h"

#include <algorithm>
#include <cmath>

namespace zr {

namespace {

const QDate kDayZero(1899, 12, 30);

} // namespace

QTime toQTime(DateTime value) {
  if (!std::isfinite(value))
    return QTime(0, 0);
  const double fraction = value - std::floor(value);
  const std::int64_t milliseconds = std::llround(fraction * kMillisecondsPerDay);
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

Color fromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<Color>(rgb.red()) | static_cast<Color>(rgb.green()) << 8 |
         static_cast<Color>(rgb.blue()) << 16;
}

} // namespace zr

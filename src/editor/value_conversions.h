// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/reminder.h"

#include <QColor>
#include <QDate>
#include <QTime>

namespace zr {

// The time of day of a date-time value, to the millisecond. Values that are no
// number count as midnight.
QTime toQTime(DateTime value);
DateTime fromQTime(const QTime& time);

// The calendar date of a date-time value (day 0 is 30 December 1899). Values
// below day 0, and values that are no number, give day 0.
QDate toQDate(DateTime value);
DateTime fromQDate(const QDate& date);

// A plain colour value 0x00BBGGRR. (The other way, colorToQColor, also
// resolves system colours.)
Color fromQColor(const QColor& color);

} // namespace zr

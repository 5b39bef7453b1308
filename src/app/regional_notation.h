// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time_text.h"

#include <QLocale>

namespace zr {

// The locale's short-date order and separator, time separator and AM/PM
// texts, as the reader of the older file format needs them.
RegionalSettings regionalSettingsOf(const QLocale& locale);
// The locale's date and time separators for the list's date-time texts.
DateTimeSeparators dateTimeSeparatorsOf(const QLocale& locale);

} // namespace zr

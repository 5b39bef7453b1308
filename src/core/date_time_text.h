#pragma once

#include "core/date_time.h"

#include <cstdint>
#include <string>

namespace zr {

struct DateTimeSeparators;

// Appends the list's date-time text of the value ("mm/dd/yyyy hh:mm:ss am/pm").
void appendDateTimeText(std::string& out, DateTime value, const DateTimeSeparators& separators);

// A number that orders date-times as their list texts compare once read back:
// the whole seconds the text shows, and 0 for a text that cannot be read back.
// Equal keys belong to equal texts.
std::int64_t dateTimeTextKey(DateTime value);

} // namespace zr

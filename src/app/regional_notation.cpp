// SPDX-License-Identifier: MIT

#include "app/regional_notation.h"

#include "platform/stored_text.h"

namespace zr {

namespace {

bool isFieldLetter(QChar c) {
  return c.isLetter() || c == '\'';
}

// The run of non-letters after the first of the given fields in a format such as
// "M/d/yy", "yyyy. MM. dd." or "AP h:mm", without its blanks.
QString separatorOf(const QString& format, const QString& fields, const QString& fallback) {
  qsizetype i = 0;
  while (i < format.size() && !fields.contains(format[i]))
    ++i;
  while (i < format.size() && isFieldLetter(format[i]))
    ++i;
  const qsizetype start = i;
  while (i < format.size() && !isFieldLetter(format[i]))
    ++i;
  const QString separator = format.mid(start, i - start).trimmed();
  return separator.isEmpty() ? fallback : separator;
}

RegionalSettings::DateOrder dateOrderOf(const QString& format) {
  const qsizetype day = format.indexOf('d');
  const qsizetype month = format.indexOf('M');
  const qsizetype year = format.indexOf('y');
  if (year >= 0 && (day < 0 || year < day) && (month < 0 || year < month))
    return RegionalSettings::DateOrder::YearMonthDay;
  if (day >= 0 && month >= 0 && day < month)
    return RegionalSettings::DateOrder::DayMonthYear;
  return RegionalSettings::DateOrder::MonthDayYear;
}

} // namespace

RegionalSettings regionalSettingsOf(const QLocale& locale) {
  const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
  RegionalSettings settings;
  settings.dateOrder = dateOrderOf(dateFormat);
  settings.dateSeparator = toStoredText(separatorOf(dateFormat, "dMy", "/"));
  settings.timeSeparator =
      toStoredText(separatorOf(locale.timeFormat(QLocale::ShortFormat), "hH", ":"));
  settings.amText = toStoredText(locale.amText());
  settings.pmText = toStoredText(locale.pmText());
  return settings;
}

DateTimeSeparators dateTimeSeparatorsOf(const QLocale& locale) {
  const RegionalSettings settings = regionalSettingsOf(locale);
  return {settings.dateSeparator, settings.timeSeparator};
}

} // namespace zr

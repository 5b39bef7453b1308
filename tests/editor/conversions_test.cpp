// SPDX-License-Identifier: MIT

#include "core/date_time.h"
#include "editor/stored_text.h"
#include "editor/value_conversions.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>
#include <limits>

namespace zr {
namespace {

TEST(TimeConversion, TakesTheTimeOfDayToTheMillisecond) {
  const struct {
    DateTime value;
    QTime expected;
  } cases[] = {
      {0.0, QTime(0, 0)},
      {0.5, QTime(12, 0)},
      {encodeTime({7, 30, 15, 250}), QTime(7, 30, 15, 250)},
      {encodeDateTime({2024, 2, 29}, {18, 45}), QTime(18, 45)},
      {0.99999999999, QTime(23, 59, 59, 999)}, // rounds up to midnight, stays in the day
      {std::numeric_limits<double>::quiet_NaN(), QTime(0, 0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(toQTime(c.value), c.expected) << c.value;
}

TEST(TimeConversion, StoresTheSameValueAsTheCalendar) {
  for (const ClockTime& time : {ClockTime{0, 0}, ClockTime{7, 30}, ClockTime{23, 59, 59, 999}})
    EXPECT_EQ(fromQTime(QTime(time.hour, time.minute, time.second, time.millisecond)),
              encodeTime(time));
}

TEST(DateConversion, CountsDaysFromThirtiethDecember1899) {
  const struct {
    DateTime value;
    QDate expected;
  } cases[] = {
      {0.0, QDate(1899, 12, 30)},
      {encodeDate({2003, 9, 20}), QDate(2003, 9, 20)},
      {encodeDate({2000, 1, 1}) + 0.75, QDate(2000, 1, 1)},
      {-5.0, QDate(1899, 12, 30)},
      {1e12, QDate(9999, 12, 31)},
      {std::numeric_limits<double>::quiet_NaN(), QDate(1899, 12, 30)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(toQDate(c.value), c.expected) << c.value;
  EXPECT_EQ(fromQDate(QDate(2024, 2, 29)), encodeDate({2024, 2, 29}));
  EXPECT_EQ(fromQDate(QDate(1899, 12, 30)), 0.0);
}

TEST(ColorConversion, PutsRedInTheLowestByte) {
  const struct {
    QColor color;
    Color value;
  } cases[] = {
      {QColor(255, 255, 255), 0x00FFFFFF},    {QColor(255, 0, 0), 0x000000FF},
      {QColor(0, 255, 0), 0x0000FF00},        {QColor(0, 0, 255), 0x00FF0000},
      {QColor(0x12, 0x34, 0x56), 0x00563412}, {QColor::fromHsv(0, 255, 255), 0x000000FF},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fromQColor(c.color), c.value) << std::hex << c.value;
}

TEST(StoredText, LineBreaksBecomeBlanksAndUnstorableCharactersGo) {
  const QChar nul(u'\0');
  const struct {
    QString input;
    QString singleLine;
    QString storableLine;
  } cases[] = {
      {"first\r\nsecond", "first second", "firstsecond"},
      {"a\nb\rc\n", "a b c ", "abc"},
      {QString("x") + nul + "y\x1Az", "xyz", "xyz"},
      {QString("p") + QChar::LineSeparator + "q" + QChar::ParagraphSeparator, "p q ", "pq"},
      {"tab\tstays", "tab\tstays", "tab\tstays"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toSingleLine(c.input), c.singleLine);
    EXPECT_EQ(toStorableLine(c.input), c.storableLine);
  }
}

TEST(StoredText, TextLeftAsShownKeepsItsBytes) {
  const std::string latin1Name = "Caf\xE9";
  EXPECT_EQ(toStoredText(toShownText(latin1Name), latin1Name), latin1Name);
  EXPECT_EQ(toStoredText(QString::fromUtf8("Café"), latin1Name), "Caf\xC3\xA9");

  const std::vector<std::string> lines{"\xFC"
                                       "ber",
                                       ""};
  EXPECT_EQ(toStoredLines(toShownLines(lines), lines), lines);
  EXPECT_EQ(toStoredLines({QString::fromUtf8("über")}, lines), std::vector<std::string>{"\xC3\xBC"
                                                                                        "ber"});
}

} // namespace
} // namespace zr

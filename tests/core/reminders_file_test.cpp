// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/file_io.h"
#include "core/reminders_file.h"
#include "core_test_support.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#ifndef _WIN32
#include <sys/resource.h>
#endif
#include <vector>

namespace zr {
namespace {

using test::at;
using test::crlf;
using test::parseError;
using test::readFile;
using test::sameToFifteenDigits;
using test::writeFile;

void expectSameReminder(const Reminder& loaded, const Reminder& saved) {
  EXPECT_EQ(loaded.name, saved.name);
  EXPECT_EQ(loaded.text, saved.text);
  EXPECT_EQ(loaded.enabled, saved.enabled);
  EXPECT_EQ(loaded.reminderType, saved.reminderType);
  EXPECT_EQ(loaded.color, saved.color);
  EXPECT_EQ(loaded.audioFile, saved.audioFile);
  EXPECT_TRUE(sameToFifteenDigits(loaded.time, saved.time)) << loaded.time << " " << saved.time;
  EXPECT_TRUE(sameToFifteenDigits(loaded.nextScheduled, saved.nextScheduled));
  EXPECT_TRUE(sameToFifteenDigits(loaded.lastRun, saved.lastRun));
  EXPECT_TRUE(sameToFifteenDigits(loaded.date, saved.date));
  EXPECT_EQ(loaded.daysOfWeek, saved.daysOfWeek);
  EXPECT_EQ(loaded.daysOfMonth, saved.daysOfMonth);
  EXPECT_EQ(loaded.yearlyMonth, saved.yearlyMonth);
  EXPECT_EQ(loaded.yearlyDay, saved.yearlyDay);
}

std::unique_ptr<Reminder> teamMeeting() {
  auto reminder = std::make_unique<Reminder>(at(2024, 3, 11));
  reminder->name = "Team meeting";
  reminder->text = {"Bring the slides.", "Room 4"};
  reminder->reminderType = ReminderType::Weekly;
  reminder->time = encodeTime({9, 30, 0, 0});
  reminder->nextScheduled = at(2024, 3, 18, 9, 30);
  reminder->daysOfWeek.set(2);
  reminder->daysOfWeek.set(5);
  return reminder;
}

const std::string kTeamMeetingFile = crlf({"DorvelFile",
                                           "2",
                                           "1",
                                           "Team meeting",
                                           "2",
                                           "Bring the slides.",
                                           "Room 4",
                                           "TRUE",
                                           "16777215",
                                           "",
                                           "2",
                                           " 3.95833333333333E-0001",
                                           " 4.53693958333333E+0004",
                                           " 0.00000000000000E+0000",
                                           " 4.53620000000000E+0004",
                                           "2",
                                           "5",
                                           "DaysOfWeekEnd",
                                           "DaysOfMonthEnd",
                                           "1",
                                           "1"});

TEST(RemindersFileTest, WritesTheTeamMeetingExampleAndReadsItBack) {
  ReminderList list;
  list.appendReminder(teamMeeting());
  EXPECT_EQ(formatReminders(list), kTeamMeetingFile);

  ReminderList loaded;
  parseReminders(kTeamMeetingFile, loaded, {}, test::kFileClock);
  ASSERT_EQ(loaded.reminderCount(), 1);
  expectSameReminder(*loaded.reminderAt(0), *teamMeeting());
}

TEST(RemindersFileTest, EmptyListIsThreeLines) {
  EXPECT_EQ(formatReminders(ReminderList{}), crlf({"DorvelFile", "2", "0"}));
}

TEST(RemindersFileTest, DateTimeFieldsKeepFifteenDigitsWhateverTheirSize) {
  auto reminder = std::make_unique<Reminder>(0);
  reminder->time = 1.0 / 3;
  reminder->nextScheduled = -2.5e-300;
  reminder->lastRun = 1.2345678901234567e300;
  reminder->date = 0.5e-5;
  ReminderList list;
  list.appendReminder(std::move(reminder));
  const std::string file = formatReminders(list);
  for (const char* line : {"\r\n 3.33333333333333E-0001\r\n", "\r\n-2.50000000000000E-0300\r\n",
                           "\r\n 1.23456789012346E+0300\r\n", "\r\n 5.00000000000000E-0006\r\n"})
    EXPECT_NE(file.find(line), std::string::npos) << line;
}

// A date-time field as the C++ library rounds it to 15 significant digits.
std::string libraryRoundedField(double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                    std::chars_format::scientific, 14);
  const std::string text(digits, result.ptr);
  const std::size_t e = text.find('e');
  const std::string exponent = text.substr(e + 2);
  return (std::signbit(value) && value != 0 ? "-" : " ") + text.substr(0, e) + 'E' + text[e + 1] +
         std::string(4 - std::min<std::size_t>(4, exponent.size()), '0') + exponent;
}

// The writer rounds in integer arithmetic; every field must come out as the library
// rounds it: moments as the program makes them, exact ties at the fifteenth digit
// (half to even), the edges where rounding carries into a new power of ten, and values
// of any size, both signs.
TEST(RemindersFileTest, DateTimeFieldsRoundExactlyAsTheLibraryDoes) {
  std::mt19937_64 random(15);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution(low, high)(random);
  };
  std::vector<double> values = {0.0, -0.0, 1.0, 0.5, 1e-5, 1e15, 45362.0};
  for (int index = 0; index < 3000; ++index) {
    const DateTime day = std::floor(uniform(0, 80000));
    values.push_back(
        day + encodeTime({static_cast<int>(random() % 24), static_cast<int>(random() % 60),
                          static_cast<int>(random() % 60), static_cast<int>(random() % 1000)}));
    values.push_back(std::pow(10.0, uniform(-8, 18)));
  }
  // n + j / 2^k with 16 - k digits in n and j odd: 16 significant digits ending in 5.
  for (int k = 1; k <= 12; ++k) {
    for (int index = 0; index < 50; ++index) {
      const auto low = static_cast<std::uint64_t>(std::pow(10.0, 15 - k));
      const std::uint64_t n = low + random() % (9 * low);
      const std::uint64_t j = (random() % (std::uint64_t{1} << k)) | 1;
      values.push_back(static_cast<double>(n) + std::ldexp(static_cast<double>(j), -k));
    }
  }
  for (int power = -7; power <= 16; ++power) {
    const double exact = std::pow(10.0, power);
    for (double edge : {exact, std::nextafter(exact, 0.0), std::nextafter(exact, 1e300),
                        exact * (1 - 5e-16), exact * (1 - 4e-16), exact * (1 - 6e-16)})
      values.push_back(edge);
  }
  for (std::size_t index = 0, count = values.size(); index < count; ++index)
    values.push_back(-values[index]);

  ReminderList list;
  for (const double value : values) {
    auto reminder = std::make_unique<Reminder>(0);
    reminder->time = value;
    list.appendReminder(std::move(reminder));
  }
  const std::string file = formatReminders(list);
  // Three header lines, then fourteen lines a record with no message lines and no days,
  // the time of day the seventh.
  std::size_t start = 0;
  for (std::size_t line = 0, record = 0; record < values.size(); ++line) {
    const std::size_t end = file.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    if (line >= 3 && (line - 3) % 14 == 6) {
      ASSERT_EQ(file.substr(start, end - start), libraryRoundedField(values[record]))
          << std::hexfloat << values[record];
      ++record;
    }
    start = end + 2;
  }
}

// Reminders of every kind, with the awkward values the format must survive.
std::vector<std::unique_ptr<Reminder>> generatedReminders(int count) {
  std::mt19937 random(20240311);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
  auto moment = [&] { return std::uniform_real_distribution(0.0, 80000.0)(random); };
  const char* awkward[] = {"",   "DaysOfWeekEnd",    "DaysOfMonthEnd", " padded ", "TRUE",
                           "42", "Ümlaut \xe9 bytes"};
  std::vector<std::unique_ptr<Reminder>> reminders;
  for (int index = 0; index < count; ++index) {
    auto reminder = std::make_unique<Reminder>(std::floor(moment()));
    reminder->name = pick(0, 3) == 0 ? awkward[pick(0, 6)] : "Reminder " + std::to_string(index);
    for (int line = pick(0, 4); line > 0; --line)
      reminder->text.push_back(pick(0, 1) ? awkward[pick(0, 6)] : "line " + std::to_string(line));
    reminder->enabled = pick(0, 1) == 1;
    reminder->reminderType = static_cast<ReminderType>(pick(0, 9) == 0 ? pick(5, 255) : pick(0, 4));
    reminder->color = static_cast<Color>(random());
    reminder->audioFile =
        pick(0, 1) ? "" : "/home/user/sounds/chime " + std::to_string(index) + ".wav";
    reminder->time = pick(0, 5) == 0 ? 0 : fractionOfDay(moment());
    reminder->nextScheduled = pick(0, 2) == 0 ? 0 : moment();
    reminder->lastRun = pick(0, 2) == 0 ? 0 : moment();
    for (int day = 1; day <= 7; ++day)
      reminder->daysOfWeek.set(static_cast<std::size_t>(day), pick(0, 2) == 0);
    for (int day = 1; day <= 32; ++day)
      reminder->daysOfMonth.set(static_cast<std::size_t>(day), pick(0, 4) == 0);
    reminder->yearlyMonth = pick(0, 12);
    reminder->yearlyDay = pick(0, 31);
    reminders.push_back(std::move(reminder));
  }
  return reminders;
}

TEST(RemindersFileTest, SaveThenLoadGivesEqualReminders) {
  const test::TemporaryFolder folder;
  const std::string path = folder.file("Reminders.dat");
  ReminderList saved;
  for (auto& reminder : generatedReminders(400))
    saved.appendReminder(std::move(reminder));
  saveReminders(path, saved);

  ReminderList loaded;
  loadReminders(path, loaded, {}, test::kFileClock);
  ASSERT_EQ(loaded.reminderCount(), saved.reminderCount());
  for (int row = 0; row < saved.reminderCount(); ++row) {
    SCOPED_TRACE(row);
    expectSameReminder(*loaded.reminderAt(row), *saved.reminderAt(row));
  }
  // Saving what was loaded writes the same file again.
  EXPECT_EQ(formatReminders(loaded), readFile(path));
}

TEST(RemindersFileTest, ReadingRules) {
  struct Case {
    const char* what;
    std::string content;
    std::function<void(const Reminder&)> check;
  };
  const std::string record = "\n0\nTRUE\n255\n\n4\n0.5\n0\n0\n45000\n";
  const Case cases[] = {
      {"bare LF lines, numbers with trailing text, Ctrl+Z ends the text",
       "DorvelFile\n2 more\n1 reminder\nName\n1\nOnly line\nTRUE\n  -16777201 colour\n/a.wav\n"
       "\t3\n 1.5E-1 x\n45000\n4.5e4\n4.5E+0004\n1\n3\nDaysOfWeekEnd\n32\nDaysOfMonthEnd\n"
       "12 Dec\n25\n\x1A"
       "garbage",
       [](const Reminder& r) {
         EXPECT_EQ(r.text, std::vector<std::string>{"Only line"});
         EXPECT_EQ(r.color, kButtonFaceSystemColor);
         EXPECT_EQ(r.audioFile, "/a.wav");
         EXPECT_EQ(r.reminderType, ReminderType::Monthly);
         EXPECT_EQ(r.time, 0.15);
         EXPECT_EQ(r.lastRun, 45000);
         EXPECT_TRUE(r.daysOfWeek[1] && r.daysOfWeek[3]);
         EXPECT_TRUE(r.daysOfMonth[32]);
         EXPECT_EQ(r.yearlyMonth, 12);
         EXPECT_EQ(r.yearlyDay, 25);
       }},
      {"only the exact TRUE is true",
       "DorvelFile\r\n2\r\n1\r\nx\r\n0\r\nTRUE \r\n0\r\n\r\n0\r\n0\r\n"
       "0\r\n0\r\n0\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n",
       [](const Reminder& r) { EXPECT_FALSE(r.enabled); }},
      {"day members 0..255 kept, others dropped",
       "DorvelFile\n2\n1\nx" + record + "0\n9\n300\n-1\nDaysOfWeekEnd\n 40\nDaysOfMonthEnd\n1\n1\n",
       [](const Reminder& r) {
         EXPECT_EQ(r.daysOfWeek.count(), 2u);
         EXPECT_TRUE(r.daysOfWeek[0] && r.daysOfWeek[9]);
         EXPECT_TRUE(r.daysOfMonth[40]);
       }},
      {"kind outside 0..4 kept",
       "DorvelFile\n2\n1\nx\n0\nTRUE\n255\n\n7\n0."
       "5\n0\n0\n45000\nDaysOfWeekEnd\nDaysOfMonthEnd\n1\n1\n",
       [](const Reminder& r) { EXPECT_EQ(static_cast<int>(r.reminderType), 7); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReminderList list;
    EXPECT_EQ(parseError(c.content, list), "");
    ASSERT_EQ(list.reminderCount(), 1);
    c.check(*list.reminderAt(0));
  }
}

TEST(RemindersFileTest, FormatDecision) {
  struct Case {
    const char* what;
    std::string content;
    std::string error;
  };
  const Case cases[] = {
      {"zero bytes", "", ""},
      {"header with another version goes to the older reader", "DorvelFile\r\n3\r\n0\r\n",
       "line 1: Invalid numeric input"},
      {"header with a trailing blank does not match", "DorvelFile \r\n2\r\n0\r\n",
       "line 1: Invalid numeric input"},
      {"header in another letter case does not match", "dorvelfile\r\n2\r\n0\r\n",
       "line 1: Invalid numeric input"},
      {"count that is no number", "DorvelFile\r\n2\r\n\r\nmany\r\n",
       "line 4: Invalid numeric input"},
      {"version line with text after the number", "DorvelFile\r\n2 beta\r\n0\r\n", ""},
      {"headerless count", "0\r\n", ""},
  };
  for (const Case& c : cases) {
    ReminderList list;
    EXPECT_EQ(parseError(c.content, list), c.error) << c.what;
    EXPECT_TRUE(list.isEmpty()) << c.what;
  }
}

const std::string kGoodRecord = crlf({"Kept", "0", "TRUE", "0", "", "1", "0", "0", "0", "45000",
                                      "DaysOfWeekEnd", "DaysOfMonthEnd", "1", "1"});

TEST(RemindersFileTest, ErrorsKeepTheRemindersReadBeforeThem) {
  struct Case {
    std::string rest;
    const char* error;
  };
  // The reminder read before them fills lines 4 to 17, so the second one starts at line 18.
  const Case cases[] = {
      {crlf({"Bad", "0", "TRUE", "white"}), "line 21, reminder 2: Invalid numeric input"},
      {crlf({"Bad", "x1"}), "line 19, reminder 2: Invalid numeric input"},
      {crlf({"Bad", "0", "TRUE", "0", "", "1", "0.5.1"}),
       "line 24, reminder 2: Invalid numeric input"},
      {crlf({"Bad", "0", "TRUE", "0", "", "1", "1e99999"}),
       "line 24, reminder 2: Invalid numeric input"},
      {crlf({"Bad", "0", "TRUE", "0", "", "1", "nan"}),
       "line 24, reminder 2: Invalid numeric input"},
      {crlf({"Bad", "0", "TRUE", "99999999999"}), "line 21, reminder 2: Invalid numeric input"},
      {crlf({"Bad", "0", "TRUE", "0", "", "1", "0", "0", "0", "0", "Monday"}),
       "line 28, reminder 2: 'Monday' is not a valid integer value"},
      {crlf({"Bad", "0", "TRUE", "0", "", "1", "0", "0", "0", "0", "DaysOfWeekEnd", "1 "}),
       "line 29, reminder 2: '1 ' is not a valid integer value"},
      {crlf({"Bad", "0", "TRUE", "0", "", "1", "0", "0", "0", "0", ""}),
       "line 28, reminder 2: '' is not a valid integer value"},
      // Past the end: the line after the last one.
      {"", "line 18, reminder 2: '' is not a valid integer value"}, // fewer records than counted
      {crlf({"Bad", "2000000000"}),
       "line 20, reminder 2: '' is not a valid integer value"},  // lines counted, not there
      {"Bad\nx1", "line 19, reminder 2: Invalid numeric input"}, // bare line feeds count too
  };
  for (const char* count : {"2", "2000000000"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.rest);
      ReminderList list;
      EXPECT_EQ(
          parseError(crlf({"DorvelFile", "2"}) + std::string(count) + "\r\n" + kGoodRecord + c.rest,
                     list),
          c.error);
      ASSERT_EQ(list.reminderCount(), 1);
      EXPECT_EQ(list.reminderAt(0)->name, "Kept");
    }
  }
}

TEST(RemindersFileTest, MissingFileLoadsNothing) {
  const test::TemporaryFolder folder;
  ReminderList list;
  loadReminders(folder.file("Reminders.dat"), list, {}, test::kFileClock);
  EXPECT_TRUE(list.isEmpty());
}

// The file's errors name it and say where they are.
TEST(RemindersFileTest, LoadErrorsNameTheFile) {
  const test::TemporaryFolder folder;
  const std::string path = folder.file("Reminders.dat");
  test::writeFile(path, crlf({"DorvelFile", "2", "1", "Bad", "x1"}));
  ReminderList list;
  try {
    loadReminders(path, list, {}, test::kFileClock);
    ADD_FAILURE() << "no error";
  } catch (const UnreadableFileError&) {
    ADD_FAILURE() << "a file that was read is not unreadable";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Error in " + path + ", line 5, reminder 1: Invalid numeric input");
  }
}

TEST(RemindersFileTest, FileErrorTexts) {
  const std::pair<int, const char*> cases[] = {
      {ENOENT, "File not found"},
      {ENOTDIR, "Invalid filename"},
      {ENAMETOOLONG, "Invalid filename"},
      {EMFILE, "Too many open files"},
      {EACCES, "File access denied"},
      {EPERM, "File access denied"},
      {EROFS, "File access denied"},
      {ENOSPC, "Disk full"},
      {EIO, "I/O error 5"},
      {EFBIG, "I/O error 27"},
  };
  for (const auto& [error, text] : cases)
    EXPECT_EQ(fileErrorText(error), text) << error;
}

class SaveTest : public ::testing::Test {
protected:
  void SetUp() override {
    list.appendReminder(teamMeeting());
    writeFile(path, "old content");
  }

  std::string saveError(const std::string& target) {
    try {
      saveReminders(target, list);
    } catch (const Error& error) {
      return error.what();
    }
    return "";
  }

  size_t filesInFolder() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder.path()),
                                             std::filesystem::directory_iterator()));
  }

  test::TemporaryFolder folder;
  const std::string path = folder.file("Reminders.dat");
  ReminderList list;
};

// File modes, symbolic links, Unix paths and a file-size limit: the Linux save. The
// Windows save is tested on Windows names and attributes in tests/windows.
#ifndef _WIN32
TEST_F(SaveTest, ReplacesTheFile) {
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  EXPECT_EQ(saveError(path), "");
  EXPECT_EQ(readFile(path), kTeamMeetingFile);
  EXPECT_EQ(filesInFolder(), 1u);
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

TEST_F(SaveTest, ThroughASymbolicLinkReplacesItsTarget) {
  const std::string link = folder.file("link.dat");
  std::filesystem::create_symlink(path, link);
  EXPECT_EQ(saveError(link), "");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(readFile(path), kTeamMeetingFile);
}

TEST_F(SaveTest, UnwritableTargetGivesTheFileError) {
  const std::string inMissingFolder = folder.file("missing/Reminders.dat");
  EXPECT_EQ(saveError(inMissingFolder),
            "Unable to write to " + inMissingFolder + ": File not found");
  EXPECT_EQ(saveError(path + "/Reminders.dat"),
            "Unable to write to " + path + "/Reminders.dat: Invalid filename");
  EXPECT_EQ(readFile(path), "old content");
}

TEST_F(SaveTest, FailedWriteLeavesTheOldFileWhole) {
  // A file-size limit makes the write fail part way, as a full disk would.
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit limited = old;
  limited.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const std::string error = saveError(path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(error, "Unable to write to " + path + ": I/O error 27");
  EXPECT_EQ(readFile(path), "old content");
  EXPECT_EQ(filesInFolder(), 1u);
}
#endif

TEST(RemindersFileTest, ReadingAFileThatCannotBeOpenedGivesTheFileError) {
  ReminderList list;
  try {
    readRemindersV2("/nonexistent-folder/Reminders.dat", list, test::kFileClock);
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Unable to read /nonexistent-folder/Reminders.dat: File not found");
  }
}

} // namespace
} // namespace zr

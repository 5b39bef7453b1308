// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"
#include "core/error.h"
#include "core/reminders_file.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>

namespace zr::test {

inline DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                   int millisecond = 0) {
  return encodeDateTime({year, month, day}, {hour, minute, second, millisecond});
}

// Whether two date-times agree to 15 significant digits, as the file keeps them.
inline bool sameToFifteenDigits(DateTime a, DateTime b) {
  return std::fabs(a - b) <= 1e-14 * std::max(std::fabs(a), std::fabs(b));
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TemporaryFolder {
public:
  TemporaryFolder() {
    std::mt19937_64 random{std::random_device{}()};
    path_ = std::filesystem::temp_directory_path() / ("zr-core-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// The moment the reminders-file tests stand at.
inline const FixedClock kFileClock(at(2024, 3, 11, 8));

// The lines, each ended with CR LF as the reminders file writes them.
inline std::string crlf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

// Loads the content and returns the error text, or "" when it loaded.
inline std::string parseError(const std::string& content, ReminderList& list,
                              const RegionalSettings& regional = {}) {
  try {
    parseReminders(content, list, regional, kFileClock);
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace zr::test

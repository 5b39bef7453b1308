// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// One of the files the program keeps in its data folder (the reminders file and
// the like), with what protects the user's file when it could not be loaded:
// before anything is saved over it, the file is kept aside, as a copy when its
// content could be read, else by moving the file itself away. Where neither
// works, nothing is written over that file for as long as it stays there.
class DataFile {
public:
  explicit DataFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // Keeps the file that failed to load as "<path>.unreadable-YYYYMMDD-HHMMSS"
  // (the moment in local time), never world-writable. Returns the kept file's
  // path, or an empty text when it could not be kept; saves are then refused.
  std::string keepAside(DateTime moment, bool contentReadable);

  // Writes the content in place of the file (replaceFileContent). Throws zr::Error
  // "<path> could not be read and could not be kept aside; ..." while a file that
  // could not be kept is still there, or the write's own error.
  void replace(std::string_view content);

private:
  // Which file it is: its device and inode, or on Windows its volume and file index.
  struct Identity {
    std::uint64_t device;
    std::uint64_t inode;
  };

  std::string path_;
  std::optional<Identity> refused_; // the file nothing may be written over
};

} // namespace zr

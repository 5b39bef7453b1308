// SPDX-License-Identifier: MIT

#pragma once

#include "core/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// One of the files the program keeps in its data folder (the reminders file and
// the like). It remembers what the file was when this program last read or wrote
// it (device, inode, size, modification time and a hash of the content, with the
// content itself), so a change made outside is found before anything is saved over
// it. It also protects the user's file when it could not be loaded: before anything
// is saved over it, the file is kept aside, as a copy when its content could be
// read, else by moving the file itself away. Where neither works, nothing is
// written over that file until it can be read again or is gone.
class DataFile {
public:
  // The file as this program last saw it.
  // The numbers are the system's own: on Windows the volume serial number, the file
  // index and the last-write time.
  struct Identity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0; // the modification time in nanoseconds (Windows: 100 ns)
    std::uint64_t hash = 0;
  };

  // The file now, next to what this program last read or wrote.
  struct Outside {
    enum class State {
      Unchanged, // as last read or written, or still missing
      Changed,   // another content: `content` and `identity` say what it is now
      Removed,   // the file this program knew is gone
    };
    State state = State::Unchanged;
    std::string content;
    Identity identity;
  };

  explicit DataFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  // What the file held when this program last read or wrote it; empty when none.
  const std::string& lastContent() const { return lastContent_; }

  // Reads the whole file (readDataFile) and remembers it; nothing when there is
  // none. Throws UnreadableFileError. A file refused earlier that reads is no
  // longer refused.
  std::optional<std::string> read();

  // Looks at the file again; its content is read only when its device, inode,
  // size or modification time differ from what was remembered. Throws
  // UnreadableFileError when it changed and cannot be read now. A refused file is
  // read again: once it reads, it counts as changed (and no longer refused), else
  // the refusal is thrown.
  Outside lookOutside();
  // The changed file was taken in: it is remembered as it is now.
  void accept(const Outside& outside);

  // Keeps the file that failed to load as "<path>.unreadable-YYYYMMDD-HHMMSS"
  // (the moment in local time), never world-writable. Returns the kept file's
  // path, or an empty text when it could not be kept; saves are then refused.
  std::string keepAside(DateTime moment, bool contentReadable);
  // A file that could not be kept aside stands at the path: nothing is written over it.
  bool refused() const;

  // Writes the content in place of the file (replaceFileContent) and remembers it.
  // Throws zr::Error "<path> could not be read and could not be kept aside, ..." while
  // a refused file is still there, or the write's own error.
  void replace(std::string_view content);

private:
  // What a refusal says, and what lifts it.
  std::string refusalText() const;

  std::string path_;
  std::optional<Identity> known_; // the file as last read or written
  std::string lastContent_;
  std::optional<Identity> refused_; // the file nothing may be written over
};

// A hash of the content (64-bit FNV-1a), to tell a rewrite with the same content
// from a change.
std::uint64_t contentHash(std::string_view content);

} // namespace zr

// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zr {

// One INI file in the Windows layout: "[Section]" lines, then "key=value" lines.
// Section and key names match without regard to ASCII letter case. Writing a value
// replaces it in place and leaves every other line (other keys, other sections,
// comments, blank lines, line ends) exactly as it was; new lines end with CR LF.
class IniFile {
public:
  // Reads the file; a missing file reads as empty. A file that is there but cannot
  // be read throws UnreadableFileError (see readDataFile).
  explicit IniFile(std::string path);

  // The value as a flag: an integer, decimal or hexadecimal after "0x" or "$", with
  // zero false and any other integer true. An empty, missing or non-numeric value
  // gives the default.
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Sets the value to "1" or "0", creating the section and the key when missing.
  // Changes only the contents in memory until save().
  void writeBool(std::string_view section, std::string_view key, bool value);

  // Writes the contents to a temporary file beside the target and renames it over the
  // target, so the file is either the old or the new one, never a part of it; through
  // a symbolic link, the file it points to is replaced. Throws zr::Error
  // "Unable to write to <full path>: <file error text>" when that fails.
  void save() const;

private:
  struct Position {
    std::size_t sectionLine; // index of the "[Section]" line
    std::size_t keyLine;     // index of the key's line, or lines_.size() when absent
    std::size_t sectionEnd;  // index after the section's last key line
  };

  // Finds the first section of that name and, in it, the first line of the key.
  // False when there is no such section.
  bool locate(std::string_view section, std::string_view key, Position& position) const;
  void setValue(std::string_view section, std::string_view key, const std::string& value);
  void appendLine(std::string text);

  std::string path_;
  std::vector<std::string> lines_; // each line with its own line end, if it had one
};

} // namespace zr

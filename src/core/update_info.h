// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zr {

// What the update information file offers: the version, the absolute addresses
// of the files to download and the release notes, one entry per line.
struct UpdateInfo {
  std::string version;
  std::vector<std::string> files;
  std::vector<std::string> notes;
};

// Reads the update information text. Lines end at CR LF, LF or CR, and a NUL
// byte ends the text. A line that starts with "[" and ends with "]" opens a
// section (letter case of a-z ignored); content lines are taken as they stand:
// under [VERSION] the last non-empty line wins, under [FILES] every non-empty
// line is an address, under [NOTES] every line is a note; anything else is
// ignored. Any text is accepted.
UpdateInfo readUpdateInfo(std::string_view text);

// Whether the version on offer differs from the running one. Only the letter
// case of a-z and characters with codes 0 to 32 at either end are ignored; the
// versions are not ordered, so any other difference counts as an update.
bool isUpdateOnOffer(std::string_view currentVersion, std::string_view offeredVersion);

} // namespace zr

// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// The three user settings of section "System" in the settings file "ZRDorvel.ini".
// In memory they live where they act: the update flag with the main window, the two
// notice flags in the tray component's message options.
struct Settings {
  bool autoCheckForUpdates = true; // "AutoCheckForUpdates"
  bool onCloseMessage = true;      // "OnCloseMessage"
  bool onMinimizeMessage = true;   // "OnMinimizeMessage"
};

// A missing file, section or key, or a value that is no integer, reads as true. A file
// that is there but cannot be read throws UnreadableFileError "Unable to read <path>: ...".
Settings readSettings(const QString& path);

// Writes the three keys as "1" or "0", in the order above, keeping the rest of the file
// (and so refusing, like readSettings, a file it cannot read). Throws zr::Error
// "Unable to write to <path>: <file error text>"; the file is then left as it was.
void writeSettings(const QString& path, const Settings& settings);

} // namespace zr

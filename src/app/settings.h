// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// The user settings of section "System" in the settings file "ZRDorvel.ini". In
// memory they live where they act: the options of the System Options dialog with the
// main window, the two notice flags in the tray component's message options.
struct Settings {
  bool autoCheckForUpdates = true; // "AutoCheckForUpdates"
  bool onCloseMessage = true;      // "OnCloseMessage"
  bool onMinimizeMessage = true;   // "OnMinimizeMessage"
  bool keepSnoozed = false;        // "KeepSnoozed": snoozed reminders survive a restart
  bool showMissed = false;         // "ShowMissed": reminders missed while off alert at start
};

// A missing file, section or key, or a value that is no integer, reads as the default
// above. A file that is there but cannot be read throws UnreadableFileError
// "Unable to read <path>: ...".
Settings readSettings(const QString& path);

// Writes the keys as "1" or "0", in the order above, keeping the rest of the file
// (and so refusing, like readSettings, a file it cannot read). Throws zr::Error
// "Unable to write to <path>: <file error text>"; the file is then left as it was.
void writeSettings(const QString& path, const Settings& settings);

} // namespace zr

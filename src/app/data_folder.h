// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Where the reminders file, the settings file and the "Updates" folder live:
// the program's own folder when the user can write to it (a portable copy or
// a build folder), otherwise the per-user data folder, created when missing.
// An installed program (<prefix>/bin beside <prefix>/share/zrdorvel) always
// uses the per-user data folder.
// Both folders are given and returned with a trailing '/'.
QString chooseDataFolder(const QString& programFolder, const QString& userDataFolder);

// The per-user data folder of this program, with a trailing '/'.
QString userDataFolder();

} // namespace zr

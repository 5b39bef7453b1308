// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Where a data file that ships with the program is found: beside the program
// file (a build folder or a portable copy) or, for a program installed under
// <prefix>/bin, in <prefix>/share/zrdorvel. When neither holds the file, the
// path beside the program is returned, so an error message names that place.
QString findInstalledFile(const QString& name);

// The same search from a given program folder (with or without a trailing '/').
QString findInstalledFile(const QString& programFolder, const QString& name);

} // namespace zr

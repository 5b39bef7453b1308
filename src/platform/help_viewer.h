// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Opens the help page at the named section in the user's browser.
// Throws zr::Error when the page is missing or nothing could open it.
void openHelp(const QString& helpFile, const QString& section);

} // namespace zr

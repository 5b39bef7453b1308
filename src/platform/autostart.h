// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Starting the program at the user's logon, hidden, with the "-startup" switch.
// On Linux this is the XDG autostart entry "ZRDorvelStartUp.desktop" in
// $XDG_CONFIG_HOME/autostart (by default ~/.config/autostart).

// Whether an entry starts the program at logon.
bool isStartingAtLogon();

// With enabled, writes the entry for the program file at programPath (its current full
// path, so applying again after a move updates it); otherwise removes the entry, which
// is no error when there is none. Throws zr::Error
// "Failed to set data for 'ZRDorvelStartUp'" when the change cannot be made.
void setStartingAtLogon(bool enabled, const QString& programPath);

} // namespace zr

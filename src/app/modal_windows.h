// SPDX-License-Identifier: MIT

#pragma once

namespace zr {

// Closes every open popup menu and every modal window (dialogs and message boxes,
// nested ones included) as if cancelled. Their event loops end as soon as the code
// that runs now returns, and the code that opened them goes on with a "cancelled"
// answer. Used when the program ends while the user is being asked something.
void closeModalWindows();

} // namespace zr

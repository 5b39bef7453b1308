// SPDX-License-Identifier: MIT

#pragma once

namespace zr {

// The menu bar, its menus, the list's row menu and the tray popup share one look: a
// pale highlight under the pointer. The pale colour alone can hardly be told from
// white, so the highlighted item also gets a frame in the theme's highlight colour,
// which shows the item chosen with the arrow keys. Items with and without an image are
// of one height (the images are 16 pixels high).
inline constexpr char kMenuStyleSheet[] =
    "QMenuBar::item { border: 1px solid transparent; padding: 2px 6px; }"
    "QMenuBar::item:selected { background: #f7f6ee; color: black;"
    " border-color: palette(highlight); }"
    "QMenu::item { border: 1px solid transparent; padding: 3px 24px 3px 22px; min-height: 16px; }"
    "QMenu::item:selected { background: #f7f6ee; color: black;"
    " border-color: palette(highlight); }"
    "QMenu::item:disabled { color: palette(mid); }";

} // namespace zr

// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace zr {

class PopupMenu;
class SysTray;

// The program's icon in the notification area: its hint, its notices on close and
// on minimize, and its popup menu, still empty.
struct ProgramTray {
  SysTray* icon;
  PopupMenu* menu;
};

// Both are children of `window`, which hides to the icon when closed or minimized.
ProgramTray createProgramTray(QWidget& window);

} // namespace zr

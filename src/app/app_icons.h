// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

namespace zr {

// The seven 16 x 16 images of the menus and the toolbar.
enum class ActionImage { Save, ShutDown, Add, Duplicate, Delete, Options, Help };

QIcon actionIcon(ActionImage image);
// The program's icon, for the main window and the tray.
QIcon applicationIcon();

} // namespace zr

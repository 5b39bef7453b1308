// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

namespace zr {

// The seven 16 x 16 images of the menus and the toolbar.
enum class ActionImage { Save, ShutDown, Add, Duplicate, Delete, Options, Help };

QIcon actionIcon(ActionImage image);
// The program's icon for every window and the tray, in all its sizes from 16 to 256. A
// program installed under <prefix>/bin takes it from the icon theme it installed in
// <prefix>/share/icons, with the scalable drawing; the icon then also carries its theme
// name, "zrdorvel", by which a StatusNotifier host draws it crisp at any scale.
QIcon applicationIcon(const QString& programFolder);

} // namespace zr

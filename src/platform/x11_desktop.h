// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <optional>

class QWidget;

namespace zr {

// Asks the X11 window manager, before the top-level `window` is first shown, to
// treat it as a desktop notification: its own top-level window (never hidden
// with another one), kept above the others, shown on every workspace and left
// out of the taskbar and the pager. Does nothing on other window systems.
void markAsDesktopNotification(QWidget& window);

// The part of `monitor` (in desktop pixels) that the panels of an X11 desktop
// leave free, from the partial struts of the windows the window manager lists (or,
// without one, of the root window's children). Nothing on other window systems or
// when no window reserves any space.
std::optional<QRect> panelFreeArea(const QRect& monitor);

} // namespace zr

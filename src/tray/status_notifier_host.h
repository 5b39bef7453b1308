// SPDX-License-Identifier: MIT

#pragma once

namespace zr {

// Whether the session bus has a StatusNotifier watcher with a registered host: the
// notification area is then a StatusNotifier tray (KDE Plasma, GNOME with the
// AppIndicator extension, XFCE), which reports a click on the icon as an activation and
// never as a double-click. False without a session bus, without a watcher, or when the
// watcher does not answer within a second.
bool statusNotifierHostRegistered();

} // namespace zr

// SPDX-License-Identifier: MIT

#include "platform/x11_desktop.h"

#include "core/work_area.h"

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <vector>

#ifdef ZR_HAVE_XCB
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>
#include <xcb/xcb.h>
#endif

namespace zr {

#ifdef ZR_HAVE_XCB

namespace {

xcb_connection_t* x11Connection() {
  auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 != nullptr ? x11->connection() : nullptr;
}

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The atoms of the names, asked for together so that they take one round trip.
std::vector<xcb_atom_t> atoms(xcb_connection_t* connection,
                              std::initializer_list<const char*> names) {
  std::vector<xcb_intern_atom_cookie_t> cookies;
  for (const char* name : names)
    cookies.push_back(
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
  std::vector<xcb_atom_t> result;
  for (const xcb_intern_atom_cookie_t& cookie : cookies) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    result.push_back(reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
  }
  return result;
}

xcb_get_property_cookie_t askProperty(xcb_connection_t* connection, xcb_window_t window,
                                      xcb_atom_t property, xcb_atom_t type) {
  return xcb_get_property(connection, 0, window, property, type, 0, 4096);
}

// The 32-bit items of a window property of the given type; empty when it is absent.
std::vector<std::uint32_t> cardinals(xcb_connection_t* connection, xcb_get_property_cookie_t cookie,
                                     xcb_atom_t type) {
  const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
  if (reply == nullptr || reply->format != 32 || reply->type != type)
    return {};
  const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

// Without a window manager that lists its clients, the panels are among the root's children.
std::vector<std::uint32_t> topLevelWindows(xcb_connection_t* connection, xcb_window_t root) {
  const Reply<xcb_query_tree_reply_t> reply(
      xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
  if (reply == nullptr)
    return {};
  const xcb_window_t* children = xcb_query_tree_children(reply.get());
  return {children, children + xcb_query_tree_children_length(reply.get())};
}

void setProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                 xcb_atom_t type, const std::vector<std::uint32_t>& items) {
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 32,
                      static_cast<std::uint32_t>(items.size()), items.data());
}

} // namespace

// The type comes first with the normal type after it for window managers that do
// not know notifications. The states are merged by Qt with its own when it maps
// the window; the desktop 0xFFFFFFFF means every workspace.
void markAsDesktopNotification(QWidget& window) {
  xcb_connection_t* connection = x11Connection();
  if (connection == nullptr)
    return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const std::vector<xcb_atom_t> a =
      atoms(connection, {"_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NOTIFICATION",
                         "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
                         "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                         "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_DESKTOP"});
  setProperty(connection, id, a[0], XCB_ATOM_ATOM, {a[1], a[2]});
  setProperty(connection, id, a[3], XCB_ATOM_ATOM, {a[4], a[5], a[6], a[7]});
  setProperty(connection, id, a[8], XCB_ATOM_CARDINAL, {0xFFFFFFFFu});
  xcb_flush(connection);
}

std::optional<QRect> panelFreeArea(const QRect& monitor) {
  xcb_connection_t* connection = x11Connection();
  if (connection == nullptr)
    return std::nullopt;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  if (screen == nullptr)
    return std::nullopt;
  const std::vector<xcb_atom_t> a =
      atoms(connection, {"_NET_CLIENT_LIST", "_NET_WM_STRUT_PARTIAL", "_NET_WM_STRUT"});
  std::vector<std::uint32_t> clients = cardinals(
      connection, askProperty(connection, screen->root, a[0], XCB_ATOM_WINDOW), XCB_ATOM_WINDOW);
  if (clients.empty())
    clients = topLevelWindows(connection, screen->root);
  std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> asked;
  for (const std::uint32_t client : clients)
    asked.emplace_back(askProperty(connection, client, a[1], XCB_ATOM_CARDINAL),
                       askProperty(connection, client, a[2], XCB_ATOM_CARDINAL));
  const int width = screen->width_in_pixels;
  const int height = screen->height_in_pixels;
  std::vector<PanelStrut> struts;
  for (const auto& [partialCookie, plainCookie] : asked) {
    std::vector<std::uint32_t> value = cardinals(connection, partialCookie, XCB_ATOM_CARDINAL);
    const std::vector<std::uint32_t> plain = cardinals(connection, plainCookie, XCB_ATOM_CARDINAL);
    if (value.size() < 12) {
      // The older strut: four whole edges.
      if (plain.size() < 4)
        continue;
      value.assign(plain.begin(), plain.begin() + 4);
      const auto w = static_cast<std::uint32_t>(width);
      const auto h = static_cast<std::uint32_t>(height);
      value.insert(value.end(), {0, h, 0, h, 0, w, 0, w});
    }
    const auto at = [&value](int index) {
      return static_cast<int>(
          std::min<std::uint32_t>(value[static_cast<std::size_t>(index)], 0x7FFFFFFFu));
    };
    struts.push_back(
        {at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7), at(8), at(9), at(10), at(11)});
  }
  if (struts.empty())
    return std::nullopt;
  const DesktopRect area = monitorWorkArea(
      {monitor.x(), monitor.y(), monitor.width(), monitor.height()}, width, height, struts);
  return QRect(area.x, area.y, area.width, area.height);
}

#else

void markAsDesktopNotification(QWidget&) {}

std::optional<QRect> panelFreeArea(const QRect&) {
  return std::nullopt;
}

#endif

} // namespace zr

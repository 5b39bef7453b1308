// SPDX-License-Identifier: MIT

#include "app/program_tray.h"

#include "controls/menu_style.h"
#include "tray/popup_menu.h"
#include "tray/sys_tray.h"

namespace zr {

ProgramTray createProgramTray(QWidget& window) {
  auto* icon = new SysTray(&window);
  icon->setHint("Dorvel");
  icon->setIconAlwaysShow(false);
  SysTray::MessageOptions& messages = icon->messageOptions();
  messages.msgOnClose = true;
  messages.msgOnCloseDNSA = true;
  messages.msgOnMinimize = true;
  messages.msgOnMinimizeDNSA = true;
  auto* menu = new PopupMenu(&window);
  menu->setStyleSheet(kMenuStyleSheet);
  icon->setPopupMenu(menu);
  icon->setUsePopupMenu(true);
  icon->setSysTrayOnClose(true);
  icon->setSysTrayOnMinimize(true);
  return {icon, menu};
}

} // namespace zr

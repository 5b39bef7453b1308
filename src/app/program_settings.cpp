// SPDX-License-Identifier: MIT

#include "app/program_settings.h"

#include "app/data_files.h"
#include "app/settings.h"
#include "tray/popup_menu.h"
#include "tray/sys_tray.h"

namespace zr {

void ProgramSettings::read() {
  if (const std::optional<Settings> settings = files_.readSettings())
    use(*settings);
}

void ProgramSettings::write() {
  const SysTray::MessageOptions& messages = tray_.messageOptions();
  use(files_.writeSettings({options_.autoCheckForUpdates, messages.msgOnClose,
                            messages.msgOnMinimize, options_.keepSnoozed, options_.showMissed}));
}

void ProgramSettings::use(const Settings& settings) {
  options_ = {settings.autoCheckForUpdates, settings.keepSnoozed, settings.showMissed};
  files_.setKeepSnoozed(options_.keepSnoozed);
  tray_.messageOptions().msgOnClose = settings.onCloseMessage;
  tray_.messageOptions().msgOnMinimize = settings.onMinimizeMessage;
}

} // namespace zr

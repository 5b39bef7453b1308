// SPDX-License-Identifier: MIT

#include "app/settings.h"

#include "core/ini_file.h"
#include "platform/stored_text.h"

namespace zr {
namespace {

constexpr const char* kSection = "System";

} // namespace

Settings readSettings(const QString& path) {
  const IniFile ini(toNativePath(path));
  Settings settings;
  settings.autoCheckForUpdates = ini.readBool(kSection, "AutoCheckForUpdates", true);
  settings.onCloseMessage = ini.readBool(kSection, "OnCloseMessage", true);
  settings.onMinimizeMessage = ini.readBool(kSection, "OnMinimizeMessage", true);
  settings.keepSnoozed = ini.readBool(kSection, "KeepSnoozed", false);
  settings.showMissed = ini.readBool(kSection, "ShowMissed", false);
  return settings;
}

void writeSettings(const QString& path, const Settings& settings) {
  IniFile ini(toNativePath(path));
  ini.writeBool(kSection, "AutoCheckForUpdates", settings.autoCheckForUpdates);
  ini.writeBool(kSection, "OnCloseMessage", settings.onCloseMessage);
  ini.writeBool(kSection, "OnMinimizeMessage", settings.onMinimizeMessage);
  ini.writeBool(kSection, "KeepSnoozed", settings.keepSnoozed);
  ini.writeBool(kSection, "ShowMissed", settings.showMissed);
  ini.save();
}

} // namespace zr

// SPDX-License-Identifier: MIT

#include "app/settings.h"

#include "core/ini_file.h"

#include <QFile>

namespace zr {
namespace {

constexpr const char* kSection = "System";

std::string nativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

} // namespace

Settings readSettings(const QString& path) {
  const IniFile ini(nativePath(path));
  Settings settings;
  settings.autoCheckForUpdates = ini.readBool(kSection, "AutoCheckForUpdates", true);
  settings.onCloseMessage = ini.readBool(kSection, "OnCloseMessage", true);
  settings.onMinimizeMessage = ini.readBool(kSection, "OnMinimizeMessage", true);
  settings.keepSnoozed = ini.readBool(kSection, "KeepSnoozed", false);
  settings.showMissed = ini.readBool(kSection, "ShowMissed", false);
  return settings;
}

void writeSettings(const QString& path, const Settings& settings) {
  IniFile ini(nativePath(path));
  ini.writeBool(kSection, "AutoCheckForUpdates", settings.autoCheckForUpdates);
  ini.writeBool(kSection, "OnCloseMessage", settings.onCloseMessage);
  ini.writeBool(kSection, "OnMinimizeMessage", settings.onMinimizeMessage);
  ini.writeBool(kSection, "KeepSnoozed", settings.keepSnoozed);
  ini.writeBool(kSection, "ShowMissed", settings.showMissed);
  ini.save();
}

} // namespace zr

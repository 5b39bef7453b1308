// SPDX-License-Identifier: MIT

#include "platform/autostart.h"

#include "core/error.h"
#include "platform/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zr {
namespace {

constexpr const char* kEntryName = "ZRDorvelStartUp";

QString autostartFolder() {
  const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  // Relative values are invalid and must be ignored.
  if (!configHome.isEmpty() && !QDir::isAbsolutePath(configHome))
    qCWarning(lcAutostart, "XDG_CONFIG_HOME is not an absolute path (%s); using ~/.config",
              qUtf8Printable(configHome));
  const QString base =
      QDir::isAbsolutePath(configHome) ? configHome : QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/autostart");
}

QString entryPath() {
  return autostartFolder() + '/' + kEntryName + QStringLiteral(".desktop");
}

[[noreturn]] void fail() {
  throw Error(std::string("Failed to set data for '") + kEntryName + "'");
}

// One argument of an Exec line: quoted, with the characters that stay special inside
// double quotes escaped, "%" doubled because it starts field codes, and then the
// escapes every string value of a desktop entry needs.
QString execArgument(const QString& argument) {
  QString quoted = QStringLiteral("\"");
  for (const QChar c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      quoted += '\\';
    if (c == '%')
      quoted += '%';
    quoted += c;
  }
  quoted += '"';

  QString value;
  for (const QChar c : quoted) {
    if (c == '\\')
      value += QStringLiteral("\\\\");
    else if (c == '\n')
      value += QStringLiteral("\\n");
    else if (c == '\r')
      value += QStringLiteral("\\r");
    else if (c == '\t')
      value += QStringLiteral("\\t");
    else
      value += c;
  }
  return value;
}

QByteArray entryText(const QString& programPath) {
  return QStringLiteral("[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=ZR Dorvel\n"
                        "Exec=%1 -startup\n"
                        "Icon=zrdorvel\n"
                        "Terminal=false\n"
                        "X-GNOME-Autostart-enabled=true\n")
      .arg(execArgument(programPath))
      .toUtf8();
}

} // namespace

bool isStartingAtLogon() {
  const QFileInfo entry(entryPath());
  if (!entry.exists())
    return false;
  if (!entry.isFile() || !entry.isReadable())
    qCWarning(lcAutostart, "The autostart entry %s cannot be read; it counts as set",
              qUtf8Printable(entry.filePath()));
  return true;
}

void setStartingAtLogon(bool enabled, const QString& programPath) {
  const QString path = entryPath();
  if (!enabled) {
    if (QFile::exists(path) && !QFile::remove(path))
      fail();
    return;
  }
  if (!QDir().mkpath(autostartFolder()))
    fail();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(entryText(programPath)) < 0 || !file.commit())
    fail();
}

} // namespace zr

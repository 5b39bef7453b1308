#include "platform/autostart.h"

#include "core/error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace zr {
namespace {

constexpr const char* kEntryName = "ZRDorvelStartUp";

QString autostartFolder() {
  const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  // Relative values are invalid and must be ignored.
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
  return QFile::exists(entryPath());
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

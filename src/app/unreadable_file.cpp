// SPDX-License-Identifier: MIT

#include "app/unreadable_file.h"

#include <QFile>

namespace zr {

QString keepUnreadableCopy(const QString& path, DateTime moment) {
  const CalendarDate date = decodeDate(moment);
  const ClockTime time = decodeTime(moment);
  const QString copy = QString("%1.unreadable-%2%3%4-%5%6%7")
                           .arg(path)
                           .arg(date.year, 4, 10, QChar('0'))
                           .arg(date.month, 2, 10, QChar('0'))
                           .arg(date.day, 2, 10, QChar('0'))
                           .arg(time.hour, 2, 10, QChar('0'))
                           .arg(time.minute, 2, 10, QChar('0'))
                           .arg(time.second, 2, 10, QChar('0'));
  return QFile::copy(path, copy) ? copy : QString();
}

} // namespace zr

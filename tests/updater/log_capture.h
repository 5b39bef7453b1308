// SPDX-License-Identifier: MIT

#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zr::test {

// Collects the messages logged while it lives, from any thread, each as
// "category: message". One at a time.
class LogCapture {
public:
  LogCapture() {
    instance() = this;
    previous_ = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& message) {
          const QMutexLocker lock(&instance()->mutex_);
          instance()->lines_.append(QString("%1: %2").arg(context.category, message));
        });
  }
  ~LogCapture() {
    qInstallMessageHandler(previous_);
    instance() = nullptr;
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The lines of one category.
  QStringList lines(const QString& category) const {
    const QMutexLocker lock(&mutex_);
    QStringList found;
    for (const QString& line : lines_)
      if (line.startsWith(category + ": "))
        found.append(line);
    return found;
  }
  QStringList all() const {
    const QMutexLocker lock(&mutex_);
    return lines_;
  }

private:
  static LogCapture*& instance() {
    static LogCapture* current = nullptr;
    return current;
  }

  mutable QMutex mutex_;
  QtMessageHandler previous_;
  QStringList lines_;
};

} // namespace zr::test

// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QtMessageHandler>

namespace zr::test {

// Collects the warning lines of the program's own logging categories
// ("zrdorvel.*") as "<category>: <message>" while it lives; every other message
// goes on to the handler that was there before.
class WarningCatcher {
public:
  WarningCatcher();
  ~WarningCatcher();
  WarningCatcher(const WarningCatcher&) = delete;
  WarningCatcher& operator=(const WarningCatcher&) = delete;

  // The lines caught so far from the category, and forgets them.
  QStringList take(const char* category);

private:
  static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

  QStringList lines_;
  QtMessageHandler previous_;
};

} // namespace zr::test

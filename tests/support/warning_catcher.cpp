// SPDX-License-Identifier: MIT

#include "support/warning_catcher.h"

#include <QString>

namespace zr::test {
namespace {

WarningCatcher* active = nullptr;

} // namespace

WarningCatcher::WarningCatcher() : previous_(qInstallMessageHandler(&WarningCatcher::handle)) {
  active = this;
}

WarningCatcher::~WarningCatcher() {
  qInstallMessageHandler(previous_);
  active = nullptr;
}

QStringList WarningCatcher::take(const char* category) {
  const QString prefix = QString::fromLatin1(category) + ": ";
  QStringList taken;
  for (qsizetype i = 0; i < lines_.size();) {
    if (lines_[i].startsWith(prefix))
      taken.append(lines_.takeAt(i));
    else
      ++i;
  }
  return taken;
}

void WarningCatcher::handle(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
  const QString category = QString::fromLatin1(context.category ? context.category : "");
  if (type == QtWarningMsg && category.startsWith("zrdorvel.")) {
    active->lines_.append(category + ": " + message);
    return;
  }
  if (active->previous_)
    active->previous_(type, context, message);
}

} // namespace zr::test

// SPDX-License-Identifier: MIT

#include "platform/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zr {

void openWebAddress(const QString& address) {
  if (address.trimmed().isEmpty())
    return;
  QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

} // namespace zr

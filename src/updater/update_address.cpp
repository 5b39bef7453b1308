// SPDX-License-Identifier: MIT

#include "updater/update_address.h"

#include "platform/build_info.h"

namespace zr {

QString updateInfoAddress() {
  const QString configured = qEnvironmentVariable("ZRDORVEL_UPDATE_INFO_URL");
  return configured.isEmpty() ? QString::fromUtf8(build_info::kUpdateInfoUrl) : configured;
}

} // namespace zr

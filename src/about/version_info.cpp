// SPDX-License-Identifier: MIT

#include "about/version_info.h"

#include "platform/build_info.h"

namespace zr {

VersionInfo programVersionInfo() {
  return {QString::fromUtf8(build_info::kFileVersion), QString::fromUtf8(build_info::kCompanyName),
          QString::fromUtf8(build_info::kLegalCopyright)};
}

QString fileVersion() {
  return programVersionInfo().fileVersion;
}

} // namespace zr

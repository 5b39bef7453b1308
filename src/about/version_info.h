// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// The version data the program carries with it.
struct VersionInfo {
  QString fileVersion;
  QString companyName;
  QString legalCopyright;
};

VersionInfo programVersionInfo();

// The program's file version, such as "2.1.2.29": the running version that the
// updater compares with the one on offer.
QString fileVersion();

} // namespace zr

// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Starts a program that goes on running after this one has ended, in its own
// folder, with no arguments. A downloaded file is first made executable.
// Returns whether it could be started.
bool startDetachedProgram(const QString& path);

} // namespace zr

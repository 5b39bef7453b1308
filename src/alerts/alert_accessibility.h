// SPDX-License-Identifier: MIT

#pragma once

namespace zr {

// Makes an alert known to screen readers as an alert named after its reminder
// (with the late note), described by its message, with its controls inside.
// Safe to call more than once.
void installAlertAccessibility();

} // namespace zr

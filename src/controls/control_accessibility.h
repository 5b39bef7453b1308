// SPDX-License-Identifier: MIT

#pragma once

namespace zr {

// Makes the painted controls known to screen readers: a spin label is a spin box
// with a value (min..max, step 1) and the increase and decrease actions; a
// scrolling text exposes its lines as read-only text, with a scroll bar child whose
// value is the first row shown. Safe to call more than once.
void installControlAccessibility();

} // namespace zr

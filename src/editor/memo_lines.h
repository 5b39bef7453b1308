// SPDX-License-Identifier: MIT

#pragma once

#include <QPlainTextEdit>
#include <QStringList>

namespace zr {

// Puts the lines into the memo, one paragraph each. An empty last line stays a
// line of its own, so reading the memo back gives the same lines.
void setMemoLines(QPlainTextEdit& memo, const QStringList& lines);

// The lines as the memo shows them: a paragraph wider than the memo gives one
// line per displayed row, broken where the memo wrapped it. An empty last line
// is left out. Line breaks, NUL and 1A are removed from every line.
QStringList displayedMemoLines(const QPlainTextEdit& memo);

} // namespace zr

// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <ostream>

// Lets gtest print QStrings as text rather than as a byte dump.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

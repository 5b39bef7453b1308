#pragma once

#include <QString>

namespace zr {

// The document name of a web address: the text after the last "/" of its path,
// without the query or the fragment, as it is written in the address (escapes
// such as "%2F" stay as they are, so the name never leads into another folder).
QString documentName(const QString& address);

} // namespace zr

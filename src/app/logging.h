// SPDX-License-Identifier: MIT

#pragma once

#include <QLoggingCategory>

namespace zr {

// "zrdorvel.app": what the main window cannot show in a box, such as an error met
// while the program ends with the session, or a later copy that cannot reach this
// one. On standard error, and so in the journal.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

} // namespace zr

#pragma once

#include <QLoggingCategory>

// Messages of the main window that no one is there to see in a box (the program is
// ending with the session), on standard error and so in the journal.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

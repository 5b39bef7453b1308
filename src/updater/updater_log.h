#pragma once

#include <QLoggingCategory>

// Warnings of the updater that the user is not shown: a silent update check
// that failed, a proxy that could not be read, a leftover download folder that
// could not be deleted. One line each.
Q_DECLARE_LOGGING_CATEGORY(updaterLog)

#include "updater/updater_log.h"

Q_LOGGING_CATEGORY(updaterLog, "zrdorvel.updater")

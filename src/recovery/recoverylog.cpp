#include "recoverylog.h"

Q_LOGGING_CATEGORY(lcRecovery, "veligram.recovery")

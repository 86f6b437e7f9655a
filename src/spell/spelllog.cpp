#include "spelllog.h"

Q_LOGGING_CATEGORY(lcSpell, "veligram.spell")

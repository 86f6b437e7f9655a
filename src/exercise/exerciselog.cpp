#include "exerciselog.h"

Q_LOGGING_CATEGORY(lcExercise, "veligram.exercise")

#pragma once

#include <QString>

// The program's commands and routines whose failures a box reports. Each has
// the name its box shows, as users know it (texts/routine-names.def).
enum class Routine {
#define ROUTINE(routine, shown) routine,
#include "routine-names.def"
#undef ROUTINE
};

// The name the box of a failure in `routine` shows.
QString RoutineName(Routine routine);
// The command that chooses COM `number` (1 to 16).
Routine ChooseComRoutine(int number);

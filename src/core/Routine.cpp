#include "core/Routine.h"

QString RoutineName(Routine routine)
{
    static const char* const shown[] = {
#define ROUTINE(routine, shown) shown,
#include "routine-names.def"
#undef ROUTINE
    };
    return QLatin1String(shown[static_cast<int>(routine)]);
}

Routine ChooseComRoutine(int number)
{
    return static_cast<Routine>(static_cast<int>(Routine::ChooseCom1) + number - 1);
}

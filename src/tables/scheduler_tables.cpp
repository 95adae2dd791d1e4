#include "tables/scheduler_tables.h"

#include "base/types.h"
#include "tables/code_lookup.h"

namespace vm880 {

int FindSchedHour(std::string_view code)
{
    return HasCode(SchedHours, code) ? kValid : kInvalid;
}

int FindSchedDay(std::string_view code)
{
    return HasCode(SchedDays, code) ? kValid : kInvalid;
}

int FindSchedWeek(std::string_view code)
{
    return HasCode(SchedWeeks, code) ? kValid : kInvalid;
}

} // namespace vm880

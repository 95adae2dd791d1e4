#include "editors/functions/clock_correction.h"

#include "base/value_checks.h"
#include "tables/code_lookup.h"

namespace vm880 {

namespace {

bool IsNegativeMark(char c)
{
    return c == 'A' || c == 'a' || c == '-';
}

} // namespace

Text ClockCorrectionForm(std::string_view typed)
{
    Text value(TrimSpaces(typed));
    if (!value.empty() && IsNegativeMark(value.front()))
        value.front() = 'A';
    return value;
}

bool IsValidClockCorrection(std::string_view value)
{
    if (value.empty())
        return true;
    if (IsNegativeMark(value.front()))
        value.remove_prefix(1);
    return CheckNumber(value, 0, 59) == kValid;
}

} // namespace vm880

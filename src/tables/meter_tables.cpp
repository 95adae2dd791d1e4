#include "tables/meter_tables.h"

#include "base/value_checks.h"
#include "tables/code_lookup.h"

namespace vm880 {

int FindMeterType(std::string_view code)
{
    return FindRowByCode(MeterTypes, code);
}

int FindMeterAlarmType(std::string_view code)
{
    return FindRowByCode(MeterAlarmTypes, code);
}

int CheckMeterSetPoint(std::string_view value)
{
    if (value.empty())
        return kInvalid;
    if (value.front() == 'A' || value.front() == 'a')
        value.remove_prefix(1);
    return CheckNumberLong(value, 0, 35000);
}

Text MeterSetPointForm(std::string_view value)
{
    Text form = UpperCase(value);
    for (char& c : form)
        if (c == '-')
            c = 'A';
    return form;
}

} // namespace vm880

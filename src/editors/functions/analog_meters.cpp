#include "editors/functions/analog_meters.h"

#include "base/text.h"
#include "tables/meter_tables.h"

namespace vm880 {

using M = ConfigModel;

const std::array<MeterField, 4> kMeterFields = {{
    {1, "RealLowSetting", &M::RealLow, "Real Low"},
    {2, "MeterLowSetting", &M::MeterLow, "Meter Low"},
    {3, "RealHighSetting", &M::RealHigh, "Real High"},
    {4, "MeterHighSetting", &M::MeterHigh, "Meter High"},
}};

Text TripValueEntered(std::string_view typed)
{
    return MeterSetPointForm(TrimBlanks(typed));
}

std::optional<std::string> TripValueRefusal(std::string_view value)
{
    if (CheckMeterSetPoint(value) == kValid)
        return std::nullopt;
    return "Trip Value invalid, must be between 0 and 35000 with a leading 'A' allowed to "
           "indicate negative";
}

} // namespace vm880

#include "tables/option_tables.h"

#include "base/value_checks.h"
#include "tables/code_lookup.h"

namespace vm880 {

int IDExtrasIndex(std::string_view value)
{
    const Text wanted = UpperCase(TrimSpaces(value));
    for (std::size_t i = 0; i < IDExtrasTable.size(); ++i)
        if (UpperCase(IDExtrasTable[i].code) == wanted)
            return static_cast<int>(i) + 1;
    return -1;
}

int AccessModeIndex(std::string_view value)
{
    return FindRowByCode(AccessModeTable, value);
}

int TailMessageIndex(std::string_view value)
{
    return FindRowByCode(TailMessageTable, value);
}

int IDSpeakTimeInvalid(std::string_view speechTime, std::string_view pendingIDTime)
{
    if (CheckNumber(speechTime, 0, 15300) == kInvalid)
        return kInvalid;
    const std::optional<double> minutes = NumericValue(pendingIDTime);
    if (!minutes)
        return kInvalid;
    if (*minutes == 0)
        return kValid;
    // CheckNumber passed, so the speech time is at most five digits (leading zeros aside).
    const double seconds = LeadingNumber(speechTime);
    return *minutes * 60 < seconds ? kInvalid : kValid;
}

} // namespace vm880

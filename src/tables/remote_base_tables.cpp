#include "tables/remote_base_tables.h"

#include "base/value_checks.h"
#include "tables/code_lookup.h"

#include <algorithm>

namespace vm880 {

namespace {

bool unusedMemory(std::string_view value, int memory)
{
    return value == "NONE" && memory > 10;
}

int checkMemoryNumber(std::string_view value, int memory, int low, int high)
{
    if (value.empty())
        return kInvalid;
    if (unusedMemory(value, memory))
        return kValid;
    return CheckNumber(value, low, high);
}

} // namespace

int FindRadioType(std::string_view code)
{
    return FindRowByCode(RadioTypes, code);
}

int FindYaesuType(std::string_view code)
{
    return FindRowByCode(YaesuTypes, code);
}

int CheckFreqString(std::string_view value, int memory)
{
    if (value.empty())
        return kInvalid;
    if (unusedMemory(value, memory))
        return kValid;
    const bool digitsOnly =
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digitsOnly ? kValid : kInvalid;
}

int CheckCTCSSCode(std::string_view value, int memory)
{
    return checkMemoryNumber(value, memory, 0, 49);
}

int CheckCTCSSMode(std::string_view value, int memory)
{
    return checkMemoryNumber(value, memory, 0, 2);
}

int CheckRadioMode(std::string_view value, int memory)
{
    return checkMemoryNumber(value, memory, 1, 5);
}

} // namespace vm880

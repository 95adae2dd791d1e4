#include "base/value_checks.h"

#include <algorithm>

namespace vm880 {

namespace {

bool allDigits(std::string_view value)
{
    return std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits only first, then the range: a sign, point, exponent or blank is never valid,
// and long runs of digits are compared without overflowing.
int checkRange(std::string_view value, long double low, long double high)
{
    if (value.empty() || !allDigits(value))
        return kInvalid;
    long double v = 0;
    for (char c : value)
        v = v * 10 + (c - '0');
    return (v >= low && v <= high) ? kValid : kInvalid;
}

} // namespace

int CheckNumber(std::string_view value, int low, int high)
{
    return checkRange(value, low, high);
}

int CheckNumberLong(std::string_view value, long low, long high)
{
    return checkRange(value, low, high);
}

int CheckZeroOne(std::string_view value)
{
    return (value == "0" || value == "1") ? kValid : kInvalid;
}

Text FileNameFromPath(std::string_view path)
{
    std::size_t cut = path.find_last_of("\\/");
    return Text(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

} // namespace vm880

#include "tables/dtmf_digits.h"

#include "base/text.h"
#include "tables/code_lookup.h"

namespace vm880 {

int DTMFDigitToCode(std::string_view digit)
{
    for (std::size_t i = 0; i < DTMFDigitTable.size(); ++i)
        if (DTMFDigitTable[i] == digit)
            return static_cast<int>(i) + 1;
    return -1;
}

std::string DTMFCodeToDigit(std::string_view code)
{
    for (std::size_t i = 0; i < DTMFDigitTable.size(); ++i)
        if (code == std::to_string(i + 1))
            return std::string(DTMFDigitTable[i]);
    return {};
}

int CheckDTMFDigits(std::string_view value, int minLen, int maxLen)
{
    if (value.empty())
        return kInvalid;
    const int n = static_cast<int>(value.size());
    if (n < minLen || n > maxLen)
        return kInvalid;
    for (char c : value)
        if (DTMFDigitToCode(std::string_view(&c, 1)) == -1)
            return kInvalid;
    return kValid;
}

Text TerminatorDigit(std::string_view terminator)
{
    return UpperCase(TrimBlanks(terminator));
}

bool HoldsTerminator(std::string_view text, std::string_view terminator)
{
    const Text digit = TerminatorDigit(terminator);
    return !digit.empty() && text.find(digit) != std::string_view::npos;
}

} // namespace vm880

#include "base/text.h"

#include <climits>

namespace vm880 {

std::string_view TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimSpaces(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

long LeadingWholeNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > (LONG_MAX - 9) / 10)
            return negative ? LONG_MIN : LONG_MAX; // absurdly long: saturate
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<long long> DigitsValue(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (value < 1'000'000'000)
            value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace vm880

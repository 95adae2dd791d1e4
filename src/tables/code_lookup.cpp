#include "tables/code_lookup.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace vm880 {

int FindRowByCode(CodeTable table, std::string_view code)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].code == code)
            return static_cast<int>(i) + 1;
    return -1;
}

int FindRowByText(CodeTable table, std::string_view text)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].text == text)
            return static_cast<int>(i) + 1;
    return -1;
}

Text CodeForText(CodeTable table, std::string_view text)
{
    const int row = FindRowByText(table, text);
    return row == -1 ? Text() : Text(table[row - 1].code);
}

Text TextForCode(CodeTable table, std::string_view code)
{
    const int row = FindRowByCode(table, code);
    return row == -1 ? Text() : Text(table[row - 1].text);
}

bool HasCode(CodeTable table, std::string_view code)
{
    return FindRowByCode(table, code) != -1;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of digits starting at `pos`.
std::size_t digitRun(std::string_view text, std::size_t pos)
{
    std::size_t n = 0;
    while (pos + n < text.size() && isDigit(text[pos + n]))
        ++n;
    return n;
}

} // namespace

int CodeValue(std::string_view code)
{
    return static_cast<int>(std::clamp<long>(LeadingWholeNumber(code), INT_MIN, INT_MAX));
}

double LeadingNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    std::size_t intDigits = digitRun(text, pos);
    pos += intDigits;
    std::size_t fracDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        fracDigits = digitRun(text, pos + 1);
        if (fracDigits > 0)
            pos += 1 + fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return 0;
    // from_chars takes no '+' sign.
    std::string_view number = text.substr(start, pos - start);
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

std::optional<double> NumericValue(std::string_view text)
{
    text = TrimSpaces(text);
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    const std::size_t intDigits = digitRun(text, pos);
    pos += intDigits;
    std::size_t fracDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        fracDigits = digitRun(text, pos + 1);
        pos += 1 + fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            negativeExponent = text[pos++] == '-';
        const std::size_t expDigits = digitRun(text, pos);
        if (expDigits == 0)
            return std::nullopt;
        pos += expDigits;
    }
    if (pos != text.size())
        return std::nullopt;

    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : HUGE_VAL;
    return negative ? -value : value;
}

Text UpperCase(std::string_view text)
{
    Text upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::vector<std::string_view> SplitAtBlanks(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = text.find(' ', start);
        if (blank == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, blank - start));
        start = blank + 1;
    }
}

} // namespace vm880

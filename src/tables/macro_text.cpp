#include "tables/macro_text.h"

#include "base/text.h"
#include "base/value_checks.h"
#include "tables/code_lookup.h"
#include "tables/sequence_text.h"

#include <algorithm>
#include <optional>

namespace vm880 {

namespace {

// The value of a token that is a whole number (an optional sign, then digits); nothing for
// any other token. Long runs of digits saturate: they cost the same as any large number.
std::optional<long long> numberValue(std::string_view token)
{
    bool negative = false;
    if (!token.empty() && (token.front() == '-' || token.front() == '+')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    const std::optional<long long> value = DigitsValue(token);
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

} // namespace

std::string NormalizeMacroText(std::string_view text)
{
    const std::string_view trimmed = TrimSpaces(text);
    const std::string upper = UpperCase(trimmed);
    if (trimmed.empty() || upper == kNoneStored || upper == "NONE")
        return std::string(kNoneStored);
    return SquashBlanks(trimmed);
}

int CheckMacroFunctions(std::string_view text)
{
    if (text == kNoneStored)
        return kValid;
    if (text.empty())
        return kInvalid;
    for (std::string_view token : SplitAtBlanks(text))
        if (!token.empty() && MacroFunctionIndex(token) == -1)
            return kInvalid;
    return kValid;
}

int MacroByteCount(std::string_view text)
{
    if (text == kNoneStored)
        return 0;
    int bytes = 0;
    for (std::string_view token : SplitAtBlanks(text))
        if (const std::optional<long long> value = numberValue(token))
            bytes += MacroCodeByteCount(*value);
    return bytes;
}

int CheckMacroSubset(std::string_view range)
{
    if (range.size() != 4)
        return kInvalid;
    const std::string_view first = range.substr(0, 2);
    const std::string_view last = range.substr(2, 2);
    if (CheckNumber(first, 1, 90) != kValid || CheckNumber(last, 1, 90) != kValid)
        return kInvalid;
    return first <= last ? kValid : kInvalid; // two digits each, so text order is number order
}

std::string DescribeMacro(std::string_view text)
{
    const std::string upper = UpperCase(text);
    // "NONE STORED" joins the markers of an empty macro so that it never reads as two errors.
    if (text.empty() || upper == "NONE SELECTED" || upper == "NONE" || upper == kNoneStored)
        return {};
    constexpr std::string_view kJoin = " | ";
    std::string described;
    for (std::string_view piece : SplitAtBlanks(text)) {
        const std::string_view token = TrimSpaces(piece);
        if (token.empty())
            continue;
        const int index = MacroFunctionIndex(token);
        if (index == -1) {
            described += "***ERROR***";
        } else {
            const std::string_view shown = MacroFunctionList()[index - 1].text;
            described += shown.substr(std::min<std::size_t>(4, shown.size()));
        }
        described += kJoin;
    }
    if (!described.empty())
        described.resize(described.size() - kJoin.size());
    return described;
}

MacroEdit InsertMacroFunction(std::string_view text, int selStart, int selLength,
                              std::string_view code)
{
    std::string s(text);
    int c = selStart;
    int l = selLength;
    const std::string_view trimmed = TrimSpaces(text);
    if (trimmed == kNoneStored || trimmed == "NONE") {
        s.clear();
        c = 0;
        l = 0;
    }
    const int length = static_cast<int>(s.size());
    c = std::clamp(c, 0, length);
    l = std::clamp(l, 0, length - c);

    MacroEdit edit;
    if (c == 0) {
        s.erase(0, static_cast<std::size_t>(l));
        edit.text = std::string(code) + ' ' + s;
        edit.caret = static_cast<int>(code.size()) + 1;
    } else if (c == length) {
        edit.text = s + ' ' + std::string(code);
        edit.caret = static_cast<int>(edit.text.size());
    } else {
        s.erase(static_cast<std::size_t>(c), static_cast<std::size_t>(l));
        edit.text = s.substr(0, static_cast<std::size_t>(c)) + ' ' + std::string(code) + ' ' +
                    s.substr(static_cast<std::size_t>(c));
        edit.caret = c + static_cast<int>(code.size()) + 2;
    }
    return edit;
}

void FillMacroNumberList(std::vector<ListItem>& list)
{
    for (int n = 1; n <= 90; ++n)
        list.push_back({std::to_string(n), n});
}

} // namespace vm880

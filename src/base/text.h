#pragma once
// The text helpers every layer shares: one trim per meaning and the whole-number readers.

#include <optional>
#include <string_view>

namespace vm880 {

// The text without blanks and tabs at either end (how the settings file's lines are read).
std::string_view TrimBlanks(std::string_view text);

// The text without blanks (U+0020 only; tabs stay) at either end.
std::string_view TrimSpaces(std::string_view text);

// The numeric value of a setting's text as the lists, switches and program settings read it:
// leading blanks skipped, an optional sign, then the digits up to the first other
// character; 0 when there are none. A long run of digits saturates.
long LeadingWholeNumber(std::string_view text);

// The value of a text of digits only; nothing for any other text (the empty one included).
// Long runs of digits saturate (near 10^10) instead of overflowing.
std::optional<long long> DigitsValue(std::string_view text);

} // namespace vm880

#pragma once
// Generic lookups over any code table, and the small text helpers that the tables' own
// lookups share. Row numbers are 1-based; -1 means "no such row".

#include "base/text.h"
#include "base/types.h"
#include "tables/code_table.h"

#include <optional>
#include <string_view>
#include <vector>

namespace vm880 {

// Row of the first row whose code equals `code` exactly, or -1.
int FindRowByCode(CodeTable table, std::string_view code);

// Row of the first row whose display text equals `text` exactly, or -1.
int FindRowByText(CodeTable table, std::string_view text);

// The code of the first row showing `text`, or the empty text.
Text CodeForText(CodeTable table, std::string_view text);

// The display text of the first row holding `code`, or the empty text.
Text TextForCode(CodeTable table, std::string_view code);

// Whether `code` is one of the table's codes (compared exactly).
bool HasCode(CodeTable table, std::string_view code);

// The whole number a code begins with, as a list keeps it for its item:
// "00" gives 0, "-1" gives -1, "99" gives 99, an empty or non-numeric code 0.
int CodeValue(std::string_view code);

// The number a text begins with (leading blanks, a sign, digits and a decimal part);
// 0 when it begins with none. Used to match a stored value against list item data.
double LeadingNumber(std::string_view text);

// The value of a text that is one decimal number as a whole (blanks around it, a sign,
// a decimal part and an exponent allowed); nothing for any other text. Hexadecimal,
// "inf" and "nan" are not numbers here. Independent of the process locale.
std::optional<double> NumericValue(std::string_view text);
inline bool IsNumericText(std::string_view text) { return NumericValue(text).has_value(); }

// The text with ASCII letters a-z made capitals; other bytes unchanged.
Text UpperCase(std::string_view text);

// The pieces of `text` between single blanks, empty pieces included
// ("A  B" gives "A", "", "B"; "" gives one empty piece).
std::vector<std::string_view> SplitAtBlanks(std::string_view text);

} // namespace vm880

#pragma once
// Rules for macro texts: three-digit function codes separated by single blanks, in the order
// the controller runs them, or "NONE STORED" for a macro without functions. Macros 1-40 are
// long (at most kLongMacroByteLimit controller bytes), 41-90 short (kShortMacroByteLimit).
//
// The checks return 0 (kValid) or 8 (kInvalid) and never show anything; CheckMacroFunctions
// and DescribeMacro look codes up in the working copy MacroFunctionList.

#include "base/types.h"
#include "tables/macro_coding.h"
#include "tables/macro_functions.h"

#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

// Outer blanks removed; "NONE STORED" for an empty text and for "NONE STORED" or "NONE" in any
// case; otherwise the blank-separated tokens joined by single blanks. Only the blank separates
// tokens (a tab stays inside one) and tokens keep their case.
std::string NormalizeMacroText(std::string_view text);

// 0 for "NONE STORED" (exactly) and for a text whose every token is a code of the working
// copy, compared exactly ("1" is not "001"); empty tokens pass. 8 for an empty text.
int CheckMacroFunctions(std::string_view text);

// The controller bytes the text's numeric tokens take (see MacroCodeByteCount); other tokens
// add nothing; 0 for "NONE STORED".
int MacroByteCount(std::string_view text);

// A macro subset range "ffll": four characters, ff and ll each 01-90, ff not above ll.
int CheckMacroSubset(std::string_view range);

// The tool tip of a macro: the descriptions of its functions (display text without the code
// and its blank) joined by " | ", "***ERROR***" in place of an unknown code. Empty for an
// empty text, for blanks only, and for "NONE", "NONE STORED" and "NONE SELECTED" in any case.
std::string DescribeMacro(std::string_view text);

// A macro box after a function code was put in at its caret.
struct MacroEdit {
    std::string text;
    int caret = 0; // selection start; the selection length becomes 0
};

// Puts the code into a macro box's text at the caret, replacing the selection, with a blank
// between it and its neighbours; a box showing "NONE STORED" or "NONE" is emptied first.
// Doubled or trailing blanks are left for NormalizeMacroText. A caret or selection outside
// the text is clamped to it.
MacroEdit InsertMacroFunction(std::string_view text, int selStart, int selLength,
                              std::string_view code);

// Appends the items "1" to "90", each with its number as data.
void FillMacroNumberList(std::vector<ListItem>& list);

} // namespace vm880

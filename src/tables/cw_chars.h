#pragma once
// The controller's CW characters with their two-digit codes. CW IDs are stored as these
// characters; "WORD_SPACE" is the gap between words, "AR" and "SK" are procedure signals.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string_view>

namespace vm880 {

extern const std::array<CodeRow, 43> CWCharTable;

// Each lookup trims blanks from both ends of its argument and upper-cases it; an argument
// that is then empty finds nothing.

// Row of the character, or -1.
int CWCharIndex(std::string_view character);

// The character's two-digit code, or the empty text.
Text CWCharToCode(std::string_view character);

// The character of a code; a one-character code is widened with a leading zero first,
// so "7" gives "7" (code "07"). The empty text when there is no such code.
Text CWCodeToChar(std::string_view code);

} // namespace vm880

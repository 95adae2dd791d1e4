#pragma once
// The controller's speech vocabulary: the words it can speak and the voice recordings,
// each with the three-digit code the controller takes. Voice IDs and message macros are
// stored as these words, so their spellings ("FOURTY", "OCLOCK") are part of the file format.

#include "base/types.h"
#include "tables/code_table.h"

#include <array>
#include <string_view>

namespace vm880 {

// Rows 1..236 the spoken words (codes "000".."235"), row 237 the separator " " with code
// "-1" (shown between the words and the recordings in the pick list), rows 238..256 the
// recordings "DVR1".."DVR19" (codes "236".."254"), row 257 empty.
extern const std::array<CodeRow, 257> VocabularyTable;

// Each lookup trims blanks from both ends of its argument and upper-cases it; an argument
// that is then empty finds nothing.

// Row of the word, or -1. The separator row is never found.
int VocabWordIndex(std::string_view word);

// The word's three-digit code, or the empty text.
Text VocabWordToCode(std::string_view word);

// The word of a code; a code of one or two characters is widened with leading zeros first,
// so "5", "05" and "005" all give "FIVE". The empty text when there is no such code.
Text VocabCodeToWord(std::string_view code);

} // namespace vm880

#pragma once
// Sequence texts: voice IDs and message macros (vocabulary words), CW IDs (CW characters)
// and DTMF memories (DTMF digits), each kept as tokens separated by single blanks.
// "NONE STORED" stands for an empty message macro or DTMF memory.
//
// The checks return 0 (kValid) or 8 (kInvalid) and do not normalise: callers run
// SquashBlanks (words, characters) or SpaceDTMFString (digits) first.

#include "base/types.h"

#include <string_view>

namespace vm880 {

inline constexpr std::string_view kNoneStored = "NONE STORED";

inline constexpr int kMaxVoiceIDWords = 22;
inline constexpr int kMaxCWIDChars = 15;
inline constexpr int kMaxMessageMacroWords = 9;
inline constexpr int kMaxDTMFDigits = 10;

// Blanks trimmed from both ends and runs of blanks made single. Only U+0020 counts as a
// blank; tabs and other characters stay inside their tokens.
Text SquashBlanks(std::string_view text);

// Number of non-empty tokens; 0 for "NONE STORED" and for an empty text.
int CountWords(std::string_view text);

// 0 when every blank-separated piece (empty pieces from doubled or outer blanks included)
// is a vocabulary word / CW character, or the text is blank; else 8. Case is ignored.
int CheckVocabWords(std::string_view text);
int CheckCWChars(std::string_view text);

// 1..22 vocabulary words.
int CheckVoiceID(std::string_view text);
// 1..15 CW characters.
int CheckCWID(std::string_view text);
// "NONE STORED", or 1..9 vocabulary words without "DVR20".
int CheckMessageMacro(std::string_view text);

// Number of tokens that are exactly one DTMF digit; 0 for "NONE STORED" and an empty text.
int CountDTMFDigits(std::string_view text);

// "NONE STORED", or 1..10 single DTMF digits (capitals only) separated by single blanks.
int DTMFStringInvalid(std::string_view text);

// The text's non-blank characters with one blank between neighbours ("12A" gives "1 2 A");
// "NONE STORED" unchanged. Characters are neither upper-cased nor checked.
Text SpaceDTMFString(std::string_view text);

// The state of a text box that a picked word or digit goes into: its text, the caret
// (characters before it; the start of the selection when there is one) and the length
// of the selection.
struct CaretText {
    Text text;
    int caret = 0;
    int selectionLength = 0;
};

// Puts `word` into the box at the caret, replacing the selection, with a blank on each
// side that has a neighbour; the caret ends after the inserted word (and its trailing
// blank, when there is one) and the selection is cleared. Blanks are added even next to
// an existing blank: the editors squash the text when the field is left.
void InsertWordAtCaret(CaretText& box, std::string_view word);

// The same for a DTMF digit.
void InsertDTMFDigit(CaretText& box, std::string_view digit);

} // namespace vm880

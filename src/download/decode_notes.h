#pragma once
// What the memory decoders share: the list of values they had to replace, the rule for
// characters a settings file can hold, and a bounded read of a whole memory file.

#include "base/types.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

class Prompts;

// One line per replaced value, naming the setting and where it came from.
using DecodeNotes = std::vector<std::string>;

// Memory bytes become characters in a few settings (codes, prefixes, frequencies, autodial
// numbers). Only printable ASCII is kept: line breaks and NUL would break the settings file,
// and no such setting has any use for other control or 8-bit characters.
inline bool StorableChar(unsigned char c)
{
    return c >= 0x20 && c <= 0x7E;
}

// The character stored in place of one that cannot be stored. Every check of these settings
// refuses it, so the settings-file load reports it as well.
inline constexpr char kReplacementChar = '?';

// Stores `text` into `target`, each character that cannot be stored replaced first; when any
// was, adds a note "<where>: ...".
void StoreText(Text& target, std::string text, std::string_view where, DecodeNotes& notes);

// One exclamation box listing the notes (the first few when there are many); nothing when
// there are none.
void ShowDecodeNotes(Prompts& prompts, std::string_view title, const DecodeNotes& notes);

// The first `limit` bytes of a file (all of it when shorter), read as InputFile reads it.
// Throws SystemError with InputFile's refusal when the file is missing, is no regular file
// or cannot be read.
std::string ReadFileStart(const std::string& path, std::size_t limit);

// Rounds to the nearest whole number, a half to the even neighbour, as the controller's
// tools round.
double RoundHalfEven(double value);

// A text safe to quote in a message: at most `maxLength` characters, unstorable ones as "?".
std::string Printable(std::string_view text, std::size_t maxLength = 24);

} // namespace vm880

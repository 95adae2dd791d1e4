#include "tables/sequence_text.h"

#include "tables/code_lookup.h"
#include "tables/cw_chars.h"
#include "tables/dtmf_digits.h"
#include "tables/vocabulary.h"

#include <algorithm>

namespace vm880 {

namespace {

// 0 when every piece of the untrimmed text is found by `index`; a blank text passes.
template <typename Index>
int checkTokens(std::string_view text, Index index)
{
    if (TrimSpaces(text).empty())
        return kValid;
    for (std::string_view piece : SplitAtBlanks(text))
        if (index(piece) == -1)
            return kInvalid;
    return kValid;
}

} // namespace

Text SquashBlanks(std::string_view text)
{
    Text squashed;
    for (std::string_view piece : SplitAtBlanks(TrimSpaces(text))) {
        if (piece.empty())
            continue;
        if (!squashed.empty())
            squashed += ' ';
        squashed += piece;
    }
    return squashed;
}

int CountWords(std::string_view text)
{
    if (text == kNoneStored)
        return 0;
    int count = 0;
    for (std::string_view piece : SplitAtBlanks(text))
        if (!TrimSpaces(piece).empty())
            ++count;
    return count;
}

int CheckVocabWords(std::string_view text)
{
    return checkTokens(text, VocabWordIndex);
}

int CheckCWChars(std::string_view text)
{
    return checkTokens(text, CWCharIndex);
}

// A text of blanks only holds no token, so it is as empty as the empty text.
int CheckVoiceID(std::string_view text)
{
    if (TrimSpaces(text).empty() || CheckVocabWords(text) == kInvalid)
        return kInvalid;
    return CountWords(text) > kMaxVoiceIDWords ? kInvalid : kValid;
}

int CheckCWID(std::string_view text)
{
    if (TrimSpaces(text).empty() || CheckCWChars(text) == kInvalid)
        return kInvalid;
    return CountWords(text) > kMaxCWIDChars ? kInvalid : kValid;
}

int CheckMessageMacro(std::string_view text)
{
    if (text == kNoneStored)
        return kValid;
    if (TrimSpaces(text).empty() || CheckVocabWords(text) == kInvalid)
        return kInvalid;
    if (text.find("DVR20") != std::string_view::npos)
        return kInvalid;
    return CountWords(text) > kMaxMessageMacroWords ? kInvalid : kValid;
}

int CountDTMFDigits(std::string_view text)
{
    if (text == kNoneStored || text.empty())
        return 0;
    const auto pieces = SplitAtBlanks(text);
    return static_cast<int>(std::count_if(pieces.begin(), pieces.end(), [](std::string_view piece) {
        return DTMFDigitToCode(piece) != -1;
    }));
}

int DTMFStringInvalid(std::string_view text)
{
    if (text == kNoneStored)
        return kValid;
    if (text.empty())
        return kInvalid;
    for (std::string_view piece : SplitAtBlanks(text))
        if (DTMFDigitToCode(piece) == -1)
            return kInvalid;
    return CountDTMFDigits(text) > kMaxDTMFDigits ? kInvalid : kValid;
}

Text SpaceDTMFString(std::string_view text)
{
    if (text == kNoneStored)
        return Text(text);
    Text spaced;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (!spaced.empty())
            spaced += ' ';
        spaced += c;
    }
    return spaced;
}

void InsertWordAtCaret(CaretText& box, std::string_view word)
{
    // A caret or selection outside the text (a stale box state) is brought inside it
    // rather than cutting beyond the end.
    const int length = static_cast<int>(box.text.size());
    const int caret = std::clamp(box.caret, 0, length);
    const int selection = std::clamp(box.selectionLength, 0, length - caret);
    const std::size_t at = static_cast<std::size_t>(caret);

    Text result;
    std::size_t newCaret = 0;
    if (caret == 0) {
        Text rest = box.text.substr(static_cast<std::size_t>(selection));
        result = Text(word) + ' ' + rest;
        newCaret = word.size() + 1;
    } else if (caret < length) {
        Text before = box.text.substr(0, at);
        Text after = box.text.substr(at + static_cast<std::size_t>(selection));
        result = before + ' ' + Text(word) + ' ' + after;
        newCaret = at + word.size() + 2;
    } else {
        result = box.text + ' ' + Text(word);
        newCaret = result.size();
    }
    box.text = std::move(result);
    box.caret = static_cast<int>(newCaret);
    box.selectionLength = 0;
}

void InsertDTMFDigit(CaretText& box, std::string_view digit)
{
    InsertWordAtCaret(box, digit);
}

} // namespace vm880

// Sequence texts: normalising, counting and checking voice IDs, CW IDs, message macros and
// DTMF memories, and putting a picked word or digit into a text box at its caret.

#include "tables/sequence_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace vm880;

namespace {

std::string repeat(const std::string& token, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + token;
    return text;
}

struct CheckCase {
    const char* check;
    std::function<int(std::string_view)> run;
    std::string text;
    int status;
};

void expectAll(const std::vector<CheckCase>& cases)
{
    for (const CheckCase& c : cases)
        EXPECT_EQ(c.run(c.text), c.status) << c.check << "(\"" << c.text << "\")";
}

} // namespace

TEST(SequenceText, SquashBlanksAndCountWords)
{
    const std::pair<const char*, const char*> squash[] = {
        {"  A   B  ", "A B"}, {"   ", ""}, {"", ""}, {"NONE STORED", "NONE STORED"},
        {"A\tB  C", "A\tB C"}, {"HELLO", "HELLO"},
    };
    for (const auto& [text, expected] : squash)
        EXPECT_EQ(SquashBlanks(text), expected) << '"' << text << '"';

    const std::pair<const char*, int> count[] = {
        {"NONE STORED", 0}, {"", 0}, {"A  B", 2}, {" A B C ", 3}, {"   ", 0},
        {"none stored", 2},
    };
    for (const auto& [text, expected] : count)
        EXPECT_EQ(CountWords(text), expected) << '"' << text << '"';
}

TEST(SequenceText, VoiceID)
{
    expectAll({
        {"CheckVoiceID", CheckVoiceID, "", kInvalid},
        {"CheckVoiceID", CheckVoiceID, "   ", kInvalid}, // blanks only hold no word
        {"CheckVoiceID", CheckVoiceID, "NONE STORED", kInvalid},
        {"CheckVoiceID", CheckVoiceID, "A  B", kInvalid},
        {"CheckVoiceID", CheckVoiceID, " A", kInvalid},
        {"CheckVoiceID", CheckVoiceID, "A ", kInvalid},
        {"CheckVoiceID", CheckVoiceID, "DVR20", kInvalid},
        {"CheckVoiceID", CheckVoiceID, "HELLO XYZZY", kInvalid},
        {"CheckVoiceID", CheckVoiceID, "DVR1 SILENCE(PAUSE) DVR19", kValid},
        {"CheckVoiceID", CheckVoiceID, "good morning", kValid},
        {"CheckVoiceID", CheckVoiceID, repeat("HELLO", 22), kValid},
        {"CheckVoiceID", CheckVoiceID, repeat("HELLO", 23), kInvalid},
        {"CheckVocabWords", CheckVocabWords, "   ", kValid},
        {"CheckVocabWords", CheckVocabWords, "A  B", kInvalid},
    });
}

TEST(SequenceText, CWID)
{
    expectAll({
        {"CheckCWID", CheckCWID, "W 1 A W", kValid},
        {"CheckCWID", CheckCWID, "K 1 WORD_SPACE A B", kValid},
        {"CheckCWID", CheckCWID, "sk", kValid},
        {"CheckCWID", CheckCWID, repeat("W", 15), kValid},
        {"CheckCWID", CheckCWID, repeat("W", 16), kInvalid},
        {"CheckCWID", CheckCWID, "WORDSPACE", kInvalid},
        {"CheckCWID", CheckCWID, "W1AW", kInvalid},
        {"CheckCWID", CheckCWID, "W  1", kInvalid},
        {"CheckCWID", CheckCWID, "", kInvalid},
        {"CheckCWID", CheckCWID, " ", kInvalid},
    });
}

TEST(SequenceText, MessageMacro)
{
    expectAll({
        {"CheckMessageMacro", CheckMessageMacro, "NONE STORED", kValid},
        {"CheckMessageMacro", CheckMessageMacro, "none stored", kInvalid},
        {"CheckMessageMacro", CheckMessageMacro, "NONE  STORED", kInvalid},
        {"CheckMessageMacro", CheckMessageMacro, repeat("HELLO", 9), kValid},
        {"CheckMessageMacro", CheckMessageMacro, repeat("HELLO", 10), kInvalid},
        {"CheckMessageMacro", CheckMessageMacro, "HELLO DVR20", kInvalid},
        {"CheckMessageMacro", CheckMessageMacro, "HELLO DVR19", kValid},
        {"CheckMessageMacro", CheckMessageMacro, "", kInvalid},
        {"CheckMessageMacro", CheckMessageMacro, "  ", kInvalid},
        {"CheckMessageMacro", CheckMessageMacro, "HELLO  WORLD", kInvalid},
    });
}

TEST(SequenceText, DTMFStrings)
{
    expectAll({
        {"DTMFStringInvalid", DTMFStringInvalid, "NONE STORED", kValid},
        {"DTMFStringInvalid", DTMFStringInvalid, "1 2 3 4 5 6 7 8 9 0", kValid},
        {"DTMFStringInvalid", DTMFStringInvalid, "* # A B C D", kValid},
        {"DTMFStringInvalid", DTMFStringInvalid, "1 2 3 4 5 6 7 8 9 0 1", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, "12", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, "1  2", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, " 1", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, "1 ", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, "a", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, "", kInvalid},
        {"DTMFStringInvalid", DTMFStringInvalid, "E", kInvalid},
        {"CountDTMFDigits", CountDTMFDigits, "1 x 2", 2},
        {"CountDTMFDigits", CountDTMFDigits, "NONE STORED", 0},
        {"CountDTMFDigits", CountDTMFDigits, "", 0},
        {"CountDTMFDigits", CountDTMFDigits, "1 2 3 4 5 6 7 8 9 0 1", 11},
    });

    const std::pair<const char*, const char*> spaced[] = {
        {"12A", "1 2 A"}, {"1  2 3 ", "1 2 3"}, {"", ""}, {"   ", ""},
        {"NONE STORED", "NONE STORED"}, {"12a", "1 2 a"},
    };
    for (const auto& [text, expected] : spaced)
        EXPECT_EQ(SpaceDTMFString(text), expected) << '"' << text << '"';
    // Spacing does not make a bad digit good.
    EXPECT_EQ(DTMFStringInvalid(SpaceDTMFString("12a")), kInvalid);
    EXPECT_EQ(DTMFStringInvalid(SpaceDTMFString("1234567890")), kValid);
    EXPECT_EQ(DTMFStringInvalid(SpaceDTMFString("12345678901")), kInvalid);
}

TEST(SequenceText, InsertAtCaret)
{
    struct Case {
        const char* before;
        int caret, selection;
        const char* after;
        int newCaret;
    };
    const Case cases[] = {
        {"", 0, 0, "HELLO ", 6},
        {"A B", 1, 0, "A HELLO  B", 8},
        {"A B", 3, 0, "A B HELLO", 9},
        {"XYZ", 0, 2, "HELLO Z", 6},
        {"XYZ", 0, 3, "HELLO ", 6},
        {"ABCD", 1, 2, "A HELLO D", 8},
        {"ABC", 1, 2, "A HELLO ", 8},
        // A stale caret or selection beyond the text stays inside it.
        {"AB", 5, 0, "AB HELLO", 8},
        {"AB", 0, 9, "HELLO ", 6},
        {"ABC", 1, 9, "A HELLO ", 8},
        {"AB", -3, 0, "HELLO AB", 6},
    };
    for (const Case& c : cases) {
        CaretText box{c.before, c.caret, c.selection};
        InsertWordAtCaret(box, "HELLO");
        EXPECT_EQ(box.text, c.after) << '"' << c.before << "\" at " << c.caret;
        EXPECT_EQ(box.caret, c.newCaret) << '"' << c.before << "\" at " << c.caret;
        EXPECT_EQ(box.selectionLength, 0);
    }

    CaretText digits{"1 2", 1, 0};
    InsertDTMFDigit(digits, "#");
    EXPECT_EQ(digits.text, "1 #  2");
    EXPECT_EQ(digits.caret, 4);
}

// Row lookups and conversions: which ones trim and upper-case, which compare exactly,
// and what each returns when it finds nothing (-1, the empty text, or 8 for the scheduler).

#include "tables/cw_chars.h"
#include "tables/dtmf_digits.h"
#include "tables/meter_tables.h"
#include "tables/option_tables.h"
#include "tables/port_select.h"
#include "tables/remote_base_tables.h"
#include "tables/scheduler_tables.h"
#include "tables/vocabulary.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vm880;

namespace {

struct IndexCase {
    const char* lookup;
    std::function<int(std::string_view)> find;
    const char* value;
    int expected;
};

struct TextCase {
    const char* lookup;
    std::function<Text(std::string_view)> convert;
    const char* value;
    const char* expected;
};

} // namespace

TEST(Lookups, RowLookups)
{
    const IndexCase cases[] = {
        {"IDExtrasIndex", IDExtrasIndex, "11", 12},
        {"IDExtrasIndex", IDExtrasIndex, " 3 ", 4},
        {"IDExtrasIndex", IDExtrasIndex, "0", 1},
        {"IDExtrasIndex", IDExtrasIndex, "", -1},
        {"IDExtrasIndex", IDExtrasIndex, "   ", -1},
        {"IDExtrasIndex", IDExtrasIndex, "12", -1},
        {"AccessModeIndex", AccessModeIndex, "2", 3},
        {"AccessModeIndex", AccessModeIndex, "02", -1},
        {"AccessModeIndex", AccessModeIndex, " 2", -1},
        {"AccessModeIndex", AccessModeIndex, "", -1},
        {"TailMessageIndex", TailMessageIndex, "0", 1},
        {"TailMessageIndex", TailMessageIndex, "3", 4},
        {"TailMessageIndex", TailMessageIndex, "NONE", -1},
        {"TailMessageIndex", TailMessageIndex, "4", -1},
        {"FindRadioType", FindRadioType, "5", 5},
        {"FindRadioType", FindRadioType, "7", 6},
        {"FindRadioType", FindRadioType, "9", 8},
        {"FindRadioType", FindRadioType, "6", -1},
        {"FindRadioType", FindRadioType, "07", -1},
        {"FindRadioType", FindRadioType, "", -1},
        {"FindYaesuType", FindYaesuType, "0", 1},
        {"FindYaesuType", FindYaesuType, "6", -1},
        {"FindMeterType", FindMeterType, "6", 7},
        {"FindMeterType", FindMeterType, "7", -1},
        {"FindMeterAlarmType", FindMeterAlarmType, "2", 3},
        {"FindMeterAlarmType", FindMeterAlarmType, "3", -1},
    };
    for (const IndexCase& c : cases)
        EXPECT_EQ(c.find(c.value), c.expected) << c.lookup << "(\"" << c.value << "\")";
}

TEST(Lookups, SchedulerLookupsAreValueChecks)
{
    const IndexCase cases[] = {
        {"FindSchedHour", FindSchedHour, "00", kValid},
        {"FindSchedHour", FindSchedHour, "23", kValid},
        {"FindSchedHour", FindSchedHour, "25", kValid},
        {"FindSchedHour", FindSchedHour, "99", kValid},
        {"FindSchedHour", FindSchedHour, "0", kInvalid},
        {"FindSchedHour", FindSchedHour, "24", kInvalid},
        {"FindSchedHour", FindSchedHour, "", kInvalid},
        {"FindSchedDay", FindSchedDay, "0", kValid},
        {"FindSchedDay", FindSchedDay, "9", kValid},
        {"FindSchedDay", FindSchedDay, "10", kInvalid},
        {"FindSchedDay", FindSchedDay, "", kInvalid},
        {"FindSchedWeek", FindSchedWeek, "1", kValid},
        {"FindSchedWeek", FindSchedWeek, "5", kValid},
        {"FindSchedWeek", FindSchedWeek, "0", kInvalid},
        {"FindSchedWeek", FindSchedWeek, "6", kInvalid},
    };
    for (const IndexCase& c : cases)
        EXPECT_EQ(c.find(c.value), c.expected) << c.lookup << "(\"" << c.value << "\")";
    for (int day = 0; day <= 9; ++day)
        EXPECT_EQ(FindSchedDay(std::to_string(day)), kValid) << day;
}

TEST(Lookups, VocabularyAndCWIndexes)
{
    const IndexCase cases[] = {
        {"VocabWordIndex", VocabWordIndex, "M", 43},
        {"VocabWordIndex", VocabWordIndex, "zero", 1},
        {"VocabWordIndex", VocabWordIndex, "DVR19", 256},
        {"VocabWordIndex", VocabWordIndex, " ", -1},
        {"VocabWordIndex", VocabWordIndex, "", -1},
        {"VocabWordIndex", VocabWordIndex, "-1", -1},
        {"VocabWordIndex", VocabWordIndex, "THANK YOU", -1},
        {"CWCharIndex", CWCharIndex, "0", 1},
        {"CWCharIndex", CWCharIndex, " sk ", 43},
        {"CWCharIndex", CWCharIndex, "WORDSPACE", -1},
        {"CWCharIndex", CWCharIndex, "", -1},
    };
    for (const IndexCase& c : cases)
        EXPECT_EQ(c.find(c.value), c.expected) << c.lookup << "(\"" << c.value << "\")";
}

TEST(Lookups, VocabularyAndCWConversions)
{
    const TextCase cases[] = {
        {"VocabWordToCode", VocabWordToCode, "V", "051"},
        {"VocabWordToCode", VocabWordToCode, " v ", "051"},
        {"VocabWordToCode", VocabWordToCode, "thousand", "029"},
        {"VocabWordToCode", VocabWordToCode, "DVR1", "236"},
        {"VocabWordToCode", VocabWordToCode, "DVR19", "254"},
        {"VocabWordToCode", VocabWordToCode, "DVR20", ""},
        {"VocabWordToCode", VocabWordToCode, " ", ""},
        {"VocabWordToCode", VocabWordToCode, "", ""},
        {"VocabCodeToWord", VocabCodeToWord, "0", "ZERO"},
        {"VocabCodeToWord", VocabCodeToWord, "5", "FIVE"},
        {"VocabCodeToWord", VocabCodeToWord, "05", "FIVE"},
        {"VocabCodeToWord", VocabCodeToWord, " 005 ", "FIVE"},
        {"VocabCodeToWord", VocabCodeToWord, "20", "TWENTY"},
        {"VocabCodeToWord", VocabCodeToWord, "30", "A"},
        {"VocabCodeToWord", VocabCodeToWord, "254", "DVR19"},
        {"VocabCodeToWord", VocabCodeToWord, "-1", ""},
        {"VocabCodeToWord", VocabCodeToWord, "255", ""},
        {"VocabCodeToWord", VocabCodeToWord, "0000", ""},
        {"VocabCodeToWord", VocabCodeToWord, "", ""},
        {"CWCharToCode", CWCharToCode, "K", "52"},
        {"CWCharToCode", CWCharToCode, "k", "52"},
        {"CWCharToCode", CWCharToCode, "WORD_SPACE", "11"},
        {"CWCharToCode", CWCharToCode, "SK", "60"},
        {"CWCharToCode", CWCharToCode, "KK", ""},
        {"CWCharToCode", CWCharToCode, "", ""},
        {"CWCodeToChar", CWCodeToChar, "0", "0"},
        {"CWCodeToChar", CWCodeToChar, "7", "7"},
        {"CWCodeToChar", CWCodeToChar, "90", "Z"},
        {"CWCodeToChar", CWCodeToChar, "11", "WORD_SPACE"},
        {"CWCodeToChar", CWCodeToChar, "15", ""},
        {"CWCodeToChar", CWCodeToChar, "007", ""},
        {"CWCodeToChar", CWCodeToChar, "", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.convert(c.value), c.expected) << c.lookup << "(\"" << c.value << "\")";
}

// Every word and character survives the trip through its code, whatever width the
// download hands the code back in.
TEST(Lookups, WordAndCharacterRoundTrips)
{
    for (std::size_t i = 0; i < VocabularyTable.size(); ++i) {
        const CodeRow& row = VocabularyTable[i];
        if (row.code.empty() || row.code == "-1")
            continue;
        EXPECT_EQ(VocabCodeToWord(VocabWordToCode(row.text)), row.text);
        EXPECT_EQ(VocabCodeToWord(std::to_string(std::stoi(std::string(row.code)))), row.text);
    }
    for (const CodeRow& row : CWCharTable) {
        EXPECT_EQ(CWCodeToChar(CWCharToCode(row.text)), row.text);
        EXPECT_EQ(CWCodeToChar(std::to_string(std::stoi(std::string(row.code)))), row.text);
    }
}

TEST(Lookups, PortSelectIndexByMode)
{
    struct Case { const char* value; int mode1, mode2, mode3; };
    const Case cases[] = {
        {"1", 1, 1, 1},     {"12", 4, 4, 4},    {"123", 7, 7, 7},
        {"0", -1, 8, -1},   {"99", -1, -1, 9},  {"21", -1, -1, -1},
        {"01", -1, -1, -1}, {"", -1, -1, -1},   {" 1", -1, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortSelectIndex(c.value, 1), c.mode1) << c.value;
        EXPECT_EQ(PortSelectIndex(c.value, 2), c.mode2) << c.value;
        EXPECT_EQ(PortSelectIndex(c.value, 3), c.mode3) << c.value;
        EXPECT_EQ(PortSelectIndex(c.value, 7), c.mode1) << c.value << " in an unknown mode";
    }
}

TEST(Lookups, PortSelectRowsByMode)
{
    struct Case { int mode; std::size_t count; const char* lastText; const char* lastCode; };
    const Case cases[] = {
        {1, 7, "All Ports", "123"}, {2, 8, "None", "0"}, {3, 8, "None", "99"},
        {0, 7, "All Ports", "123"},
    };
    for (const Case& c : cases) {
        const std::vector<CodeRow> rows = PortSelectRows(c.mode);
        ASSERT_EQ(rows.size(), c.count) << "mode " << c.mode;
        EXPECT_EQ(rows.back().text, c.lastText);
        EXPECT_EQ(rows.back().code, c.lastCode);
        EXPECT_EQ(rows.front().text, "Port 1");
    }
}

TEST(DTMFDigits, CheckDTMFDigits)
{
    EXPECT_EQ(CheckDTMFDigits("12A#", 1, 5), kValid);
    EXPECT_EQ(CheckDTMFDigits("*D09", 4, 4), kValid);
    EXPECT_EQ(CheckDTMFDigits("12a#", 1, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("1 2", 1, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("987654", 1, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("1", 2, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("", 0, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits(std::string("1\0", 2), 1, 5), kInvalid);
}

// The terminator checks of several windows share one rule: an unset terminator is in no text.
TEST(DTMFDigits, HoldsTerminator)
{
    struct Case {
        const char* text;
        const char* terminator;
        bool holds;
    };
    const Case cases[] = {
        {"12D4", "D", true}, {"12D4", " d ", true}, {"1234", "D", false},
        {"1234", "", false}, {"1234", "  ", false}, {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HoldsTerminator(c.text, c.terminator), c.holds) << c.text << " / '" << c.terminator << "'";
}

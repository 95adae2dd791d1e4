// Invariants of every code table: a slip in a transcribed row (a duplicated code, a missing
// row, a code of the wrong width) breaks the stored files or the controller's digit strings.

#include "tables/code_lookup.h"
#include "tables/cw_chars.h"
#include "tables/dtmf_digits.h"
#include "tables/meter_tables.h"
#include "tables/option_tables.h"
#include "tables/port_select.h"
#include "tables/remote_base_tables.h"
#include "tables/scheduler_tables.h"
#include "tables/table_builders.h"
#include "tables/vocabulary.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace vm880;

namespace {

struct NamedTable {
    const char* name;
    CodeTable rows;
    std::size_t count;
    bool uniqueTexts; // the port selection table has two "None" rows
};

const NamedTable kTables[] = {
    {"TOTResetTable", TOTResetTable, 5, true},
    {"RadioTypes", RadioTypes, 8, true},
    {"YaesuTypes", YaesuTypes, 6, true},
    {"SchedHours", SchedHours, 26, true},
    {"SchedDays", SchedDays, 10, true},
    {"SchedWeeks", SchedWeeks, 5, true},
    {"PortSelectTable", PortSelectTable, 9, false},
    {"MeterTypes", MeterTypes, 7, true},
    {"MeterAlarmTypes", MeterAlarmTypes, 3, true},
    {"VocabularyTable", VocabularyTable, 257, true},
    {"CWCharTable", CWCharTable, 43, true},
    {"IDExtrasTable", IDExtrasTable, 12, true},
    {"AccessModeTable", AccessModeTable, 3, true},
    {"TailMessageTable", TailMessageTable, 4, true},
};

bool isDigits(std::string_view text, std::size_t width)
{
    return text.size() == width &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

TEST(TableInvariants, RowCountsAndUniqueness)
{
    for (const NamedTable& t : kTables) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(t.rows.size(), t.count);
        std::set<std::string_view> codes, texts;
        for (const CodeRow& row : t.rows) {
            EXPECT_TRUE(codes.insert(row.code).second) << "code \"" << row.code << "\" twice";
            if (t.uniqueTexts) {
                EXPECT_TRUE(texts.insert(row.text).second) << "text \"" << row.text << "\" twice";
            }
            EXPECT_EQ(TrimSpaces(row.code), row.code) << "blank around code";
        }
    }
}

TEST(TableInvariants, TextToCodeToTextRoundTrips)
{
    for (const NamedTable& t : kTables) {
        SCOPED_TRACE(t.name);
        for (std::size_t i = 0; i < t.rows.size(); ++i) {
            const CodeRow& row = t.rows[i];
            const int r = static_cast<int>(i) + 1;
            EXPECT_EQ(FindRowByCode(t.rows, row.code), r) << row.code;
            if (t.uniqueTexts) {
                EXPECT_EQ(FindRowByText(t.rows, row.text), r) << row.text;
                EXPECT_EQ(TextForCode(t.rows, CodeForText(t.rows, row.text)), row.text);
            }
        }
    }
}

TEST(TableInvariants, VocabularyLayout)
{
    for (int r = 1; r <= 257; ++r) {
        const CodeRow& row = VocabularyTable[static_cast<std::size_t>(r - 1)];
        SCOPED_TRACE(r);
        if (r <= 236) {
            EXPECT_TRUE(isDigits(row.code, 3));
            EXPECT_EQ(std::stoi(std::string(row.code)), r - 1);
            EXPECT_EQ(row.text.find(' '), std::string_view::npos);
            EXPECT_EQ(UpperCase(row.text), row.text);
        } else if (r == 237) {
            EXPECT_EQ(row.text, " ");
            EXPECT_EQ(row.code, "-1");
        } else if (r <= 256) {
            EXPECT_EQ(row.text, "DVR" + std::to_string(r - 237));
            EXPECT_EQ(row.code, std::to_string(r - 2));
        } else {
            EXPECT_EQ(row.text, "");
            EXPECT_EQ(row.code, "");
        }
    }
    // Anchors of the word order: a shifted row would move every later code.
    const std::pair<std::string_view, std::string_view> anchors[] = {
        {"ZERO", "000"},    {"NINETEEN", "019"}, {"TWENTY", "020"}, {"FOURTY", "022"},
        {"NINETY", "027"},  {"HUNDRED", "028"},  {"THOUSAND", "029"}, {"A", "030"},
        {"Z", "055"},       {"ABOVE", "056"},    {"A.M.", "073"},   {"OCLOCK", "167"},
        {"P.M.", "184"},    {"THE(SHORT)", "206"}, {"USE(VERB)", "222"}, {"ZULU", "233"},
        {"-S(MAKES_PLURAL)", "234"}, {"SILENCE(PAUSE)", "235"},
    };
    for (const auto& [word, code] : anchors)
        EXPECT_EQ(CodeForText(VocabularyTable, word), code) << word;
}

TEST(TableInvariants, CWCodesHaveTwoDigits)
{
    for (const CodeRow& row : CWCharTable) {
        EXPECT_TRUE(isDigits(row.code, 2)) << row.text;
        EXPECT_EQ(row.text.find(' '), std::string_view::npos) << row.text;
    }
    EXPECT_EQ(CWCharTable[35].text, "Z");
    EXPECT_EQ(CWCharTable[35].code, "90");
    EXPECT_EQ(CWCharTable[42].text, "SK");
    EXPECT_EQ(CWCharTable[42].code, "60");
}

TEST(TableInvariants, SchedulerHourCodesHaveTwoDigits)
{
    for (const CodeRow& row : SchedHours)
        EXPECT_TRUE(isDigits(row.code, 2)) << row.text;
}

TEST(TableInvariants, BuildersLeaveTheRowsAsTheyAre)
{
    const std::vector<CodeRow> vocabulary(VocabularyTable.begin(), VocabularyTable.end());
    for (int pass = 0; pass < 2; ++pass) {
        InitTOTResetTable();
        InitRemoteBaseTables();
        InitSchedHours();
        InitSchedDays();
        InitSchedWeeks();
        InitPortSelectTable();
        InitMeterTypes();
        InitMeterAlarmTypes();
        InitVocabularyTable();
        InitCWCharTable();
        InitIDExtrasTable();
        InitDTMFDigitTable();
        InitAccessModeTable();
        InitTailMessageTable();
    }
    ASSERT_EQ(VocabularyTable.size(), vocabulary.size());
    for (std::size_t i = 0; i < vocabulary.size(); ++i) {
        EXPECT_EQ(VocabularyTable[i].text, vocabulary[i].text);
        EXPECT_EQ(VocabularyTable[i].code, vocabulary[i].code);
    }
}

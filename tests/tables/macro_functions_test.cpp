#include "tables/macro_functions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace vm880;

namespace {

class MacroFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitMacroFunctionTable();
        CopyMacroFunctionTable();
    }
};

bool isSeparator(const CodeRow& row)
{
    return row.code.empty();
}

// Codes the controller has no function for: the multiples of 255 have no byte form, the
// rest are unused.
std::set<int> expectedCodes()
{
    std::set<int> codes;
    for (int code = 1; code <= 791; ++code) {
        const bool unused = code % 255 == 0 || (code >= 554 && code <= 560) ||
                            (code >= 562 && code <= 569) || (code >= 586 && code <= 659) ||
                            code == 700;
        if (!unused)
            codes.insert(code);
    }
    return codes;
}

} // namespace

TEST_F(MacroFunctions, TableHasTheCatalogueShape)
{
    const CodeTable table = MacroFunctionTable();
    ASSERT_EQ(table.size(), 760u);

    // Rows between the groups of related functions, numbered from 1.
    const std::set<int> separatorRows = {
        7,   14,  21,  28,  35,  42,  49,  56,  67,  78,  89,  96,  99,  108, 130, 133,
        142, 163, 170, 181, 189, 196, 203, 210, 251, 253, 256, 263, 270, 277, 281, 283,
        290, 311, 321, 330, 339, 342, 346, 359, 370, 377, 380, 387, 390, 397, 401, 404,
        408, 412, 445, 478, 511, 542, 573, 604, 608, 610, 619, 628, 649, 670};
    const std::set<int> twoBlankRows = {7, 14, 21, 28, 35, 42, 49, 56, 67, 89, 189};
    ASSERT_EQ(separatorRows.size(), 62u);

    std::set<int> codes;
    int previousCode = 0;
    for (int row = 1; row <= 760; ++row) {
        const CodeRow& r = table[static_cast<std::size_t>(row - 1)];
        SCOPED_TRACE("row " + std::to_string(row));
        if (isSeparator(r)) {
            EXPECT_TRUE(separatorRows.count(row));
            EXPECT_EQ(r.text, twoBlankRows.count(row) ? "  " : " ");
            continue;
        }
        EXPECT_FALSE(separatorRows.count(row));
        ASSERT_EQ(r.code.size(), 3u);
        ASSERT_TRUE(r.text.size() > 4);
        EXPECT_EQ(r.text.substr(0, 3), r.code);
        EXPECT_EQ(r.text[3], ' ');
        EXPECT_NE(r.text[4], ' ');
        const int code = std::stoi(std::string(r.code));
        EXPECT_GT(code, previousCode);
        previousCode = code;
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 698u);
    EXPECT_EQ(codes, expectedCodes());
    EXPECT_FALSE(isSeparator(table.front()));
    EXPECT_FALSE(isSeparator(table.back()));
}

TEST_F(MacroFunctions, TextsKeepTheirOddities)
{
    std::set<std::string> doubledBlanks;
    for (const CodeRow& r : MacroFunctionTable())
        if (!isSeparator(r) &&
            (r.text.find("  ") != std::string_view::npos || r.text.back() == ' '))
            doubledBlanks.insert(std::string(r.code));
    EXPECT_EQ(doubledBlanks, (std::set<std::string>{"002", "003", "060", "090"}));

    const CodeTable table = MacroFunctionTable();
    EXPECT_EQ(table[1].text, "002 Port 2 Carrier & Tone  Access");
    EXPECT_EQ(table[2].text, "003 Port 3 Carrier & Tone  Access");
    EXPECT_EQ(table[68].text, "060 Port 2 Courtesy Tone 2  ");
    EXPECT_EQ(table[102].text, "090 Read ADC Channel 4  ");
    EXPECT_EQ(table[65].text, "058 Port 1Courtesy Tone 10");
    EXPECT_EQ(table[137].text, "122 Unlink Port1 from Port 2");
    EXPECT_EQ(table[621].text, "580 Read ADC Channel 3 HighValue");
    EXPECT_EQ(table[388].text, "346 User DVR Record, Don't Erase");
    EXPECT_EQ(table[210].text, "187 Play Message Macro 1");
    EXPECT_EQ(table[249].text, "226 Play Message Macro 40");
}

TEST_F(MacroFunctions, WorkingCopyIsRebuiltNotAppended)
{
    CopyMacroFunctionTable();
    CopyMacroFunctionTable();
    const std::vector<CodeRow>& list = MacroFunctionList();
    const CodeTable table = MacroFunctionTable();
    ASSERT_EQ(list.size(), 760u);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].text, table[i].text);
        EXPECT_EQ(list[i].code, table[i].code);
    }
}

TEST_F(MacroFunctions, IndexFindsCodesExactly)
{
    struct Case { const char* code; int row; };
    const Case cases[] = {
        {"001", 1},  {"791", 760}, {"519", 571}, {"529", 582}, {"561", 609},
        {"255", -1}, {"510", -1},  {"765", -1},  {"700", -1},  {"1", -1},
        {"0001", -1}, {"001 ", -1}, {"", 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MacroFunctionIndex(c.code), c.row) << '"' << c.code << '"';

    // No code is shadowed by an earlier row.
    const std::vector<CodeRow>& list = MacroFunctionList();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!list[i].code.empty()) {
            EXPECT_EQ(MacroFunctionIndex(list[i].code), static_cast<int>(i) + 1) << list[i].code;
        }
}

TEST_F(MacroFunctions, FillAppendsEveryRowWithItsCode)
{
    std::vector<ListItem> items = {{"kept", 5}};
    FillMacroFunctionList(items);
    ASSERT_EQ(items.size(), 761u);
    EXPECT_EQ(items[0].text, "kept");
    EXPECT_EQ(items[1].text, "001 Port 1 Carrier & Tone Access");
    EXPECT_EQ(items[1].data, 1);
    EXPECT_EQ(items[7].text, "  ");
    EXPECT_EQ(items[7].data, 0);
    EXPECT_EQ(items[760].text, "791 Call Macro 90");
    EXPECT_EQ(items[760].data, 791);
    int separators = 0;
    for (std::size_t i = 1; i < items.size(); ++i)
        separators += items[i].data == 0;
    EXPECT_EQ(separators, 62);
}

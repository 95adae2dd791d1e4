#include "tables/macro_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace vm880;

namespace {

class MacroText : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitMacroFunctionTable();
        CopyMacroFunctionTable();
    }
};

} // namespace

TEST_F(MacroText, Normalize)
{
    struct Case { std::string text, normal; };
    const Case cases[] = {
        {"", "NONE STORED"},
        {"   ", "NONE STORED"},
        {"none", "NONE STORED"},
        {"None Stored", "NONE STORED"},
        {"NONE  STORED", "NONE STORED"},
        {"none  stored", "none stored"}, // through the token step, which keeps the case
        {"  001   002 ", "001 002"},
        {"001\t002", "001\t002"},
        {"001 \t 002", "001 \t 002"},
        {"NONE STORED 001", "NONE STORED 001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeMacroText(c.text), c.normal) << '"' << c.text << '"';
}

TEST_F(MacroText, CheckFunctions)
{
    struct Case { std::string text; int status; };
    const Case cases[] = {
        {"NONE STORED", kValid}, {"none stored", kInvalid}, {"", kInvalid},
        {"001  002", kValid},    {" 001 ", kValid},         {"1", kInvalid},
        {"01", kInvalid},        {"255", kInvalid},         {"510", kInvalid},
        {"519", kValid},         {"529", kValid},           {"001 999", kInvalid},
        {"001\t002", kInvalid},  {"791 701 001", kValid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckMacroFunctions(c.text), c.status) << '"' << c.text << '"';
}

TEST_F(MacroText, ByteCount)
{
    struct Case { std::string text; int bytes; };
    const Case cases[] = {
        {"NONE STORED", 0}, {"", 0},         {"   ", 0},        {"001", 1},
        {"254 256", 3},     {"509 511", 5},  {"764 766", 7},    {"791", 4},
        {"0", 4},           {"-3", 4},       {"1020", 4},       {"99999999999999999999", 4},
        {"word", 0},        {"001 x 002", 2}, {"001  002", 2},  {"255", 1},
        {"510", 2},         {"765", 3},      {"1", 1},          {"001\t002", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MacroByteCount(c.text), c.bytes) << '"' << c.text << '"';
}

TEST_F(MacroText, Subset)
{
    struct Case { std::string range; int status; };
    const Case cases[] = {
        {"0190", kValid},   {"0101", kValid},   {"4545", kValid},   {"9090", kValid},
        {"4544", kInvalid}, {"0091", kInvalid}, {"9001", kInvalid}, {"0191", kInvalid},
        {"01900", kInvalid}, {"190", kInvalid}, {"", kInvalid},     {"0000", kInvalid},
        {" 190", kInvalid}, {"01 9", kInvalid}, {"1090", kValid},   {"0910", kValid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckMacroSubset(c.range), c.status) << '"' << c.range << '"';
}

TEST_F(MacroText, Describe)
{
    struct Case { std::string text, tip; };
    const Case cases[] = {
        {"001 999", "Port 1 Carrier & Tone Access | ***ERROR***"},
        {"001", "Port 1 Carrier & Tone Access"},
        {"002  791", "Port 2 Carrier & Tone  Access | Call Macro 90"},
        {"060 001", "Port 2 Courtesy Tone 2   | Port 1 Carrier & Tone Access"},
        {"1", "***ERROR***"},
        {"none selected", ""},
        {"NONE SELECTED", ""},
        {"None", ""},
        {"NONE STORED", ""},
        {"  ", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeMacro(c.text), c.tip) << '"' << c.text << '"';
}

TEST_F(MacroText, InsertFunctionAtCaret)
{
    struct Case { std::string text; int start, length; std::string result; int caret; };
    const Case cases[] = {
        {"001 003", 4, 0, "001  002 003", 9},
        {"001", 3, 0, "001 002", 7},
        {"", 0, 0, "002 ", 4},
        {"NONE STORED", 5, 3, "002 ", 4},
        {" NONE ", 6, 0, "002 ", 4},
        {"001 003", 0, 0, "002 001 003", 4},
        {"001 003", 0, 4, "002 003", 4},          // selection at the start replaced
        {"001 003 004", 4, 3, "001  002  004", 9}, // selection inside replaced
        {"001 003", 7, 0, "001 003 002", 11},
        {"001", 9, 0, "001 002", 7},               // caret past the end
        {"001 003", 2, 99, "00 002 ", 7},         // selection past the end
        {"001", -4, 0, "002 001", 4},
    };
    for (const Case& c : cases) {
        const MacroEdit edit = InsertMacroFunction(c.text, c.start, c.length, "002");
        EXPECT_EQ(edit.text, c.result) << '"' << c.text << "\" at " << c.start;
        EXPECT_EQ(edit.caret, c.caret) << '"' << c.text << "\" at " << c.start;
    }
}

TEST_F(MacroText, MacroNumberList)
{
    std::vector<ListItem> items = {{"x", 0}};
    FillMacroNumberList(items);
    ASSERT_EQ(items.size(), 91u);
    EXPECT_EQ(items[1].text, "1");
    EXPECT_EQ(items[1].data, 1);
    EXPECT_EQ(items[9].text, "9");
    EXPECT_EQ(items[90].text, "90");
    EXPECT_EQ(items[90].data, 90);
}

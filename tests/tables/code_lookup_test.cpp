// The shared helpers behind every table lookup and list: the whole-number value a list keeps
// for a code, the number a stored value begins with, and the strict test for a number.

#include "tables/code_lookup.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace vm880;

TEST(CodeLookup, CodeValue)
{
    const std::pair<const char*, int> cases[] = {
        {"00", 0},   {"0", 0},     {"-1", -1},    {"", 0},        {"99", 99},
        {"123", 123}, {"007", 7},  {"12AB", 12},  {"AB", 0},      {" 5", 5},
        {"+4", 4},   {"-", 0},     {"99999999999", INT_MAX},      {"-99999999999", INT_MIN},
    };
    for (const auto& [code, value] : cases)
        EXPECT_EQ(CodeValue(code), value) << '"' << code << '"';
}

TEST(CodeLookup, LeadingNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"7", 7},    {"", 0},     {"07", 7},   {"7abc", 7},  {"abc", 0},   {"  12", 12},
        {"-3", -3},  {"7.5", 7.5}, {"7.", 7},  {".5", 0.5},  {"+2", 2},    {"-", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(LeadingNumber(text), value) << '"' << text << '"';
}

TEST(CodeLookup, NumericValue)
{
    const std::pair<const char*, double> numbers[] = {
        {"10", 10}, {" 10 ", 10}, {"-1", -1}, {"+1", 1}, {"1.5", 1.5}, {".5", 0.5},
        {"1.", 1},  {"1e2", 100}, {"1E-2", 0.01}, {"0", 0}, {"1e-999", 0},
    };
    for (const auto& [text, value] : numbers) {
        ASSERT_TRUE(NumericValue(text).has_value()) << '"' << text << '"';
        EXPECT_DOUBLE_EQ(*NumericValue(text), value) << '"' << text << '"';
    }
    EXPECT_TRUE(std::isinf(*NumericValue("1e999")));

    const char* notNumbers[] = {
        "", " ", "ten", "1 0", "1,000", "0x10", "&H10", "inf", "nan", "1e", "e5",
        ".", "-", "1.2.3", "--1", "1e+",
    };
    for (const char* text : notNumbers)
        EXPECT_FALSE(IsNumericText(text)) << '"' << text << '"';
}

TEST(CodeLookup, TrimUpperAndSplit)
{
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(UpperCase("thank_you a.m. \xe9"), "THANK_YOU A.M. \xe9");

    const std::pair<const char*, std::vector<std::string_view>> splits[] = {
        {"A  B", {"A", "", "B"}}, {"", {""}}, {" A", {"", "A"}}, {"A ", {"A", ""}},
        {"ONE", {"ONE"}},
    };
    for (const auto& [text, pieces] : splits)
        EXPECT_EQ(SplitAtBlanks(text), pieces) << '"' << text << '"';
}

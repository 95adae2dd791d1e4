#include "base/value_checks.h"

#include <gtest/gtest.h>

using namespace vm880;

TEST(ValueChecks, CheckNumber)
{
    struct Case { const char* text; int low, high, status; };
    const Case cases[] = {
        {"", 0, 10, kInvalid},   {"10", 0, 10, kValid},  {"11", 0, 10, kInvalid},
        {"0", 0, 10, kValid},    {"007", 0, 10, kValid}, {"-1", -5, 5, kInvalid},
        {"1.0", 0, 5, kInvalid}, {" 5", 0, 10, kInvalid}, {"5 ", 0, 10, kInvalid},
        {"1e1", 0, 100, kInvalid}, {"+5", 0, 10, kInvalid}, {"1,000", 0, 5000, kInvalid},
        {"99999999999999999999999", 0, 32767, kInvalid}, {"\xd9\xa3", 0, 10, kInvalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckNumber(c.text, c.low, c.high), c.status) << '"' << c.text << '"';
    EXPECT_EQ(CheckNumberLong("70000", 0, 99999), kValid);
    EXPECT_EQ(CheckNumberLong("100000", 0, 99999), kInvalid);
}

TEST(ValueChecks, CheckZeroOne)
{
    EXPECT_EQ(CheckZeroOne("1"), kValid);
    EXPECT_EQ(CheckZeroOne("0"), kValid);
    EXPECT_EQ(CheckZeroOne("01"), kInvalid);
    EXPECT_EQ(CheckZeroOne(""), kInvalid);
}

TEST(ValueChecks, FileNameFromPath)
{
    EXPECT_EQ(FileNameFromPath("C:\\a\\b\\c\\file.dat"), "file.dat");
    EXPECT_EQ(FileNameFromPath("/home/op/file.dat"), "file.dat");
    EXPECT_EQ(FileNameFromPath("file.dat"), "file.dat");
    EXPECT_EQ(FileNameFromPath("C:\\a\\"), "");
}

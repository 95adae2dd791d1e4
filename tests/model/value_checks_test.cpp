#include "model/value_checks.h"

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

TEST(ValueChecks, CheckZeroOneAndDTMFDigits)
{
    EXPECT_EQ(CheckZeroOne("1"), kValid);
    EXPECT_EQ(CheckZeroOne("0"), kValid);
    EXPECT_EQ(CheckZeroOne("01"), kInvalid);
    EXPECT_EQ(CheckZeroOne(""), kInvalid);

    EXPECT_EQ(CheckDTMFDigits("12A#", 1, 5), kValid);
    EXPECT_EQ(CheckDTMFDigits("*D09", 4, 4), kValid);
    EXPECT_EQ(CheckDTMFDigits("12a#", 1, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("1 2", 1, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("987654", 1, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("1", 2, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits("", 0, 5), kInvalid);
    EXPECT_EQ(CheckDTMFDigits(std::string("1\0", 2), 1, 5), kInvalid);
}

TEST(ValueChecks, FileNameFromPath)
{
    EXPECT_EQ(FileNameFromPath("C:\\a\\b\\c\\file.dat"), "file.dat");
    EXPECT_EQ(FileNameFromPath("/home/op/file.dat"), "file.dat");
    EXPECT_EQ(FileNameFromPath("file.dat"), "file.dat");
    EXPECT_EQ(FileNameFromPath("C:\\a\\"), "");
}

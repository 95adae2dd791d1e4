// The clock correction as typed, as stored, and whether the box takes it.

#include "editors/functions/clock_correction.h"

#include <gtest/gtest.h>

#include <string>

namespace vm880::test {
namespace {

TEST(ClockCorrection, StoredAsTheReaderReadsItAndCheckedZeroToFiftyNine)
{
    struct Case {
        std::string typed;
        std::string stored;
        bool valid;
    } cases[] = {
        {"", "", true}, // stands for 0
        {"  ", "", true},
        {"0", "0", true},
        {" 59 ", "59", true},
        {"A59", "A59", true},
        {"a5", "A5", true},
        {"-5", "A5", true},
        {"-0", "A0", true},
        {"007", "007", true},
        {"60", "60", false},
        {"A60", "A60", false},
        {"--5", "A-5", false},
        {"5A", "5A", false},
        {"+5", "+5", false},
        {"A", "A", false},
        {"-", "A", false},
        {"A 5", "A 5", false},
        {"B5", "B5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.typed + "'");
        EXPECT_EQ(ClockCorrectionForm(c.typed), c.stored);
        EXPECT_EQ(IsValidClockCorrection(ClockCorrectionForm(c.typed)), c.valid);
    }
}

} // namespace
} // namespace vm880::test

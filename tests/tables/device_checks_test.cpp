// Value checks of the remote-base memories, the meter alarm trip value and the pending-ID
// speech time, each at and just beyond its bounds.

#include "tables/meter_tables.h"
#include "tables/option_tables.h"
#include "tables/remote_base_tables.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vm880;

TEST(DeviceChecks, RemoteBaseMemoryValues)
{
    struct Case {
        const char* check;
        std::function<int(std::string_view, int)> run;
        const char* value;
        int memory;
        int status;
    };
    const Case cases[] = {
        {"CheckFreqString", CheckFreqString, "146520", 1, kValid},
        {"CheckFreqString", CheckFreqString, "0000000000146520", 1, kValid},
        {"CheckFreqString", CheckFreqString, "NONE", 11, kValid},
        {"CheckFreqString", CheckFreqString, "NONE", 10, kInvalid},
        {"CheckFreqString", CheckFreqString, "none", 11, kInvalid},
        {"CheckFreqString", CheckFreqString, "146.52", 1, kInvalid},
        {"CheckFreqString", CheckFreqString, " 146520", 1, kInvalid},
        {"CheckFreqString", CheckFreqString, "", 11, kInvalid},
        {"CheckCTCSSCode", CheckCTCSSCode, "0", 1, kValid},
        {"CheckCTCSSCode", CheckCTCSSCode, "49", 1, kValid},
        {"CheckCTCSSCode", CheckCTCSSCode, "50", 1, kInvalid},
        {"CheckCTCSSCode", CheckCTCSSCode, "NONE", 11, kValid},
        {"CheckCTCSSCode", CheckCTCSSCode, "NONE", 3, kInvalid},
        {"CheckCTCSSCode", CheckCTCSSCode, "", 11, kInvalid},
        {"CheckCTCSSMode", CheckCTCSSMode, "2", 1, kValid},
        {"CheckCTCSSMode", CheckCTCSSMode, "3", 1, kInvalid},
        {"CheckCTCSSMode", CheckCTCSSMode, "NONE", 40, kValid},
        {"CheckRadioMode", CheckRadioMode, "0", 1, kInvalid},
        {"CheckRadioMode", CheckRadioMode, "1", 1, kValid},
        {"CheckRadioMode", CheckRadioMode, "5", 1, kValid},
        {"CheckRadioMode", CheckRadioMode, "6", 1, kInvalid},
        {"CheckRadioMode", CheckRadioMode, "NONE", 10, kInvalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.run(c.value, c.memory), c.status)
            << c.check << "(\"" << c.value << "\", " << c.memory << ")";
}

TEST(DeviceChecks, MeterSetPoint)
{
    struct Case { const char* value; int status; };
    const Case cases[] = {
        {"35000", kValid},   {"A35000", kValid}, {"a0", kValid},    {"0", kValid},
        {"35001", kInvalid}, {"A35001", kInvalid}, {"A", kInvalid}, {"-5", kInvalid},
        {"A-5", kInvalid},   {"", kInvalid},    {"AA5", kInvalid},  {"5A", kInvalid},
        {"B5", kInvalid},    {"A 5", kInvalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckMeterSetPoint(c.value), c.status) << '"' << c.value << '"';
}

TEST(DeviceChecks, IDSpeakTime)
{
    struct Case { const char* speech; const char* pendingID; int status; };
    const Case cases[] = {
        {"600", "10", kValid},     {"601", "10", kInvalid},   {"0", "10", kValid},
        {"15300", "0", kValid},    {"15301", "0", kInvalid},  {"15300", "255", kValid},
        {"5", "", kInvalid},       {"", "10", kInvalid},      {"", "0", kInvalid},
        {"5", "ten", kInvalid},    {"5", "0.0", kValid},      {"60", "1", kValid},
        {"61", "1", kInvalid},     {"90", "1.5", kValid},     {"91", "1.5", kInvalid},
        {"5", "-1", kInvalid},     {"5", " 10 ", kValid},     {"5", "1e999", kValid},
        {"5", "0x10", kInvalid},   {"5", "inf", kInvalid},    {"-5", "10", kInvalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IDSpeakTimeInvalid(c.speech, c.pendingID), c.status)
            << '"' << c.speech << "\", \"" << c.pendingID << '"';
}

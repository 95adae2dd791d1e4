// The option memory files: autopatch and real-time-clock records, their item numbers, bad
// records, and the model left as it was when a file fails.

#include "download/option_decoder.h"
#include "memory_image_encoder.h"
#include "model/error_report.h"
#include "scripted_prompts.h"
#include "tables/vocabulary.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

using namespace vm880;
using namespace std::string_literals;
using test::WriteFile;

namespace {

struct OptionFileTest : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    ConfigModel m;
    std::string ap = dir.file("apdownload.mem");
    std::string rtc = dir.file("rtcdownload.mem");

    int loadAP(const std::string& text)
    {
        WriteFile(ap, text);
        return LoadAPEram(m, prompts, ap);
    }
    int loadRTC(const std::string& text)
    {
        WriteFile(rtc, text);
        return LoadRTCEram(m, prompts, rtc);
    }
    const std::string& lastText() const { return prompts.prompts().back().text; }
};

std::string trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

TEST_F(OptionFileTest, AutopatchRecords)
{
    std::string many; // more than 255 lines
    for (int i = 1; i <= 300; ++i) {
        const std::string slot = std::to_string(i % 100 + 1);
        many += "RT" + std::string(3 - slot.size(), '0') + slot + "n" + std::to_string(i) + "\r\n";
    }
    const std::string longRest(300, '5'); // numbers have no length limit
    ASSERT_EQ(loadAP("+SendA\r\nRA0015551212\r\nRA200\r\nRA017" + longRest + "\r\nRS\r\nRR4\r\nRI99\r\n"
                     "RA0019999\r\n" + many + "RT001 1900\r\nra002lower\r\nRA003RADIO RT\r\n-\r\n\r\nComplete\r\n"),
              kDone);
    EXPECT_EQ(m.AutoDial(1), "9999") << "a later record of the same slot wins";
    EXPECT_EQ(m.AutoDial(200), "");
    EXPECT_EQ(m.AutoDial(17), longRest);
    EXPECT_EQ(m.AutoDial(2), "") << "tags are case-sensitive";
    EXPECT_EQ(m.AutoDial(3), "RADIO RT") << "a tag without its slot digits starts no record";
    EXPECT_EQ(m.TollRestrict(1), " 1900");
    EXPECT_EQ(m.TollRestrict(2), "n201");
    EXPECT_EQ(m.TollRestrict(100), "n299");
    EXPECT_EQ(m.AnswerCode, "");
    EXPECT_EQ(m.RingNumber, "4");
    EXPECT_EQ(m.SpecialCodesChanged, kFalse);
    EXPECT_EQ(m.AutoDialChanged(1), kFalse);
    EXPECT_TRUE(prompts.prompts().empty());
    EXPECT_FALSE(prompts.waitShown());

    // Blanks inside the slot digits are skipped; a file of only "Complete" changes nothing.
    m = ConfigModel();
    ASSERT_EQ(loadAP("RA1 2xyz\r\n"), kDone);
    EXPECT_EQ(m.AutoDial(12), "xyz");
    ASSERT_EQ(loadAP("Complete\r\n"), kDone);
    EXPECT_EQ(m.AutoDial(12), "xyz");
}

TEST_F(OptionFileTest, RealTimeClockRecords)
{
    ASSERT_EQ(loadRTC("+SendR\r\nT1001465202123\r\nT1301462401\r\nT10214624010011\x01\x02\r\nT30312345678901xx\r\n"
                      "T200\x01\x02\xFF\x05\r\nT201\r\nT230\x0A\x0B\r\nT202T100\r\n"
                      "T300123xx\r\nT3301\r\nT301*#AB\r\n-\r\nTimeout\r\nComplete\r\n"),
              kDone);
    EXPECT_EQ(m.FreqString(10), "1465202");
    EXPECT_EQ(m.CTCSS(10), "12");
    EXPECT_EQ(m.CTCSSMode(10), "3");
    EXPECT_EQ(m.RadioMode(10), "");
    EXPECT_EQ(m.FreqString(40), "1462401");
    EXPECT_EQ(m.CTCSS(40), "");
    EXPECT_EQ(m.RadioMode(12), "1") << "fields by position, whatever follows them";
    EXPECT_EQ(m.DTMF(23), "1 2 3 4 5 6 7 8 9 0 1 ");
    EXPECT_EQ(m.RemoteBaseChanged, kTrue);
    EXPECT_EQ(m.MessageMacro(40), "ONE TWO  FIVE ") << "255 has no word: only its blank";
    EXPECT_EQ(m.MessageMacro(41), "") << "a record without words leaves the macro alone";
    EXPECT_EQ(m.MessageMacro(70), "TEN ELEVEN ") << "a line feed is a word, not a line end";
    // Words whose codes spell a record's start are words, not a second record.
    EXPECT_EQ(m.MessageMacro(42), VocabCodeToWord("084") + " " + VocabCodeToWord("049") + " "
                                      + VocabCodeToWord("048") + " " + VocabCodeToWord("048") + " ");
    EXPECT_EQ(m.DTMF(20), "1 2 3 ");
    EXPECT_EQ(m.DTMF(50), "");
    EXPECT_EQ(m.DTMF(21), "* # ");
    EXPECT_EQ(m.MessageMacroChanged(40), kFalse);
    EXPECT_TRUE(prompts.prompts().empty());

    ConfigModel untouched;
    m = untouched;
    ASSERT_EQ(loadRTC("T2\r\nComplete"), kDone);
    EXPECT_EQ(m.RemoteBaseChanged, kFalse);
}

// A record naming an item outside its table stops the file; nothing of it is kept.
TEST_F(OptionFileTest, BadItemNumbersFailAndKeepTheModel)
{
    struct Bad { bool rtc; std::string record; const char* error; };
    const Bad cases[] = {
        {false, "RA000123", "Error Number = 9\r\nError = Line 2 of the memory file (\"RA000123\") names autodial slot 0, outside 1 to 200"},
        {false, "RA201123", "names autodial slot 201, outside 1 to 200"},
        {false, "RT101", "names toll restriction slot 101, outside 1 to 100"},
        {false, "RA256", "Error Number = 6\r\nError = Line 2 of the memory file (\"RA256\") has the number 256, which is not a byte"},
        {false, "RA-01", "has the number -01, which is not a byte"},
        {false, "RA", "names autodial slot 0"},
        {true, "T131", "names remote base memory 41, outside 1 to 40"},
        {true, "T231xx", "names message macro 71, outside 1 to 70"},
        {true, "T331123xx", "names DTMF memory 51, outside 1 to 50"},
        // Boards that sent their records without waiting for each acknowledgement.
        {false, "RS6085RR2", "(\"RS6085RR2\") holds a second record from character 7: the autopatch option sent"},
        {false, "RA003RADIO RT001", "Line 2 of the memory file (\"RA003RADIO RT001\") holds a second record from character 12"},
        {true, "T1011465202123T1021462401000", "holds a second record from character 15: the RTC option sent"},
        {true, "T3015012xxT30299xx", "holds a second record from character 11"},
    };
    for (const Bad& c : cases) {
        m = ConfigModel();
        prompts = test::ScriptedPrompts();
        prompts.Answer(Answer::Ok, kSystemErrorTitle);
        const std::string good = c.rtc ? "T1001465202123" : "RA0015551212";
        const int status = c.rtc ? loadRTC(good + "\r\n" + c.record + "\r\nComplete\r\n")
                                 : loadAP(good + "\r\n" + c.record + "\r\nComplete\r\n");
        EXPECT_EQ(status, kFailed) << c.record;
        EXPECT_NE(lastText().find(c.error), std::string::npos) << lastText();
        const std::string location = c.rtc ? "Location = LoadEram: LoadRTCEram\r\n\r\nError in RTC download"
                                           : "Location = LoadEram: LoadAPEram\r\n\r\nError in Autopatch download";
        EXPECT_NE(lastText().find(location), std::string::npos) << lastText();
        EXPECT_EQ(m.AutoDial(1), "");
        EXPECT_EQ(m.FreqString(10), "");
        EXPECT_EQ(m.RemoteBaseChanged, kFalse);
        EXPECT_FALSE(prompts.waitShown());
    }

    prompts.Answer(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(LoadAPEram(m, prompts, dir.file("missing.mem")), kFailed);
    EXPECT_NE(lastText().find("Error Number = 53"), std::string::npos);
}

TEST_F(OptionFileTest, CharactersASettingsFileCannotHoldAreReplaced)
{
    prompts.Answer(Answer::Ok, "Autopatch Decode Warning");
    ASSERT_EQ(loadAP("RA001555\0\x01\n1\r\nRS60\x7F"s + "5\r\nComplete\r\n"), kDone);
    EXPECT_EQ(m.AutoDial(1), "555???1");
    EXPECT_EQ(m.AnswerCode, "60?5");
    EXPECT_EQ(lastText(),
              "Some values could not be taken as they are and were replaced:\r\n\r\n"
              "AutoDial(1) (line 1): 3 characters that a settings file cannot hold replaced by \"?\"\r\n"
              "AnswerCode (line 2): 1 character that a settings file cannot hold replaced by \"?\"\r\n\r\n"
              "Please check these settings before you upload them to the controller.");

    prompts.Answer(Answer::Ok, "RTC Decode Warning");
    ASSERT_EQ(loadRTC("T1011465\xE9" "0212\r\nT301\x1B" "2xx\r\nComplete\r\n"), kDone);
    EXPECT_EQ(m.FreqString(11), "1465?02");
    EXPECT_EQ(m.DTMF(21), "? 2 ");
}

TEST_F(OptionFileTest, TheSampleOptionsComeBack)
{
    const ConfigModel sample = test::SampleControllerModel();
    ASSERT_EQ(loadAP(test::OptionFileText(test::APRecords(sample))), kDone);
    ASSERT_EQ(loadRTC(test::OptionFileText(test::RTCRecords(sample))), kDone);
    for (int i = 1; i <= 200; ++i)
        EXPECT_EQ(m.AutoDial(i), sample.AutoDial(i)) << i;
    for (int i = 1; i <= 100; ++i)
        EXPECT_EQ(m.TollRestrict(i), sample.TollRestrict(i)) << i;
    EXPECT_EQ(m.AnswerCode, sample.AnswerCode);
    EXPECT_EQ(m.RingNumber, sample.RingNumber);
    for (int i = 11; i <= 40; ++i) {
        const bool used = sample.FreqString(i) != "NONE";
        EXPECT_EQ(m.FreqString(i), used ? sample.FreqString(i) : "") << i;
        EXPECT_EQ(m.CTCSS(i), used ? sample.CTCSS(i) : "") << i;
        EXPECT_EQ(m.CTCSSMode(i), used ? sample.CTCSSMode(i) : "") << i;
        EXPECT_EQ(m.RadioMode(i), used ? sample.RadioMode(i) : "") << i;
    }
    for (int i = 41; i <= 70; ++i) {
        const bool used = sample.MessageMacro(i) != "NONE STORED";
        EXPECT_EQ(trimmed(m.MessageMacro(i)), used ? sample.MessageMacro(i) : "") << i;
    }
    for (int i = 21; i <= 50; ++i) {
        const bool used = sample.DTMF(i) != "NONE STORED";
        EXPECT_EQ(trimmed(m.DTMF(i)), used ? sample.DTMF(i) : "") << i;
    }
    EXPECT_TRUE(prompts.prompts().empty());
}

// Single items of the catalogue with the values that need care: what goes out on the serial
// link, what the reply wait reports, and which key codes the radio link plays, side by side.

#include "link/command_catalogue.h"
#include "link/command_senders.h"

#include "command_reference_model.h"
#include "link/dtmf_link.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

namespace vm880 {
namespace {

using Lines = std::vector<std::string>; // "line | reported"

struct RowCase {
    const char* name;
    const char* sender; // finds the item
    ItemRef ref;
    std::function<void(ConfigModel&)> set;
    Lines serial;
    std::string heard; // radio commands as heard, separated by blanks; "" when nothing plays
};

void PrintTo(const RowCase& c, std::ostream* out)
{
    *out << c.name;
}

Lines Rendered(const std::vector<SerialLine>& lines)
{
    Lines out;
    for (const SerialLine& line : lines)
        out.push_back(line.text + " | " + line.reported);
    return out;
}

std::string Heard(const std::vector<ToneCommand>& commands)
{
    std::string out;
    for (const ToneCommand& command : commands)
        out += (out.empty() ? "" : " ") + HeardKeys(command);
    return out;
}

class RowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowTest, SerialAndRadioForms)
{
    const RowCase& c = GetParam();
    ConfigModel model = test::ReferenceModel(true);
    model.Terminator = "D";
    c.set(model);
    const Item* item = ItemBySender(c.sender);
    ASSERT_NE(item, nullptr) << c.sender;
    EXPECT_EQ(Rendered(SerialLines(*item, model, c.ref)), c.serial);
    EXPECT_EQ(Heard(ToneCommands(*item, model, c.ref)), c.heard);
}

const RowCase kRows[] = {
    {"short macro 7 is controller macro 47", "SendShortMacro", {1, 7},
     [](ConfigModel& m) { m.ShortMacro(7) = "012 034  056"; },
     {"1*400247012034056 | *400247012034056"}, "*400247012034056D"},
    {"empty short macro 7 is erased", "SendShortMacro", {1, 7},
     [](ConfigModel& m) { m.ShortMacro(7) = "NONE STORED"; }, {"1*400347 | *400347"},
     "*400347D"},
    {"empty macro 3 is erased", "SendMacro", {1, 3},
     [](ConfigModel& m) { m.Macro(3) = "NONE STORED"; }, {"1*400303 | *400303"}, "*400303D"},
    {"empty autodial entry 5 goes out as 0", "SendAutoDial", {1, 5},
     [](ConfigModel& m) { m.AutoDial(5) = ""; }, {"1*21150050 | *21150050"}, "*21150050D"},
    {"blank autodial entry goes out as 0 on both links", "SendAutoDial", {1, 5},
     [](ConfigModel& m) { m.AutoDial(5) = "   "; }, {"1*21150050 | *21150050"}, "*21150050D"},
    {"CW tones empty second tone", "SendCWTones", {2, 2},
     [](ConfigModel& m) {
         m.CWTone1(2) = "1000";
         m.CWTone2(2) = "";
     },
     {"2*80011000 | 2*80011000"}, "*80011000D"},
    {"set point 3 every hour", "SendSchedulerEvent", {1, 3},
     [](ConfigModel& m) {
         m.Hours(3) = "99";
         m.DOW(3) = "8";
         m.Monthly(3) = "0";
         m.Minutes(3) = "15";
         m.MacroToRun(3) = "07";
     },
     {"1*40010380A1507 | 1*40010380A1507"}, "*40010380A1507D"},
    {"set point monthly in week 3", "SendSchedulerEvent", {1, 12},
     [](ConfigModel& m) {
         m.Hours(12) = "07";
         m.DOW(12) = "2";
         m.Monthly(12) = "1";
         m.Week(12) = "3";
         m.Minutes(12) = "00";
         m.MacroToRun(12) = "40";
     },
     {"1*40011232070040 | 1*40011232070040"}, "*40011232070040D"},
    {"remote-base memory out of use", "SendRemoteBaseMemory", {1, 12},
     [](ConfigModel& m) { m.RadioMode(12) = "NONE"; }, {}, ""},
    {"remote-base prefix trimmed by radio only", "SendRemoteBasePrefix", {1, 0},
     [](ConfigModel& m) { m.RemoteBasePrefix = " C1 "; }, {"1*2060 C1  | *2060 C1 "},
     "*2060C1D"},
    {"meter alarm of type 0 is disabled", "SendMeterAlarmEnable", {1, 6},
     [](ConfigModel& m) { m.MeterAlarmType(6) = "0"; }, {"1160060 | 160060"}, "160060D"},
    {"message macro NONE STORED goes out empty", "SendMessageMacro", {1, 14},
     [](ConfigModel& m) { m.MessageMacro(14) = "NONE STORED"; }, {"1*210314 | *210314"},
     "*210314D"},
    {"DTMF memory NONE STORED is not sent", "SendDTMFMemory", {1, 4},
     [](ConfigModel& m) { m.DTMF(4) = "NONE STORED"; }, {}, ""},
    {"DTMF memory small letter is a capital by radio", "SendDTMFMemory", {1, 4},
     [](ConfigModel& m) { m.DTMF(4) = "1 0 a"; }, {"1*21050410a | *21050410a"}, "*21050410AD"},
    {"logic alarm macro 0 is not sent", "SendAlarmHighMacro", {1, 2},
     [](ConfigModel& m) { m.AlarmHighMacroNum(2) = "0"; }, {}, ""},
    {"logic alarm 4", "SendAlarm", {1, 4}, [](ConfigModel& m) { m.Alarm(4) = "1"; },
     {"14911 | 4911"}, "1941D"},
    {"port 2 ID extras by radio are numbered across ports", "SendID3Extras", {2, 2},
     [](ConfigModel& m) { m.ID3Extras(2) = "5"; }, {"2*800735 | 2*800735"}, "*800785D"},
    {"port 3 tail message macros, the port's own", "SendPortMessageNums", {3, 3},
     [](ConfigModel& m) {
         m.P3MessageNum(1) = "07";
         m.P3MessageNum(2) = "08";
         m.P3MessageNum(3) = "09";
     },
     {"3*2110107 | 3*2110107", "3*2110208 | 3*2110208", "3*2110309 | 3*2110309"},
     "*2110107D *2110208D *2110309D"},
    // Remote-base model: below "2" (compared as text) the radio link plays "2".
    {"model 1 played as 2", "SendYaesuType", {1, 0},
     [](ConfigModel& m) { m.YaesuType = "1"; }, {"1*20833 | 1*20833", "1*20841 | 1*20841"},
     "*20833D *20842D"},
    {"model 0 played as 2", "SendYaesuType", {1, 0},
     [](ConfigModel& m) { m.YaesuType = "0"; }, {"1*20833 | 1*20833", "1*20840 | 1*20840"},
     "*20833D *20842D"},
    {"empty model played as 2", "SendYaesuType", {1, 0},
     [](ConfigModel& m) { m.YaesuType = ""; }, {"1*20833 | 1*20833", "1*2084 | 1*2084"},
     "*20833D *20842D"},
    {"one-key value 10 plays nothing", "SendTailMessageNum", {1, 1},
     [](ConfigModel& m) { m.TailMessageNum(1) = "10"; }, {"1*211110 | 1*211110"},
     "*2111(10)D"},
    {"one-key value 0", "SendTailMessageNum", {1, 1},
     [](ConfigModel& m) { m.TailMessageNum(1) = "0"; }, {"1*21110 | 1*21110"}, "*21110D"},
    {"one-key value 11 is the star", "SendCTCSSID", {2, 2},
     [](ConfigModel& m) { m.CTCSSID(2) = "11"; }, {"2*208911 | 2*208911"}, "*2089*D"},
    {"one-key small letter plays nothing", "SendRadioType", {1, 0},
     [](ConfigModel& m) { m.RadioType = "a"; }, {"1*2083a | 1*2083a", "1*20841 | 1*20841"},
     "*2083(a)D *20842D"},
    {"empty one-key value is a pause only", "SendSayYear", {1, 0},
     [](ConfigModel& m) { m.SayYear = ""; }, {"1*5102 | *5102"}, "*5102()D"},
    {"new terminator, else the current one", "SendNewTerminator", {1, 0},
     [](ConfigModel& m) { m.NewTerminator = "C"; }, {"1*9020C | *9020C"}, "*9020CD"},
    {"unlock code of port 2 when no new one", "SendNewUnlockCode", {2, 2},
     [](ConfigModel& m) { m.NewPortUnlock(2) = ""; }, {"2*900027306 | 2*900027306"},
     "*900027306D"},
};

INSTANTIATE_TEST_SUITE_P(Catalogue, RowTest, ::testing::ValuesIn(kRows), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST(CommandConverters, IdentificationTexts)
{
    EXPECT_EQ(ConvertVoiceIDText(""), "");
    EXPECT_EQ(ConvertVoiceIDText("  "), "");
    EXPECT_EQ(ConvertVoiceIDText("ONE   TWO"), "001002");
    EXPECT_EQ(ConvertVoiceIDText(" one two "), "001002");
    EXPECT_EQ(ConvertVoiceIDText("ONE NOSUCHWORD TWO"), "001002");
    EXPECT_EQ(ConvertCWIDText("W 1 X"), "910192");
    EXPECT_EQ(ConvertCWIDText("A WORD_SPACE B"), "211122");
    EXPECT_EQ(ConvertCWIDText("A  ~  B"), "2122");
}

TEST(CommandConverters, SmallValueRules)
{
    EXPECT_EQ(RemoveBlanks(" 1 2  3 "), "123");
    EXPECT_EQ(TrimmedText("  C1 "), "C1");
    EXPECT_EQ(ZeroWhenBlank(""), "0");
    EXPECT_EQ(ZeroWhenBlank("  "), "0");
    EXPECT_EQ(ZeroWhenBlank(" 5"), " 5");
    for (const char* every : {"99", "0A", "254"})
        EXPECT_EQ(SchedulerHourCode(every), "0A") << every;
    for (const char* hour : {"00", "23", "25", "9"})
        EXPECT_EQ(SchedulerHourCode(hour), hour);
    for (const char* low : {"", "0", "1", "10", "1A", "/"})
        EXPECT_EQ(YaesuModelKey(low), "2") << '"' << low << '"';
    for (const char* high : {"2", "3", "5", "20", "A"})
        EXPECT_EQ(YaesuModelKey(high), high);
    EXPECT_EQ(ZeroPadded(800, 4), "0800");
    EXPECT_EQ(ZeroPadded(12345, 4), "12345");
    EXPECT_EQ(ZeroPadded(0, 4), "0000");
    EXPECT_EQ(ZeroPadded(799.5, 4), "0800");
}

TEST(CommandConverters, HeardKeysShowWhatPlaysNothing)
{
    EXPECT_EQ(HeardKeys({"11", "1", "12", "13", "14", "15", "16", "0", "D"}), "*1#ABCD0D");
    EXPECT_EQ(HeardKeys({"10", "a", " ", "", "17"}), "(10)(a)( )()(17)");
}

// ---- The senders the editors call, played through the tone link.

struct SenderRig {
    SenderRig()
    {
        model.ComPort = 0;
        model.DTMFComPort = 3;
        model.Terminator = "D";
        model.Lock = "12";
        for (int p = 1; p <= 3; ++p) {
            model.RcvMacroActive(p) = "6" + std::to_string(p);
            model.RcvMacroInactive(p) = "90";
        }
        prompts.AcceptNotices();
        clock.yieldStepMs = 0;
        link.KeyDTMFTransmitter(true);
    }
    ConfigModel model;
    test::FakeClock clock;
    test::RecordingTimeline timeline{clock};
    test::RecordingSerialPort port{timeline};
    test::RecordingSoundOut sound{timeline};
    test::ScriptedPrompts prompts;
    TonePlayer player{sound, prompts};
    ToneLink link{{model, port, clock, prompts, player}};
};

TEST(CommandSenders, DirectActionsPlayTheirCommands)
{
    struct Case {
        const char* name;
        std::function<bool(SenderRig&)> send;
        const char* heard;
    };
    const Case cases[] = {
        {"erase macros", [](SenderRig& r) { return SendEraseMacros(r.link, r.model); },
         "*400499D"},
        {"erase short macros", [](SenderRig& r) { return SendEraseShortMacros(r.link, r.model); },
         "*400699D"},
        {"receiver macros of port 2",
         [](SenderRig& r) { return SendReceiverMacros(r.link, r.model, 2); },
         "*2113162D*2113090D"},
        {"reset", [](SenderRig& r) { return SendResetCommand(r.link, r.model); }, "*21999D"},
        {"new unlock code",
         [](SenderRig& r) { return SendNewUnlockCode(r.link, r.model, 3, "3A5"); }, "*90003A5D"},
        {"new lock code", [](SenderRig& r) { return SendNewLockCode(r.link, r.model, "#7"); },
         "*9010#7D"},
        {"new terminator", [](SenderRig& r) { return SendNewTerminator(r.link, r.model, "C"); },
         "*9020CD"},
        {"general timer macro alone",
         [](SenderRig& r) {
             r.model.GeneralTimerMacro(2) = "33";
             return PlaySender(r.link, r.model, "SendGeneralTimerMacro", {1, 2});
         },
         "*2092233D"},
        {"hang timer by name",
         [](SenderRig& r) {
             r.model.HangTime(2) = "50";
             return PlaySender(r.link, r.model, "SendHangTime", {2, 2});
         },
         "*100050D"},
    };
    for (const Case& c : cases) {
        SenderRig rig;
        EXPECT_TRUE(c.send(rig)) << c.name;
        EXPECT_EQ(rig.sound.digits(), c.heard) << c.name;
    }
    SenderRig rig;
    EXPECT_FALSE(PlaySender(rig.link, rig.model, "SendNoSuchThing"));
    EXPECT_EQ(rig.sound.digits(), "");
}

TEST(CommandSenders, HangTimeCodesAsHandedToTheToneLink)
{
    ConfigModel model;
    model.HangTime(2) = "50";
    model.Terminator = "D";
    const Item* item = ItemBySender("SendHangTime");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(ToneCommands(*item, model, {2, 2}),
              (std::vector<ToneCommand>{{"11", "1", "0", "0", "0", "5", "0", "D"}}));
}

TEST(CommandSenders, MessageMacroNoneStoredIsEmptiedBeforeSending)
{
    ConfigModel model;
    model.MessageMacro(5) = "NONE STORED";
    model.MessageMacro(6) = "ONE";
    const Item* item = ItemBySender("SendMessageMacro");
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->prepare, nullptr);
    item->prepare(model, {1, 5});
    item->prepare(model, {1, 6});
    EXPECT_EQ(model.MessageMacro(5), "");
    EXPECT_EQ(model.MessageMacro(6), "ONE");
}

} // namespace
} // namespace vm880

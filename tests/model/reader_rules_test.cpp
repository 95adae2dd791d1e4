// The reader's per-key rules: one bad or special value at a time in an otherwise clean file,
// with the exact report entry, the stored value and the flags it raises.

#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_viewer.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

using namespace vm880;

namespace {

struct NoViewer : FileViewer {
    bool Open(const std::string&) override { return true; }
};

class ReaderRulesTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    NoViewer viewer;
    ConfigModel m;
    std::string dat = dir.file("clean.dat");
    std::string header;
    std::string clean;

    // A clean file: the defaults of an empty file, saved once.
    void SetUpClean(bool rtc)
    {
        test::WriteFile(dat, std::string("[Version]\r\nFirmwareVersion=60\r\nHasRTC=")
                                 + (rtc ? "1" : "0") + "\r\n");
        test::ScriptedPrompts quiet;
        quiet.AcceptNotices().Always(Answer::No, "DAT File Errors");
        KeyAccess k{quiet};
        m.DatFilePath = dat;
        FileLoadServices s{m, k, quiet, viewer, dir.path().string(), stamp};
        ASSERT_EQ(FileLoad(s).outcome, FileLoadResult::Loaded);
        ASSERT_EQ(FileWrite(m, k, quiet), kDone);
        header = ErrorLogHeader(m, "20261209 0815");
        clean = test::ReadFile(dat);
        prompts.Always(Answer::No, "DAT File Errors");
    }

    // Loads the clean file with the given entries changed (a null value removes the entry),
    // into a fresh model (area flags outlive a model reset).
    std::string Load(std::initializer_list<std::tuple<const char*, const char*, const char*>> changes)
    {
        test::WriteFile(dat, clean);
        m = ConfigModel{};
        for (auto [section, key, value] : changes)
            keys.WriteSetting(section, key,
                              value ? std::optional<std::string_view>(value) : std::nullopt, dat);
        m.DatFilePath = dat;
        FileLoadServices s{m, keys, prompts, viewer, dir.path().string(), stamp};
        EXPECT_EQ(FileLoad(s).outcome, FileLoadResult::Loaded);
        std::string report = test::ReadFile(dir.file("error.log"));
        EXPECT_EQ(report.rfind(header, 0), 0u);
        return report.substr(std::min(header.size(), report.size()));
    }

    static std::string Entry(const std::string& lines, bool warning = false)
    {
        return "\r\n******************************************\r\n"
            + std::string(warning ? "WARNING ONLY\r\n" : "") + lines + "\r\n";
    }

    static std::string stamp() { return "20261209 0815"; }
};

} // namespace

TEST_F(ReaderRulesTest, DefaultsOfAnEmptyFilePassTheirOwnChecks)
{
    SetUpClean(true);
    EXPECT_EQ(Load({}), "");
    EXPECT_EQ(m.HangTime(1), "50");
    EXPECT_EQ(m.IDSpeakTime(3), "600");
    EXPECT_EQ(m.Hours(20), "25");
    EXPECT_EQ(m.FreqString(1), "0000002"); // zero-filled, then its offset digit repaired
    EXPECT_EQ(m.FreqString(10), "0000002");
    EXPECT_EQ(m.FreqString(40), "NONE");
    EXPECT_EQ(m.MessageMacro(70), "NONE STORED");
    EXPECT_EQ(m.DTMF(50), "NONE STORED");
    EXPECT_EQ(m.CurrentPortUnlock(2), "27306");
    EXPECT_EQ(m.MacroCode(7), "50007");
    EXPECT_EQ(m.ShortMacroCode(1), "500041");
    EXPECT_EQ(m.Tone8(3, 10), "0");
}

// A key read and not written loses its setting at every save, one written and not read at
// every load. The format has one of each on purpose: "DVRWrite" is the DVR menus' own, and
// "ZelVersion" a note for the eye.
TEST_F(ReaderRulesTest, EveryKeyReadIsWrittenAndEveryKeyWrittenIsRead)
{
    for (const bool rtc : {true, false}) {
        SetUpClean(rtc);
        std::vector<std::pair<std::string, std::string>> reads;
        IniDocument read = IniDocument::Parse(""), written = IniDocument::Parse("");
        keys.WatchReads([&](std::string_view section, std::string_view key) {
            reads.emplace_back(section, key);
            read.Set(section, key, "");
        });
        Load({{"Remote", "RadioType", "3"}}); // the Yaesu model is read for this radio only
        keys.WatchReads(nullptr);
        ForEachSettingsEntry(m, [&](std::string_view section, std::string_view key, std::string_view) {
            written.Set(section, key, "");
            EXPECT_TRUE(read.Get(section, key) || key == "ZelVersion") << section << "/" << key << " is not read";
        });
        for (const auto& [section, key] : reads)
            EXPECT_TRUE(written.Get(section, key) || key == "DVRWrite") << section << "/" << key << " is not written";
    }
}

TEST_F(ReaderRulesTest, TimerEntriesUseWordingAAndTheirOwnLineThree)
{
    SetUpClean(false);
    EXPECT_EQ(Load({{"Timers", "HangTime(2)", "256"}}),
              Entry("Timers: Port 2: Hang Timer not valid -- DAT item: HangTime(2)\r\n"
                    "Value received was '256'\r\nDefaulted to 50"));
    EXPECT_EQ(m.HangTime(2), "50");
    EXPECT_EQ(m.TimersChanged, kTrue);
    EXPECT_EQ(m.HangTimeChanged(2), kFalse);

    EXPECT_EQ(Load({{"Timers", "PIDTime(1)", "2"}, {"Timers", "IDSpeakTime(1)", "121"}}),
              Entry("Timers: Port 1: Pending ID Speech Timer not valid -- DAT item: IDSpeakTime(1)\r\n"
                    "Value received was '121'\r\n"
                    "Defaulted to value of Pending ID Timer (in SECONDS) = 120"));
    EXPECT_EQ(Load({{"Timers", "PIDTime(1)", "0"}, {"Timers", "IDSpeakTime(1)", "15300"},
                    {"Timers", "InActivityMacro(2)", "5"}, {"Timers", "AuxTime(1)", "050"}}),
              "");
    EXPECT_EQ(m.InActivityMacro(2), "05");
    EXPECT_EQ(m.AuxTime(1), "50");

    EXPECT_EQ(Load({{"Timers", "AuxTime(3)", "x"}}),
              Entry("Timers: public: Aux Audio Timers 3 not valid -- DAT item: AuxTime(3)\r\n"
                    "Value received was 'x'\r\nDefaulted to '50"));
    EXPECT_EQ(Load({{"Alarms", "GeneralTimer(2)", "-1"}}),
              Entry("Timers: public: General Timers: Timer 2 not valid -- DAT item: GeneralTimer(2)\r\n"
                    "Value received was '-1'\r\nDefaulted to 0"));
}

TEST_F(ReaderRulesTest, SilentReplacementsWriteNoEntry)
{
    SetUpClean(true);
    EXPECT_EQ(Load({{"Alarms", "AlarmLowMacroNum(3)", "0"},
                    {"Scheduler", "Hours(4)", "0A"},
                    {"Scheduler", "Minutes(1)", "5"},
                    {"Scheduler", "ClockCorrection", "a12"},
                    {"Analog", "MeterNum(5)", "0"},
                    {"Analog", "MeterSetPoint(2)", "-150"},
                    {"DTMF", "DTMF(25)", nullptr},
                    {"DTMF", "DTMF(3)", "12A"},
                    {"DTMF", "DTMFDur", ""},
                    {"PortSwitches", "RxEnable(2)", ""},
                    {"PortSwitches", "SpeechOverride(1)", "208"},
                    {"PortSwitches", "COSClose(1)", ""},
                    {"Courtesy", "P2Delay3(7)", "0250"},
                    {"Autopatch", "AnswerCode", nullptr},
                    {"Autopatch", "RingNumber", "02"},
                    {"MacroSubset", "MacroSubset", "105"},
                    {"Macros", "Macro(3)", "none"},
                    {"Macros", "RcvMacroActive(2)", nullptr},
                    {"MessageMacros", "MessageMacro(45)", nullptr},
                    {"Remote", "CTCSS(4)", nullptr},
                    {"Remote", "FreqString(3)", "146 520 2"},
                    {"DVR", "DVRTracks(4)", nullptr},
                    {"DVR", "DVRSeconds(10)", "abc"}}),
              "");
    EXPECT_EQ(m.AlarmLowMacroNum(3), "90");
    EXPECT_EQ(m.Hours(4), "99");
    EXPECT_EQ(m.Minutes(1), "05");
    EXPECT_EQ(m.ClockCorrection, "A12");
    EXPECT_EQ(m.MeterNum(5), "1");
    EXPECT_EQ(m.MeterAlarmType(5), "0");
    EXPECT_EQ(m.MeterSetPoint(2), "A150");
    EXPECT_EQ(m.DTMF(25), "NONE STORED");
    EXPECT_EQ(m.DTMF(3), "1 2 A");
    EXPECT_EQ(m.DTMFDur, "1");
    EXPECT_EQ(m.RxEnable(2), "1");
    EXPECT_EQ(m.SpeechOverride(1), "1");
    EXPECT_EQ(m.PortSwitchesChanged, kTrue);
    EXPECT_EQ(m.COSClose(1), "0");
    EXPECT_EQ(m.Delay3(2, 7), "250");
    EXPECT_EQ(m.AnswerCode, "6085");
    EXPECT_EQ(m.RingNumber, "2");
    EXPECT_EQ(m.MacroSubset, "0105");
    EXPECT_EQ(m.Macro(3), "NONE STORED");
    EXPECT_EQ(m.RcvMacroActive(2), "90");
    EXPECT_EQ(m.RcvMacroActiveChanged(2), kTrue);
    EXPECT_EQ(m.MacrosChanged, kFalse);
    EXPECT_EQ(m.MessageMacro(45), "NONE STORED");
    EXPECT_EQ(m.CTCSS(4), "00");
    EXPECT_EQ(m.FreqString(3), "1465202");
    EXPECT_EQ(m.DVRTracks(4), "0");
    EXPECT_EQ(m.DVRSeconds(10), "abc");
    EXPECT_EQ(m.CourtesyChanged, kFalse);
}

TEST_F(ReaderRulesTest, SchedulerMeterAndSwitchEntries)
{
    SetUpClean(false);
    EXPECT_EQ(Load({{"Scheduler", "Hours(4)", "24"}, {"Scheduler", "ClockCorrection", "A75"},
                    {"Analog", "MeterSetPoint(2)", "1-5"}, {"PortSwitches", "PLAccess(1)", "3"},
                    {"PortSwitches", "SpeechIDOverride(1)", "208"},
                    {"PortSwitches", "IDStartSelect", nullptr}}),
              Entry("Scheduler/Clock: Scheduler: Setpoint 4: Start Hours not valid -- DAT item: Hours(4)\r\n"
                    "Value received is '24'\r\nValue has been defaulted to 25")
                  + Entry("Scheduler/Clock: Real Time Clock: Clock Correction not valid -- DAT item: "
                          "ClockCorrection\r\nValue received is 'A75'\r\nValue has been defaulted to 0")
                  + Entry("Analog: Reference / Meter Alarms: Alarm Number: 2: Trip Value is not valid -- "
                          "DAT item: MeterSetPoint(2)\r\nValue received is '1A5'\r\nValue has been "
                          "defaulted to 0")
                  + Entry("Port Switches: Port 1: Timer Encode Control: ON During ID/Speech not valid -- "
                          "DAT item: SpeechIDOverride(1)\r\nValue received is '208'\r\nValue has been "
                          "defaulted to 1")
                  + Entry("Port Switches: Port 1: Access Mode not valid -- DAT item: PLAccess(1)\r\n"
                          "Value received is '3'\r\nValue has been defaulted to 1")
                  + Entry("Port Switches: ID Start Select not valid -- DAT item: IDStartSelect\r\n"
                          "Value received is ''\r\nValue has been defaulted to 0"));
    EXPECT_EQ(m.Hours(4), "25");
    EXPECT_EQ(m.ClockCorrection, "0");
    EXPECT_EQ(m.SchedulerChanged, kTrue);
    EXPECT_EQ(m.AnalogChanged, kTrue);
}

TEST_F(ReaderRulesTest, CourtesyAndDTMFEntries)
{
    SetUpClean(true);
    EXPECT_EQ(Load({{"Courtesy", "P2Delay3(7)", "10001"}, {"Courtesy", "P1Tone2(1)", "3501"},
                    {"Courtesy", "P1Tone6(1)", "x"}, {"DTMF", "DTMF(5)", nullptr},
                    {"DTMF", "DTMF(6)", "12E"}, {"DTMF", "DTMFDelay", "256"}}),
              Entry("Courtesy Tones: Port 1: Courtesy Tone 1: Segment 1: Tone 2 not valid -- DAT item: "
                    "P1Tone2(1)\r\nValue received is '3501'\r\nValue has been defaulted to 0")
                  + Entry("Courtesy Tones: Port 1: Courtesy Tone 1: Segment 3: Tone 2 not valid -- DAT "
                          "item: P1Tone6(1)\r\nValue received is 'x'\r\nValue has been defaulted to '0'")
                  + Entry("Courtesy Tones: Port 2: Courtesy Tone 7: Segment 3: Delay to This Segment not "
                          "valid -- DAT item: P2Delay3(7)\r\nValue received is '10001'\r\nValue has been "
                          "defaulted to 250")
                  + Entry("DTMF: Message 5 not valid -- DAT item: DTMF(5)\r\nValue received is ''\r\n"
                          "Value has been defaulted to NONE STORED")
                  + Entry("DTMF: Message 6 not valid -- DAT item: DTMF(6)\r\nValue received is '1 2 E'\r\n"
                          "Value has been defaulted to NONE STORED")
                  + Entry("DTMF: DTMF Parameters: Delay not valid -- DAT item: DTMFDelay\r\n"
                          "Value received is '256'\r\nValue has been defaulted to 100"));
    EXPECT_EQ(m.CourtesyChanged, kTrue);
    EXPECT_EQ(m.DTMFChanged, kTrue);
}

TEST_F(ReaderRulesTest, RemoteBaseAndIdentification)
{
    SetUpClean(true);
    EXPECT_EQ(Load({{"Remote", "RadioType", "6"}, {"Remote", "YaesuType", "9"},
                    {"Remote", "FreqString(15)", "1470003"}, {"Remote", "CTCSS(15)", ""},
                    {"Remote", "CTCSSMode(15)", ""}, {"Remote", "RadioMode(15)", ""},
                    {"Remote", "FreqString(2)", "NONE"}, {"ID", "CWTone2(1)", "0"},
                    {"ID", "CWTone2(2)", "100"}, {"ID", "VoiceID1(1)", "v m eight eighty"}}),
              Entry("Logic Alarms/R Base: Remote Base Setup: Radio Type not valid -- DAT item: "
                    "RadioType\r\nValue received is '6'\r\nValue has been defaulted to 2")
                  + Entry("Logic Alarms/R Base: Remote Base Memories: Memory Number 2: Frequency not "
                          "valid -- DAT item: FreqString(2)\r\nValue received is 'NONE'\r\nValue has "
                          "been defaulted to 1465202")
                  + Entry("Logic Alarms/R Base: Memory Number 15\r\nSome of the parameters for the Remote "
                          "Base Memory have been entered and some have not been entered (value of "
                          "'NONE')\r\n  FreqString = '1470003'\r\n  CTCSS = 'NONE'\r\n  CTCSS Mode = "
                          "'NONE'\r\n  Radio Mode = 'NONE'\r\nThis Remote Base Memory will not be "
                          "uploaded to the controller as is",
                          true)
                  + Entry("IDs: Port 2: CW Tone 2 not valid -- DAT item: CWTone2(2)\r\nValue received is "
                          "'100'\r\nValue has been defaulted to 500"));
    EXPECT_EQ(m.YaesuType, "0");
    EXPECT_EQ(m.VoiceID1(1), "V M EIGHT EIGHTY");
    EXPECT_EQ(m.CWTone2(1), "0");
    EXPECT_EQ(m.RemoteBaseChanged, kTrue);
}

TEST_F(ReaderRulesTest, AccessCodesWarnTheOperator)
{
    SetUpClean(false);
    prompts.Answer(Answer::Ok, "INVALID UNLOCK CODE").Answer(Answer::Ok, "INVALID TERMINATOR CODE");
    EXPECT_EQ(Load({{"Unlock", "CurrentPortUnlock(2)", nullptr}, {"Unlock", "Terminator", "DD"}}),
              Entry("Special Codes/Autopatch: Unlock/Lock/Terminator: Port 2 not valid -- DAT item: "
                    "CurrentPortUnlock(2)\r\nValue received is ''\r\nValue has been defaulted to 27306")
                  + Entry("Special Codes/Autopatch: Unlock/Lock/Terminator: Terminator not valid -- DAT "
                          "item: Terminator\r\nValue received is 'DD'\r\nValue has been defaulted to D"));
    EXPECT_EQ(m.CurrentPortUnlock(2), "27306");
    EXPECT_EQ(m.Terminator, "D");
    EXPECT_NE(prompts.prompts()[0].text.find("valid Unlock Code for Port 2 and will use the factory "
                                             "default unlock code"),
              std::string::npos);

    prompts.Answer(Answer::Ok, "Error!");
    EXPECT_EQ(Load({{"Unlock", "Lock", "5"}, {"Unlock", "Terminator", "5"}}), "");
    EXPECT_EQ(m.LockEqualsTerminator, kTrue);
    EXPECT_EQ(m.Lock, "5");
    EXPECT_EQ(prompts.pending(), 0u);
}

TEST_F(ReaderRulesTest, OldCommandPrefixMovesToItsNewKey)
{
    SetUpClean(false);
    EXPECT_EQ(Load({{"Unlock", "DTMFRegenPrefix", nullptr}, {"Unlock", "CommandPrefix", "12ab"}}), "");
    EXPECT_EQ(m.DTMFRegenPrefix, "12AB");
    EXPECT_EQ(keys.ReadSetting("Unlock", "DTMFRegenPrefix", dat), "12AB");
    EXPECT_EQ(test::ReadFile(dat).find("CommandPrefix"), std::string::npos);

    EXPECT_EQ(Load({{"Unlock", "DTMFRegenPrefix", nullptr}, {"Unlock", "DTMFSpeech", "95"}}),
              Entry("Special Codes/Autopatch: User DTMF Regenerate: User DTMF Prefix not valid -- DAT "
                    "item: DTMFRegenPrefix\r\nValue received is ''\r\nValue has been defaulted to 90817")
                  + Entry("Special Codes/Autopatch: User DTMF Regenerate: Macro To Use not valid -- DAT "
                          "item: DTMFSpeech\r\nValue received is '95'\r\nValue has been defaulted to '0' "
                          "(NONE)"));
    EXPECT_EQ(m.DTMFRegenChanged, kTrue);
    EXPECT_EQ(m.DTMFSpeech, "00");
}

TEST_F(ReaderRulesTest, MacroEntries)
{
    SetUpClean(true);
    EXPECT_EQ(Load({{"Autopatch", "APPrefix", "a1"}, {"MacroSubset", "MacroSubset", "5"},
                    {"Macros", "Macro(3)", "001 999"}, {"Macros", "MacroCode(7)", nullptr},
                    {"Macros", "ShortMacro(1)", "256 257 258"}, {"Macros", "PortToAllow(5)", "0"},
                    {"MessageMacros", "MessageMacro(5)", nullptr},
                    {"MessageMacros", "MessageMacro(3)", "DVR20"}}),
              Entry("Special Codes/Autopatch: Prefix not valid -- DAT item: APPrefix\r\nValue received "
                    "is 'a1'\r\nValue has been defaulted to A1")
                  + Entry("Special Codes/Autopatch: Macro Subset: Range not valid -- DAT item: "
                          "MacroSubset\r\nValue received is '0005'\r\nValue has been defaulted to 0190")
                  + Entry("Macros: Macro Number 3: Contains invalid macro functions -- DAT item: "
                          "Macro(3)\r\nValue received is 001 999\r\nValue has been defaulted to NONE STORED")
                  + Entry("Macros: Macro Number 7: Code not valid -- DAT item: MacroCode(7)\r\nValue "
                          "received is \r\nValue has been defaulted to 50007")
                  + Entry("Macros: Macro Number 41 (Short Macro 1): Exceeds allowed number of macro "
                          "functions -- DAT item: ShortMacro(1)\r\nValue received is 256 257 258\r\nValue "
                          "has been defaulted to NONE STORED")
                  + Entry("Macros: Port Restrictions: Port 5 not valid -- DAT item: PortToAllow(5)\r\n"
                          "Value received is '0'\r\nValue has been defaulted to 123")
                  + Entry("Message: Number 3 not valid -- DAT item: MessageMacro(3)\r\nValue received is "
                          "'DVR20'\r\nValue has been defaulted to NONE STORED")
                  + Entry("Message: Number 5 not valid -- DAT item: MessageMacro(5)\r\nValue received is "
                          "''\r\nValue has been defaulted to NONE STORED"));
    EXPECT_EQ(m.MacrosChanged, kTrue);
    EXPECT_EQ(m.SpecialCodesChanged, kTrue);
}

// Damaged or hand-edited files: each loads with its entries and values, then saves, and the
// saved file reloads without entries into the same model.
TEST_F(ReaderRulesTest, DamagedFilesLoadAndSaveAgain)
{
    using namespace std::string_literals;
    SetUpClean(false);
    const std::string codes = "Special Codes/Autopatch: Unlock/Lock/Terminator: ";
    struct Case {
        std::vector<std::pair<std::string, std::string>> lines; // key, raw value
        std::string report;
        std::vector<std::pair<Text ConfigModel::*, Text>> scalars;
        Text autoDial3 = "";
    };
    const std::vector<Case> cases = {
        {{{"NewPortUnlock(1)", "12x"}, {"NewPortUnlock(3)", "123456789"}, {"NewLock", "12E4"},
          {"NewTerminator", "DD"}},
         Entry(codes + "New Port 1 not valid -- DAT item: NewPortUnlock(1)\r\nValue received is "
                       "'12X'\r\nValue has been defaulted to '' (no new code)")
             + Entry(codes + "New Port 3 not valid -- DAT item: NewPortUnlock(3)\r\nValue received "
                             "is '123456789'\r\nValue has been defaulted to '' (no new code)")
             + Entry(codes + "New Lock not valid -- DAT item: NewLock\r\nValue received is "
                             "'12E4'\r\nValue has been defaulted to '' (no new code)")
             + Entry(codes + "New Terminator not valid -- DAT item: NewTerminator\r\nValue received "
                             "is 'DD'\r\nValue has been defaulted to '' (no new code)"),
         {{&ConfigModel::NewLock, ""}, {&ConfigModel::NewTerminator, ""}}},
        {{{"NewTerminator", "NONE"}},
         Entry(codes + "New Terminator not valid -- DAT item: NewTerminator\r\nValue received is "
                       "'NONE'\r\nValue has been defaulted to '' (no new code)"),
         {{&ConfigModel::NewTerminator, ""}}},
        {{{"NewTerminator", "\0"s}},
         Entry(codes + "New Terminator not valid -- DAT item: NewTerminator\r\nValue received is "
                       "'<NUL>'\r\nValue has been defaulted to '' (no new code)"),
         {{&ConfigModel::NewTerminator, ""}}},
        // The new terminator would end the unlock code of port 1 ("17306") early.
        {{{"NewTerminator", "7"}, {"NewLock", "A"}, {"NewPortUnlock(2)", "2468"}},
         Entry(codes + "New Terminator not valid -- DAT item: NewTerminator\r\nValue received is "
                       "'7'\r\nIt is part of the unlock or lock code '17306' it would end\r\nValue "
                       "has been defaulted to '' (no new code)"),
         {{&ConfigModel::NewTerminator, ""}, {&ConfigModel::NewLock, "A"}}},
        {{{"NewTerminator", "C"}, {"NewLock", "*"}}, "",
         {{&ConfigModel::NewTerminator, "C"}, {&ConfigModel::NewLock, "*"}}},
        // A NUL in a key no rule checks and in one that its check would pass.
        {{{"AutoDial(3)", "55\0" "12"s}, {"FirmwareVersion", "60"}},
         Entry("Autopatch not valid -- DAT item: AutoDial(3)\r\nValue received was "
               "'55<NUL>12'\r\nDefaulted to ''"),
         {}},
        {{{"DTMFDelay", "1\0"s}},
         Entry("DTMF: DTMF Parameters: Delay not valid -- DAT item: DTMFDelay\r\nValue received is "
               "'1<NUL>'\r\nValue has been defaulted to 100"),
         {{&ConfigModel::DTMFDelay, "100"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.front().first);
        std::string text = clean;
        for (const auto& [key, value] : c.lines) {
            const std::string at = "\r\n" + key + "=";
            const std::size_t pos = text.find(at);
            ASSERT_NE(pos, std::string::npos) << key;
            const std::size_t start = pos + at.size();
            text.replace(start, text.find("\r\n", start) - start, value);
        }
        test::WriteFile(dat, text);
        m = ConfigModel{};
        m.DatFilePath = dat;
        FileLoadServices s{m, keys, prompts, viewer, dir.path().string(), stamp};
        ASSERT_EQ(FileLoad(s).outcome, FileLoadResult::Loaded);
        EXPECT_EQ(test::ReadFile(dir.file("error.log")).substr(header.size()), c.report);
        for (const auto& [item, value] : c.scalars)
            EXPECT_EQ(m.*item, value);
        EXPECT_EQ(m.AutoDial(3), c.autoDial3);

        ASSERT_EQ(FileWrite(m, keys, prompts), kDone);
        std::vector<std::string> saved;
        ForEachSettingsEntry(m, [&](std::string_view sec, std::string_view key, std::string_view v) {
            saved.push_back(std::string(sec) + "/" + std::string(key) + "=" + std::string(v));
        });
        ConfigModel again;
        again.DatFilePath = dat;
        FileLoadServices s2{again, keys, prompts, viewer, dir.path().string(), stamp};
        ASSERT_EQ(FileLoad(s2).outcome, FileLoadResult::Loaded);
        EXPECT_EQ(test::ReadFile(dir.file("error.log")).substr(header.size()), "");
        std::vector<std::string> reloaded;
        ForEachSettingsEntry(again, [&](std::string_view sec, std::string_view key, std::string_view v) {
            reloaded.push_back(std::string(sec) + "/" + std::string(key) + "=" + std::string(v));
        });
        EXPECT_EQ(reloaded, saved);
    }
}

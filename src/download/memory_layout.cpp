#include "download/memory_layout.h"

#include <string>

// Each row: position, entries, positions per entry, encoding, setting (accessor and key name),
// step label, then optionally the substitution, the stride and the second setting.
// ITEM(x) fills an array setting, SCALAR(x) a single one, COURTESY(x) a courtesy-tone setting
// (entry (port - 1) * 10 + tone), COUNT(x) / WEEK the second setting of an ID list / a day.
#define ITEM(x) [](ConfigModel& m, int i) -> Text& { return m.x(i); }, #x
#define SCALAR(x) [](ConfigModel& m, int) -> Text& { return m.x; }, #x
#define COURTESY(x) [](ConfigModel& m, int i) -> Text& { return m.x((i - 1) / 10 + 1, (i - 1) % 10 + 1); }, #x
#define COUNT(x) [](ConfigModel& m, int i) -> Text& { return m.x(i); }
#define UNUSED nullptr, ""

namespace vm880 {

namespace {

using enum Encoding;
using enum Rule;

constexpr auto WEEK = [](ConfigModel& m, int i) -> Text& { return m.Week(i); };

constexpr const char* kCWIDStep = "CW ID Tones, Speed and Counts (102 - 122)";
constexpr const char* kMeterStep = "Meters (182 - 261)";
constexpr const char* kCourtesyStep = "Courtesy Tone(712 - 1671)";
constexpr const char* kRemoteStep = "Remote Base Memories (3946 - 4045)";

constexpr LayoutSection kLayout[] = {
    // ---- Positions 0 to 711: prefixes, port timers and switches, IDs, alarms, meters, scheduler
    {0, 1, 4, ZeroEndedText, SCALAR(PreAccessPrefix), "PreAccess Prefix (0-3)", EmptyIs0},
    {4, 1, 6, ZeroEndedText, SCALAR(DTMFTestPrefix), "TT Pad Test Prefix/DTMF Test Prefix (4-9)"},
    {10, 3, 1, Byte, ITEM(GeneralTimerMacro), "General Timer Macro (10, 11, 12)"},
    {13, 1, 1, Unused, UNUSED, "Get byte for future Weather Station Type Select after General Timer Macro (13-)"},
    {14, 1, 1, Byte, SCALAR(SayHour), "Say Hour (14)", ZeroOrOne},
    {15, 3, 1, Byte, ITEM(HangTime), "Hang Time (15, 16, 17)"},
    {18, 3, 1, Byte, ITEM(IIDTime), "IID Time (18, 19, 20)"},
    {21, 3, 1, Byte, ITEM(PIDTime), "PID Time (21, 22, 23)"},
    {24, 3, 1, Byte, ITEM(TxEnable), "TX Enable (24, 25, 26)"},
    {27, 3, 1, Byte, ITEM(DTMFCovertone), "DTMF Covertone (27, 28, 29)"},
    {30, 3, 2, Word, ITEM(DTMFTime), "DTMF Time (30 - 35)"},
    {36, 3, 1, Byte, ITEM(Kerchunk), "Kerchunk (36-38)"},
    {39, 3, 2, Word, ITEM(KerchunkTime), "Kerchunk Time (39-44)"},
    {45, 1, 1, Unused, UNUSED, "One blank after Kerchunk Time (45)"},
    {46, 3, 1, Byte, ITEM(CTCSSID), "PLID (46, 47, 48)"},
    {49, 3, 1, Byte, ITEM(CTCSSCT), "PLCT (49, 50, 51)"},
    {52, 1, 1, Byte, SCALAR(TimeoutLink), "TimeoutLink (52)"},
    {53, 1, 2, Word, SCALAR(XmtDelay), "SpeakDelay/XmtDelay (53, 54)"},
    {55, 3, 1, Byte, ITEM(PLEncodePolarity), "PLEncodePolarity (55, 56, 57)", Erased255Empty},
    {58, 1, 5, ZeroEndedText, SCALAR(MacroSubset), "Macro Subset (58-62)"},
    {63, 3, 1, Byte, ITEM(COSClose), "DTMF Evaluate COS/CTCSS (63, 64, 65)"},
    {66, 3, 1, Byte, ITEM(DTMFEnable), "DTMF Enable (66, 67, 68)"},
    {69, 3, 1, Byte, ITEM(DTMFNeedPL), "DTMF Need PL (69, 70, 71)"},
    {72, 3, 9, ZeroEndedText, ITEM(CurrentPortUnlock), "Current Port Unlock (72-98)"},
    {99, 3, 1, Byte, ITEM(SpeechIDOverride), "Speech ID Override (99, 100, 101)", Erased255Is0},
    {102, 3, 2, Word, ITEM(CWTone1), kCWIDStep},
    {108, 3, 2, Word, ITEM(CWTone2), kCWIDStep, ZeroIs0000},
    {114, 3, 1, Byte, ITEM(CWSpeed), kCWIDStep},
    {117, 3, 1, Byte, ITEM(CWID1CharCount), kCWIDStep},
    {120, 3, 1, Byte, ITEM(CWID2CharCount), kCWIDStep},
    {123, 3, 1, Byte, ITEM(VoiceID1WordCount), "Voice ID Counts (123 - 131)"},
    {126, 3, 1, Byte, ITEM(VoiceID2WordCount), "Voice ID Counts (123 - 131)"},
    {129, 3, 1, Byte, ITEM(VoiceID3WordCount), "Voice ID Counts (123 - 131)"},
    {132, 3, 1, Byte, ITEM(PLAccess), "PL Access (132, 133, 134)"},
    {135, 3, 1, Byte, ITEM(MonMix), "MonMix (135, 136, 137)"},
    {138, 3, 2, Word, ITEM(AuxTime), "Aux Time (138 - 143)"},
    {144, 3, 1, Byte, ITEM(InActiveTime), "Inactive Time (144, 145, 146)"},
    {147, 3, 1, Byte, ITEM(SpeechOverride), "Speech Override (147, 148, 149)"},
    {150, 3, 1, Byte, ITEM(CTCSSTime), "CTCSS Time (150, 151, 152)"},
    {153, 3, 1, Byte, ITEM(FDup), "Repeat/Non-Repeat (153, 154, 155)"},
    {156, 3, 2, Word, ITEM(TimeOut), "Time Out (156- 161)"},
    {162, 3, 1, Byte, ITEM(DTMFMute), "DTMF Mute (162, 163, 164)"},
    {165, 5, 1, Byte, ITEM(Alarm), "Logic Alarm Enabled (165 - 169)"},
    {170, 5, 1, Byte, ITEM(AlarmLowMacroNum), "Logic Alarm Macros (170 - 179)"},
    {175, 5, 1, Byte, ITEM(AlarmHighMacroNum), "Logic Alarm Macros (170 - 179)"},
    {180, 1, 2, Word, SCALAR(Vref), "VRef (180, 181)"},
    {182, 8, 2, Word, ITEM(Meter), kMeterStep, MeterType},
    {198, 8, 2, ScaleWord, ITEM(RealLow), kMeterStep},
    {214, 8, 2, ScaleWord, ITEM(MeterLow), kMeterStep},
    {230, 8, 2, ScaleWord, ITEM(RealHigh), kMeterStep},
    {246, 8, 2, ScaleWord, ITEM(MeterHigh), kMeterStep},
    {262, 8, 1, Byte, ITEM(MeterNum), "Meter Alarm Number (262 - 269)", Erased255Is0},
    {270, 8, 1, Byte, ITEM(MeterAlarmType), "Meter Alarm Type (270 - 277)", AlarmType},
    {278, 8, 4, ScaledSingle, ITEM(MeterSetPoint), "Meter Alarm Set Point (278 - 309)"},
    {310, 8, 1, Byte, ITEM(MeterMacro), "Meter Alarm Macro (310- 317)", Erased255Is0},
    {318, 3, 1, Byte, ITEM(RcvMacroActive), "Rcv Macros (318 - 323)", Above90Is90},
    {321, 3, 1, Byte, ITEM(RcvMacroInactive), "Rcv Macros (318 - 323)", Above90Is90},
    {324, 3, 15, CWList, ITEM(CWID1), "CW ID (324 - 413)", None, 0, COUNT(CWID1CharCount)},
    {369, 3, 15, CWList, ITEM(CWID2), "CW ID (324 - 413)", None, 0, COUNT(CWID2CharCount)},
    {414, 3, 22, VoiceList, ITEM(VoiceID1), "Voice ID (414 - 611)", None, 0, COUNT(VoiceID1WordCount)},
    {480, 3, 22, VoiceList, ITEM(VoiceID2), "Voice ID (414 - 611)", None, 0, COUNT(VoiceID2WordCount)},
    {546, 3, 22, VoiceList, ITEM(VoiceID3), "Voice ID (414 - 611)", None, 0, COUNT(VoiceID3WordCount)},
    {612, 20, 1, DayAndWeek, ITEM(DOW), "Sched DOW (612 - 631)", None, 0, WEEK},
    {632, 20, 1, Byte, ITEM(Hours), "Sched Hours (632 - 651)", SchedHour},
    {652, 20, 1, Byte, ITEM(Minutes), "Sched Minutes (652 - 671)", SchedMinute},
    {672, 20, 1, Byte, ITEM(MacroToRun), "Sched Macro (672 - 691)", SchedMacro},
    {692, 20, 1, Unused, UNUSED, "Sched Resume/Suspend (692 - 711)"},

    // ---- Positions 712 to 4057: courtesy tones, 60 positions per setting, port-major
    {712, 30, 2, Word, COURTESY(Tone1), kCourtesyStep, None, 0, nullptr, true},
    {772, 30, 2, Word, COURTESY(Tone2), kCourtesyStep, None, 0, nullptr, true},
    {832, 30, 2, Word, COURTESY(Tone3), kCourtesyStep, None, 0, nullptr, true},
    {892, 30, 2, Word, COURTESY(Tone4), kCourtesyStep, None, 0, nullptr, true},
    {952, 30, 2, Word, COURTESY(Tone5), kCourtesyStep, None, 0, nullptr, true},
    {1012, 30, 2, Word, COURTESY(Tone6), kCourtesyStep, None, 0, nullptr, true},
    {1072, 30, 2, Word, COURTESY(Tone7), kCourtesyStep, None, 0, nullptr, true},
    {1132, 30, 2, Word, COURTESY(Tone8), kCourtesyStep, None, 0, nullptr, true},
    {1192, 30, 2, Word, COURTESY(Delay1), kCourtesyStep, None, 0, nullptr, true},
    {1252, 30, 2, Word, COURTESY(Delay2), kCourtesyStep, None, 0, nullptr, true},
    {1312, 30, 2, Word, COURTESY(Delay3), kCourtesyStep, None, 0, nullptr, true},
    {1372, 30, 2, Word, COURTESY(Delay4), kCourtesyStep, None, 0, nullptr, true},
    {1432, 30, 2, Word, COURTESY(Dur1), kCourtesyStep, None, 0, nullptr, true},
    {1492, 30, 2, Word, COURTESY(Dur2), kCourtesyStep, None, 0, nullptr, true},
    {1552, 30, 2, Word, COURTESY(Dur3), kCourtesyStep, None, 0, nullptr, true},
    {1612, 30, 2, Word, COURTESY(Dur4), kCourtesyStep, None, 0, nullptr, true},

    // ---- Remote base radio, DTMF regeneration and memories, DVR tables, autopatch switches
    {1672, 1, 1, Byte, SCALAR(RadioType), "Radio Type (1672)"},
    {1673, 1, 1, Byte, SCALAR(YaesuType), "Yaesu Type (1673)"},
    {1674, 1, 1, Byte, SCALAR(FanTime), "Fan Timeout (1674)"},
    {1675, 1, 7, ZeroEndedText, SCALAR(DTMFRegenPrefix), "DTMF Regen Prefix (1675 - 1681)"},
    {1682, 1, 1, Byte, SCALAR(TwentyFour), "Clock 12/24 (1682)"},
    {1683, 1, 1, Byte, SCALAR(FanSelect), "Fan Active Select (1683)"},
    {1684, 1, 1, Byte, SCALAR(DTMFDur), "DTMF Duration (1684)", Erased255Empty},
    {1685, 1, 1, Byte, SCALAR(DTMFDelay), "DTMF PauseTime (1685)"},
    {1686, 20, 11, DTMFMemory, ITEM(DTMF), "DTMF Memories (1686 - 1905)"},
    {1906, 64, 1, Byte, ITEM(DVRSeconds), "DVR Seconds (1906 - 1969)"},
    {1970, 20, 1, Byte, ITEM(DVRTracks), "DVR Track (1970 - 1989)"},
    {1990, 20, 2, Word, ITEM(DVRRowsUsed), "DVR Rows Used (1990 - 2029)"},
    {2030, 1, 1, Byte, SCALAR(AllowTerminatorSpeech), "Allow Speech w/ Terminator (2030)"},
    {2031, 10, 1, Byte, ITEM(RadioMode), "Radio Mode (2031 - 2040)"},
    {2041, 3, 2, Word, ITEM(InActivityMacro), "Port Inactivity Macro (2041 - 2046)", Above90Is1},
    {2047, 1, 1, Byte, SCALAR(EnablePatch), "AP Allowed Port(s) (2047)"},
    {2048, 1, 1, Byte, SCALAR(PatchMute), "AP Mute (2048)"},
    {2049, 3, 2, Word, ITEM(GeneralTimer), "General Timers (2049 - 2054)"},
    {2055, 1, 5, ZeroEndedText, SCALAR(PreProgramPrefix), "PreProgram Prefix (2055 - 2059)"},

    // ---- Message macros, ID extras (port-major, three per port), macros and their codes
    {2060, 40, 10, MessageVocabulary, ITEM(MessageMacro), "Message Macros (2060 - 2459)"},
    {2460, 3, 1, Byte, ITEM(ID1Extras), "ID Extras (2460 - 2468)", Skip255, 3},
    {2461, 3, 1, Byte, ITEM(ID2Extras), "ID Extras (2460 - 2468)", Skip255, 3},
    {2462, 3, 1, Byte, ITEM(ID3Extras), "ID Extras (2460 - 2468)", Skip255, 3},
    {2469, 40, 16, MacroList, ITEM(Macro), "Macros 1 - 40 (2469 - 3108)"},
    {3109, 40, 5, PackedDigits, ITEM(MacroCode), "Macro 1-40 Code (3109 - 3308)"},
    {3309, 50, 5, MacroList, ITEM(ShortMacro), "Macro 41-90 (3309 - 3558)"},
    {3559, 50, 5, PackedDigits, ITEM(ShortMacroCode), "Macro 41-90 Code (3559- 3808)"},
    {3809, 90, 1, Byte, ITEM(PortToAllow), "Macro Port Allow (3809 - 3898)"},

    // ---- ID speech, access codes, clock options, tail messages
    {3899, 3, 2, Word, ITEM(IDSpeakTime), "Speak Pending ID Time (3899 - 3904)"},
    {3905, 3, 1, Byte, ITEM(SpeechEnable), "Speech ID Enable (3905, 3906, 3907)"},
    {3908, 1, 1, Byte, SCALAR(MacroSubsetEnable), "Macro Subset Enable (3908)"},
    {3909, 1, 6, RemotePrefix, SCALAR(RemoteBasePrefix), "Remote Base Prefix (3909 - 3914)"},
    {3915, 1, 5, ZeroEndedText, SCALAR(Lock), "Lock Code (3915 - 3919)"},
    {3920, 1, 2, ZeroEndedText, SCALAR(Terminator), "Terminator (3920 - 3921)"},
    {3922, 1, 2, Word, SCALAR(ClockCorrection), "Clock Correction (3922, 3923)"},
    {3924, 1, 1, Byte, SCALAR(SayYear), "Say Year(3924)"},
    {3925, 3, 1, Byte, ITEM(P1MessageNum), "Tail Messages (3925 - 3936)"},
    {3928, 3, 1, Byte, ITEM(P2MessageNum), "Tail Messages (3925 - 3936)"},
    {3931, 3, 1, Byte, ITEM(P3MessageNum), "Tail Messages (3925 - 3936)"},
    {3934, 3, 1, Byte, ITEM(TailMessageNum), "Tail Messages (3925 - 3936)"},
    {3937, 3, 2, Word, ITEM(AnnounceTime), "Tail Timer (3937 - 3942)"},
    {3943, 3, 1, Byte, ITEM(TailCounter), "Tail Counter (3943, 3944, 3945)"},

    // ---- Remote-base memories 1 to 10 and the last settings
    {3946, 10, 8, RemoteFrequency, ITEM(FreqString), kRemoteStep},
    {4026, 10, 1, Byte, ITEM(CTCSS), kRemoteStep},
    {4036, 10, 1, Byte, ITEM(CTCSSMode), kRemoteStep},
    {4046, 1, 1, Byte, SCALAR(DTMFPort), "DTMF Regen Port (4046)"},
    {4047, 1, 1, Byte, SCALAR(DTMFSpeech), "DTMF Regen Speech Macro (4047)"},
    {4048, 1, 6, ZeroEndedText, SCALAR(APPrefix), "AP Prefix (4048 - 4053)"},
    {4054, 1, 1, Byte, SCALAR(IDStartSelect), "ID Start Select (4054)"},
    {4055, 3, 1, Byte, ITEM(TOTReset), "TOT Reset (4055 - 4057)"},
};

} // namespace

std::span<const LayoutSection> MemoryLayout()
{
    return kLayout;
}

int EntryPosition(const LayoutSection& section, int entry)
{
    const int stride = section.stride != 0 ? section.stride : section.width;
    return section.position + (entry - 1) * stride;
}

const LayoutSection* SectionAt(int position)
{
    for (const LayoutSection& s : kLayout)
        for (int e = 1; e <= s.entries; ++e) {
            const int first = EntryPosition(s, e);
            if (position >= first && position < first + s.width)
                return &s;
        }
    return nullptr;
}

std::string EntryKey(const LayoutSection& section, int entry)
{
    const std::string name(section.name);
    if (section.courtesy)
        return "P" + std::to_string((entry - 1) / 10 + 1) + name + "("
            + std::to_string((entry - 1) % 10 + 1) + ")";
    if (section.entries == 1)
        return name;
    return name + "(" + std::to_string(entry) + ")";
}

} // namespace vm880

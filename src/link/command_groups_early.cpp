// The upload's first groups: the new terminator, port timers, auxiliary and general timers,
// courtesy tones, short macros, identification, the scheduler and the analog meters.
// One item per row; `Row` is the common shape (one line, one flag), the others spell out
// what differs.

#include "link/command_parts.h"

#include "tables/code_lookup.h"

namespace vm880::catalogue {

namespace {

// ---- Values built from more than one field

// The terminator a complete upload sends: the new one when there is one.
Text TerminatorToSend(const ConfigModel& m, const ItemRef& ref)
{
    if (!ref.given.empty())
        return Text(ref.given);
    return m.NewTerminator.empty() ? m.Terminator : m.NewTerminator;
}

Text& CurrentTerminator(ConfigModel& m, const ItemRef&)
{
    return m.Terminator;
}
Text& NewTerminator(ConfigModel& m, const ItemRef&)
{
    return m.NewTerminator;
}
std::string TerminatorKey(const ItemRef&)
{
    return "Terminator";
}
std::string NewTerminatorKey(const ItemRef&)
{
    return "NewTerminator";
}
const AccessCode kTerminatorCode{&CurrentTerminator, &NewTerminator, &TerminatorKey,
                                 &NewTerminatorKey};

// The CW tone pair: each tone's number with four digits, the second only when not 0.
Text CWTonePair(const ConfigModel& m, const ItemRef& ref)
{
    Text pair = ZeroPadded(LeadingNumber(m.CWTone1(ref.index)), 4);
    const double second = LeadingNumber(m.CWTone2(ref.index));
    if (second != 0)
        pair += ZeroPadded(second, 4);
    return pair;
}

// A set point's day: week and day of the week when it runs monthly, else the day alone.
Text SchedulerDay(const ConfigModel& m, const ItemRef& ref)
{
    const int n = ref.index;
    return m.Monthly(n) == "1" ? m.Week(n) + m.DOW(n) : m.DOW(n);
}

// A meter alarm is enabled unless its type is "0" (disabled).
Text MeterAlarmEnable(const ConfigModel& m, const ItemRef& ref)
{
    return m.MeterAlarmType(ref.index) == "0" ? "0" : "1";
}

} // namespace

std::vector<Group> GroupsUpToMeters()
{
    std::vector<Group> groups;

    // ---- 0: the new terminator goes first, so every later tone command ends with it.
    {
        Item terminator = Row("Terminator", "SendNewTerminator", NoPort,
                              {Lit("*9020"), ValueOf(&TerminatorToSend)}, CmdText,
                              &FlagOf<&M::TerminatorChanged>);
        terminator.access = &kTerminatorCode;
        groups.push_back({0, "new terminator", Scope::CompleteOnly, Framing::EachItemFramed,
                          false, {{Over::Once, 0, TableSize::Fixed, {terminator}}}});
    }

    // ---- 1: port timers.
    groups.push_back({1, "port timers", Scope::Always, Framing::LockAfterEachPort, true,
        {{Over::EachPort, 0, TableSize::Fixed, {
            Row("HangTime", "SendHangTime", ByPort, {Lit("*1000"), Val<&M::HangTime>()},
                LineText, &FlagOf<&M::HangTimeChanged>),
            Row("TimeOut", "SendTimeOut", ByPort, {Lit("*1001"), Val<&M::TimeOut>()},
                LineText, &FlagOf<&M::TimeOutChanged>),
            Row("TOTReset", "SendTOTReset", ByPort, {Lit("*2122"), Val<&M::TOTReset>()},
                LineText, &FlagOf<&M::TOTResetChanged>),
            Row("IIDTime", "SendIIDTime", ByPort, {Lit("*1002"), Val<&M::IIDTime>()},
                LineText, &FlagOf<&M::IIDTimeChanged>),
            Row("PIDTime", "SendPIDTime", ByPort, {Lit("*1003"), Val<&M::PIDTime>()},
                LineText, &FlagOf<&M::PIDTimeChanged>),
            Row("InActiveTime", "SendInActiveTime", ByPort,
                {Lit("*1005"), Val<&M::InActiveTime>()}, LineText,
                &FlagOf<&M::InActiveTimeChanged>),
            Row("InActivityMacro", "SendInActivityMacro", ByPort,
                {Lit("*2114"), Val<&M::InActivityMacro>()}, LineText,
                &FlagOf<&M::InActivityMacroChanged>),
            Row("DTMFTime", "SendDTMFTime", ByPort, {Lit("*1006"), Val<&M::DTMFTime>()},
                LineText, &FlagOf<&M::DTMFTimeChanged>),
            Row("CTCSSTime", "SendCTCSSTime", ByPort, {Lit("*1007"), Val<&M::CTCSSTime>()},
                LineText, &FlagOf<&M::CTCSSTimeChanged>),
            Row("IDSpeakTime", "SendIDSpeakTime", ByPort,
                {Lit("*1019"), Val<&M::IDSpeakTime>()}, LineText,
                &FlagOf<&M::IDSpeakTimeChanged>),
            Row("AnnounceTime", "SendAnnounceTime", ByPort,
                {Lit("*1020"), Val<&M::AnnounceTime>()}, LineText,
                &FlagOf<&M::AnnounceTimeChanged>),
        }}}});

    // ---- 2: auxiliary audio timers, commands *1013 to *1015. Like every other item, a timer
    // keeps its flag until the controller accepted it, so a refused one is sent again by the
    // next upload of changes. Each timer has its own unlock and lock on the radio link.
    {
        Item aux = Row("AuxTime", "SendAuxTime", NoPort,
                       {Lit("*101"), NumKey(2), Val<&M::AuxTime>()}, LineText,
                       &FlagOf<&M::AuxTimeChanged>);
        groups.push_back({2, "auxiliary audio timers", Scope::Always,
                          Framing::LockAfterEachItem, true,
                          {{Over::EachIndex, 3, TableSize::Fixed, {aux}}}});
    }

    // ---- 3: general timers (timer and macro in one item) and the single timers.
    {
        Item general;
        general.name = "GeneralTimer";
        general.senders = {"SendGeneralTimer", "SendGeneralTimerMacro"};
        general.lines = {
            {{Lit("*1017"), NumKey(), Val<&M::GeneralTimer>()}, CmdText},
            {{Lit("*2092"), NumKey(), Val<&M::GeneralTimerMacro>()}, CmdText},
        };
        general.chosenBy = general.clears = {&FlagOf<&M::GeneralTimerChanged>};
        groups.push_back({3, "general and single timers", Scope::Always,
                          Framing::LockAfterGroup, true, {
            {Over::EachIndex, 3, TableSize::Fixed, {general}},
            {Over::Once, 0, TableSize::Fixed, {
                Row("FanTime", "SendFanTime", NoPort, {Lit("*1004"), Val<&M::FanTime>()},
                    CmdText, &FlagOf<&M::FanTimeChanged>),
                Row("FanSelect", "SendFanSelect", NoPort,
                    {Lit("*2119"), Val<&M::FanSelect>()}, CmdText,
                    &FlagOf<&M::FanSelectChanged>),
                Row("XmtDelay", "SendXmtDelay", NoPort, {Lit("*1022"), Val<&M::XmtDelay>()},
                    CmdText, &FlagOf<&M::XmtDelayChanged>),
                Row("TimeoutLink", "SendTimeoutLink", NoPort,
                    {Lit("*2051"), Val<&M::TimeoutLink>()}, LineText,
                    &FlagOf<&M::TimeoutLinkChanged>),
            }},
        }});
    }

    // ---- 4: courtesy tones, one command per segment: delay, duration and two tones, each
    // closed by "*". A pause follows every segment sent, on both links.
    {
        auto segment = [](std::string_view name, std::string_view sender,
                          std::string_view command, Part delay, Part duration, Part toneA,
                          Part toneB, FlagFn flag) {
            Item item = Row(name, sender, ByPort,
                            {Lit(command), Num(2), delay, Lit("*"), duration, Lit("*"), toneA,
                             Lit("*"), toneB, Lit("*")},
                            CmdText, flag);
            item.pauseMs = 50;
            return item;
        };
        groups.push_back({4, "courtesy tones", Scope::Always, Framing::LockAfterEachPort, true,
            {{Over::EachPortAndTone, 0, TableSize::Fixed, {
                segment("CTSeg1", "SendCourtesySegment1", "*31", Val<&M::Delay1>(),
                        Val<&M::Dur1>(), Val<&M::Tone1>(), Val<&M::Tone2>(),
                        &FlagOf<&M::CTSeg1Changed>),
                segment("CTSeg2", "SendCourtesySegment2", "*32", Val<&M::Delay2>(),
                        Val<&M::Dur2>(), Val<&M::Tone3>(), Val<&M::Tone4>(),
                        &FlagOf<&M::CTSeg2Changed>),
                segment("CTSeg3", "SendCourtesySegment3", "*33", Val<&M::Delay3>(),
                        Val<&M::Dur3>(), Val<&M::Tone5>(), Val<&M::Tone6>(),
                        &FlagOf<&M::CTSeg3Changed>),
                segment("CTSeg4", "SendCourtesySegment4", "*34", Val<&M::Delay4>(),
                        Val<&M::Dur4>(), Val<&M::Tone7>(), Val<&M::Tone8>(),
                        &FlagOf<&M::CTSeg4Changed>),
            }}}});
    }

    // ---- 5: short macros, controller macros 41 to 90; an empty one is erased instead.
    {
        Item shortMacro = Row("ShortMacro", "SendShortMacro", NoPort,
                              {Lit("*4002"), Num(2, 40),
                               ValueOf(&Conv<&At<&M::ShortMacro>, RemoveBlanks>)},
                              CmdText, &FlagOf<&M::ShortMacroChanged>);
        shortMacro.noneStoredField = &At<&M::ShortMacro>;
        shortMacro.noneStoredLines = {{{Lit("*4003"), Num(2, 40)}, CmdText}};
        groups.push_back({5, "short macros", Scope::Always, Framing::LockAfterGroup, true,
                          {{Over::EachIndex, 50, TableSize::Fixed, {shortMacro}}}});
    }

    // ---- 6: identification. The CW tone pair answers to either tone's flag.
    {
        Item tones = Row("CWTones", "SendCWTones", ByPort,
                         {Lit("*8001"), ValueOf(&CWTonePair)}, LineText,
                         &FlagOf<&M::CWTone1Changed>);
        tones.chosenBy = tones.clears = {&FlagOf<&M::CWTone1Changed>,
                                         &FlagOf<&M::CWTone2Changed>};
        tones.choose = Choose::AnyFlagRaised;
        groups.push_back({6, "identification", Scope::Always, Framing::LockAfterEachPort, true,
            {{Over::EachPort, 0, TableSize::Fixed, {
                Row("VoiceID1", "SendVoiceID1", ByPort,
                    {Lit("*8004"), ValueOf(&Conv<&At<&M::VoiceID1>, ConvertVoiceIDText>)},
                    LineText, &FlagOf<&M::VoiceID1Changed>),
                Row("VoiceID2", "SendVoiceID2", ByPort,
                    {Lit("*8005"), ValueOf(&Conv<&At<&M::VoiceID2>, ConvertVoiceIDText>)},
                    LineText, &FlagOf<&M::VoiceID2Changed>),
                Row("VoiceID3", "SendVoiceID3", ByPort,
                    {Lit("*8006"), ValueOf(&Conv<&At<&M::VoiceID3>, ConvertVoiceIDText>)},
                    LineText, &FlagOf<&M::VoiceID3Changed>),
                Row("CWSpeed", "SendCWSpeed", ByPort, {Lit("*8000"), Val<&M::CWSpeed>()},
                    LineText, &FlagOf<&M::CWSpeedChanged>),
                tones,
            }}}});
    }

    // ---- 7: scheduler set points and the clock options.
    groups.push_back({7, "scheduler", Scope::Always, Framing::LockAfterGroup, true, {
        {Over::EachIndex, 20, TableSize::Fixed, {
            Row("SetPoint", "SendSchedulerEvent", NoPort,
                {Lit("*4001"), Num(2), ValueOf(&SchedulerDay),
                 ValueOf(&Conv<&At<&M::Hours>, SchedulerHourCode>), Val<&M::Minutes>(),
                 Val<&M::MacroToRun>()},
                LineText, &FlagOf<&M::SetPointChanged>),
        }},
        {Over::Once, 0, TableSize::Fixed, {
            Row("SayYear", "SendSayYear", NoPort, {Lit("*5102"), Key<&M::SayYear>()}, CmdText,
                &FlagOf<&M::SayYearChanged>),
            Row("TwentyFour", "SendTwentyFour", NoPort, {Lit("*5103"), Key<&M::TwentyFour>()},
                CmdText, &FlagOf<&M::TwentyFourChanged>),
            Row("SayHour", "SendSayHour", NoPort, {Lit("*5104"), Key<&M::SayHour>()}, CmdText,
                &FlagOf<&M::SayHourChanged>),
            Row("ClockCorrection", "SendClockCorrection", NoPort,
                {Lit("*5105"), Val<&M::ClockCorrection>()}, CmdText,
                &FlagOf<&M::ClockCorrectionChanged>),
        }},
    }});

    // ---- 8: meters, the reference voltage (flag element 9 of the meters), meter alarms and
    // their enables. The alarm row lowers no flag: the enable row of the same alarm, run after
    // all eight alarms, is chosen by the same flag and lowers it.
    {
        Item alarm = Row("MeterAlarm", "SendMeterAlarm", NoPort,
                         {Lit("*2066"), NumKey(), Lit("*"), Key<&M::MeterNum>(), Lit("*"),
                          Key<&M::MeterAlarmType>(), Lit("*"), Val<&M::MeterSetPoint>(),
                          Lit("*"), Val<&M::MeterMacro>(), Lit("*")},
                         CmdText, &FlagOf<&M::MeterAlarmChanged>);
        alarm.clears.clear();
        groups.push_back({8, "analog meters", Scope::Always, Framing::LockAfterGroup, true, {
            {Over::EachIndex, 8, TableSize::Fixed, {
                Row("Meter", "SendMeter", NoPort,
                    {Lit("*2064"), NumKey(), Lit("*"), Key<&M::Meter>(), Lit("*"),
                     Val<&M::RealLow>(), Lit("*"), Val<&M::MeterLow>(), Lit("*"),
                     Val<&M::RealHigh>(), Lit("*"), Val<&M::MeterHigh>(), Lit("*")},
                    CmdText, &FlagOf<&M::MeterChanged>),
            }},
            {Over::Once, 0, TableSize::Fixed, {
                Row("Vref", "SendVref", NoPort, {Lit("*2065"), Val<&M::Vref>()}, CmdText,
                    &FlagElement<&M::MeterChanged, 9>),
            }},
            {Over::EachIndex, 8, TableSize::Fixed, {alarm}},
            {Over::EachIndex, 8, TableSize::Fixed, {
                Row("MeterAlarmEnable", "SendMeterAlarmEnable", NoPort,
                    {Lit("1600"), Num(), KeyOf(&MeterAlarmEnable)}, CmdText,
                    &FlagOf<&M::MeterAlarmChanged>),
            }},
        }});
    }

    return groups;
}

} // namespace vm880::catalogue

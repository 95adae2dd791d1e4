// Reader rules of the timers, tail messages, general timers, logic alarms, scheduler, clock
// and analog meters.

#include "model/reader_rules.h"

#include "tables/meter_tables.h"
#include "tables/option_tables.h"
#include "tables/scheduler_tables.h"

namespace vm880 {

namespace {

using M = ConfigModel;

int ports(const M&) { return 3; }
int five(const M&) { return 5; }
int eight(const M&) { return 8; }
int twenty(const M&) { return 20; }

template <int Low, int High>
constexpr CheckFn num = CheckNumberRule<Low, High>;
template <long Low, long High>
int numLong(const Text& v, const M&, int) { return CheckNumberLong(v, Low, High); }
constexpr CheckFn zeroOne = CheckZeroOneRule;

int idSpeakTime(const Text& v, const M& m, int i) { return IDSpeakTimeInvalid(v, m.PIDTime(i)); }
Text idSpeakDefault(const M& m, int i) { return std::to_string(std::stol(m.PIDTime(i)) * 60); }
int tailMessage(const Text& v, const M&, int) { return TailMessageIndex(v) == -1 ? kInvalid : kValid; }
int schedDay(const Text& v, const M&, int) { return FindSchedDay(v); }
int schedWeek(const Text& v, const M&, int) { return FindSchedWeek(v); }
int schedHour(const Text& v, const M&, int) { return FindSchedHour(v); }
int meterType(const Text& v, const M&, int) { return FindMeterType(v) == -1 ? kInvalid : kValid; }
int meterAlarmType(const Text& v, const M&, int) { return FindMeterAlarmType(v) == -1 ? kInvalid : kValid; }
int meterSetPoint(const Text& v, const M&, int) { return CheckMeterSetPoint(v); }

void zeroBecomes90(Text& v, M&, int) { if (v == "0") v = "90"; }
void emptyBecomes0(Text& v, M&, int) { if (v.empty()) v = "0"; }
void emptyBecomes1(Text& v, M&, int) { if (v.empty()) v = "1"; }
void emptyBecomes90(Text& v, M&, int) { if (v.empty()) v = "90"; }
void everyHour(Text& v, M&, int) { if (v == "0A" || v == "254") v = "99"; }
// A meter number 0 means the alarm is off.
void meterNumber(Text& v, M& m, int i)
{
    if (v.empty()) {
        v = "1";
    } else if (v == "0") {
        v = "1";
        m.MeterAlarmType(i) = "0";
    }
}
void setPointForm(Text& v, M&, int)
{
    if (v.empty())
        v = "0";
    v = MeterSetPointForm(v);
}

// "A" (either case) in front marks a negative correction of 0 to 59.
std::string_view correctionAmount(const Text& v)
{
    std::string_view amount = v;
    if (!amount.empty() && (amount.front() == 'A' || amount.front() == 'a'))
        amount.remove_prefix(1);
    return amount;
}
int clockCorrection(const Text& v, const M&, int) { return CheckNumber(correctionAmount(v), 0, 59); }
void clockCorrectionForm(Text& v, M&, int, bool valid)
{
    if (!valid)
        return;
    const bool negative = v.size() != correctionAmount(v).size();
    v = (negative ? "A" : "") + NumericForm(Text(correctionAmount(v)));
}

constexpr auto T = &M::TimersChanged;

constexpr KeyRule kPortTimers[] = {
    {"Timers", "HangTime", VM880_ITEM(HangTime), num<0, 255>, "50", "Timers: Port {i}: Hang Timer", Wording::A, T},
    {"Timers", "TimeOut", VM880_ITEM(TimeOut), num<0, 32767>, "180", "Timers: Port {i}: Timeout Timer", Wording::A, T},
    {"Timers", "TOTReset", VM880_ITEM(TOTReset), num<0, 4>, "0", "Timers: Port {i}: TOT Reset Point", Wording::A, T},
    {"Timers", "IIDTime", VM880_ITEM(IIDTime), num<0, 255>, "10", "Timers: Port {i}: Initial ID Timer", Wording::A, T},
    {"Timers", "PIDTime", VM880_ITEM(PIDTime), num<0, 255>, "10", "Timers: Port {i}: Pending ID Timer", Wording::A, T},
    {"Timers", "InActiveTime", VM880_ITEM(InActiveTime), num<0, 255>, "20", "Timers: Port {i}: Inactivity Timer", Wording::A, T},
    {"Timers", "InActivityMacro", VM880_ITEM(InActivityMacro), num<1, 90>, "90", "Timers: Port {i}: Inactivity Timer Macro", Wording::A, T, nullptr, After::TwoDigits},
    {"Timers", "DTMFTime", VM880_ITEM(DTMFTime), num<0, 99>, "7", "Timers: Port {i}: DTMF Mute Timer", Wording::A, T},
    {"Timers", "CTCSSTime", VM880_ITEM(CTCSSTime), num<0, 255>, "50", "Timers: Port {i}: Encode Timer", Wording::A, T},
    {"Timers", "KerchunkTime", VM880_ITEM(KerchunkTime), num<0, 32000>, "1000", "Timers: Port {i}: Kerchunk Timer", Wording::A, T},
    {.section = "Timers", .name = "IDSpeakTime", .item = VM880_ITEM(IDSpeakTime), .check = idSpeakTime,
     .line1 = "Timers: Port {i}: Pending ID Speech Timer", .areaFlag = T, .defaultFn = idSpeakDefault,
     .line3 = "Defaulted to value of Pending ID Timer (in SECONDS) = {d}"},
    {"Timers", "AnnounceTime", VM880_ITEM(AnnounceTime), num<0, 3600>, "0", "Timers: Port {i}: TailMessage Timer", Wording::A, T},
    {"PortSwitches", "TailMessageNum", VM880_ITEM(TailMessageNum), tailMessage, "0", "Port Switches: Port {i}: Tail Message: Msg Nbr", Wording::B, &M::PortSwitchesChanged},
    {"PortSwitches", "TailCounter", VM880_ITEM(TailCounter), num<0, 254>, "0", "Port Switches: Port {i}: Tail Message: Tail Counter:", Wording::B, &M::PortSwitchesChanged},
};

constexpr KeyRule kTailMessageMacros[] = {
    {"PortSwitches", "P1MessageNum", VM880_ITEM(P1MessageNum), num<1, 90>, "90", "Port Switches: Port 1: Tail Message: Msg Nbr: {i}: Macro To Use", Wording::B, &M::PortSwitchesChanged, nullptr, After::TwoDigitsWhenValid},
    {"PortSwitches", "P2MessageNum", VM880_ITEM(P2MessageNum), num<1, 90>, "90", "Port Switches: Port 2: Tail Message: Msg Nbr: {i}: Macro To Use", Wording::B, &M::PortSwitchesChanged, nullptr, After::TwoDigitsWhenValid},
    {"PortSwitches", "P3MessageNum", VM880_ITEM(P3MessageNum), num<1, 90>, "90", "Port Switches: Port 3: Tail Message: Msg Nbr: {i}: Macro To Use", Wording::B, &M::PortSwitchesChanged, nullptr, After::TwoDigitsWhenValid},
};

constexpr KeyRule kAuxTimers[] = {
    {.section = "Timers", .name = "AuxTime", .item = VM880_ITEM(AuxTime), .check = num<0, 32767>, .defaultText = "50",
     .line1 = "Timers: public: Aux Audio Timers {i}", .areaFlag = T, .after = After::NumericFormWhenValid,
     .line3 = "Defaulted to '{d}"},
};

constexpr KeyRule kGeneralTimers[] = {
    {"Alarms", "GeneralTimer", VM880_ITEM(GeneralTimer), num<0, 32767>, "0", "Timers: public: General Timers: Timer {i}", Wording::A, T},
    {"Alarms", "GeneralTimerMacro", VM880_ITEM(GeneralTimerMacro), num<1, 90>, "90", "Timers: public: General Timers {i}: Macro To Use", Wording::A, T, nullptr, After::TwoDigits},
};

constexpr KeyRule kSingleTimers[] = {
    {"Timers", "FanTime", VM880_SCALAR(FanTime), num<0, 255>, "1", "Timers: public: Fan", Wording::A, T},
    {"Timers", "FanSelect", VM880_SCALAR(FanSelect), zeroOne, "0", "Timers: public: Fan: All Xmt Activity", Wording::A, T},
    {"Timers", "XmtDelay", VM880_SCALAR(XmtDelay), num<0, 32767>, "1000", "Timers: public: Speech/CW Delay Before Transmit", Wording::A, T},
    {"Timers", "TimeoutLink", VM880_SCALAR(TimeoutLink), zeroOne, "0", "Timers: public: Timeout Timer Control: Enable Linking Control", Wording::A, T},
};

constexpr auto A = &M::AlarmsChanged;
constexpr KeyRule kLogicAlarms[] = {
    {"Alarms", "AlarmLowMacroNum", VM880_ITEM(AlarmLowMacroNum), num<1, 90>, "90", "LgcAlrms/RBase/AuxAudio: Logic Alarm Setup: Alarm Number {i} Low-to-High Macro To Use", Wording::A, A, zeroBecomes90, After::TwoDigits},
    {"Alarms", "AlarmHighMacroNum", VM880_ITEM(AlarmHighMacroNum), num<1, 90>, "90", "LgcAlrms/RBase/AuxAudio: Logic Alarm Setup: Alarm Number {i} Alarm High-to-Low Macro", Wording::A, A, zeroBecomes90, After::TwoDigits},
    {"PortSwitches", "Alarm", VM880_ITEM(Alarm), zeroOne, "1", "LgcAlrms/RBase/AuxAudio: Logic Alarm Setup", Wording::B, A},
};

constexpr auto S = &M::SchedulerChanged;
constexpr KeyRule kSetPoints[] = {
    {"Scheduler", "DOW", VM880_ITEM(DOW), schedDay, "0", "Scheduler/Clock: Scheduler: Setpoint {i}: Day Of The Week", Wording::B, S},
    {"Scheduler", "Monthly", VM880_ITEM(Monthly), zeroOne, "0", "Scheduler/Clock: Scheduler: Setpoint {i}: Monthly", Wording::B, S, emptyBecomes0},
    {"Scheduler", "Week", VM880_ITEM(Week), schedWeek, "1", "Scheduler/Clock: Scheduler: Setpoint {i}: Week Of The Month", Wording::B, S, emptyBecomes1},
    {"Scheduler", "Hours", VM880_ITEM(Hours), schedHour, "25", "Scheduler/Clock: Scheduler: Setpoint {i}: Start Hours", Wording::B, S, everyHour, After::TwoDigits},
    {"Scheduler", "Minutes", VM880_ITEM(Minutes), num<0, 59>, "00", "Scheduler/Clock: Scheduler: Setpoint {i}: Start Minutes", Wording::B, S, nullptr, After::TwoDigits},
    {"Scheduler", "MacroToRun", VM880_ITEM(MacroToRun), num<1, 90>, "90", "Scheduler/Clock: Scheduler: Setpoint {i}: Macro To Run", Wording::B, S, nullptr, After::TwoDigits},
};

constexpr KeyRule kClock[] = {
    {"Scheduler", "TwentyFour", VM880_SCALAR(TwentyFour), zeroOne, "0", "Scheduler/Clock: Real Time Clock: 24 Hour Readback", Wording::B, S},
    {"Scheduler", "SayHour", VM880_SCALAR(SayHour), zeroOne, "1", "Scheduler/Clock: Real Time Clock: Say Hours", Wording::B, S},
    {"Scheduler", "SayYear", VM880_SCALAR(SayYear), zeroOne, "1", "Scheduler/Clock: Real Time Clock: Say Year", Wording::B, S},
    {.section = "Scheduler", .name = "ClockCorrection", .item = VM880_SCALAR(ClockCorrection), .check = clockCorrection,
     .defaultText = "0", .line1 = "Scheduler/Clock: Real Time Clock: Clock Correction", .wording = Wording::B,
     .areaFlag = S, .afterFn = clockCorrectionForm},
};

constexpr auto N = &M::AnalogChanged;
constexpr KeyRule kMeters[] = {
    {"Analog", "Meter", VM880_ITEM(Meter), meterType, "0", "Analog: Ch {i}: Meter Type", Wording::B, N},
    {"Analog", "RealLow", VM880_ITEM(RealLow), numLong<0, 32767>, "0", "Analog: Ch {i}: Actual Low Value", Wording::B, N},
    {"Analog", "MeterLow", VM880_ITEM(MeterLow), numLong<0, 32767>, "0", "Analog: Ch {i}: Meter Low Value", Wording::B, N},
    {"Analog", "RealHigh", VM880_ITEM(RealHigh), numLong<0, 32767>, "0", "Analog: Ch {i}: Actual High Value", Wording::B, N},
    {"Analog", "MeterHigh", VM880_ITEM(MeterHigh), numLong<0, 32767>, "0", "Analog: Ch {i}: Meter High Value", Wording::B, N},
};

constexpr KeyRule kReference[] = {
    {"Analog", "Vref", VM880_SCALAR(Vref), num<0, 520>, "500", "Analog: Reference / Meter Alarms: Reference Voltage", Wording::B, N},
};

constexpr KeyRule kMeterAlarms[] = {
    {"Analog", "MeterAlarmType", VM880_ITEM(MeterAlarmType), meterAlarmType, "0", "Analog: Reference / Meter Alarms: Alarm Number: {i}: Alarm Type", Wording::B, N, emptyBecomes0},
    {"Analog", "MeterNum", VM880_ITEM(MeterNum), num<1, 8>, "1", "Analog: Reference / Meter Alarms: Alarm Number: {i}: Meter Number", Wording::B, N, meterNumber},
    {.section = "Analog", .name = "MeterSetPoint", .item = VM880_ITEM(MeterSetPoint), .check = meterSetPoint,
     .defaultText = "0", .line1 = "Analog: Reference / Meter Alarms: Alarm Number: {i}: Trip Value",
     .wording = Wording::B, .areaFlag = N, .before = setPointForm, .isNotValid = true},
    {"Analog", "MeterMacro", VM880_ITEM(MeterMacro), num<1, 90>, "90", "Analog: Reference / Meter Alarms: Alarm Number: {i}: Macro To Call", Wording::B, N, emptyBecomes90, After::TwoDigits},
};

constexpr ReaderPass kPasses[] = {
    {ports, kPortTimers},
    {ports, kTailMessageMacros},
    {ports, kAuxTimers},
    {ports, kGeneralTimers},
    {nullptr, kSingleTimers},
    {five, kLogicAlarms},
    {twenty, kSetPoints},
    {nullptr, kClock},
    {eight, kMeters},
    {nullptr, kReference},
    {eight, kMeterAlarms},
};

} // namespace

std::span<const ReaderPass> TimerAndMeterPasses()
{
    return kPasses;
}

} // namespace vm880

// Reader rules of the courtesy tones, DTMF memories, port switches and DVR tables.

#include "model/reader_rules.h"

#include "tables/option_tables.h"
#include "tables/sequence_text.h"

namespace vm880 {

namespace {

using M = ConfigModel;

int ports(const M&) { return 3; }
template <int N>
int count(const M&) { return N; }
int courtesyTones(const M&) { return 30; } // tone 1..10, and within each tone port 1..3
int dtmfMemories(const M& m) { return m.DTMFMemoryCount(); }

template <int Low, int High>
constexpr CheckFn num = CheckNumberRule<Low, High>;
constexpr CheckFn zeroOne = CheckZeroOneRule;

// Courtesy index i runs tone-major: i = (tone - 1) * 3 + port.
int portOf(int i) { return (i - 1) % 3 + 1; }
int toneOf(int i) { return (i - 1) / 3 + 1; }

template <CourtesyTexts M::*Array>
Text& courtesyItem(M& m, int i) { return (m.*Array)(portOf(i), toneOf(i)); }

template <const char* Name>
std::string courtesyKey(int i)
{
    return "P" + std::to_string(portOf(i)) + Name + "(" + std::to_string(toneOf(i)) + ")";
}

template <const char* Label>
std::string courtesyLabel(int i)
{
    return "Courtesy Tones: Port " + std::to_string(portOf(i)) + ": Courtesy Tone "
        + std::to_string(toneOf(i)) + Label;
}

#define VM880_COURTESY(arr, high, def, tail)                                                       \
    KeyRule                                                                                        \
    {                                                                                              \
        .section = "Courtesy", .name = #arr, .item = courtesyItem<&M::arr>,                        \
        .check = num<0, high>, .defaultText = def, .wording = Wording::B,                          \
        .areaFlag = &M::CourtesyChanged, .after = After::NumericFormWhenValid, .line3 = tail,      \
        .key = courtesyKey<k##arr>, .label = courtesyLabel<k##arr##Label>                          \
    }

constexpr char kDelay1[] = "Delay1", kDelay2[] = "Delay2", kDelay3[] = "Delay3", kDelay4[] = "Delay4";
constexpr char kDur1[] = "Dur1", kDur2[] = "Dur2", kDur3[] = "Dur3", kDur4[] = "Dur4";
constexpr char kTone1[] = "Tone1", kTone2[] = "Tone2", kTone3[] = "Tone3", kTone4[] = "Tone4";
constexpr char kTone5[] = "Tone5", kTone6[] = "Tone6", kTone7[] = "Tone7", kTone8[] = "Tone8";
constexpr char kDelay1Label[] = ": Segment 1: Delay to This Segment";
constexpr char kDelay2Label[] = ": Segment 2: Delay to This Segment";
constexpr char kDelay3Label[] = ": Segment 3: Delay to This Segment";
constexpr char kDelay4Label[] = ": Segment 4: Delay to This Segment";
constexpr char kDur1Label[] = ": Segment 1: Duration", kDur2Label[] = ": Segment 2: Duration";
constexpr char kDur3Label[] = ": Segment 3: Duration", kDur4Label[] = ": Segment 4: Duration";
constexpr char kTone1Label[] = ": Segment 1: Tone 1", kTone2Label[] = ": Segment 1: Tone 2";
constexpr char kTone3Label[] = ": Segment 2: Tone 1", kTone4Label[] = ": Segment 2: Tone 2";
constexpr char kTone5Label[] = ": Segment 3: Tone 1", kTone6Label[] = ": Segment 3: Tone 2";
constexpr char kTone7Label[] = ": Segment 4: Tone 1", kTone8Label[] = ": Segment 4: Tone 2";

constexpr std::string_view kQuotedZero = "Value has been defaulted to '0'";

constexpr KeyRule kCourtesy[] = {
    VM880_COURTESY(Delay1, 10000, "250", {}),
    VM880_COURTESY(Delay2, 10000, "250", {}),
    VM880_COURTESY(Delay3, 10000, "250", {}),
    VM880_COURTESY(Delay4, 10000, "250", {}),
    VM880_COURTESY(Dur1, 10000, "250", {}),
    VM880_COURTESY(Dur2, 10000, "250", {}),
    VM880_COURTESY(Dur3, 10000, "250", {}),
    VM880_COURTESY(Dur4, 10000, "250", {}),
    VM880_COURTESY(Tone1, 3500, "0", {}),
    VM880_COURTESY(Tone2, 3500, "0", {}),
    VM880_COURTESY(Tone3, 3500, "0", {}),
    VM880_COURTESY(Tone4, 3500, "0", {}),
    VM880_COURTESY(Tone5, 3500, "0", kQuotedZero),
    VM880_COURTESY(Tone6, 3500, "0", kQuotedZero),
    VM880_COURTESY(Tone7, 3500, "0", kQuotedZero),
    VM880_COURTESY(Tone8, 3500, "0", kQuotedZero),
};
#undef VM880_COURTESY

// Memories above 20 exist only with the clock option; an empty one there is simply unused.
void dtmfMemoryForm(Text& v, M& m, int i)
{
    if (v.empty() && i > 20) {
        v = "NONE STORED";
        m.DTMFChanged = kTrue;
    }
    v = SpaceDTMFString(v);
}
int dtmfMemory(const Text& v, const M&, int) { return DTMFStringInvalid(v); }

void emptyBecomes1(Text& v, M&, int) { if (TrimBlanks(v).empty()) v = "1"; }
void emptyBecomes0(Text& v, M&, int) { if (v.empty()) v = "0"; }
void speechOverride(Text& v, M& m, int)
{
    if (v == "208") {
        v = "1";
        m.PortSwitchesChanged = kTrue;
    }
}
int accessMode(const Text& v, const M&, int) { return AccessModeIndex(v) == -1 ? kInvalid : kValid; }
int unchecked(const Text&, const M&, int) { return kValid; }

constexpr KeyRule kDTMFMemories[] = {
    {.section = "DTMF", .name = "DTMF", .item = VM880_ITEM(DTMF), .check = dtmfMemory,
     .defaultText = "NONE STORED", .line1 = "DTMF: Message {i}", .wording = Wording::B,
     .areaFlag = &M::DTMFChanged, .before = dtmfMemoryForm},
};

constexpr KeyRule kDTMFParameters[] = {
    {"DTMF", "DTMFDur", VM880_SCALAR(DTMFDur), num<1, 255>, "100", "DTMF: DTMF Parameters: Duration", Wording::B, &M::DTMFChanged, emptyBecomes1},
    {"DTMF", "DTMFDelay", VM880_SCALAR(DTMFDelay), num<1, 255>, "100", "DTMF: DTMF Parameters: Delay", Wording::B, &M::DTMFChanged, emptyBecomes1},
};

constexpr auto P = &M::PortSwitchesChanged;
constexpr Wording B = Wording::B;
constexpr KeyRule kPortSwitches[] = {
    {"PortSwitches", "TxEnable", VM880_ITEM(TxEnable), zeroOne, "1", "Port Switches: Port {i}: Transmitter Enable", B, P},
    {"PortSwitches", "RxEnable", VM880_ITEM(RxEnable), zeroOne, "1", "Port Switches: Port {i}: Receiver Enable", B, P, emptyBecomes1},
    {"PortSwitches", "FDup", VM880_ITEM(FDup), zeroOne, "1", "Port Switches: Port {i}: Repeater Mode", B, P},
    {"PortSwitches", "SpeechOverride", VM880_ITEM(SpeechOverride), zeroOne, "1", "Port Switches: Port {i}: Timer Encode Control: ON During ID/Speech", B, P, speechOverride},
    {"PortSwitches", "SpeechIDOverride", VM880_ITEM(SpeechIDOverride), zeroOne, "1", "Port Switches: Port {i}: Timer Encode Control: ON During ID/Speech", B, P},
    {"PortSwitches", "PLAccess", VM880_ITEM(PLAccess), accessMode, "1", "Port Switches: Port {i}: Access Mode", B, P},
    {"PortSwitches", "DTMFEnable", VM880_ITEM(DTMFEnable), zeroOne, "1", "Port Switches: Port {i}: DTMF Enable", B, P},
    {"PortSwitches", "DTMFNeedPL", VM880_ITEM(DTMFNeedPL), zeroOne, "1", "Port Switches: Port {i}: DTMF Require Tone", B, P},
    {"PortSwitches", "DTMFMute", VM880_ITEM(DTMFMute), zeroOne, "1", "Port Switches: Port {i}: DTMF Mute", B, P},
    {"PortSwitches", "DTMFCovertone", VM880_ITEM(DTMFCovertone), zeroOne, "1", "Port Switches: Port {i}: DTMF Covertone", B, P},
    {"PortSwitches", "MonMix", VM880_ITEM(MonMix), zeroOne, "1", "Port Switches: Port {i}: Monitor Mix", B, P},
    {"PortSwitches", "Kerchunk", VM880_ITEM(Kerchunk), zeroOne, "1", "Port Switches: Port {i}: Kerchunk Filter", B, P},
    {"PortSwitches", "CTCSSID", VM880_ITEM(CTCSSID), zeroOne, "0", "Port Switches: Port {i}: Tone Encode Control: ON During ID/Speech", B, P},
    {"PortSwitches", "CTCSSCT", VM880_ITEM(CTCSSCT), zeroOne, "1", "Port Switches: Port {i}: Tone Encode Control: Timer Starts After", B, P},
    {"PortSwitches", "PLEncodePolarity", VM880_ITEM(PLEncodePolarity), zeroOne, "0", "Port Switches: Tone Encode Polarity: Port {i}", B, P},
    {"PortSwitches", "COSClose", VM880_ITEM(COSClose), zeroOne, "0", "Port Switches: DTMF Evaluate On Closure: Port {i}", B, P, emptyBecomes0},
};

constexpr KeyRule kSingleSwitches[] = {
    {"PortSwitches", "AllowTerminatorSpeech", VM880_SCALAR(AllowTerminatorSpeech), zeroOne, "0", "Port Switches: Allow Speech w/ Terminator", B, P},
    {"PortSwitches", "IDStartSelect", VM880_SCALAR(IDStartSelect), zeroOne, "0", "Port Switches: ID Start Select", B, P},
};

// The DVR track tables are taken as they are; only an empty entry becomes "0".
constexpr KeyRule kDVRSeconds[] = {{"DVR", "DVRSeconds", VM880_ITEM(DVRSeconds), unchecked, {}, {}, B, nullptr, emptyBecomes0}};
constexpr KeyRule kDVRTracks[] = {{"DVR", "DVRTracks", VM880_ITEM(DVRTracks), unchecked, {}, {}, B, nullptr, emptyBecomes0}};
constexpr KeyRule kDVRRowsUsed[] = {{"DVR", "DVRRowsUsed", VM880_ITEM(DVRRowsUsed), unchecked, {}, {}, B, nullptr, emptyBecomes0}};

constexpr ReaderPass kPasses[] = {
    {courtesyTones, kCourtesy},
    {dtmfMemories, kDTMFMemories},
    {nullptr, kDTMFParameters},
    {ports, kPortSwitches},
    {nullptr, kSingleSwitches},
    {count<64>, kDVRSeconds},
    {count<20>, kDVRTracks},
    {count<20>, kDVRRowsUsed},
};

} // namespace

std::span<const ReaderPass> CourtesyDtmfSwitchAndDvrPasses()
{
    return kPasses;
}

} // namespace vm880

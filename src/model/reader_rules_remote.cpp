// Reader rules of the remote base, the identification and the access codes.

#include "model/access_codes.h"
#include "model/factory_defaults.h"
#include "model/key_access.h"
#include "model/reader_rules.h"
#include "interfaces/prompts.h"

#include "tables/dtmf_digits.h"
#include "tables/option_tables.h"
#include "tables/port_select.h"
#include "tables/remote_base_tables.h"
#include "tables/sequence_text.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vm880 {

namespace {

using M = ConfigModel;

int ports(const M&) { return 3; }
int remoteMemories(const M& m) { return m.RemoteBaseMemoryCount(); }

template <int Low, int High>
constexpr CheckFn num = CheckNumberRule<Low, High>;
constexpr CheckFn zeroOne = CheckZeroOneRule;
template <int Min, int Max>
int dtmfDigits(const Text& v, const M&, int) { return CheckDTMFDigits(v, Min, Max); }

void upper(Text& v, M&, int) { v = UpperCase(v); }
void trimmed(Text& v, M&, int) { v = Text(TrimBlanks(v)); }
void voiceForm(Text& v, M&, int) { v = SquashBlanks(UpperCase(v)); }
void cwForm(Text& v, M&, int) { v = SquashBlanks(v); }

int radioType(const Text& v, const M&, int) { return FindRadioType(v) == -1 ? kInvalid : kValid; }
int yaesuType(const Text& v, const M&, int) { return FindYaesuType(v) == -1 ? kInvalid : kValid; }
int voiceID(const Text& v, const M&, int) { return CheckVoiceID(v); }
int cwID(const Text& v, const M&, int) { return CheckCWID(v); }
int cwTone2(const Text& v, const M&, int)
{
    return (CheckNumber(v, 200, 3500) == kValid || CheckNumber(v, 0, 0) == kValid) ? kValid : kInvalid;
}
int idExtras(const Text& v, const M&, int) { return IDExtrasIndex(v) == -1 ? kInvalid : kValid; }
int ctcssCode(const Text& v, const M&, int i) { return CheckCTCSSCode(v, i); }
int ctcssMode(const Text& v, const M&, int i) { return CheckCTCSSMode(v, i); }
int radioMode(const Text& v, const M&, int i) { return CheckRadioMode(v, i); }

// The Yaesu model matters only for radio type 3; any other radio stores "0" unchecked.
void yaesuType(ReaderContext& ctx, int);

constexpr auto R = &M::RemoteBaseChanged;
constexpr Wording B = Wording::B;

constexpr KeyRule kYaesuRule = {"Remote", "YaesuType", VM880_SCALAR(YaesuType), yaesuType, "1",
                                "Logic Alarms/R Base: Remote Base Setup: Yaesu Type", B, R};
void yaesuType(ReaderContext& ctx, int)
{
    if (ctx.model.RadioType != "3") {
        ctx.model.YaesuType = "0";
        return;
    }
    ctx.ApplyRule(kYaesuRule, 0);
}

constexpr KeyRule kRemoteSetup[] = {
    {"Remote", "RadioType", VM880_SCALAR(RadioType), radioType, "2", "Logic Alarms/R Base: Remote Base Setup: Radio Type", B, R},
    {.section = "Remote", .name = "YaesuType", .step = yaesuType},
    {"Remote", "RemoteBasePrefix", VM880_SCALAR(RemoteBasePrefix), dtmfDigits<1, 5>, factory::RemoteBasePrefix, "Logic Alarms/R Base: Remote Base Setup: Remote Base Prefix", B, R, upper},
};

std::string memoryLead(int i)
{
    return "Logic Alarms/R Base: Remote Base Memories: Memory Number " + std::to_string(i);
}

// Memories 11 and up may be left unentered ("NONE"); every change made here is noted.
void emptyToNone(Text& v, M& m, int i)
{
    v = UpperCase(v);
    if (v.empty() && i >= 11) {
        v = "NONE";
        m.RemoteBaseChanged = kTrue;
    }
}

void frequency(ReaderContext& ctx, int i)
{
    M& m = ctx.model;
    const std::string key = "FreqString(" + std::to_string(i) + ")";
    Text& v = m.FreqString(i);
    v = ctx.Read("Remote", key);
    v.erase(std::remove(v.begin(), v.end(), ' '), v.end());
    v = UpperCase(v);
    if (v.empty() && i >= 11) {
        v = "NONE";
        m.RemoteBaseChanged = kTrue;
    } else if (v != "NONE" && v.size() < 7) {
        const Text before = v;
        v.insert(0, 7 - v.size(), '0');
        m.RemoteBaseChanged = kTrue;
        ctx.Log(memoryLead(i) + ": Frequency less than required number of digits -- DAT item: " + key
                    + "\r\nValue received is '" + before + "'\r\nValue has been padded to " + v,
                0);
    }
    if (CheckFreqString(v, i) != kValid) {
        ctx.Log(memoryLead(i) + ": Frequency not valid -- DAT item: " + key + "\r\nValue received is '"
                    + v + "'\r\nValue has been defaulted to 1465202",
                1);
        v = "1465202";
        m.RemoteBaseChanged = kTrue;
    }
    if (v != "NONE" && CheckNumber(std::string_view(v).substr(v.size() - 1), 1, 3) != kValid) {
        ctx.Log(memoryLead(i) + ": Offset not valid -- DAT item: " + key + "\r\nValue received is '"
                    + v.substr(v.size() - 1) + "'\r\nValue has been defaulted to 2",
                1);
        v.back() = '2';
        m.RemoteBaseChanged = kTrue;
    }
}

// Short tone codes are zero-filled to two digits, silently.
void ctcssForm(Text& v, M& m, int i)
{
    emptyToNone(v, m, i);
    if (v != "NONE" && v.size() < 2)
        v.insert(0, 2 - v.size(), '0');
}

// A memory entered only in part is reported, and left as it is.
void completeness(ReaderContext& ctx, int i)
{
    const M& m = ctx.model;
    const Text* items[] = {&m.FreqString(i), &m.CTCSS(i), &m.CTCSSMode(i), &m.RadioMode(i)};
    const auto none = std::count_if(std::begin(items), std::end(items), [](const Text* t) { return *t == "NONE"; });
    if (none == 0 || none == 4)
        return;
    ctx.Log("Logic Alarms/R Base: Memory Number " + std::to_string(i)
                + "\r\nSome of the parameters for the Remote Base Memory have been entered and some "
                  "have not been entered (value of 'NONE')\r\n  FreqString = '"
                + m.FreqString(i) + "'\r\n  CTCSS = '" + m.CTCSS(i) + "'\r\n  CTCSS Mode = '"
                + m.CTCSSMode(i) + "'\r\n  Radio Mode = '" + m.RadioMode(i)
                + "'\r\nThis Remote Base Memory will not be uploaded to the controller as is",
            0);
}

constexpr KeyRule kRemoteMemories[] = {
    {.section = "Remote", .name = "FreqString", .step = frequency},
    {"Remote", "CTCSS", VM880_ITEM(CTCSS), ctcssCode, "10", "Logic Alarms/R Base: Remote Base Memories: Memory Number {i}: CTCSS Code", B, R, ctcssForm},
    {"Remote", "CTCSSMode", VM880_ITEM(CTCSSMode), ctcssMode, "0", "Logic Alarms/R Base: Remote Base Memories: Memory Number {i}: CTCSS Off/En/Dec", B, R, emptyToNone},
    {"Remote", "RadioMode", VM880_ITEM(RadioMode), radioMode, "4", "Logic Alarms/R Base: Memory Number {i}: Mode", B, R, emptyToNone},
    {.section = "Remote", .name = "Completeness", .step = completeness},
};

constexpr auto I = &M::IDsChanged;
constexpr auto X = &M::IDExtrasChanged;
constexpr KeyRule kIdentification[] = {
    {"ID", "VoiceID1", VM880_ITEM(VoiceID1), voiceID, "V M EIGHT EIGHTY", "IDs: Port {i}: Voice ID 1", B, I, voiceForm},
    {"ID", "VoiceID2", VM880_ITEM(VoiceID2), voiceID, "V M EIGHT EIGHTY", "IDs: Port {i}: Voice ID 2", B, I, voiceForm},
    {"ID", "VoiceID3", VM880_ITEM(VoiceID3), voiceID, "V M EIGHT EIGHTY", "IDs: Port {i}: Voice ID 3", B, I, voiceForm},
    {"ID", "CWID1", VM880_ITEM(CWID1), cwID, "V M 8 8 0", "IDs: Port {i}: CW ID 1", B, I, cwForm},
    {"ID", "CWID2", VM880_ITEM(CWID2), cwID, "V M 8 8 0", "IDs: Port {i}: CW ID 2", B, I, cwForm},
    {"ID", "CWSpeed", VM880_ITEM(CWSpeed), num<5, 50>, "20", "IDs: Port {i}: CW Speed", B, I},
    {"ID", "CWTone1", VM880_ITEM(CWTone1), num<200, 3500>, "500", "IDs: Port {i}: CW Tone 1", B, I},
    {"ID", "CWTone2", VM880_ITEM(CWTone2), cwTone2, "500", "IDs: Port {i}: CW Tone 2", B, I},
    {"ID", "SpeechEnable", VM880_ITEM(SpeechEnable), zeroOne, "1", "IDs: Port {i}: Speech IDs", B, I, trimmed},
    {"IDExtras", "ID1Extras", VM880_ITEM(ID1Extras), idExtras, "0", "IDs: Port {i}: ID Extras ID1", B, X, trimmed},
    {"IDExtras", "ID2Extras", VM880_ITEM(ID2Extras), idExtras, "0", "IDs: Port {i}: ID Extras ID2", B, X, trimmed},
    {"IDExtras", "ID3Extras", VM880_ITEM(ID3Extras), idExtras, "0", "IDs: Port {i}: ID Extras ID3", B, X, trimmed},
};

// Access codes: a bad one falls back on the factory code and the operator is warned, because
// every later upload depends on it.
void accessCode(ReaderContext& ctx, Text& item, const std::string& key, int maxLen,
                const std::string& fallback, const std::string& label, const char* title,
                const std::string& what, const std::string& forWhom = {})
{
    item = UpperCase(ctx.Read("Unlock", key));
    if (CheckDTMFDigits(item, 1, maxLen) == kValid)
        return;
    ctx.Log("Special Codes/Autopatch: Unlock/Lock/Terminator: " + label + " not valid -- DAT item: "
                + key + "\r\nValue received is '" + item + "'\r\nValue has been defaulted to "
                + fallback,
            1);
    item = fallback;
    std::string lower = what;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ctx.prompts.Message(style::OkOnly + style::Critical, title,
                        "The DAT file does not have a valid " + what + forWhom
                            + " and will use the factory default " + lower
                            + " as specified in the VM880 Operations Manual\r\n\r\nIf that is not the "
                            + what + ", you must correct the " + what
                            + " data before you can upload any other changes to the controller");
}

void portUnlock(ReaderContext& ctx, int p)
{
    const std::string n = std::to_string(p);
    accessCode(ctx, ctx.model.CurrentPortUnlock(p), "CurrentPortUnlock(" + n + ")", 8,
               factory::PortUnlock(p), "Port " + n, "INVALID UNLOCK CODE", "Unlock Code",
               " for Port " + n);
    ctx.model.NewPortUnlock(p) = UpperCase(ctx.Read("Unlock", "NewPortUnlock(" + n + ")"));
}

// A pending new code is sent by the next complete upload; a bad one would lock the operator
// out, so it is dropped ("" means no new code) and listed. So is one that the terminator rule
// of access_codes.h takes away; the unlock window applies the same rule, but asks the operator.
void checkNewCodes(ReaderContext& ctx)
{
    M& m = ctx.model;
    auto drop = [&](Text& item, const std::string& key, const std::string& label,
                    const std::string& why) {
        ctx.Log("Special Codes/Autopatch: Unlock/Lock/Terminator: " + label
                    + " not valid -- DAT item: " + key + "\r\nValue received is '"
                    + ReaderContext::Shown(item) + "'" + why
                    + "\r\nValue has been defaulted to '' (no new code)",
                1);
        item.clear();
    };
    auto check = [&](Text& item, const std::string& key, const std::string& label, int maxLen) {
        if (!item.empty() && CheckDTMFDigits(item, 1, maxLen) != kValid)
            drop(item, key, label, "");
    };
    for (int p = 1; p <= 3; ++p) {
        const std::string n = std::to_string(p);
        check(m.NewPortUnlock(p), "NewPortUnlock(" + n + ")", "New Port " + n, 8);
    }
    check(m.NewLock, "NewLock", "New Lock", 4);
    check(m.NewTerminator, "NewTerminator", "New Terminator", 1);
    for (const TerminatorConflict& conflict : TerminatorConflicts(AccessCodesOf(m))) {
        if (conflict.pending == kTerminatorCode) {
            drop(m.NewTerminator, "NewTerminator", "New Terminator",
                 "\r\nIt is part of the unlock or lock code '" + conflict.text + "' it would end");
            continue;
        }
        const std::string which = conflict.inForce ? "terminator in force" : "new terminator";
        const std::string why = "\r\nIt holds the " + which + " '" + conflict.digit + "', which would end it";
        if (conflict.code == kLockCode) {
            drop(m.NewLock, "NewLock", "New Lock", why);
        } else {
            const std::string n = std::to_string(conflict.code);
            drop(m.NewPortUnlock(conflict.code), "NewPortUnlock(" + n + ")", "New Port " + n, why);
        }
    }
}

void lockAndTerminator(ReaderContext& ctx, int)
{
    M& m = ctx.model;
    accessCode(ctx, m.Lock, "Lock", 4, factory::LockCode, "Lock", "INVALID LOCK CODE", "Lock Code");
    m.NewLock = UpperCase(ctx.Read("Unlock", "NewLock"));
    accessCode(ctx, m.Terminator, "Terminator", 1, factory::Terminator, "Terminator",
               "INVALID TERMINATOR CODE", "Terminator Code");
    m.NewTerminator = Text(TrimBlanks(UpperCase(ctx.Read("Unlock", "NewTerminator"))));
    checkNewCodes(ctx);
    if (m.Lock == m.Terminator) {
        ctx.prompts.Message(style::OkOnly, "Error!",
                            "ERROR! Your Current Lock Code and Current Terminator Digit are the "
                            "same. This is not allowed! You must change one or the other before "
                            "you proceed further");
        m.LockEqualsTerminator = kTrue;
    }
}

// Older files keep the regeneration prefix under "CommandPrefix": move it to its new key.
void moveOldCommandPrefix(ReaderContext& ctx)
{
    M& m = ctx.model;
    if (!m.DTMFRegenPrefix.empty())
        return;
    m.DTMFRegenPrefix = UpperCase(ctx.Read("Unlock", "CommandPrefix"));
    if (m.DTMFRegenPrefix.empty())
        return;
    // The new key first, so the value survives whatever happens between the two writes.
    if (ctx.keys.WriteSetting("Unlock", "DTMFRegenPrefix", m.DTMFRegenPrefix, m.DatFilePath).ok())
        ctx.keys.WriteSetting("Unlock", "CommandPrefix", std::nullopt, m.DatFilePath);
}

constexpr auto D = &M::DTMFRegenChanged;
void regenPrefix(ReaderContext& ctx, int)
{
    M& m = ctx.model;
    m.DTMFRegenPrefix = UpperCase(ctx.Read("Unlock", "DTMFRegenPrefix"));
    moveOldCommandPrefix(ctx);
    if (CheckDTMFDigits(m.DTMFRegenPrefix, 1, 6) == kValid)
        return;
    ctx.Log("Special Codes/Autopatch: User DTMF Regenerate: User DTMF Prefix not valid -- DAT item: "
            "DTMFRegenPrefix\r\nValue received is '"
                + m.DTMFRegenPrefix + "'\r\nValue has been defaulted to 90817",
            1);
    m.DTMFRegenPrefix = "90817";
    m.DTMFRegenChanged = kTrue;
}

template <int Mode>
int portSelect(const Text& v, const M&, int) { return PortSelectIndex(v, Mode) == -1 ? kInvalid : kValid; }

constexpr KeyRule kPortUnlocks[] = {{.section = "Unlock", .name = "CurrentPortUnlock", .step = portUnlock}};
constexpr KeyRule kCodes[] = {
    {.section = "Unlock", .name = "Lock", .step = lockAndTerminator},
    {.section = "Unlock", .name = "DTMFRegenPrefix", .step = regenPrefix},
    {"Unlock", "DTMFPort", VM880_SCALAR(DTMFPort), portSelect<3>, "1", "Special Codes/Autopatch: User DTMF Regenerate: Send To Port", B, D},
    {.section = "Unlock", .name = "DTMFSpeech", .item = VM880_SCALAR(DTMFSpeech), .check = num<0, 90>, .defaultText = "0",
     .line1 = "Special Codes/Autopatch: User DTMF Regenerate: Macro To Use", .wording = B, .areaFlag = D,
     .after = After::TwoDigits, .line3 = "Value has been defaulted to '0' (NONE)"},
};

constexpr ReaderPass kPasses[] = {
    {nullptr, kRemoteSetup},
    {remoteMemories, kRemoteMemories},
    {ports, kIdentification},
    {ports, kPortUnlocks},
    {nullptr, kCodes},
};

} // namespace

std::span<const ReaderPass> RemoteIdentificationAndCodePasses()
{
    return kPasses;
}

} // namespace vm880

// Reader rules of the autopatch, special prefixes, macro subset, DTMF mute selection, macros
// and message macros.

#include "model/factory_defaults.h"
#include "model/reader_rules.h"

#include "tables/dtmf_digits.h"
#include "tables/macro_text.h"
#include "tables/port_select.h"
#include "tables/sequence_text.h"

namespace vm880 {

namespace {

using M = ConfigModel;

template <int N>
int count(const M&) { return N; }
int messageMacros(const M& m) { return m.MessageMacroCount(); }

template <int Low, int High>
constexpr CheckFn num = CheckNumberRule<Low, High>;
constexpr CheckFn zeroOne = CheckZeroOneRule;
template <int Min, int Max>
int dtmfDigits(const Text& v, const M&, int) { return CheckDTMFDigits(v, Min, Max); }
template <int Mode>
int portSelect(const Text& v, const M&, int) { return PortSelectIndex(v, Mode) == -1 ? kInvalid : kValid; }
int unchecked(const Text&, const M&, int) { return kValid; }

void upper(Text& v, M&, int) { v = UpperCase(v); }
template <const char* Replacement>
void emptyBecomes(Text& v, M&, int) { if (v.empty()) v = Replacement; }
constexpr char k6085[] = "6085", k2[] = "2", k120[] = "120", k1[] = "1";
void preProgram(Text& v, M&, int)
{
    v = UpperCase(v);
    if (v.empty())
        v = "0";
}
// "0", empty and "NONE" mean all macros; a short range is zero-filled to four digits.
void macroSubset(Text& v, M&, int)
{
    if (v == "0" || v.empty() || v == "NONE")
        v = "0190";
    if (v.size() < 4)
        v.insert(0, 4 - v.size(), '0');
}
int macroSubsetCheck(const Text& v, const M&, int) { return CheckMacroSubset(v); }
void numericForm(Text& v, M&, int, bool valid) { if (valid) v = NumericForm(v); }
void codeForm(Text& v, M&, int) { v = UpperCase(TrimBlanks(v)); }
Text longMacroCode(const M&, int i) { return factory::MacroCode(i); }
Text shortMacroCode(const M&, int j) { return factory::MacroCode(j + 40); }
std::string shortCodeLabel(int j)
{
    return "Macros: Macro Number " + std::to_string(j + 40) + " (Short Macro " + std::to_string(j)
        + "): Code";
}

void receiverMacroActive(Text& v, M& m, int p)
{
    if (v.empty()) {
        v = "90";
        m.RcvMacroActiveChanged(p) = kTrue;
    }
}
void receiverMacroInactive(Text& v, M& m, int p)
{
    if (v.empty()) {
        v = "90";
        m.RcvMacroInactiveChanged(p) = kTrue;
    }
}

void messageMacroForm(Text& v, M& m, int n)
{
    v = SquashBlanks(UpperCase(v));
    if (v.empty() && n > 40) {
        v = "NONE STORED";
        m.MessageMacrosChanged = kTrue;
    }
}
int messageMacro(const Text& v, const M&, int) { return CheckMessageMacro(v); }

// A macro text gets two checks, each with an entry of its own; the first failure ends it.
void macroText(ReaderContext& ctx, Text& item, const std::string& key, int byteLimit,
               const std::string& lead, bool quoteInvalidCode)
{
    item = UpperCase(ctx.Read("Macros", key));
    if (item == "NONE STORED")
        return;
    item = NormalizeMacroText(item);
    auto fail = [&](const std::string& what, bool quoted) {
        ctx.Log(lead + what + " -- DAT item: " + key + "\r\nValue received is "
                    + (quoted ? "'" + item + "'" : item)
                    + "\r\nValue has been defaulted to NONE STORED",
                1);
        item = "NONE STORED";
        ctx.model.MacrosChanged = kTrue;
    };
    if (CheckMacroFunctions(item) != kValid)
        fail(": Contains invalid macro functions", quoteInvalidCode);
    else if (MacroByteCount(item) > byteLimit)
        fail(": Exceeds allowed number of macro functions", false);
}

void longMacro(ReaderContext& ctx, int i)
{
    macroText(ctx, ctx.model.Macro(i), "Macro(" + std::to_string(i) + ")", kLongMacroByteLimit,
              "Macros: Macro Number " + std::to_string(i), false);
}

void shortMacro(ReaderContext& ctx, int j)
{
    macroText(ctx, ctx.model.ShortMacro(j), "ShortMacro(" + std::to_string(j) + ")",
              kShortMacroByteLimit,
              "Macros: Macro Number " + std::to_string(j + 40) + " (Short Macro "
                  + std::to_string(j) + ")",
              true);
}

constexpr auto S = &M::SpecialCodesChanged;
constexpr Wording B = Wording::B;

constexpr KeyRule kAutopatch[] = {
    {"Autopatch", "APPrefix", VM880_SCALAR(APPrefix), dtmfDigits<1, 8>, factory::AutopatchPrefix, "Special Codes/Autopatch: Prefix", B, S},
    {"Autopatch", "AnswerCode", VM880_SCALAR(AnswerCode), dtmfDigits<1, 15>, "6085", "Special Codes/Autopatch: Answer Code", B, S, emptyBecomes<k6085>},
};
constexpr KeyRule kAutoDial[] = {{"Autopatch", "AutoDial", VM880_ITEM(AutoDial), unchecked}};
constexpr KeyRule kTollRestrict[] = {{"Autopatch", "TollRestrict", VM880_ITEM(TollRestrict), unchecked}};
constexpr KeyRule kAutopatchTail[] = {
    {.section = "Autopatch", .name = "RingNumber", .item = VM880_SCALAR(RingNumber), .check = num<1, 8>, .defaultText = "2",
     .line1 = "Special Codes/Autopatch: Number of Rings to Answer", .wording = B, .areaFlag = S,
     .before = emptyBecomes<k2>, .afterFn = numericForm},
    {.section = "Autopatch", .name = "APTimeOut", .item = VM880_SCALAR(APTimeOut), .check = num<1, 32767>, .defaultText = "120",
     .line1 = "Special Codes/Autopatch: Timeout", .wording = B, .areaFlag = S,
     .before = emptyBecomes<k120>, .afterFn = numericForm},
    {"Autopatch", "EnablePatch", VM880_SCALAR(EnablePatch), portSelect<2>, "1", "Special Codes/Autopatch: Ports To Allow", B, S},
    {"Autopatch", "PatchMute", VM880_SCALAR(PatchMute), zeroOne, "1", "Special Codes/Autopatch: Patch Muting", B, S},
    {"PadTest", "DTMFTestPrefix", VM880_SCALAR(DTMFTestPrefix), dtmfDigits<1, 5>, factory::PadTestPrefix, "Special Codes/Autopatch: DTMF Pad Test: Prefix", B, S},
    {"PreAccess", "PreAccessPrefix", VM880_SCALAR(PreAccessPrefix), dtmfDigits<1, 3>, "0", "Special Codes/Autopatch: Pre Access Code", B, S, upper},
    {"PreProgram", "PreProgramPrefix", VM880_SCALAR(PreProgramPrefix), dtmfDigits<1, 4>, "0", "Special Codes/Autopatch: Pre Program Prefix", B, S, preProgram},
    {"MacroSubset", "MacroSubset", VM880_SCALAR(MacroSubset), macroSubsetCheck, "0190", "Special Codes/Autopatch: Macro Subset: Range", B, &M::MacroSubsetChanged, macroSubset},
    {"MacroSubset", "MacroSubsetEnable", VM880_SCALAR(MacroSubsetEnable), zeroOne, "0", "Special Codes/Autopatch: Macro Subset: Enable", B, &M::MacroSubsetChanged},
    {"DTMFMuteDigitSelect", "DTMFMuteDigitSelect", VM880_SCALAR(DTMFMuteDigitSelect), num<1, 2>, "1", "Special Codes/Autopatch: DTMF Mute Select", B, &M::DTMFMuteSelectChanged, emptyBecomes<k1>},
};

constexpr KeyRule kLongMacros[] = {
    {.section = "Macros", .name = "Macro", .step = longMacro},
    {.section = "Macros", .name = "MacroCode", .item = VM880_ITEM(MacroCode), .check = dtmfDigits<1, 8>,
     .line1 = "Macros: Macro Number {i}: Code", .wording = B, .areaFlag = &M::MacrosChanged,
     .before = codeForm, .defaultFn = longMacroCode, .bareValue = true},
};

constexpr KeyRule kShortMacros[] = {
    {.section = "Macros", .name = "ShortMacro", .step = shortMacro},
    {.section = "Macros", .name = "ShortMacroCode", .item = VM880_ITEM(ShortMacroCode), .check = dtmfDigits<1, 8>,
     .wording = B, .areaFlag = &M::MacrosChanged, .before = codeForm, .defaultFn = shortMacroCode,
     .label = shortCodeLabel},
};

constexpr KeyRule kPortRestrictions[] = {
    {"Macros", "PortToAllow", VM880_ITEM(PortToAllow), portSelect<1>, "123", "Macros: Port Restrictions: Port {i}", B, &M::MacrosChanged},
};

constexpr KeyRule kReceiverMacros[] = {
    {.section = "Macros", .name = "RcvMacroActive", .item = VM880_ITEM(RcvMacroActive), .check = num<1, 90>,
     .defaultText = "90", .line1 = "Macros: Port {i} RcvMacroActive", .wording = B,
     .before = receiverMacroActive, .itemFlag = VM880_ITEM_FLAG(RcvMacroActiveChanged)},
    {.section = "Macros", .name = "RcvMacroInactive", .item = VM880_ITEM(RcvMacroInactive), .check = num<1, 90>,
     .defaultText = "90", .line1 = "Macros: Port {i} RcvMacroInactive", .wording = B,
     .before = receiverMacroInactive, .itemFlag = VM880_ITEM_FLAG(RcvMacroInactiveChanged)},
};

constexpr KeyRule kMessageMacros[] = {
    {"MessageMacros", "MessageMacro", VM880_ITEM(MessageMacro), messageMacro, "NONE STORED", "Message: Number {i}", B, &M::MessageMacrosChanged, messageMacroForm},
};

constexpr ReaderPass kPasses[] = {
    {nullptr, kAutopatch},
    {count<200>, kAutoDial},
    {count<100>, kTollRestrict},
    {nullptr, kAutopatchTail},
    {count<40>, kLongMacros},
    {count<50>, kShortMacros},
    {count<90>, kPortRestrictions},
    {count<3>, kReceiverMacros},
    {messageMacros, kMessageMacros},
};

} // namespace

std::span<const ReaderPass> AutopatchAndMacroPasses()
{
    return kPasses;
}

} // namespace vm880

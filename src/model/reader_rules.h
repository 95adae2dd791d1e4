#pragma once
// The reader's per-key rules, declared as tables: for every key its section, key form, check,
// default, report label and flag, and the small named steps some keys need before or after
// the check. One procedure (ReaderContext::ApplyRule) runs every rule the same way.

#include "model/config_model.h"

#include <span>
#include <string>
#include <string_view>

namespace vm880 {

class KeyAccess;
class Prompts;
class ReaderContext;

using ItemFn = Text& (*)(ConfigModel&, int index);
using FlagFn = Flag& (*)(ConfigModel&, int index);
using CheckFn = int (*)(const Text& value, const ConfigModel&, int index); // kValid / kInvalid
using DefaultFn = Text (*)(const ConfigModel&, int index);
using BeforeFn = void (*)(Text& value, ConfigModel&, int index);
using AfterFn = void (*)(Text& value, ConfigModel&, int index, bool wasValid);
using KeyFn = std::string (*)(int index);
using StepFn = void (*)(ReaderContext&, int index);
using CountFn = int (*)(const ConfigModel&);

// Lines 2 and 3 of a report entry.
enum class Wording {
    A, // "Value received was '...'" / "Defaulted to ..."
    B, // "Value received is '...'"  / "Value has been defaulted to ..."
};

// What is done to the stored item after the check.
enum class After {
    None,
    TwoDigits,            // "7" -> "07", read or defaulted
    TwoDigitsWhenValid,   // the same, only for a value that passed
    NumericFormWhenValid, // "050" -> "50", only for a value that passed
};

struct KeyRule {
    std::string_view section;
    std::string_view name;           // the key's name; "(index)" is added in indexed passes
    ItemFn item = nullptr;
    CheckFn check = nullptr;
    std::string_view defaultText{};
    std::string_view line1{};        // "{i}" stands for the index
    Wording wording = Wording::A;
    Flag ConfigModel::*areaFlag = nullptr;
    BeforeFn before = nullptr;       // replacement of special values before the check, silent
    After after = After::None;
    AfterFn afterFn = nullptr;       // a rewrite of its own after the check
    DefaultFn defaultFn = nullptr;   // a default computed from the model, instead of defaultText
    std::string_view line3{};        // replaces line 3; "{d}" stands for the default
    bool isNotValid = false;         // line 1 ends " is not valid -- DAT item: " instead
    bool bareValue = false;          // line 2 shows the value without quotes
    int severity = 1;                // 1 error, 0 warning
    FlagFn itemFlag = nullptr;       // a change flag raised when the value was defaulted
    KeyFn key = nullptr;             // a key form of its own
    KeyFn label = nullptr;           // a line 1 of its own, instead of line1
    StepFn step = nullptr;           // a step of its own that replaces the whole procedure
};

// Keys read together for one index before the next index; `count` nullptr means single keys
// without an index.
struct ReaderPass {
    CountFn count;
    std::span<const KeyRule> rules;
};

// The state the rules share while a file is read.
class ReaderContext {
public:
    ReaderContext(ConfigModel& model, KeyAccess& keys, Prompts& prompts)
        : model(model), keys(keys), prompts(prompts) {}

    // ReadSetting from the file being loaded.
    Text Read(std::string_view section, std::string_view key);
    // Appends an entry (an empty line, the asterisks, "WARNING ONLY" for severity 0, the lines).
    void Log(const std::string& message, int severity);
    // The per-key procedure.
    void ApplyRule(const KeyRule& rule, int index);
    void Run(std::span<const ReaderPass> passes);

    // False for a value holding a byte the writer refuses (NUL, line breaks).
    static bool Savable(std::string_view value);
    // The value as the report shows it: bytes that cannot stand in a text line are named.
    static std::string Shown(std::string_view value);

    // "HangTime(2)" for indexed passes, "FanTime" for single keys.
    static std::string KeyOf(const KeyRule& rule, int index);
    static std::string Line1Of(const KeyRule& rule, int index);

    ConfigModel& model;
    KeyAccess& keys;
    Prompts& prompts;
    std::string report;  // the entries written so far
    bool hasErrors = false, hasWarnings = false;
    int entries = 0;
};

// The rules of every area in reading order.
std::span<const ReaderPass> TimerAndMeterPasses();
std::span<const ReaderPass> RemoteIdentificationAndCodePasses();
std::span<const ReaderPass> AutopatchAndMacroPasses();
std::span<const ReaderPass> CourtesyDtmfSwitchAndDvrPasses();

// Small pieces the rule tables share.
std::string TwoDigits(const Text& value);    // numeric value with at least two digits
std::string NumericForm(const Text& value);  // plain decimal of the numeric value

template <int Low, int High>
int CheckNumberRule(const Text& value, const ConfigModel&, int);
int CheckZeroOneRule(const Text& value, const ConfigModel&, int);

} // namespace vm880

// Item accessors for the rule tables: VM880_ITEM(HangTime) reads HangTime(i), VM880_SCALAR(FanTime)
// reads FanTime.
#define VM880_ITEM(name) [](::vm880::ConfigModel& m, int i) -> ::vm880::Text& { return m.name(i); }
#define VM880_SCALAR(name) [](::vm880::ConfigModel& m, int) -> ::vm880::Text& { return m.name; }
#define VM880_ITEM_FLAG(name) [](::vm880::ConfigModel& m, int i) -> ::vm880::Flag& { return m.name(i); }

#include "base/text.h" // TrimBlanks
#include "base/value_checks.h"
#include "tables/code_lookup.h" // UpperCase

template <int Low, int High>
int vm880::CheckNumberRule(const Text& value, const ConfigModel&, int)
{
    return CheckNumber(value, Low, High);
}

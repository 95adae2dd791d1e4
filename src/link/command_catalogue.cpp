#include "link/command_catalogue.h"

#include "link/command_parts.h"
#include "link/dtmf_link.h"
#include "model/config_model.h"
#include "tables/code_lookup.h"
#include "tables/cw_chars.h"
#include "tables/sequence_text.h"
#include "tables/vocabulary.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace vm880 {

using namespace catalogue;

namespace {

// The text a caller hands over in place of a model value (the clock's date and time).
Text GivenText(const ConfigModel&, const ItemRef& ref)
{
    return Text(ref.given);
}

Item ToneOnly(std::string_view name, std::string_view sender, std::string_view command)
{
    Item item;
    item.name = name;
    item.senders = {sender};
    item.tone = ToneForm::Own;
    item.toneCommands = {{Lit(command)}};
    return item;
}

// Over the serial cable the erase commands carry the terminator themselves; by radio the
// terminator ends every command anyway.
Item EraseCommand(std::string_view name, std::string_view sender, std::string_view command)
{
    Item item = ToneOnly(name, sender, command);
    item.lines = {Line{{Lit(command), ValueOf(&At<&M::Terminator>)}, CmdText}};
    return item;
}

Item Direct(std::string_view name, std::string_view sender, Command command, Reported reported)
{
    Item item;
    item.name = name;
    item.senders = {sender};
    item.lines = {Line{std::move(command), reported}};
    return item;
}

int BlockCount(const Block& block, const ConfigModel& model)
{
    switch (block.size) {
    case TableSize::RemoteBaseMemories: return model.RemoteBaseMemoryCount();
    case TableSize::MessageMacros: return model.MessageMacroCount();
    case TableSize::DTMFMemories: return model.DTMFMemoryCount();
    case TableSize::Fixed: break;
    }
    return block.count;
}

// The radio link's ends of a group's steps, by its framing.
void MarkFrameEnds(Framing framing, std::vector<Step>::iterator first,
                   std::vector<Step>::iterator last)
{
    if (first == last)
        return;
    switch (framing) {
    case Framing::LockAfterEachPort:
        for (auto it = first; it != last; ++it) {
            const auto next = it + 1;
            if (next == last || next->ref.port != it->ref.port)
                it->end = FrameEnd::Lock;
        }
        break;
    case Framing::LockAfterEachItem:
        for (auto it = first; it != last; ++it)
            it->end = FrameEnd::Lock;
        break;
    case Framing::LockAfterGroup: (last - 1)->end = FrameEnd::Lock; break;
    case Framing::EndWithoutLock: (last - 1)->end = FrameEnd::ForgetUnlock; break;
    case Framing::StayUnlocked:
    case Framing::EachItemFramed:
    case Framing::SerialOnly: break;
    }
}

std::string WithZeros(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string PartText(const Part& part, const ConfigModel& model, const ItemRef& ref)
{
    switch (part.kind) {
    case Part::Kind::Literal: return std::string(part.literal);
    case Part::Kind::Port: return std::to_string(ref.port + part.offset);
    case Part::Kind::Index: return WithZeros(ref.index + part.offset, part.width);
    case Part::Kind::Value: return part.value(model, ref);
    }
    return {};
}

std::string CommandText(const Command& command, const ConfigModel& model, const ItemRef& ref)
{
    std::string text;
    for (const Part& part : command)
        text += PartText(part, model, ref);
    return text;
}

void AppendKeys(ToneCommand& keys, const Part& part, const ConfigModel& model,
                const ItemRef& ref)
{
    if (part.kind == Part::Kind::Literal) {
        for (char ch : part.literal)
            keys.push_back(ch == '*' ? std::string("11") : std::string(1, ch));
        return;
    }
    const std::string text = PartText(part, model, ref);
    if (part.keys == Keys::OneKey) {
        keys.push_back(text);
        return;
    }
    for (char ch : text)
        keys.emplace_back(1, static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
}

ToneCommand ToneCommandOf(const Command& command, const ConfigModel& model, const ItemRef& ref)
{
    ToneCommand keys;
    for (const Part& part : command)
        AppendKeys(keys, part, model, ref);
    keys.push_back(model.Terminator);
    return keys;
}

const std::vector<Line>& ActiveLines(const Item& item, const ConfigModel& model,
                                     const ItemRef& ref)
{
    if (item.noneStoredField && item.noneStoredField(model, ref) == kNoneStored)
        return item.noneStoredLines;
    return item.lines;
}

} // namespace

// ---- The tables

const std::vector<Group>& UploadGroups()
{
    static const std::vector<Group> groups = [] {
        std::vector<Group> all = GroupsUpToMeters();
        std::vector<Group> rest = GroupsFromRemoteBase();
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    }();
    return groups;
}

const Item& EraseMacrosCommand()
{
    static const Item item = EraseCommand("EraseMacros", "SendEraseMacros", "*400499");
    return item;
}

const Item& EraseShortMacrosCommand()
{
    static const Item item = EraseCommand("EraseShortMacros", "SendEraseShortMacros", "*400699");
    return item;
}

const Item& ResetCommand()
{
    static const Item item = Direct("Reset", "SendResetCommand", {Lit("*21999")}, LineText);
    return item;
}

const Item& ClockDateCommand()
{
    static const Item item =
        Direct("ClockDate", "SetControllerClock", {Lit("*5101"), ValueOf(&GivenText)}, CmdText);
    return item;
}

const Item& ClockTimeCommand()
{
    static const Item item =
        Direct("ClockTime", "SetControllerClock", {Lit("*5100"), ValueOf(&GivenText)}, LineText);
    return item;
}

const Item* ItemBySender(std::string_view sender)
{
    auto has = [&](const Item& item) {
        for (std::string_view s : item.senders)
            if (s == sender)
                return true;
        return false;
    };
    for (const Group& group : UploadGroups())
        for (const Block& block : group.blocks)
            for (const Item& item : block.items)
                if (has(item))
                    return &item;
    for (const Item* item : {&EraseMacrosCommand(), &EraseShortMacrosCommand(), &ResetCommand(),
                             &ClockDateCommand()})
        if (has(*item))
            return item;
    return nullptr;
}

// ---- The upload's walk

std::vector<Step> UploadOrder(const ConfigModel& model)
{
    std::vector<Step> steps;
    for (const Group& group : UploadGroups()) {
        const std::size_t groupFirst = steps.size();
        for (const Block& block : group.blocks) {
            const std::size_t blockFirst = steps.size();
            auto add = [&](int port, int index) {
                for (const Item& item : block.items)
                    steps.push_back({&group, &block, &item, {port, index}});
            };
            switch (block.over) {
            case Over::Once: add(1, 0); break;
            case Over::EachPort:
                for (int p = 1; p <= 3; ++p)
                    add(p, p);
                break;
            case Over::EachIndex:
                for (int n = 1, count = BlockCount(block, model); n <= count; ++n)
                    add(1, n);
                break;
            case Over::EachPortAndTone:
                for (int p = 1; p <= 3; ++p)
                    for (int t = 1; t <= 10; ++t)
                        add(p, t);
                break;
            }
            if (steps.size() == blockFirst)
                continue;
            steps.back().endsBlock = true;
            if (block.progressOnce) {
                for (std::size_t i = blockFirst; i + 1 < steps.size(); ++i)
                    steps[i].progress = 0;
            }
        }
        MarkFrameEnds(group.framing, steps.begin() + static_cast<std::ptrdiff_t>(groupFirst),
                      steps.end());
    }
    return steps;
}

int ProgressPositions(const ConfigModel& model)
{
    int positions = 0;
    for (const Step& step : UploadOrder(model)) {
        if (step.group->scope == Scope::CompleteWithDVRWrite && model.DVRWrite == kFalse)
            continue;
        positions += step.progress;
    }
    return positions;
}

// ---- Rendering

bool IsSkipped(const Item& item, const ConfigModel& model, const ItemRef& ref)
{
    return item.skip && item.skip(model, ref);
}

std::vector<SerialLine> SerialLines(const Item& item, const ConfigModel& model,
                                    const ItemRef& ref)
{
    std::vector<SerialLine> out;
    if (IsSkipped(item, model, ref))
        return out;
    const std::string portDigit = item.prefix == Prefix::Port ? std::to_string(ref.port) : "1";
    for (const Line& line : ActiveLines(item, model, ref)) {
        SerialLine rendered;
        rendered.text = portDigit + CommandText(line.command, model, ref);
        switch (line.reported) {
        case Reported::Line: rendered.reported = rendered.text; break;
        case Reported::Cmd: rendered.reported = rendered.text.substr(1); break;
        case Reported::AfterStars:
            rendered.reported =
                rendered.text.substr(std::min<std::size_t>(3, rendered.text.size()));
            break;
        }
        out.push_back(std::move(rendered));
    }
    return out;
}

std::vector<ToneCommand> ToneCommands(const Item& item, const ConfigModel& model,
                                      const ItemRef& ref)
{
    std::vector<ToneCommand> out;
    if (item.tone == ToneForm::None || IsSkipped(item, model, ref))
        return out;
    if (item.tone == ToneForm::Own) {
        for (const Command& command : item.toneCommands)
            out.push_back(ToneCommandOf(command, model, ref));
        return out;
    }
    for (const Line& line : ActiveLines(item, model, ref))
        out.push_back(ToneCommandOf(line.command, model, ref));
    return out;
}

std::vector<ToneCommand> SenderToneCommands(const Item& item, std::string_view sender,
                                            const ConfigModel& model, const ItemRef& ref)
{
    std::vector<ToneCommand> all = ToneCommands(item, model, ref);
    if (item.senders.size() <= 1)
        return item.senders.size() == 1 && item.senders.front() == sender
                   ? all
                   : std::vector<ToneCommand>{};
    for (std::size_t i = 0; i < item.senders.size() && i < all.size(); ++i)
        if (item.senders[i] == sender)
            return {all[i]};
    return {};
}

std::string HeardKeys(const ToneCommand& command)
{
    static constexpr std::string_view kAliasKeys = "*#ABCD"; // codes "11" to "16"
    std::string heard;
    for (const std::string& code : command) {
        if (code.size() == 1 && DTMFTonePairOf(code)) {
            heard += code;
        } else if (code.size() == 2 && code[0] == '1' && code[1] >= '1' && code[1] <= '6') {
            heard += kAliasKeys[static_cast<std::size_t>(code[1] - '1')];
        } else {
            heard += "(" + code + ")";
        }
    }
    return heard;
}

bool IsChosen(const Item& item, ConfigModel& model, const ItemRef& ref)
{
    for (FlagFn flag : item.chosenBy) {
        const Flag value = flag(model, ref);
        if (item.choose == Choose::FlagTrue ? value == kTrue : value != kFalse)
            return true;
    }
    return false;
}

void ClearFlags(const Item& item, ConfigModel& model, const ItemRef& ref)
{
    for (FlagFn flag : item.clears)
        flag(model, ref) = kFalse;
}

// ---- Converters

namespace {

template <typename Lookup>
Text ConvertTokens(std::string_view text, Lookup lookup)
{
    Text codes;
    for (std::string_view token : SplitAtBlanks(text))
        if (!token.empty())
            codes += lookup(token);
    return codes;
}

} // namespace

Text ConvertVoiceIDText(std::string_view text)
{
    return ConvertTokens(text, [](std::string_view word) { return VocabWordToCode(word); });
}

Text ConvertCWIDText(std::string_view text)
{
    return ConvertTokens(text, [](std::string_view ch) { return CWCharToCode(ch); });
}

Text RemoveBlanks(std::string_view text)
{
    Text out;
    for (char ch : text)
        if (ch != ' ')
            out += ch;
    return out;
}

Text TrimmedText(std::string_view text)
{
    return Text(TrimSpaces(text));
}

Text ZeroWhenBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos ? Text("0") : Text(text);
}

Text SchedulerHourCode(std::string_view hours)
{
    return hours == "99" || hours == "0A" || hours == "254" ? Text("0A") : Text(hours);
}

Text YaesuModelKey(std::string_view yaesuType)
{
    return yaesuType < std::string_view("2") ? Text("2") : Text(yaesuType);
}

Text ZeroPadded(double value, int width)
{
    const long long whole = std::llround(value);
    std::string digits = std::to_string(std::llabs(whole));
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return whole < 0 ? "-" + digits : digits;
}

} // namespace vm880

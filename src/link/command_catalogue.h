#pragma once
// The command catalogue: every controller setting as the commands that carry it, declared once
// and rendered two ways: as serial lines (the port digit in front; the link adds the carriage
// return) and as DTMF key sequences for the radio link (each command ended by the terminator).
// The upload order, the change flags each item answers to, and how the radio link frames each
// group of items are declared here as well, so the upload walks this catalogue and needs no
// knowledge of its own about commands. Nothing here talks to a link.

#include "base/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

struct ConfigModel;

// Where one instance of an item sits. `port` is the controller port the command concerns: the
// serial line's port digit and the port unlocked on the radio link (1 for items of no port).
// `index` is the port again for port items, the courtesy tone for courtesy segments, n for
// indexed items and 0 for single items. `given` is a text the caller supplies in place of the
// model's value, for the few items that take one (the clock texts, an access code to send).
struct ItemRef {
    int port = 1;
    int index = 0;
    std::string_view given = {};
};

using TextFn = Text (*)(const ConfigModel&, const ItemRef&);
using FlagFn = Flag& (*)(ConfigModel&, const ItemRef&);
using TextRefFn = Text& (*)(ConfigModel&, const ItemRef&);
using ItemTest = bool (*)(const ConfigModel&, const ItemRef&);
using ItemAction = void (*)(ConfigModel&, const ItemRef&);

// How the radio link plays a piece: each character as one key (capitals; a character that is
// no key plays nothing), or the whole text as one key code ("0".."9", "A".."D", "*", "#" or
// "11".."16"; any other text, "10" for one, plays nothing).
enum class Keys { EachCharacter, OneKey };

// One piece of a command.
struct Part {
    enum class Kind {
        Literal, // `literal` as written; its "*" is played as the key code "11"
        Port,    // the port number plus `offset`
        Index,   // the index plus `offset`, with at least `width` digits
        Value,   // `value` of the model
    };
    Kind kind = Kind::Literal;
    std::string_view literal = {};
    TextFn value = nullptr;
    int width = 0;
    int offset = 0;
    Keys keys = Keys::EachCharacter;
};

using Command = std::vector<Part>;

// The text the reply wait shows as the command sent.
enum class Reported {
    Line,       // the whole line
    Cmd,        // the line without its port digit
    AfterStars, // the line without its leading "1**"
};

// One serial line: the port digit, then the command.
struct Line {
    Command command;
    Reported reported = Reported::Cmd;
};

// The serial line's first digit: the item's port, or "1" for items of no port.
enum class Prefix { Port, One };

// Where the radio link's commands come from.
enum class ToneForm {
    Serial, // the serial lines' commands, without the port digit
    Own,    // `toneCommands`, because the controller takes this item differently by radio
    None,   // no radio form: the item exists on the serial link only
};

// Which change flags take an item into an upload of changes.
enum class Choose {
    FlagTrue,      // one of `chosenBy` is true (-1) exactly
    AnyFlagRaised, // one of `chosenBy` is not 0
};

// When the upload lowers `clears`.
enum class ClearWhen {
    Sent,       // once every line of the item was accepted (radio link: once played)
    AfterTable, // once, after the whole block of this item
};

// Access code handled by the complete upload (terminator, unlock codes, lock): what is sent is
// the new value when there is one, else the current one; afterwards the new value becomes
// current and both are written to the settings file, section "Unlock".
struct AccessCode {
    TextRefFn current;
    TextRefFn next;
    std::string (*currentKey)(const ItemRef&);
    std::string (*newKey)(const ItemRef&);
};
inline constexpr const char* kAccessCodeSection = "Unlock";

struct Item {
    std::string_view name; // label in transcripts and reports, after the settings key
    // The radio-link senders: one per tone command, or one for all of them.
    std::vector<std::string_view> senders;
    Prefix prefix = Prefix::One;
    std::vector<Line> lines;
    ToneForm tone = ToneForm::Serial;
    std::vector<Command> toneCommands;
    // When this field holds "NONE STORED", `noneStoredLines` replace `lines` on both links.
    TextFn noneStoredField = nullptr;
    std::vector<Line> noneStoredLines;
    // An item for which this holds is not sent at all, and its flags stay as they are.
    ItemTest skip = nullptr;
    std::vector<FlagFn> chosenBy;
    Choose choose = Choose::FlagTrue;
    std::vector<FlagFn> clears;
    ClearWhen clearWhen = ClearWhen::Sent;
    // A pause after the item was sent; over the serial link only when `pauseSerialOnly`.
    int pauseMs = 0;
    bool pauseSerialOnly = false;
    // A change the upload makes to the model before it sends the item.
    ItemAction prepare = nullptr;
    const AccessCode* access = nullptr;
};

// How often a block of items runs, and with which ItemRef.
enum class Over {
    Once,            // port 1, index 0
    EachPort,        // ports 1 to 3, index = port
    EachIndex,       // port 1, index 1 to the block's count
    EachPortAndTone, // ports 1 to 3, for each port courtesy tones 1 to 10
};

// Counts that follow HasRTC.
enum class TableSize { Fixed, RemoteBaseMemories, MessageMacros, DTMFMemories };

struct Block {
    Over over = Over::Once;
    int count = 0; // EachIndex with a fixed size
    TableSize size = TableSize::Fixed;
    std::vector<Item> items;
    // The whole block counts as one progress position (the DVR tables), not each item.
    bool progressOnce = false;
};

// Which uploads send a group.
enum class Scope { Always, CompleteOnly, CompleteWithDVRWrite };

// How the radio link frames a group's items between an unlock and the lock code.
enum class Framing {
    LockAfterEachPort, // a port group: each port's items between its unlock and the lock
    LockAfterEachItem, // the lock after every item
    LockAfterGroup,    // port 1 unlocked for the whole group
    EndWithoutLock,    // at the group's end the unlock is forgotten but no lock is played
    StayUnlocked,      // the unlock stays in force into the following groups
    EachItemFramed,    // each item brings its own unlock and lock (the access codes)
    SerialOnly,        // no radio form
};

struct Group {
    int number = 0;
    std::string_view title;
    Scope scope = Scope::Always;
    Framing framing = Framing::LockAfterGroup;
    bool interruptTest = true; // the upload may stop after an item of this group
    std::vector<Block> blocks;
};

// The upload's groups, in sending order.
const std::vector<Group>& UploadGroups();

// What the radio link does after a step, by its group's framing.
enum class FrameEnd { None, Lock, ForgetUnlock };

// One item position of the upload.
struct Step {
    const Group* group = nullptr;
    const Block* block = nullptr;
    const Item* item = nullptr;
    ItemRef ref;
    FrameEnd end = FrameEnd::None;
    int progress = 1;      // progress positions this step accounts for
    bool endsBlock = false; // the last step of its block (flags lowered after a table)
};

// Every item position of an upload in its fixed order, table sizes chosen by `HasRTC`.
std::vector<Step> UploadOrder(const ConfigModel& model);

// Progress positions of an upload: every step, and the DVR tables' when `DVRWrite` is set.
int ProgressPositions(const ConfigModel& model);

// Commands outside the upload, sent by the editors' direct actions.
const Item& EraseMacrosCommand();      // "1*400499" and the terminator; tones "*400499"
const Item& EraseShortMacrosCommand(); // "1*400699" and the terminator; tones "*400699"
const Item& ResetCommand();            // "1*21999", sent without waiting for a reply
const Item& ClockDateCommand();        // "1*5101" and the date text given
const Item& ClockTimeCommand();        // "1*5100" and the time text given

// The item whose sender (or one of whose senders) is `sender`; nullptr when none is.
const Item* ItemBySender(std::string_view sender);

// ---- Rendering

struct SerialLine {
    std::string text;     // without the carriage return
    std::string reported; // for the reply wait
};

// A radio-link command: the key codes handed one by one to the tone link, terminator last.
using ToneCommand = std::vector<std::string>;

// True when the item is not sent at all for this instance.
bool IsSkipped(const Item& item, const ConfigModel& model, const ItemRef& ref);

// The serial lines of the item, none when it is skipped.
std::vector<SerialLine> SerialLines(const Item& item, const ConfigModel& model,
                                    const ItemRef& ref);

// The radio-link commands of the item, none when it is skipped or has no radio form. Each
// ends with the model's current `Terminator`.
std::vector<ToneCommand> ToneCommands(const Item& item, const ConfigModel& model,
                                      const ItemRef& ref);

// The radio-link commands of one of the item's senders; all of them when it has one sender.
std::vector<ToneCommand> SenderToneCommands(const Item& item, std::string_view sender,
                                            const ConfigModel& model, const ItemRef& ref);

// The keys a listener hears, one character each; a code that plays nothing is shown in
// brackets ("(10)", "( )", "()"), so that it stays visible.
std::string HeardKeys(const ToneCommand& command);

// Whether an upload of changes takes the item.
bool IsChosen(const Item& item, ConfigModel& model, const ItemRef& ref);
// Lowers the flags the item clears.
void ClearFlags(const Item& item, ConfigModel& model, const ItemRef& ref);

// ---- Converters

// The vocabulary codes of a voice ID's words, joined; words without a code add nothing.
Text ConvertVoiceIDText(std::string_view text);
// The CW codes of a CW ID's characters, joined; characters without a code add nothing.
Text ConvertCWIDText(std::string_view text);
// `text` without any blank.
Text RemoveBlanks(std::string_view text);
// `text` without blanks at either end.
Text TrimmedText(std::string_view text);
// "0" in place of an empty or blank text.
Text ZeroWhenBlank(std::string_view text);
// The scheduler's "every hour" codes "99", "0A" and "254" as the controller takes them, "0A".
Text SchedulerHourCode(std::string_view hours);
// The radio link's remote-base model key: a value that sorts before "2" is played as "2".
Text YaesuModelKey(std::string_view yaesuType);
// `value` rounded to a whole number, with at least `width` digits.
Text ZeroPadded(double value, int width);

} // namespace vm880

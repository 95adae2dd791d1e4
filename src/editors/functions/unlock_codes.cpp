#include "editors/functions/unlock_codes.h"

#include "link/busy_state.h"
#include "link/command_catalogue.h"
#include "link/controller_action.h"
#include "link/controller_links.h"
#include "model/access_codes.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "tables/dtmf_digits.h"
#include "interfaces/prompts.h"
#include "tables/code_lookup.h"

#include <algorithm>
#include <stdexcept>

namespace vm880 {

namespace {

constexpr const char* kCrLf = "\r\n";

bool IsPortBox(int box)
{
    return box >= 1 && box <= 3;
}

void RequireBox(int box)
{
    if (box < 1 || box > kCodeBoxes)
        throw std::out_of_range("code box " + std::to_string(box) + " outside 1..5");
}

} // namespace

bool CheckNewCode(int box, std::string_view value, CodeRefusal* refusal)
{
    RequireBox(box);
    if (value.empty())
        return true;
    int most = 1;
    CodeRefusal r;
    if (IsPortBox(box)) {
        most = 8;
        r = {"Unlock invalid.  Must be between 1 and 8 DTMF characters",
             "Unlock Code Port " + std::to_string(box)};
    } else if (box == kLockBox) {
        most = 4;
        r = {"Lock code invalid.  Must be between 1 and 4 DTMF characters", "Lock Code"};
    } else {
        r = {"Terminator Digit invalid.  Must be a single DTMF character", "Terminator Code"};
    }
    if (CheckDTMFDigits(value, 1, most) == kValid)
        return true;
    if (refusal)
        *refusal = std::move(r);
    return false;
}

// Where a box's codes live: the flag the sender reads, the current and new codes with their
// settings-file keys, the catalogue's command and the controller port it is sent to.
struct UnlockCodes::CodeSlot {
    Flag& flag;
    Text& current;
    Text& next;
    std::string currentKey;
    std::string newKey;
    const char* sender;
    int port;
};

UnlockCodes::CodeSlot UnlockCodes::slot(int box) const
{
    RequireBox(box);
    ConfigModel& m = s_.model;
    if (IsPortBox(box)) {
        const std::string n = "(" + std::to_string(box) + ")";
        return {m.PortUnlockChanged(box), m.CurrentPortUnlock(box), m.NewPortUnlock(box),
                "CurrentPortUnlock" + n, "NewPortUnlock" + n, "SendNewUnlockCode", box};
    }
    if (box == kLockBox)
        return {m.LockChanged, m.Lock, m.NewLock, "Lock", "NewLock", "SendNewLockCode", 1};
    return {m.TerminatorChanged, m.Terminator, m.NewTerminator, "Terminator", "NewTerminator",
            "SendNewTerminator", 1};
}

UnlockCodes::UnlockCodes(EditorServices services) : s_(std::move(services)) {}

void UnlockCodes::Load()
{
    LoadTempValues();
    iUnapplied_ = -1;
}

void UnlockCodes::LoadTempValues()
{
    for (int box = 1; box <= kCodeBoxes; ++box)
        temp_[box] = slot(box).next;
}

void UnlockCodes::Change(int box, std::string_view typed)
{
    RequireBox(box);
    temp_[box] = UpperCase(TrimSpaces(typed));
    iUnapplied_ = IsPortBox(box) ? 1 : box == kLockBox ? 2 : 3;
}

const Text& UnlockCodes::NewCode(int box) const
{
    RequireBox(box);
    return temp_[box];
}

const Text& UnlockCodes::CurrentCode(int box) const
{
    return slot(box).current;
}

Text UnlockCodes::Temp_Code(int box) const
{
    const Text& typed = NewCode(box);
    return !typed.empty() && CheckNewCode(box, typed) ? typed : CurrentCode(box);
}

bool UnlockCodes::Validate(int box)
{
    CodeRefusal refusal;
    if (CheckNewCode(box, NewCode(box), &refusal))
        return true;
    s_.prompts.Message(style::Exclamation, refusal.title, refusal.text);
    return false;
}

bool UnlockCodes::refusedWhileBusy()
{
    // A second click during the controller's reply wait must not change the codes the
    // first one is sending and recording.
    return RefuseWhileBusy(s_.busy, s_.prompts);
}

// The codes as Send and Save would take them: a typed code that passes its check is new.
AccessCodes UnlockCodes::takenCodes() const
{
    AccessCodes codes;
    for (int box = 1; box <= kCodeBoxes; ++box) {
        codes.current.at(box) = CurrentCode(box);
        if (CheckNewCode(box, temp_[box]))
            codes.next.at(box) = temp_[box];
    }
    return codes;
}

// True when the code that would be in force in `box` holds the terminator that would be in
// force, or `box` breaks the rule for new codes (access_codes.h); the operator has been told.
bool UnlockCodes::holdsTerminator(int box)
{
    const std::string title = IsPortBox(box) ? "Unlock Code and Terminator Conflict"
                                             : "Lock Code and Terminator Conflict";
    const std::string name = IsPortBox(box) ? "Port " + std::to_string(box) + " Unlock Code" : "Lock Code";
    const Text terminator = Temp_Code(kTerminatorBox);
    if (HoldsTerminator(Temp_Code(box), terminator)) {
        s_.prompts.Message(style::Exclamation, title,
                           IsPortBox(box) ? name + " cannot contain the Terminator Digit'" + terminator + "'"
                                          : name + " cannot contain the Terminator Digit");
        return true;
    }
    // Left: a new code holding the terminator in force while a new terminator is typed. The
    // commands are keyed with the old one, so the controller would cut the code short. Every
    // other finding of the rule is one the test above makes for some box; the window names the
    // box and the operator decides which code gives way.
    const std::vector<TerminatorConflict> conflicts = TerminatorConflicts(takenCodes());
    const auto conflict = std::find_if(conflicts.begin(), conflicts.end(),
                                       [box](const TerminatorConflict& c) { return c.pending == box; });
    if (conflict == conflicts.end())
        return false;
    s_.prompts.Message(style::Exclamation, title,
                       name + " '" + conflict->text + "' cannot contain the " +
                           (conflict->inForce ? "Terminator Digit in force" : "new Terminator Digit") +
                           " '" + conflict->digit + "'" + kCrLf + kCrLf +
                           "The VM880 would end the command at that digit. Send the new terminator "
                           "first and the new code after it, or choose a code without that digit.");
    return true;
}

// What Send and Save share: the conflict tests and the checks, box by box, taking each
// typed code as the new one. Send raises the flags its sender reads (and lowers those of
// empty boxes); Save writes the new codes into the settings file instead. Returns the box
// refused, 0 when every box passed.
int UnlockCodes::takeNewCodes(bool send)
{
    for (int box = 1; box <= kCodeBoxes; ++box) {
        if (box != kTerminatorBox && holdsTerminator(box))
            return box;
        CodeSlot code = slot(box);
        if (temp_[box].empty()) {
            if (send)
                code.flag = kFalse;
            continue;
        }
        if (!Validate(box))
            return box;
        code.next = temp_[box];
        if (send)
            code.flag = kTrue;
        else
            writeCode(code.newKey, code.next);
    }
    return 0;
}

int UnlockCodes::Send()
{
    if (refusedWhileBusy())
        return 0;
    if (const int refused = takeNewCodes(true))
        return refused;

    const std::string question =
        std::string("Are you connected to the controller (serial mode)/ready to transmit updates "
                    "(DTMF mode) at this time?") +
        kCrLf + kCrLf +
        "YES, I am connected/ready to transmit and want to update the controller" + kCrLf +
        "NO, I am not connected/not ready to transmit" + kCrLf +
        "CANCEL, I do not want to update anything at this time" + kCrLf + kCrLf +
        "Do not answer yes if you are not connected/not ready to transmit or you risk blocking "
        "further updates to the controller";
    const Answer answer = s_.prompts.Message(
        style::YesNoCancel + style::Question + style::DefaultButton3, "UPDATE CONTROLLER", question);
    if (answer != Answer::Yes) {
        // The new codes and their flags stay for a later Send or a complete upload.
        s_.prompts.Message(style::Information, "CONTROLLER NOT UPDATED",
                           "The controller was NOT updated");
        return 0;
    }
    exchange();
    Load();
    return 0;
}

int UnlockCodes::Save()
{
    if (refusedWhileBusy())
        return 0;
    if (const int refused = takeNewCodes(false))
        return refused;
    Load();
    return 0;
}

void UnlockCodes::Record()
{
    if (refusedWhileBusy())
        return;
    // The operator says the controller holds these already: taken as typed, unchecked.
    for (int box = 1; box <= kCodeBoxes; ++box) {
        if (temp_[box].empty())
            continue;
        CodeSlot code = slot(box);
        code.current = temp_[box];
        code.next.clear();
        writeCode(code.currentKey, code.current);
        writeCode(code.newKey, code.next);
    }
    Load();
}

void UnlockCodes::Cancel()
{
    if (refusedWhileBusy())
        return;
    const std::string text = std::string("This will cancel all changes that have not yet been sent to "
                                         "the controller") +
                             kCrLf + kCrLf + "YES to proceed, NO to continue editing the data";
    if (s_.prompts.Message(style::YesNo + style::Question, "CANCEL UPDATE", text) == Answer::Yes)
        Load();
}

bool UnlockCodes::Close()
{
    if (iUnapplied_ == -1)
        return true;
    s_.prompts.Message(style::Exclamation, "Unapplied Changes",
                       std::string("You have unapplied changes") + kCrLf + kCrLf +
                           "Either apply them or cancel them");
    return false;
}

void UnlockCodes::exchange()
{
    RunControllerAction({s_.model, s_.prompts, s_.busy, s_.links},
                        {"access code change", "frmUnlock", "cmdSend_Click"},
                        [this](ControllerAction& action) { return SendChangedCodes(action); });
}

void UnlockCodes::writeCode(std::string_view key, const Text& value)
{
    // A failed write has been reported; the model keeps what the controller holds.
    s_.keys.WriteSetting(kAccessCodeSection, key, value, s_.model.DatFilePath);
}

bool UnlockCodes::SendChangedCodes(ControllerAction& link)
{
    for (int box = 1; box <= kCodeBoxes; ++box)
        if (slot(box).flag != kFalse && !sendCode(link, box))
            return false;
    // Once more with the codes now in force: the locks after a new lock code or terminator
    // were played with the old ones and leave the port open.
    return link.Lock();
}

// One flagged code: the port's unlock, the command, the lock, then the code is current. The
// lock is played with the codes in force before the change; the exchange's closing lock uses
// the new ones.
bool UnlockCodes::sendCode(ControllerAction& link, int box)
{
    ConfigModel& m = s_.model;
    CodeSlot code = slot(box);
    const Item* item = ItemBySender(code.sender);
    const std::vector<LinkCommand> commands =
        item ? LinkCommandsOf(*item, m, {code.port, code.port}, link.Kind()) : std::vector<LinkCommand>{};
    if (commands.size() != 1)
        throw std::logic_error(std::string("no command for ") + code.sender);
    // Over the radio link the command ends with the terminator still in force.
    const LinkCommand& command = commands.front();
    if (!link.Unlock(code.port))
        return false;
    if (!link.Send(command))
        return false;
    code.flag = kFalse;
    const bool locked = link.Lock();
    code.current = code.next;
    code.next.clear();
    writeCode(code.currentKey, code.current);
    writeCode(code.newKey, code.next);
    return locked;
}

} // namespace vm880

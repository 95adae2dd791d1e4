#include "link/command_erase_macros.h"

#include "link/busy_state.h"
#include "link/command_catalogue.h"
#include "link/controller_links.h"
#include "model/config_model.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "tables/sequence_text.h"

#include <memory>
#include <vector>

namespace vm880 {

namespace {

constexpr const char* kEraseQuestion =
    "This will IMMEDIATELY erase all macros and all port restrictions IN THE CONTROLLER\r\n\r\n"
    "Are you sure you want to proceed?\r\nYES to erase ALL, NO to return to editing";
constexpr const char* kRadioQuestion =
    "Zel Prepared to send commands to controller to erase all macros\r\n"
    "Is your computer connected to the radio and is the radio tuned to the proper frequency for "
    "repeater control?\r\n\r\n"
    "YES to proceed and send the erase command, NO to cancel without sending the erase command";
constexpr const char* kSentText = "The macros were erased in the controller";
constexpr const char* kDoneText =
    "All Macros have been erased, both in Zel and in the VM880. You should save your dat file now "
    "to reflect these changes";
constexpr const char* kFailureText =
    "The program could not communicate with the controller and did not erase the macro data in "
    "the controller";
constexpr const char* kUnchangedText = "Nothing was changed in Zel: its macros are as they were.";
constexpr const char* kSaveText = "You should save your dat file now to reflect these changes.";

constexpr int kLongMacros = 40;
constexpr int kShortMacros = 50;
constexpr int kMacros = 90;
constexpr int kFirstReceiverCommand = 2; // index in the sending order

// Receiver command k (0..5) of the sending order: port k / 2 + 1, active when k is even.
int ReceiverPort(int k)
{
    return k / 2 + 1;
}
bool ReceiverActive(int k)
{
    return k % 2 == 0;
}
std::string ReceiverName(int k)
{
    return "Port " + std::to_string(ReceiverPort(k)) + (ReceiverActive(k) ? " active" : " inactive");
}

// The two commands of port p's receiver macros, both naming macro 90: the model keeps its
// values until the controller has taken the new ones.
std::vector<LinkCommand> ReceiverCommands(const ConfigModel& model, int port, LinkKind kind)
{
    auto erased = std::make_unique<ConfigModel>(model);
    erased->RcvMacroActive(port) = kErasedReceiverMacro;
    erased->RcvMacroInactive(port) = kErasedReceiverMacro;
    const Item* item = ItemBySender("SendReceiverMacros");
    return LinkCommandsOf(*item, *erased, {port, port}, kind);
}

bool SendErase(ControllerAction& action, Clock& clock)
{
    const ConfigModel& model = action.model();
    const LinkKind kind = action.Kind();
    const bool serial = kind == LinkKind::Serial;
    if (serial)
        clock.SleepMs(50);
    if (!action.Unlock(1) || !action.Send(LinkCommandsOf(EraseMacrosCommand(), model, {}, kind)))
        return false;
    clock.SleepMs(serial ? 50 : 500);
    if (!action.Send(LinkCommandsOf(EraseShortMacrosCommand(), model, {}, kind)) || !action.Lock())
        return false;
    clock.SleepMs(serial ? 50 : 500);
    for (int p = 1; p <= 3; ++p) {
        if (!action.Unlock(p) || !action.Send(ReceiverCommands(model, p, kind)) || !action.Lock())
            return false;
    }
    return true;
}

void EraseMacro(Text& macro, Flag& macroFlag, Flag& codeFlag)
{
    macro = std::string(kNoneStored);
    macroFlag = kTrue;
    codeFlag = kTrue; // the recall code keeps its value and goes out again
}

} // namespace

void RecordErase(ConfigModel& m, const EraseMacrosOutcome& outcome)
{
    if (!outcome.AnythingErased())
        return;
    const auto restrict = [&m](int first, int last) {
        for (int i = first; i <= last; ++i) {
            m.PortToAllow(i) = "123";
            m.PortToAllowChanged(i) = kTrue;
        }
    };
    for (int i = 1; i <= kLongMacros; ++i)
        EraseMacro(m.Macro(i), m.MacroChanged(i), m.MacroCodeChanged(i));
    restrict(1, kLongMacros);
    if (outcome.shortErased()) {
        for (int i = 1; i <= kShortMacros; ++i)
            EraseMacro(m.ShortMacro(i), m.ShortMacroChanged(i), m.ShortMacroCodeChanged(i));
        restrict(kLongMacros + 1, kMacros);
    }
    for (int k = 0; k < kEraseCommandCount - kFirstReceiverCommand; ++k) {
        const int p = ReceiverPort(k);
        Text& value = ReceiverActive(k) ? m.RcvMacroActive(p) : m.RcvMacroInactive(p);
        Flag& flag = ReceiverActive(k) ? m.RcvMacroActiveChanged(p) : m.RcvMacroInactiveChanged(p);
        if (outcome.acknowledged() > kFirstReceiverCommand + k)
            value = kErasedReceiverMacro;
        flag = kTrue;
    }
    m.DatFileSaved = kFalse;
}

EraseReport EraseOutcomeReport(const EraseMacrosOutcome& outcome)
{
    if (outcome.declined)
        return {kEraseDeclinedTitle,
                std::string("Nothing was sent: the controller was not erased.\r\n") + kUnchangedText,
                style::OkOnly + style::Information};
    if (outcome.Complete())
        return {kEraseDoneTitle, kDoneText, style::OkOnly + style::Critical};
    if (!outcome.AnythingErased())
        return {kEraseFailureTitle, std::string(kFailureText) + ".\r\n\r\n" + kUnchangedText,
                style::OkOnly + style::Critical};

    std::string text = "The erase did not finish.\r\n\r\n";
    text += "Macros 1 to 40 and their port restrictions were erased, in the VM880 and in Zel.\r\n";
    if (outcome.shortErased())
        text += "Macros 41 to 90 and their port restrictions were erased, in the VM880 and in Zel.\r\n";
    else
        text += "Macros 41 to 90 and their port restrictions were NOT erased: they are unchanged, "
                "in the VM880 and in Zel.\r\n";
    std::string set;
    std::string notSet;
    for (int k = 0; k < kEraseCommandCount - kFirstReceiverCommand; ++k) {
        std::string& list = outcome.acknowledged() > kFirstReceiverCommand + k ? set : notSet;
        list += (list.empty() ? "" : ", ") + ReceiverName(k);
    }
    if (!set.empty())
        text += "Receiver macros set to macro 90: " + set + ".\r\n";
    text += "Receiver macros NOT set in the VM880: " + notSet
            + ". Zel keeps their values and the next upload of changes sends them.\r\n\r\n";
    text += "The recall codes, the erased macros and port restrictions are marked to be sent with the "
            "next upload of changes. ";
    text += kSaveText;
    return {kErasePartTitle, text, style::OkOnly + style::Critical};
}

EraseMacrosOutcome EraseAllMacros(const ControllerActionContext& context, Clock& clock)
{
    EraseMacrosOutcome outcome;
    outcome.result.end = ActionEnd::Busy;
    if (RefuseWhileBusy(context.busy, context.prompts))
        return outcome;
    Prompts& prompts = context.prompts;
    if (prompts.Message(style::YesNo + style::Critical, kEraseQuestionTitle, kEraseQuestion) != Answer::Yes) {
        outcome.declined = true;
        return outcome; // back to editing: nothing to tell
    }
    // Which link this run uses; the link menus cannot change it until the run ends.
    LinkKind kind = LinkKind::Serial;
    try {
        kind = context.links.Current().Kind();
    } catch (...) {
        // RunControllerAction reports it below.
    }
    if (kind == LinkKind::Tone
        && prompts.Message(style::YesNo + style::Question, kEraseRadioTitle, kRadioQuestion) != Answer::Yes) {
        outcome.declined = true;
    } else {
        outcome.result = RunControllerAction(context, {"macro erase", "Macros", "Erase_Click"},
                                             [&clock](ControllerAction& a) { return SendErase(a, clock); });
        if (outcome.result.end == ActionEnd::Busy)
            return outcome; // refused and told; nothing was sent
    }
    RecordErase(context.model, outcome);
    if (outcome.Complete() && outcome.result.kind == LinkKind::Serial)
        prompts.Message(style::OkOnly + style::Information, kEraseSentTitle, kSentText);
    const EraseReport report = EraseOutcomeReport(outcome);
    prompts.Message(report.style, report.title, report.text);
    return outcome;
}

} // namespace vm880

#include "app/controller_commands.h"

#include "app/version.h"
#include "link/command_clock.h"
#include "link/controller_links.h"
#include "model/config_model.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"

#include <stdexcept>

namespace vm880 {

ContextController::ContextController(const AppContext& context)
    : context_(context), busy_(context.busy ? context.busy : &ownBusy_)
{
    if (!context.links) {
        if (context.serialLink)
            serial_ = std::make_unique<SerialControllerLink>(*context.serialLink, context.model);
        if (context.toneLink)
            tone_ = std::make_unique<ToneControllerLink>(*context.toneLink, context.model);
    }
}

ContextController::~ContextController() = default;

ControllerLink& ContextController::Current()
{
    if (context_.links)
        return context_.links->Current();
    ControllerLink* link = context_.model.ComPort != 0 ? static_cast<ControllerLink*>(serial_.get())
                                                       : static_cast<ControllerLink*>(tone_.get());
    if (!link)
        throw std::logic_error("no controller link for the chosen port");
    return *link;
}

void ResetController_Click(const AppContext& context)
{
    if (context.model.ComPort == 0) {
        context.prompts.Message(style::OkOnly, kProgramTitle, kSerialOnlyText);
        return;
    }
    ContextController controller(context);
    RunControllerAction(controller.Action(), {"controller reset", "ZelMain", "Toolbar1_ButtonClick", false},
                        [](ControllerAction& action) {
                            std::vector<LinkCommand> commands = LinkCommandsOf(
                                ResetCommand(), action.model(), {}, action.Kind());
                            for (LinkCommand& command : commands)
                                command.awaitReply = false; // the controller restarts instead
                            return action.Send(commands);
                        });
}

void mnuSetClock_Click(const AppContext& context)
{
    if (!context.clock)
        throw std::logic_error("Set Clock needs the clock");
    ContextController controller(context);
    TellClockOutcome(context.prompts,
                     SetControllerClock(controller.Action(), *context.clock, ReadLocalClock));
}

} // namespace vm880

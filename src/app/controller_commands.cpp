#include "app/controller_commands.h"

#include "app/version.h"
#include "link/command_clock.h"
#include "link/controller_action.h"
#include "link/controller_links.h"
#include "model/config_model.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"

#include <stdexcept>

namespace vm880 {

void ResetController_Click(const AppContext& context)
{
    if (context.model.ComPort == 0) {
        context.prompts.Message(style::OkOnly, kProgramTitle, kSerialOnlyText);
        return;
    }
    RunControllerAction(ControllerActionOf(context),
                        {"controller reset", "ZelMain", "Toolbar1_ButtonClick", false},
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
    TellClockOutcome(context.prompts,
                     SetControllerClock(ControllerActionOf(context), *context.clock, ReadLocalClock));
}

} // namespace vm880

#include "link/busy_state.h"

#include "interfaces/prompts.h"

namespace vm880 {

bool RefuseWhileBusy(const BusyState& busy, Prompts& prompts)
{
    if (!busy.Busy())
        return false;
    prompts.Message(style::Exclamation, kBusyTitle,
                    "The " + busy.Activity() +
                        " is still talking to the VM880. Wait until it has ended, then try again.");
    return true;
}

} // namespace vm880

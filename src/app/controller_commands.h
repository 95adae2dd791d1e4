#pragma once
// The main window's commands that act on the controller at once (the toolbar's Reset 880 and
// Set Clock), and the controller link and busy state a window takes from its context.

#include "app/app_context.h"
#include "link/busy_state.h"
#include "link/controller_action.h"

#include <memory>

namespace vm880 {

class SerialControllerLink;
class ToneControllerLink;

inline constexpr const char* kSerialOnlyText =
    "This feature can only be used with a direct serial connection";

// The context's link chooser and busy state; where the context has none (a window tried on
// its own), a chooser over the context's serial and tone links and a busy state of its own.
class ContextController : public ControllerLinks {
public:
    explicit ContextController(const AppContext& context);
    ~ContextController() override;

    // Throws std::logic_error when the context lacks the link `ComPort` chooses.
    ControllerLink& Current() override;
    BusyState& busy() { return *busy_; }
    ControllerActionContext Action() { return {context_.model, context_.prompts, *busy_, *this}; }

private:
    AppContext context_;
    BusyState ownBusy_;
    BusyState* busy_;
    std::unique_ptr<SerialControllerLink> serial_;
    std::unique_ptr<ToneControllerLink> tone_;
};

// Toolbar "Reset 880": over the serial cable only; writes the reset without waiting for a
// reply and closes the port, which first drains it to the wire. Refused while another
// controller operation runs.
void ResetController_Click(const AppContext& context);

// Toolbar "Set Clock" (and the scheduler's button): sets the controller's clock and calendar
// from the computer's and says whether it worked.
void mnuSetClock_Click(const AppContext& context);

} // namespace vm880

#pragma once
// The main window's commands that act on the controller at once (the toolbar's Reset 880 and
// Set Clock).

#include "app/app_context.h"

namespace vm880 {

inline constexpr const char* kSerialOnlyText =
    "This feature can only be used with a direct serial connection";

// Toolbar "Reset 880": over the serial cable only; writes the reset without waiting for a
// reply and closes the port, which first drains it to the wire. Refused while another
// controller operation runs.
void ResetController_Click(const AppContext& context);

// Toolbar "Set Clock" (and the scheduler's button): sets the controller's clock and calendar
// from the computer's and says whether it worked.
void mnuSetClock_Click(const AppContext& context);

} // namespace vm880

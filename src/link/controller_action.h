#pragma once
// The one frame of every editor action that talks to the controller at once (new access
// codes, the clock, the reset, DVR track recording, erasing all macros). It takes the busy
// state, opens the serial port or keys the transmitter, runs the caller's body, which sends
// each command and learns whether it was acknowledged (serial) or played (radio), and on
// every way out plays the lock when a port is unlocked, releases the transmitter and closes
// the port. The caller records only what the result says went out.
//
//   ControllerActionResult r = RunControllerAction(context, {"clock setting", "Scheduler",
//       "ClockSet_Click"}, [&](ControllerAction& a) {
//           return a.Unlock(1) && a.Send(date) && a.Send(time);
//       });
//   if (r.Done()) ...                // both went out
//   for (int i = 0; i < r.acknowledged; ++i) ...   // record only these

#include "link/controller_link.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vm880 {

struct ConfigModel;
class Prompts;
class BusyState;

// What an action works with; all owned by the application.
struct ControllerActionContext {
    ConfigModel& model;
    Prompts& prompts;
    BusyState& busy;
    ControllerLinks& links;
};

struct ControllerActionOptions {
    const char* activity;   // the busy state's name, shown in refusals ("clock setting")
    const char* module;     // for the error report of a run-time failure
    const char* procedure;
    // Radio: play the lock on the way out while a port is unlocked. Off for the reset,
    // after which the controller restarts and hears nothing.
    bool lockAtEnd = true;
    // Radio: the wait after keying, when the action has its own instead of `TxTemp`.
    std::optional<std::int64_t> keyedSettleMs = std::nullopt;
};

enum class ActionEnd {
    Done,      // opened, the body finished, every command and the lock went out
    Busy,      // refused: another controller operation runs (the operator was told)
    NotOpened, // the port or the keying failed; nothing was sent (the operator was told)
    Failed,    // a command was refused, unanswered or not played, or the body stopped
    Error,     // a run-time failure, reported through the common error report
};

struct ControllerActionResult {
    ActionEnd end = ActionEnd::Failed;
    int status = 8;       // 0 when `end` is Done, else 8
    int acknowledged = 0; // the first commands sent that were acknowledged or played
    bool released = true; // the port closed and the transmitter let go without a problem
    LinkKind kind = LinkKind::Serial; // the link the action ran on

    bool Done() const { return end == ActionEnd::Done; }
};

// Handed to the body: the link of this run, with what went out counted.
class ControllerAction {
public:
    ControllerAction(ControllerLink& link, ConfigModel& model) : link_(link), model_(model) {}

    LinkKind Kind() const { return link_.Kind(); }
    ConfigModel& model() { return model_; }

    // Radio: plays port `port`'s unlock code (1..3); the lock then follows on the way out.
    // Serial: nothing.
    bool Unlock(int port);
    // Sends one command; true when it was acknowledged or played. After the first failure
    // nothing more is sent.
    bool Send(const LinkCommand& command);
    // Each in order; stops at the first failure.
    bool Send(const std::vector<LinkCommand>& commands);
    // Plays the lock now (radio); the way out then plays none.
    bool Lock();

    int Acknowledged() const { return acknowledged_; }
    bool Failed() const { return failed_; }
    bool Unlocked() const { return unlocked_; }

private:
    ControllerLink& link_;
    ConfigModel& model_;
    int acknowledged_ = 0;
    bool failed_ = false;
    bool unlocked_ = false;
};

// The body returns false to stop early (the action then ends Failed).
using ControllerActionBody = std::function<bool(ControllerAction&)>;

// Runs `body` inside the frame described above. Clears a stale `UploadError` first; leaves
// `UploadError` and `PortOpenFailed` lowered (the result carries the outcome). Never throws.
ControllerActionResult RunControllerAction(const ControllerActionContext& context,
                                           const ControllerActionOptions& options,
                                           const ControllerActionBody& body);

} // namespace vm880

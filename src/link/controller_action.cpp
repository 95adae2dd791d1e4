#include "link/controller_action.h"

#include "link/busy_state.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "interfaces/prompts.h"

#include <optional>
#include <stdexcept>

namespace vm880 {

bool ControllerAction::Unlock(int port)
{
    if (failed_)
        return false;
    if (!link_.Unlock(port)) {
        failed_ = true;
        return false;
    }
    unlocked_ = link_.Kind() == LinkKind::Tone;
    return true;
}

bool ControllerAction::Send(const LinkCommand& command)
{
    if (failed_)
        return false;
    if (!link_.Send(command)) {
        failed_ = true;
        return false;
    }
    ++acknowledged_;
    return true;
}

bool ControllerAction::Send(const std::vector<LinkCommand>& commands)
{
    for (const LinkCommand& command : commands)
        if (!Send(command))
            return false;
    return true;
}

bool ControllerAction::Lock()
{
    if (failed_)
        return false;
    unlocked_ = false;
    if (!link_.Lock()) {
        failed_ = true;
        return false;
    }
    return true;
}

namespace {

// Runs `step`, reporting a run-time failure through the common error report.
template <typename Step>
bool Guarded(Prompts& prompts, const ControllerActionOptions& options, const char* label, Step step)
{
    try {
        return step();
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, options.module, options.procedure, label, "");
    } catch (...) {
        ReportSystemError(prompts, std::runtime_error("unknown failure"), options.module,
                          options.procedure, label, "");
    }
    return false;
}

} // namespace

ControllerActionResult RunControllerAction(const ControllerActionContext& context,
                                           const ControllerActionOptions& options,
                                           const ControllerActionBody& body)
{
    ControllerActionResult result;
    BusyState::Hold hold = context.busy.TryHold(options.activity);
    if (!hold) {
        RefuseWhileBusy(context.busy, context.prompts);
        result.end = ActionEnd::Busy;
        return result;
    }
    ConfigModel& model = context.model;
    // A failure left over from an earlier exchange must not stop this one.
    model.transfer.UploadError = kFalse;
    model.transfer.PortOpenFailed = kFalse;

    ControllerLink* link = nullptr;
    bool opened = false;
    bool finished = false;
    std::optional<ControllerAction> action;
    // Each step answers whether it ran to its end without a run-time failure.
    bool error = !Guarded(context.prompts, options, "Open", [&] {
        link = &context.links.Current();
        result.kind = link->Kind();
        opened = link->Open(options.keyedSettleMs);
        return true;
    });
    if (opened && !error) {
        action.emplace(*link, model);
        error = !Guarded(context.prompts, options, "", [&] {
            finished = body(*action) && !action->Failed();
            return true;
        });
    }

    // The way out, after the body, a failure or a run-time error alike.
    bool locked = true;
    if (action && action->Unlocked() && options.lockAtEnd) {
        locked = false;
        error |= !Guarded(context.prompts, options, "Lock", [&] {
            locked = action->Lock();
            return true;
        });
    }
    if (link) {
        result.released = Guarded(context.prompts, options, "Release",
                                  [&] { return link->Release(); });
    }

    if (action)
        result.acknowledged = action->Acknowledged();
    if (error)
        result.end = ActionEnd::Error;
    else if (!opened)
        result.end = ActionEnd::NotOpened;
    else if (finished && locked)
        result.end = ActionEnd::Done;
    else
        result.end = ActionEnd::Failed;
    result.status = result.Done() ? kDone : kFailed;
    model.transfer.UploadError = kFalse;
    model.transfer.PortOpenFailed = kFalse;
    return result;
}

} // namespace vm880

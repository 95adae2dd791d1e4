#include "link/upload_engine.h"

#include "link/command_catalogue.h"
#include "link/controller_links.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "interfaces/clock.h"
#include "interfaces/serial_port.h"

#include <string>
#include <utility>
#include <vector>

namespace vm880 {

namespace {

constexpr const char* kModule = "Update";

// One run of the walk over the catalogue's steps.
class Walk {
public:
    Walk(const UploadContext& c, ControllerLink& link, bool complete, UploadProgress* progress)
        : c_(c), m_(c.model), link_(link), complete_(complete), progress_(progress),
          serial_(link.Kind() == LinkKind::Serial)
    {
    }

    // True when every step went through.
    bool Run()
    {
        for (const Step& step : UploadOrder(m_))
            if (!RunStep(step))
                return false;
        return true;
    }

    bool DVRTablesSkipped() const { return dvrSkipped_; }

private:
    bool Taken(const Step& step)
    {
        switch (step.group->scope) {
        case Scope::Always: return complete_ || IsChosen(*step.item, m_, step.ref);
        case Scope::CompleteOnly: return complete_;
        case Scope::CompleteWithDVRWrite: return complete_ && m_.DVRWrite != kFalse;
        }
        return false;
    }

    bool RunStep(const Step& step)
    {
        // Without DVR writing the DVR tables are no positions of the walk at all.
        if (step.group->scope == Scope::CompleteWithDVRWrite && m_.DVRWrite == kFalse)
            return true;
        if (Taken(step) && !SendItem(step))
            return false;
        // Over the serial cable unlock and lock are nothing.
        if (step.end == FrameEnd::Lock && unlocked_) {
            if (!link_.Lock())
                return false;
            unlocked_ = false;
        } else if (step.end == FrameEnd::ForgetUnlock) {
            unlocked_ = false;
        }
        if (progress_)
            for (int i = 0; i < step.progress; ++i)
                progress_->StepProgress();
        return true;
    }

    bool Send(const Item& item, const ItemRef& ref)
    {
        for (const LinkCommand& command : LinkCommandsOf(item, m_, ref, link_.Kind()))
            if (!link_.Send(command))
                return false;
        return true;
    }

    bool SendItem(const Step& step)
    {
        const Item& item = *step.item;
        if (item.access)
            return SendAccessCode(step);
        if (item.prepare)
            item.prepare(m_, step.ref);

        const bool skipped = IsSkipped(item, m_, step.ref);
        if (!serial_ && item.tone == ToneForm::None) {
            // No tone form exists: written to the keying port they would only time out.
            dvrSkipped_ = true;
            return true;
        }
        if (!skipped) {
            if (!unlocked_) {
                if (!link_.Unlock(step.ref.port))
                    return false;
                unlocked_ = true;
            }
            // A refused or unanswered line, or a tone that could not be played, loses the
            // command: stop, keeping its flag.
            if (!Send(item, step.ref))
                return false;
        }
        if (m_.transfer.UploadError != kFalse)
            return false;

        // A table under one flag lowers it once the whole table went out.
        const bool wholeTable = item.clearWhen == ClearWhen::AfterTable;
        if (wholeTable ? step.endsBlock : !skipped)
            ClearFlags(item, m_, step.ref);

        // The remote-base table is tested after every memory over the cable, sent or not.
        const bool interruptTest = step.group->interruptTest &&
                                   (wholeTable ? serial_ : !skipped);
        if (interruptTest && m_.transfer.UpdateInterrupted != kFalse)
            return false;

        if (!skipped && item.pauseMs > 0 && (serial_ || !item.pauseSerialOnly))
            c_.clock.SleepMs(item.pauseMs);
        return true;
    }

    // The terminator, an unlock code or the lock code of a complete upload: the new code
    // when there is one, else the current one. Over the radio link the item brings its own
    // unlock and lock, played with the codes in force before the change.
    bool SendAccessCode(const Step& step)
    {
        const Item& item = *step.item;
        if (!link_.Unlock(step.ref.port) || !Send(item, step.ref) || !link_.Lock())
            return false;
        if (m_.transfer.UploadError != kFalse)
            return false;
        ClearFlags(item, m_, step.ref);

        const AccessCode& code = *item.access;
        Text& current = code.current(m_, step.ref);
        Text& next = code.next(m_, step.ref);
        if (!next.empty()) {
            current = next;
            next.clear();
        }
        // Both keys, changed or not, so the file says what the controller now holds. A
        // failed write has been reported; the controller has the code all the same.
        c_.keys.WriteSetting(kAccessCodeSection, code.currentKey(step.ref), current,
                             m_.DatFilePath);
        c_.keys.WriteSetting(kAccessCodeSection, code.newKey(step.ref), next, m_.DatFilePath);
        return true;
    }

    const UploadContext& c_;
    ConfigModel& m_;
    ControllerLink& link_;
    const bool complete_;
    UploadProgress* progress_;
    const bool serial_;
    bool unlocked_ = false; // radio link: a port's unlock code was played and no lock since
    bool dvrSkipped_ = false;
};

// Clears a flag when it goes out of scope, whatever way that happens.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& flag_;
};

} // namespace

UploadEngine::UploadEngine(const UploadContext& context)
    : c_(context), links_(std::make_unique<ControllerLinkChooser>(context.model, context.serial, context.tone))
{
}

UploadEngine::~UploadEngine() = default;

int UploadEngine::SendUpdate(bool complete, UploadProgress* progress)
{
    if (running_)
        return kFailed;
    Busy busy(running_);
    ConfigModel& model = c_.model;
    int status = kFailed;
    dvrTablesSkipped_ = false;

    // Flags left over from an earlier exchange (a failed clock setting, an interrupt asked
    // for after the last item) must not stop this upload at its first item.
    model.transfer.PortOpenFailed = kFalse;
    model.transfer.UploadError = kFalse;
    model.transfer.UpdateInterrupted = kFalse;

    ControllerLink& link = links_->Current();
    bool opened = false;
    // A failure on the way out is reported unless a run-time error was reported already: the
    // same fault (a sound card gone) would only be told twice.
    bool reported = false;
    const auto report = [&](const std::exception& e, const char* step) {
        if (!std::exchange(reported, true))
            ReportSystemError(c_.prompts, e, kModule, "fSendUpdate", step, "");
    };
    try {
        opened = link.Open();
        if (opened && model.transfer.PortOpenFailed == kFalse) {
            Walk walk(c_, link, complete, progress);
            const bool done = walk.Run();
            dvrTablesSkipped_ = walk.DVRTablesSkipped();
            if (done)
                status = kDone;
        }
    } catch (const std::exception& e) {
        report(e, "");
    }

    // The way out, after the last group, a stop or a run-time error alike. Over the radio
    // link the lock is always played, so that no port is left unlocked; nothing plays when
    // keying failed.
    try {
        if (opened)
            link.Lock();
    } catch (const std::exception& e) {
        report(e, "Exit: Lock");
    }
    try {
        link.Release();
    } catch (const std::exception& e) {
        report(e, "Exit: Release");
    }
    portLost_ = link.PortLost();
    model.transfer.UploadError = kFalse;
    model.transfer.UpdateInterrupted = kFalse;
    return status;
}

void UploadEngine::ResetController(const char*& step)
{
    ConfigModel& model = c_.model;
    ControllerLink& link = links_->Current();
    step = "Controller Reset";
    // A port that did not open has been reported; there is nothing to send on.
    if (link.Open()) {
        try {
            SendReset(link, model);
        } catch (...) {
            link.Release();
            throw;
        }
    }
    model.transfer.UploadError = kFalse;
    step = "Port Close";
    // Closing drains what was written, so the reset reaches the controller.
    link.Release();
}

void UploadEngine::Cancel()
{
    links_->Current().Cancel();
}

bool SendReset(ControllerLink& link, const ConfigModel& model)
{
    // The controller restarts instead of answering, and hears no lock after it.
    std::vector<LinkCommand> commands = LinkCommandsOf(ResetCommand(), model, {}, link.Kind());
    if (!link.Unlock(1))
        return false;
    for (LinkCommand& command : commands) {
        command.awaitReply = false;
        if (!link.Send(command))
            return false;
    }
    return true;
}

} // namespace vm880

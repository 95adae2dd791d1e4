#include "link/upload_engine.h"

#include "link/command_catalogue.h"
#include "link/command_senders.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "interfaces/clock.h"
#include "interfaces/serial_port.h"

#include <optional>
#include <string>
#include <vector>

namespace vm880 {

namespace {

constexpr const char* kModule = "Update";

// One run of the walk over the catalogue's steps.
class Walk {
public:
    Walk(const UploadContext& c, bool complete, UploadProgress* progress)
        : c_(c), m_(c.model), complete_(complete), progress_(progress),
          serial_(c.model.ComPort != 0)
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
        if (!serial_) {
            if (step.end == FrameEnd::Lock && unlocked_) {
                if (!c_.tone.SendLock())
                    return false;
                unlocked_ = false;
            } else if (step.end == FrameEnd::ForgetUnlock) {
                unlocked_ = false;
            }
        }
        if (progress_)
            for (int i = 0; i < step.progress; ++i)
                progress_->StepProgress();
        return true;
    }

    static std::string PortDigit(const Step& step) { return std::to_string(step.ref.port); }

    bool SendItem(const Step& step)
    {
        const Item& item = *step.item;
        if (item.access)
            return SendAccessCode(step);
        if (item.prepare)
            item.prepare(m_, step.ref);

        const bool skipped = IsSkipped(item, m_, step.ref);
        if (serial_) {
            if (!skipped && !SendSerialLines(c_.serial, m_, SerialLines(item, m_, step.ref)))
                return false;
        } else if (item.tone == ToneForm::None) {
            // No tone form exists: written to the keying port they would only time out.
            dvrSkipped_ = true;
            return true;
        } else if (!skipped) {
            if (!unlocked_) {
                if (!c_.tone.SendUnlock(PortDigit(step)))
                    return false;
                unlocked_ = true;
            }
            // A tone that could not be played loses the command: stop, keeping its flag.
            if (!PlayItem(c_.tone, m_, item, step.ref))
                return false;
        }
        if (m_.UploadError != kFalse)
            return false;

        // A table under one flag lowers it once the whole table went out.
        const bool wholeTable = item.clearWhen == ClearWhen::AfterTable;
        if (wholeTable ? step.endsBlock : !skipped)
            ClearFlags(item, m_, step.ref);

        // The remote-base table is tested after every memory over the cable, sent or not.
        const bool interruptTest = step.group->interruptTest &&
                                   (wholeTable ? serial_ : !skipped);
        if (interruptTest && m_.UpdateInterrupted != kFalse)
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
        if (serial_) {
            if (!SendSerialLines(c_.serial, m_, SerialLines(item, m_, step.ref)))
                return false;
        } else if (!c_.tone.SendUnlock(PortDigit(step)) || !PlayItem(c_.tone, m_, item, step.ref) ||
                   !c_.tone.SendLock()) {
            return false;
        }
        if (m_.UploadError != kFalse)
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

int UploadEngine::SendUpdate(bool complete, UploadProgress* progress)
{
    if (running_)
        return kFailed;
    Busy busy(running_);
    ConfigModel& model = c_.model;
    const bool serial = model.ComPort != 0;
    int status = kFailed;
    dvrTablesSkipped_ = false;

    // Flags left over from an earlier exchange (a failed clock setting, an interrupt asked
    // for after the last item) must not stop this upload at its first item.
    model.PortOpenFailed = kFalse;
    model.UploadError = kFalse;
    model.UpdateInterrupted = kFalse;

    std::optional<KeyedTransmitter> key;
    try {
        if (serial) {
            if (!c_.serial.Port().IsOpen())
                c_.serial.OpenSerialPort();
        } else {
            key.emplace(c_.tone, model.TxTemp);
        }
        if (model.PortOpenFailed == kFalse) {
            Walk walk(c_, complete, progress);
            const bool done = walk.Run();
            dvrTablesSkipped_ = walk.DVRTablesSkipped();
            if (done)
                status = kDone;
        }
    } catch (const std::exception& e) {
        ReportSystemError(c_.prompts, e, kModule, "fSendUpdate", "", "");
    }

    // The way out, after the last group, a stop or a run-time error alike.
    try {
        if (!serial) {
            // Always, so that no port is left unlocked; nothing plays when keying failed.
            if (key && key->keyed())
                c_.tone.SendLock();
        }
    } catch (const std::exception& e) {
        // The port may be left unlocked: the operator must hear of it.
        ReportSystemError(c_.prompts, e, kModule, "fSendUpdate", "Lock", "");
    }
    try {
        if (key)
            key->Release();
        if (serial && c_.serial.Port().IsOpen())
            c_.serial.Port().Close();
    } catch (const std::exception& e) {
        ReportSystemError(c_.prompts, e, kModule, "fSendUpdate", "Release", "");
    }
    model.UploadError = kFalse;
    model.UpdateInterrupted = kFalse;
    return status;
}

void UploadEngine::ResetController(const char*& step)
{
    ConfigModel& model = c_.model;
    step = "Controller Reset";
    if (model.ComPort != 0) {
        SerialPort& port = c_.serial.Port();
        if (!port.IsOpen()) {
            c_.serial.OpenSerialPort();
            // The open failure has been shown; there is nothing to write to.
            if (model.PortOpenFailed != kFalse)
                return;
        }
        const std::vector<SerialLine> lines = SerialLines(ResetCommand(), model, {});
        // The controller restarts instead of answering.
        for (const SerialLine& line : lines)
            c_.serial.SendStr(line.text + "\r");
        model.UploadError = kFalse;
        step = "Port Close";
        // Closing drains what was written, so the reset reaches the controller.
        if (port.IsOpen())
            port.Close();
        return;
    }
    KeyedTransmitter key(c_.tone, model.TxTemp);
    if (!key.keyed())
        return;
    // No lock follows: the controller restarts.
    if (c_.tone.SendUnlock("1"))
        SendResetCommand(c_.tone, model);
    step = "Port Close";
    key.Release();
}

} // namespace vm880

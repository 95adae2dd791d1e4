#include "link/upload_session.h"

#include "model/config_model.h"
#include "model/error_report.h"
#include "interfaces/prompts.h"

#include <cmath>
#include <string>

namespace vm880 {

namespace {

constexpr const char* kModule = "Update";
constexpr const char* kCrLf = "\r\n";

void ShowUpdateError(Prompts& prompts)
{
    prompts.Message(style::OkOnly + style::Exclamation, upload_text::kErrorTitle,
                    UpdateErrorText());
}

} // namespace

const char* UpdateErrorText()
{
    return "An error occurred during the update.\r\n\r\n"
           "The controller was not fully updated or was not updated at all.\r\n\r\n"
           "Please save your file, after which you might want to try another update or you "
           "might want to download from the controller (if possible) to determine which "
           "updates were received.";
}

std::string CompleteUploadText(bool dvrTablesSkipped, std::optional<int> lostKeyingPort)
{
    std::string text;
    if (lostKeyingPort) {
        text = "Complete Upload Is Done, but the VM880 was NOT reset.";
        text += kCrLf;
        text += kCrLf;
        text += "Every setting was sent before COM" + std::to_string(*lostKeyingPort) +
                ", the port keying the transmitter, closed at the end of the upload. The "
                "transmitter was not keyed again, so the reset command was not sent.";
        text += kCrLf;
        text += kCrLf;
        text += "Reset the VM880 yourself: with Reset 880 on the toolbar over the serial cable, "
                "or, once the keying port works again, with Manual Data Send over the radio "
                "link: port 1's unlock code and the terminator, then *21999 and the terminator.";
    } else {
        text = "Complete Upload Is Done. The VM880 will now reset.";
        text += kCrLf;
        text += kCrLf;
        text += "PLEASE WAIT UNTIL THE RESET IS COMPLETE";
    }
    if (dvrTablesSkipped) {
        text += kCrLf;
        text += kCrLf;
        text += "The DVR track tables were not sent: they can only be written over the serial "
                "cable. Send the complete configuration over the serial cable to write them.";
    }
    return text;
}

int UploadStepTotal(const ConfigModel& model)
{
    return model.HasRTC == kTrue ? 1073 : 983;
}

int UploadPercent(int value, int total)
{
    if (total <= 0)
        return 0;
    // nearbyint rounds a half to the even neighbour in the default rounding mode.
    return static_cast<int>(std::nearbyint(value / (total / 100.0)));
}

UploadOutcome SendCompleteConfig(UploadEngine& engine, UploadProgress& progress)
{
    const UploadContext& c = engine.context();
    c.model.transfer.UpdateInterrupted = kFalse;
    if (c.prompts.Message(style::YesNo + style::Question, upload_text::kCompleteTitle,
                          upload_text::kCompleteQuestion) != Answer::Yes)
        return UploadOutcome::Declined;

    const char* step = "";
    try {
        if (engine.SendUpdate(true, &progress) != kDone) {
            ShowUpdateError(c.prompts);
            return UploadOutcome::Failed;
        }
        // A keying port that closed by itself keys nothing more: the operator resets.
        const bool reset = !engine.PortLost();
        const auto lostPort = reset ? std::nullopt : std::optional<int>(c.model.DTMFComPort);
        c.prompts.Message(style::OkOnly + (reset ? style::Information : style::Exclamation),
                          upload_text::kDoneTitle, CompleteUploadText(engine.DVRTablesSkipped(), lostPort));
        progress.ResetProgress();
        if (reset)
            engine.ResetController(step);
        return UploadOutcome::Done;
    } catch (const std::exception& e) {
        ReportSystemError(c.prompts, e, kModule, "Complete_Click", step, "");
        return UploadOutcome::Failed;
    }
}

UploadOutcome UpdateChangesOnly(UploadEngine& engine, UploadProgress& progress)
{
    const UploadContext& c = engine.context();
    c.model.transfer.UpdateInterrupted = kFalse;
    try {
        if (engine.SendUpdate(false, &progress) != kDone) {
            ShowUpdateError(c.prompts);
            return UploadOutcome::Failed;
        }
        c.prompts.Message(style::OkOnly + style::Information, upload_text::kSelectiveTitle,
                          upload_text::kSelectiveDone);
        return UploadOutcome::Done;
    } catch (const std::exception& e) {
        ReportSystemError(c.prompts, e, kModule, "Update_Click", "", "");
        return UploadOutcome::Failed;
    }
}

bool ConfirmInterrupt(ConfigModel& model, Prompts& prompts)
{
    if (prompts.Message(style::YesNo, upload_text::kInterruptTitle,
                        upload_text::kInterruptQuestion) != Answer::Yes)
        return false;
    prompts.Message(style::OkOnly, upload_text::kWaitTitle, upload_text::kWaitText);
    model.transfer.UpdateInterrupted = kTrue;
    return true;
}

} // namespace vm880

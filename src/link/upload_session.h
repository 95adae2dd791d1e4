#pragma once
// What the upload window's buttons do, apart from the window itself: the confirmations, the
// upload, its closing message and the controller reset after a complete upload. The window
// only shows the progress and keeps its buttons in step.

#include "link/upload_engine.h"

#include <optional>
#include <string>

namespace vm880 {

struct ConfigModel;
class Prompts;

namespace upload_text {
inline constexpr const char* kWindowCaption = "Send To VM880";
inline constexpr const char* kCompleteTitle = "Send Complete Configuration";
inline constexpr const char* kCompleteQuestion =
    "Are you sure you want to update your complete configuration? It could take some time";
inline constexpr const char* kErrorTitle = "Update Error";
inline constexpr const char* kDoneTitle = "Complete Upload";
inline constexpr const char* kSelectiveTitle = "Selective Update";
inline constexpr const char* kSelectiveDone = "Update Complete";
inline constexpr const char* kInterruptTitle = "Interrupt Update";
inline constexpr const char* kInterruptQuestion = "Are you sure you want to interrupt the update?";
inline constexpr const char* kWaitTitle = "Wait";
inline constexpr const char* kWaitText = "Please wait while I finish the current operation";
} // namespace upload_text

// The "Update Error" text, shown whenever an upload stopped early.
const char* UpdateErrorText();
// The closing message of a complete upload; it says so when the DVR tables were left out.
// With `lostKeyingPort` (the port keying the transmitter closed at the end of the upload)
// it says that the reset was not sent and how the operator can reset the controller.
std::string CompleteUploadText(bool dvrTablesSkipped, std::optional<int> lostKeyingPort = std::nullopt);

// Item positions the window's progress bar counts for a complete upload (its maximum is one
// more): 1073 with the clock option, else 983. The walk itself has a few more, so the bar
// is full shortly before the end.
int UploadStepTotal(const ConfigModel& model);
// The percentage shown for bar value `value`: value / (total / 100), to the nearest whole
// number, a half going to the even one; 0 while `total` is 0.
int UploadPercent(int value, int total);

enum class UploadOutcome {
    Declined, // the operator said No; nothing was sent
    Failed,   // stopped early; the "Update Error" box has been shown
    Done,
};

// "&Send Complete Config": asks for confirmation, sends everything and, when nothing stopped
// it, tells the operator and resets the controller; not when the keying port was lost at the
// end, which keys nothing more.
UploadOutcome SendCompleteConfig(UploadEngine& engine, UploadProgress& progress);

// "&Update Changes Only": sends the changed items and reports the result.
UploadOutcome UpdateChangesOnly(UploadEngine& engine, UploadProgress& progress);

// "&Interrupt Upload": after the operator confirmed, asks the running upload to stop after
// the item in progress. True when the operator confirmed.
bool ConfirmInterrupt(ConfigModel& model, Prompts& prompts);

} // namespace vm880

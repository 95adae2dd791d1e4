#pragma once
// "Erase All Macros": tells the controller to erase its long macros (1-40) and its short
// macros (41-90) with their port restrictions, and sets every port's receiver macros to 90,
// over the serial cable or the radio link. The model follows only what the controller
// acknowledged (serial) or what was played with the transmitter keyed (radio): afterwards
// the erased macros read "NONE STORED" with port restriction "All Ports", and their change
// flags (recall codes included) stand, so that the next upload of changes sends them again.

#include "link/controller_action.h"

#include <string>

namespace vm880 {

class Clock;

inline constexpr const char* kEraseQuestionTitle = "ERASING ALL MACROS and PORT RESTRICTIONS";
inline constexpr const char* kEraseRadioTitle = "ERASE ALL MACROS";
inline constexpr const char* kEraseSentTitle = "Erase All Macros";
inline constexpr const char* kEraseDoneTitle = "MACROS ERASED";
inline constexpr const char* kEraseFailureTitle = "MACRO ERASE FAILURE";
inline constexpr const char* kErasePartTitle = "MACROS PARTLY ERASED";
inline constexpr const char* kEraseDeclinedTitle = "MACROS NOT ERASED";

// The erase commands in sending order: the two erases, then the receiver-active and
// receiver-inactive macro of ports 1, 2 and 3.
inline constexpr int kEraseCommandCount = 8;
inline constexpr const char* kErasedReceiverMacro = "90";

struct EraseMacrosOutcome {
    bool declined = false;  // the operator answered No to one of the questions: nothing sent
    ControllerActionResult result{};
    // The first commands of the sending order that went through.
    int acknowledged() const { return result.acknowledged; }
    bool longErased() const { return !declined && acknowledged() >= 1; }
    bool shortErased() const { return !declined && acknowledged() >= 2; }
    bool AnythingErased() const { return longErased(); }
    bool Complete() const { return !declined && acknowledged() == kEraseCommandCount && result.Done(); }
};

// The whole button: asks the operator (and over the radio link whether the radio is ready),
// sends, records in the model what went through and tells the operator what was and was not
// done. A No to the first question ends it quietly; a refusal while another controller
// operation runs ends it with the busy refusal (result Busy). Never throws; a run-time
// failure is reported through the common error report and counts as a failure.
EraseMacrosOutcome EraseAllMacros(const ControllerActionContext& context, Clock& clock);

// Writes into the model what the outcome says was erased (see the file comment). Receiver
// macros the controller took become "90"; once anything was erased, every receiver macro is
// flagged for the next upload, so one the controller did not take is sent with its value.
void RecordErase(ConfigModel& model, const EraseMacrosOutcome& outcome);

// What the operator is told afterwards: title, text and message-box style.
struct EraseReport {
    std::string title;
    std::string text;
    int style = 0;
};
EraseReport EraseOutcomeReport(const EraseMacrosOutcome& outcome);

} // namespace vm880

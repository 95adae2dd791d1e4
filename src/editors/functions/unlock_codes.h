#pragma once
// The rules of the "Unlock, Lock, and Terminator" window, apart from its widgets. The window
// keeps the codes in force (current) apart from new ones typed by the operator, and commits
// new codes in one of three ways: sent to the controller now, saved in the settings file for
// the next complete upload, or recorded as already held by the controller. It is no tab
// editor: its boxes are checked as they are left and again by Send and Save.
//
// Boxes are numbered 1 to 3 for the ports' unlock codes, then the lock code and the
// terminator. A code is recorded as current only once the controller acknowledged it
// (serial cable) or its tones were played with the transmitter keyed (radio link).

#include "editors/editor_services.h"
#include "base/types.h"
#include "model/access_codes.h"

#include <functional>
#include <string>
#include <string_view>

namespace vm880 {

class ControllerAction;

inline constexpr int kLockBox = kLockCode;
inline constexpr int kTerminatorBox = kTerminatorCode;
inline constexpr int kCodeBoxes = kAccessCodeCount;

class UnlockCodes {
public:
    explicit UnlockCodes(EditorServices services);

    // Window load: the new codes from the model, nothing unapplied.
    void Load();
    void LoadTempValues();

    // A new-code box changed: its working value is the text trimmed and upper-cased.
    void Change(int box, std::string_view typed);
    // The working value of a new-code box (shown red when not empty).
    const Text& NewCode(int box) const;
    // The code in force in the model for a box.
    const Text& CurrentCode(int box) const;

    // The check run when a box is left: false when refused (the warning was shown and the
    // focus belongs back in the box). An empty box passes: the current code stays.
    bool Validate(int box);

    // The buttons. Send and Save return the box that should get the focus after a refusal,
    // 0 when nothing was refused.
    int Send();
    int Save();
    void Record();
    void Cancel();
    // True when the window may close.
    bool Close();

    // Sends the flagged codes on an opened link, in port order, then the lock code, then
    // the terminator, recording each one as current (model and settings file) once it went
    // through; stops at the first that did not. False when it stopped early.
    bool SendChangedCodes(ControllerAction& link);

    // -1 nothing unapplied; 1 an unlock code, 2 the lock code, 3 the terminator edited last.
    int iUnapplied() const { return iUnapplied_; }

    // The code that will be in force once the new one is taken: the typed new code when it
    // is valid and not empty, else the current one.
    Text Temp_Code(int box) const;

private:
    struct CodeSlot;
    CodeSlot slot(int box) const;
    bool refusedWhileBusy();
    AccessCodes takenCodes() const;
    bool holdsTerminator(int box);
    int takeNewCodes(bool send);
    void exchange();
    void writeCode(std::string_view key, const Text& value);
    bool sendCode(ControllerAction& link, int box);

    EditorServices s_;
    Text temp_[kCodeBoxes + 1]; // Temp_NewPortUnlock(1..3), Temp_NewLock, Temp_NewTerminator
    int iUnapplied_ = -1;
};

// The check of a new-code box, without any message: the warning text and title when the
// value is refused, nothing when it passes (an empty value passes).
struct CodeRefusal {
    std::string text;
    std::string title;
};
bool CheckNewCode(int box, std::string_view value, CodeRefusal* refusal = nullptr);

} // namespace vm880

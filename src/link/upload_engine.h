#pragma once
// The upload: walks the command catalogue in its fixed order and sends every item (a complete
// upload) or the items whose change flag is raised (an upload of changes), over the serial
// cable with each line awaited, or as DTMF tones over the radio link with each port's items
// between that port's unlock code and the lock code. A change flag is lowered as soon as its
// item went out without error. The operator is reached only through Prompts and the progress
// sink, so the walk runs the same under the upload window and in headless tests.

#include "link/controller_link.h"

#include <memory>

namespace vm880 {

struct ConfigModel;
class Clock;
class KeyAccess;
class Prompts;
class SerialLink;
class ToneLink;

// Told of every item position of the walk, sent or not.
class UploadProgress {
public:
    virtual ~UploadProgress() = default;
    virtual void StepProgress() = 0;
    // The upload has ended well and the display goes back to its start.
    virtual void ResetProgress() {}
};

// What an upload works with; all owned by the application.
struct UploadContext {
    ConfigModel& model;
    Prompts& prompts;
    KeyAccess& keys;   // the new access codes go to the settings file, section "Unlock"
    Clock& clock;
    SerialLink& serial; // ComPort 1..8
    ToneLink& tone;     // ComPort 0
};

class UploadEngine {
public:
    explicit UploadEngine(const UploadContext& context);
    ~UploadEngine();

    // Sends the configuration: every item when `complete`, else the changed ones. Returns
    // kDone when the walk reached its end, kFailed when it stopped early: a port did not
    // open, a reply was refused or missing, a tone could not be played, the operator
    // interrupted, or a run-time error occurred (each shown to the operator where it
    // happened). Starts with clean transfer state and leaves `UploadError` and
    // `UpdateInterrupted` lowered, the serial port closed and the transmitter released.
    // Refused while an upload runs.
    int SendUpdate(bool complete, UploadProgress* progress = nullptr);

    // After a complete upload that returned kDone: restarts the controller, "1*21999" over
    // the serial cable (no reply is awaited; the line reaches the wire before the port
    // closes), or port 1's unlock and "*21999" over the radio link. `step` names the step in
    // progress, for the report of a run-time error.
    void ResetController(const char*& step);

    // The operator closed the window or interrupted: over the radio link a keyed wait ends at
    // once and no further tone plays; the upload then stops and releases the transmitter.
    void Cancel();

    bool Running() const { return running_; }
    // The last complete upload went over the radio link with DVR writing on: the DVR track
    // tables have no tone form and were left out.
    bool DVRTablesSkipped() const { return dvrTablesSkipped_; }
    // The last upload lost its port (the keying port closed by itself): nothing more is sent
    // for it, not even the reset.
    bool PortLost() const { return portLost_; }

    const UploadContext& context() const { return c_; }

private:
    UploadContext c_;
    std::unique_ptr<ControllerLinks> links_; // over c_.serial and c_.tone
    bool running_ = false;
    bool dvrTablesSkipped_ = false;
    bool portLost_ = false;
};

// Sends the reset on an open link: "1*21999" written without a reply wait over the serial
// cable, port 1's unlock and "*21999" over the radio link (no lock: the controller restarts).
bool SendReset(ControllerLink& link, const ConfigModel& model);

} // namespace vm880

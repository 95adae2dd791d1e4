#pragma once
// The state of the exchange with the controller now in progress (an upload, a download, a
// manual send, an editor action), apart from the configuration it carries: what the last
// reply wait said, whether the port opened, the operator's interrupt and cancel, and the
// seconds counters of the waits. Kept by the model as `model.transfer`.

#include "base/types.h"

namespace vm880 {

struct TransferState {
    Flag UpdateInterrupted = kFalse; // the operator asked the upload to stop after this item
    Flag UploadError = kFalse;       // the last reply wait failed
    Text LastCommand;                // the command being waited for, as failure messages show it
    Flag PortOpenFailed = kFalse;    // the last opening of the port or keying failed
    Flag CancelDownload = kFalse;    // the operator cancelled the download
    int ZelMainDownloadTimer = 0;    // seconds counted by the main window's serial timer
    int SerialTimer2Ticks = 0;       // seconds counted by its second timer
};

} // namespace vm880

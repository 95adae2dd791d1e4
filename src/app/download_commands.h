#pragma once
// The VM880 menu's "Download from VM880" (also the toolbar's Download button) and "Import a
// Linux Download File": the questions that come first, the run below the GUI with the
// progress window, then the saved file loaded like any other.

#include "app/app_context.h"

namespace vm880 {

class ZelMain;

namespace download_command_text {
inline constexpr const char* kDTMFModeTitle = "Unable to download in DTMF Mode";
inline constexpr const char* kConfirmTitle = "Confirm Download";
inline constexpr const char* kDownloadUnsaved =
    "You have not saved your current .DAT file changes.\r\n\r\nAll changes will be lost unless you "
    "save the file.\r\n\r\nDo you want to save the current .DAT file before downloading from the "
    "controller?";
inline constexpr const char* kImportUnsaved =
    "You have not saved your current .DAT file changes.\r\n\r\nAll changes will be lost unless you "
    "save the file.\r\n\r\nDo you want to save the current .DAT file before opening a different "
    ".DAT file?";
} // namespace download_command_text

class DownloadCommands {
public:
    // Connects the commands to the window's menu items.
    DownloadCommands(ZelMain& window, AppContext context);

    void mnuVM880Download_Click();
    void mnuImportLinux_Click();

private:
    // Loads the file the run saved and shows it; the unlock-code window opens from here when
    // the downloaded lock code equals the terminator.
    void loadSaved();

    ZelMain& window_;
    AppContext context_;
};

} // namespace vm880

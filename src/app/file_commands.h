#pragma once
// The File menu (open, the recent files, save, save as, the error log) and the RTC and DVR
// menus, which change one option of the current settings file and load it again.

#include "app/app_context.h"

#include <string>

namespace vm880 {

class ZelMain;
struct FileLoadResult;
struct MainMenus;

class FileCommands {
public:
    // Connects the commands to the window's menus.
    FileCommands(ZelMain& window, AppContext context);

    void mnuFileOpen_Click();
    void mnuFilesList_Click(int item);
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuErrorLog_Click();
    void mnuRTCyes_Click() { changeRTC(true); }
    void mnuRTCno_Click() { changeRTC(false); }
    void mnuDVRWrite_Click() { changeDVR(true); }
    void mnuDVRNoWrite_Click() { changeDVR(false); }

    // Loads DatFilePath into fresh editors and shows it; true when the file was loaded.
    // After a failure the reader has told the operator why and no file is loaded; after an
    // unexpected failure of the reader the program ends.
    bool LoadDatFile(bool fromDownload = false);

    // Asks "UNSAVED CHANGES IN YOUR DAT FILE" when the file has unsaved changes; false when
    // the command must stop: cancelled, or "save first" did not save. `question` replaces the
    // file commands' own text.
    bool AskUnsavedChanges(const char* question = nullptr);

private:
    // Reads the chosen settings file afresh, before the file in use is let go, and refuses
    // one that cannot be loaded (`missing`, when given, is the text for no file there); the
    // load that follows uses what was read here.
    bool readable(const std::string& path, const char* missing = nullptr);
    void changeRTC(bool hasRTC);
    void changeDVR(bool write);
    void showOptionTicks();
    bool fileLoaded() const;
    std::string fOpenFileDialog(const std::string& filter, const std::string& title);
    std::string fSaveDatFileDialog();

    ZelMain& window_;
    AppContext context_;
};

// The ticks of the RTC and DVR menus after a successful load, as the file says (the main
// window enables both menus when it shows the loaded file).
void ShowFileOptions(const MainMenus& menus, const FileLoadResult& result);

} // namespace vm880

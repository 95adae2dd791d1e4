#pragma once
// The menu bar and the toolbar of the main window. Every item is a QAction named after its
// control ("mnuFileOpen", "mnuCom(3)", ...); the commands are connected by whoever owns them.

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace vm880 {

struct MainMenus {
    // File
    QMenu* file = nullptr;
    QAction* fileOpen = nullptr;
    QAction* fileSave = nullptr;
    QAction* fileSaveAs = nullptr;
    QAction* errorLog = nullptr;
    QAction* fileExit = nullptr;
    QAction* filesListSeparator = nullptr;  // mnuFilesList(0), shown with the first recent file
    std::array<QAction*, 4> filesList{};    // mnuFilesList(1..4), hidden while unused

    // Configure: serial cable or radio link
    QMenu* config = nullptr;
    QAction* serialDelay = nullptr;
    std::array<QAction*, 8> com{};          // mnuCom(1..8)
    QAction* dtmfDelay = nullptr;
    QAction* txDelay = nullptr;
    std::array<QAction*, 8> dtmfCom{};      // mnuDTMFCom(1..8)
    QAction* useRTS = nullptr;
    QAction* useDTR = nullptr;

    // Commands on the menu bar itself
    QAction* testPad = nullptr;
    QAction* manualData = nullptr;

    // VM880
    QMenu* vm880 = nullptr;
    QAction* upload = nullptr;
    QAction* download = nullptr;
    QAction* importLinux = nullptr;

    // Options of the loaded file
    QMenu* rtc = nullptr;
    QAction* rtcYes = nullptr;
    QAction* rtcNo = nullptr;
    QMenu* dvr = nullptr;
    QAction* dvrWrite = nullptr;
    QAction* dvrNoWrite = nullptr;

    // Help
    QAction* about = nullptr;
    QAction* company = nullptr;

    // Toolbar1: Open and Save, Download and Upload run the menu commands; Reset and Set
    // Clock act on the controller at once.
    QToolBar* toolbar = nullptr;
    QAction* toolOpen = nullptr;
    QAction* toolSave = nullptr;
    QAction* toolDownload = nullptr;
    QAction* toolUpload = nullptr;
    QAction* toolReset = nullptr;
    QAction* toolSetClock = nullptr;
};

MainMenus BuildMenus(QMainWindow& window);

} // namespace vm880

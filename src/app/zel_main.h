#pragma once
// The main window: menus, toolbar, the tab strip with the editor pages, the program
// settings in zel.ini, the seconds timers and the exit paths. The file, link, transfer and
// tool commands connect to its actions through SetCommand.

#include "app/app_context.h"
#include "app/main_menus.h"
#include "app/recent_files.h"
#include "interfaces/prompts.h"
#include "link/busy_state.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

class QTimer;
class QToolBar;

namespace vm880 {

class DownloadCommands;
class EditorTabs;
class FileCommands;
class LinkMenus;
struct WindowPlacement;

class ZelMain : public QMainWindow {
    Q_OBJECT
public:
    explicit ZelMain(AppContext context, QWidget* parent = nullptr);
    ~ZelMain() override;

    // The start-up routine run before the window is first shown: tables and version texts,
    // recent files, placement and link settings from zel.ini, an empty model, the tab strip
    // and the RTC and DVR menus off.
    void Load();

    // The unapplied-changes guard: 0 when the command may go on, 8 when refused.
    int CheckUnappliedChanges();

    // Runs `command` when the action is chosen; commands that leave the editor in front
    // (open, save, recent files, upload, download, import, manual send) ask the guard first.
    void SetCommand(QAction* action, std::function<void()> command);
    // The same for the recent-file items; the argument is the item number (1..4).
    void SetRecentFileCommand(std::function<void(int item)> command);
    // Opens the unlock-code window after a load whose lock code equals its terminator.
    void SetUnlockWindow(std::function<void()> open) { openUnlockWindow_ = std::move(open); }

    // Editors of the loaded file.
    void fShowForms();
    void fUnloadForms();
    // After each successful load: editors, saving and the RTC and DVR menus on, caption,
    // strip on, first tab, the unlock-code window when the file needs it, Timers in front.
    void ShowLoadedFile();

    // The program's title and version, then the loaded file (none when no file is loaded).
    std::string fGetCaption() const;
    // Puts fGetCaption() on the window.
    void ShowCaption();
    void fUpdateFilesList(const std::string& path);
    const RecentFiles& recentFiles() const { return recent_; }

    // The Exit command; the window's close request runs the same checks.
    void mnuFileExit_Click();

    const MainMenus& menus() const { return menus_; }
    EditorTabs& tabs() const { return *tabs_; }
    FileCommands& fileCommands() const { return *fileCommands_; }
    LinkMenus& linkMenus() const { return *linkMenus_; }
    QTimer* SerialTimer() const { return serialTimer_; }
    QTimer* SerialTimer2() const { return serialTimer2_; }
    // The last "DTMFDelay" and "TxTemp" texts: defaults of the delay input boxes.
    std::string& dtmfDelayText() { return dtmfDelayText_; }
    std::string& txTempText() { return txTempText_; }
    std::string ZelIni() const;
    bool ended() const { return ended_; }

signals:
    // The program has ended: zel.ini is written and the window is closing.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void runCommand(QAction* action);
    void restorePlacement(const WindowPlacement& placement);
    void showLinkTicks();
    void syncRecentMenu();
    bool confirmExit(bool closing);
    void endProgram();
    void showModal(QDialog& dialog);
    void enableFileActions(bool on);
    // The unlock-code window, modal: after a load whose lock code equals its terminator.
    void showUnlockWindow();
    // Disables every command that uses the port, the transmitter or the model while a
    // controller operation runs, and gives them back afterwards.
    void showBusy(bool busy);
    // Tells the operator and answers true while a controller operation runs.
    bool refusedWhileBusy();

    BusyState ownBusy_; // when the context brings none
    AppContext context_;
    int busyListener_ = 0;
    MainMenus menus_;
    EditorTabs* tabs_ = nullptr;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<LinkMenus> linkMenus_;
    std::unique_ptr<DownloadCommands> downloadCommands_;
    QToolBar* tabToolbar_ = nullptr;
    QTimer* serialTimer_ = nullptr;
    QTimer* serialTimer2_ = nullptr;
    RecentFiles recent_;
    std::map<QAction*, std::function<void()>> commands_;
    std::set<QAction*> guarded_;
    std::function<void(int)> recentCommand_;
    std::function<void()> openUnlockWindow_;
    std::string dtmfDelayText_;
    std::string txTempText_;
    Answer lastAnswer_ = Answer::Ok; // the last answer of the Yes/No/Cancel questions
    bool ended_ = false;
};

} // namespace vm880

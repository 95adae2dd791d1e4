#include "app/zel_main.h"

#include "app/area_table.h"
#include "app/controller_commands.h"
#include "app/editor_tabs.h"
#include "app/file_commands.h"
#include "app/info_windows.h"
#include "app/link_menus.h"
#include "app/manual_send.h"
#include "app/program_settings.h"
#include "app/startup.h"
#include "app/tt_pad.h"
#include "app/download_commands.h"
#include "app/update_window.h"
#include "editors/editor_base.h"
#include "editors/functions/special_codes_editor.h"
#include "editors/functions/unlock_window.h"
#include "editors/setting_text.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "base/value_checks.h"
#include "interfaces/serial_port.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <filesystem>

namespace vm880 {

namespace {

constexpr const char* kModule = "ZelMain";
constexpr const char* kCaptionStart = "Kelvo Zel Programmer  ";
constexpr const char* kExitTitle = "Save Database";
constexpr const char* kExitQuestion =
    "You have not saved your new settings. All changes will be lost unless you do. Do you want "
    "to save the database file before exiting?";
constexpr int kDefaultWidth = 1100;
constexpr int kDefaultHeight = 720;

// zel.ini keeps window placements in twips, 1440 to the inch.
double twipsPerPixel()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

} // namespace

ZelMain::ZelMain(AppContext context, QWidget* parent) : QMainWindow(parent), context_(std::move(context))
{
    setObjectName(QStringLiteral("ZelMain"));
    if (!context_.busy)
        context_.busy = &ownBusy_;
    buildWindow();
    fileCommands_ = std::make_unique<FileCommands>(*this, context_);
    linkMenus_ = std::make_unique<LinkMenus>(*this, context_);
    openUnlockWindow_ = [this] { showUnlockWindow(); };
    busyListener_ = context_.busy->Subscribe([this](bool busy) { showBusy(busy); });
    downloadCommands_ = std::make_unique<DownloadCommands>(*this, context_);
}

ZelMain::~ZelMain()
{
    context_.busy->Unsubscribe(busyListener_);
}

std::string ZelMain::ZelIni() const
{
    return ZelIniPath(context_.programFolder);
}

void ZelMain::buildWindow()
{
    menus_ = BuildMenus(*this);
    tabs_ = new EditorTabs(EditorServicesOf(context_), this);
    addToolBarBreak();
    tabToolbar_ = addToolBar(tr("Areas"));
    tabToolbar_->setObjectName(QStringLiteral("Toolbar2"));
    tabToolbar_->setMovable(false);
    tabToolbar_->addWidget(tabs_->tabBar());
    setCentralWidget(tabs_->pages());
    resize(kDefaultWidth, kDefaultHeight);

    // Seconds counters for the waits on the controller; off until waiting code starts them.
    serialTimer_ = new QTimer(this);
    serialTimer_->setObjectName(QStringLiteral("ZelMainSerialTimer"));
    serialTimer_->setInterval(1000);
    connect(serialTimer_, &QTimer::timeout, this, [this] { ++context_.model.transfer.ZelMainDownloadTimer; });
    serialTimer2_ = new QTimer(this);
    serialTimer2_->setObjectName(QStringLiteral("ZelMainSerialTimer2"));
    serialTimer2_->setInterval(1000);
    connect(serialTimer2_, &QTimer::timeout, this, [this] { ++context_.model.transfer.SerialTimer2Ticks; });

    guarded_ = {menus_.fileOpen, menus_.fileSave, menus_.fileSaveAs, menus_.upload,
                menus_.manualData, menus_.download, menus_.importLinux};
    for (int i = 1; i <= RecentFiles::kMax; ++i) {
        connect(menus_.filesList[static_cast<std::size_t>(i - 1)], &QAction::triggered, this, [this, i] {
            if (recentCommand_ && !refusedWhileBusy() && CheckUnappliedChanges() == kValid)
                recentCommand_(i);
        });
    }
    connect(menus_.fileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    connect(menus_.about, &QAction::triggered, this, [this] {
        AboutWindow about(this);
        showModal(about);
    });
    connect(menus_.company, &QAction::triggered, this, [this] {
        CompanyWindow company(this);
        showModal(company);
    });
    SetCommand(menus_.testPad, [this] { ShowTTPad(context_, this); });
    SetCommand(menus_.manualData, [this] { ShowManualSendData(context_, this); });
    SetCommand(menus_.upload, [this] { mnuVM880Upload_Click(context_, this); });
    auto atOnce = [this](const char* procedure, void (*command)(const AppContext&)) {
        return [this, procedure, command] {
            try {
                command(context_);
            } catch (const std::exception& e) {
                ReportSystemError(context_.prompts, e, kModule, procedure, "", "");
            }
        };
    };
    SetCommand(menus_.toolReset, atOnce("Toolbar1_ButtonClick", ResetController_Click));
    SetCommand(menus_.toolSetClock, atOnce("mnuSetClock_Click", mnuSetClock_Click));
}

void ZelMain::showModal(QDialog& dialog)
{
    RunModal(context_, dialog);
}

// ---- Start-up

void ZelMain::Load()
{
    ConfigModel& model = context_.model;
    try {
        InitializeProgram(model);
        menus_.filesListSeparator->setVisible(false);
        // Told once, here: a zel.ini that cannot be used would otherwise fail every write.
        if (const std::string note = SetAsideUnusableZelIni(context_.keys, ZelIni()); !note.empty())
            context_.prompts.Message(style::OkOnly + style::Exclamation, kProgramSettingsTitle, note);
        const ProgramSettings settings = ReadProgramSettings(context_.keys, ZelIni());
        if (const std::string note = ReplacedValuesNotice(settings, ZelIni()); !note.empty()) {
            context_.prompts.Message(style::OkOnly + style::Exclamation, kProgramSettingsTitle, note);
            try {
                WriteReplacedValues(context_.keys, ZelIni(), settings);
            } catch (const std::exception& e) {
                ReportSystemError(context_.prompts, e, kModule, "MDIForm_Load", "", ZelIni());
            }
        }
        // Oldest first, so that entry 1 ends on top; files gone since are dropped.
        for (int i = RecentFiles::kMax; i >= 1; --i) {
            const Text& path = settings.lastFiles[static_cast<std::size_t>(i - 1)];
            if (!path.empty() && fileExists(path))
                fUpdateFilesList(path);
        }
        ShowCaption();
        // A missing or damaged key (no zel.ini at all on a first run) reads as its default.
        restorePlacement(settings.window);
        dtmfDelayText_ = settings.dtmfDelayText;
        txTempText_ = settings.txTempText;
        ApplyLinkSettings(settings, model);
        showLinkTicks();
    } catch (const std::exception& e) {
        ReportSystemError(context_.prompts, e, kModule, "MDIForm_Load", "", "");
    }
    // Whatever happened above, start with no file: every pending state -1, nothing to edit.
    model.ClearAllData();
    tabs_->tabBar()->setEnabled(false);
    enableFileActions(false);
}

void ZelMain::restorePlacement(const WindowPlacement& placement)
{
    const double perPixel = twipsPerPixel();
    auto pixels = [perPixel](double twips) { return static_cast<int>(std::lround(twips / perPixel)); };

    const QSize size(placement.width ? std::max(1, pixels(*placement.width)) : kDefaultWidth,
                     placement.height ? std::max(1, pixels(*placement.height)) : kDefaultHeight);
    resize(size);
    if (placement.left && placement.top) {
        const QPoint position(pixels(*placement.left), pixels(*placement.top));
        // A place on a screen that is no longer there would hide the window.
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->availableGeometry().intersects(QRect(position, size))) {
                move(position);
                break;
            }
        }
    }
    switch (placement.state.value_or(0)) {
    case 1: setWindowState(Qt::WindowMinimized); break;
    case 2: setWindowState(Qt::WindowMaximized); break;
    default: setWindowState(Qt::WindowNoState); break;
    }
}

void ZelMain::showLinkTicks()
{
    const ConfigModel& model = context_.model;
    for (int i = 1; i <= 8; ++i) {
        menus_.com[static_cast<std::size_t>(i - 1)]->setChecked(model.ComPort == i);
        menus_.dtmfCom[static_cast<std::size_t>(i - 1)]->setChecked(model.DTMFComPort == i);
    }
}

// ---- Caption and recent files

std::string ZelMain::fGetCaption() const
{
    const ConfigModel& model = context_.model;
    // A file whose load failed, or that a failed download cleared, is not named.
    const Text path = model.DatFileLoaded != kFalse ? model.DatFilePath : Text();
    const Text shown = path.size() > 40 ? FileNameFromPath(path) : path;
    return kCaptionStart + model.ZelVersion + "  " + shown;
}

void ZelMain::ShowCaption()
{
    setWindowTitle(FromSetting(fGetCaption()));
}

void ZelMain::fUpdateFilesList(const std::string& path)
{
    recent_.Update(path);
    syncRecentMenu();
}

void ZelMain::syncRecentMenu()
{
    for (int i = 1; i <= RecentFiles::kMax; ++i) {
        QAction* action = menus_.filesList[static_cast<std::size_t>(i - 1)];
        action->setText(FromSetting(recent_.Item(i)).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setVisible(i <= recent_.count());
    }
    menus_.filesListSeparator->setVisible(recent_.count() > 0);
}

// ---- Commands and the guard

void ZelMain::SetCommand(QAction* action, std::function<void()> command)
{
    if (!commands_.count(action))
        connect(action, &QAction::triggered, this, [this, action] { runCommand(action); });
    commands_[action] = std::move(command);
}

void ZelMain::SetRecentFileCommand(std::function<void(int)> command)
{
    recentCommand_ = std::move(command);
}

void ZelMain::runCommand(QAction* action)
{
    auto found = commands_.find(action);
    if (found == commands_.end() || !found->second)
        return;
    // Only the error log touches neither the port, the transmitter nor the model.
    if (action != menus_.errorLog && refusedWhileBusy())
        return;
    if (guarded_.count(action) && CheckUnappliedChanges() != kValid)
        return;
    found->second();
}

bool ZelMain::refusedWhileBusy()
{
    return RefuseWhileBusy(*context_.busy, context_.prompts);
}

void ZelMain::showBusy(bool busy)
{
    for (QMenu* menu : {menus_.file, menus_.config, menus_.vm880})
        menu->menuAction()->setEnabled(!busy);
    menus_.testPad->setEnabled(!busy);
    menus_.manualData->setEnabled(!busy);
    menus_.toolbar->setEnabled(!busy);
    tabToolbar_->setEnabled(!busy);
    if (busy) {
        menus_.rtc->menuAction()->setEnabled(false);
        menus_.dvr->menuAction()->setEnabled(false);
    } else {
        enableFileActions(context_.model.DatFileLoaded != kFalse);
    }
}

int ZelMain::CheckUnappliedChanges()
{
    return tabs_->CheckUnappliedChanges();
}

// ---- Editors of the loaded file

void ZelMain::fShowForms()
{
    tabs_->ShowForms();
    // The Special Codes editor's button opens the same unlock window as a load does.
    if (auto* codes = dynamic_cast<SpecialCodesEditor*>(tabs_->Editor(kSpecialCodesArea)))
        codes->SetUnlockWindow([this] {
            if (openUnlockWindow_)
                openUnlockWindow_();
        });
}

void ZelMain::fUnloadForms()
{
    tabs_->UnloadForms();
    // No file now: nothing to save or to reload until a load succeeds.
    enableFileActions(false);
}

// Saving and the file's options need a loaded file: an empty or half-read model must never
// overwrite one.
void ZelMain::enableFileActions(bool on)
{
    // While a controller operation runs they stay off; its end enables them again.
    on = on && !context_.busy->Busy();
    for (QAction* action : {menus_.fileSave, menus_.fileSaveAs, menus_.toolSave, menus_.rtc->menuAction(),
                            menus_.dvr->menuAction()})
        action->setEnabled(on);
}

void ZelMain::ShowLoadedFile()
{
    fShowForms();
    enableFileActions(context_.model.DatFileLoaded != kFalse);
    ShowCaption();
    tabs_->ShowFirstTab();
    ConfigModel& model = context_.model;
    if (model.LockEqualsTerminator != kFalse) {
        // The unlock-code window, modal, before anything else is edited.
        if (openUnlockWindow_)
            openUnlockWindow_();
        model.LockEqualsTerminator = kFalse;
    }
    tabs_->BringForward(kTimersArea);
}

void ZelMain::showUnlockWindow()
{
    UnlockWindow window(tabs_->services(), this);
    showModal(window);
}

// ---- Exit paths

bool ZelMain::confirmExit(bool closing)
{
    if (CheckUnappliedChanges() != kValid)
        return false;
    ConfigModel& model = context_.model;
    if (model.DatFileSaved != kFalse)
        return true;
    lastAnswer_ = context_.prompts.Message(style::YesNoCancel + style::Exclamation, kExitTitle, kExitQuestion);
    if (lastAnswer_ == Answer::Cancel)
        return false;
    if (lastAnswer_ == Answer::Yes) {
        menus_.fileSaveAs->trigger();
        // Closing the window after "save first" leaves it open to be closed again; the Exit
        // command goes on only when the file was really saved.
        if (closing)
            return false;
        return model.DatFileSaved != kFalse;
    }
    return true;
}

void ZelMain::endProgram()
{
    if (context_.serial && context_.serial->IsOpen())
        context_.serial->Close();

    const double perPixel = twipsPerPixel();
    QRect placed(pos(), size());
    if ((isMaximized() || isMinimized()) && normalGeometry().isValid())
        placed = normalGeometry(); // the size to come back to
    ExitSettings settings;
    settings.width = placed.width() * perPixel;
    settings.height = placed.height() * perPixel;
    settings.top = placed.top() * perPixel;
    settings.left = placed.left() * perPixel;
    settings.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    for (int i = 1; i <= RecentFiles::kMax; ++i)
        settings.lastFiles[static_cast<std::size_t>(i - 1)] = recent_.Item(i);
    try {
        WriteExitSettings(context_.keys, ZelIni(), settings);
    } catch (const std::exception& e) {
        ReportSystemError(context_.prompts, e, kModule, "mnuFileExit_Click", "", ZelIni());
    }
    ended_ = true;
    emit programEnded();
}

void ZelMain::mnuFileExit_Click()
{
    if (refusedWhileBusy() || !confirmExit(false))
        return;
    endProgram();
    close();
}

void ZelMain::closeEvent(QCloseEvent* event)
{
    if (ended_) {
        event->accept();
        return;
    }
    // The port and the transmitter must be let go by the operation that holds them first.
    if (refusedWhileBusy() || !confirmExit(true)) {
        event->ignore();
        return;
    }
    endProgram();
    event->accept();
}

} // namespace vm880

#include "app/file_commands.h"

#include "app/main_menus.h"
#include "app/zel_main.h"
#include "base/file_kind.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_dialogs.h"
#include "interfaces/file_viewer.h"
#include "interfaces/prompts.h"

#include <QAction>
#include <QMenu>

namespace vm880 {

namespace {

constexpr const char* kModule = "ZelMain";
constexpr const char* kOpenFilter = "VM880 Database Files (*.dat)|*.dat|All files (*.*)|*.*";
constexpr const char* kOpenTitle = "Open Controller Database File";
constexpr const char* kSaveFilter = "VM880 Database Files (*.dat) | *.dat";
constexpr const char* kSaveTitle = "Save Controller Database File";
constexpr const char* kOpenErrorTitle = "File Open Error";
constexpr const char* kUnsavedTitle = "UNSAVED CHANGES IN YOUR DAT FILE";
constexpr const char* kUnsavedText =
    "You have not saved your current .DAT file changes.\r\nAll changes will be lost unless you "
    "save the file.\r\n\r\nDo you want to save the current .DAT file before opening a different "
    ".DAT file?";
constexpr const char* kRTCTitle = "Change RTC Status";
constexpr const char* kErrorLogTitle = "View Error Log";

// Where no viewer was given, the report cannot be shown; the reader then says so.
class NoViewer : public FileViewer {
public:
    bool Open(const std::string&) override { return false; }
};

std::string rtcQuestion(bool toRTC)
{
    const std::string from = toRTC ? "RTC-NO (the controller does NOT have an RTC)"
                                   : "RTC-YES (the controller HAS an RTC)";
    const std::string to = toRTC ? "RTC-YES (the controller HAS an RTC)"
                                 : "RTC-NO (the controller does NOT have an RTC)";
    return "You are changing this file from " + from + " to " + to + "."
        + (toRTC ? "  This will provide access" : "  This will block access")
        + " to message macros 41-70, remote base memories 11-40, and DTMF 21-50\r\n\r\n"
          "Please confirm this change\r\n\r\n"
          "OK to confirm that you want to make the change\r\n"
          "CANCEL to cancel the change and leave the file as "
        + (toRTC ? "RTC-NO" : "RTC-YES");
}

// A checkable item has already changed its tick when its command runs; the command sets the
// ticks itself, also when it refuses.
void undoToggle(QAction* action)
{
    action->setChecked(!action->isChecked());
}

} // namespace

void ShowFileOptions(const MainMenus& menus, const FileLoadResult& result)
{
    if (result.outcome != FileLoadResult::Loaded)
        return;
    menus.rtcYes->setChecked(result.rtcYes);
    menus.rtcNo->setChecked(result.rtcNo);
    menus.dvrWrite->setChecked(result.dvrWrite);
    menus.dvrNoWrite->setChecked(result.dvrNoWrite);
}

FileCommands::FileCommands(ZelMain& window, AppContext context) : window_(window), context_(std::move(context))
{
    const MainMenus& m = window_.menus();
    window_.SetCommand(m.fileOpen, [this] { mnuFileOpen_Click(); });
    window_.SetCommand(m.fileSave, [this] { mnuFileSave_Click(); });
    window_.SetCommand(m.fileSaveAs, [this] { mnuFileSaveAs_Click(); });
    window_.SetCommand(m.errorLog, [this] { mnuErrorLog_Click(); });
    window_.SetRecentFileCommand([this](int item) { mnuFilesList_Click(item); });
    window_.SetCommand(m.rtcYes, [this, a = m.rtcYes] {
        undoToggle(a);
        mnuRTCyes_Click();
    });
    window_.SetCommand(m.rtcNo, [this, a = m.rtcNo] {
        undoToggle(a);
        mnuRTCno_Click();
    });
    window_.SetCommand(m.dvrWrite, [this, a = m.dvrWrite] {
        undoToggle(a);
        mnuDVRWrite_Click();
    });
    window_.SetCommand(m.dvrNoWrite, [this, a = m.dvrNoWrite] {
        undoToggle(a);
        mnuDVRNoWrite_Click();
    });
}

bool FileCommands::fileLoaded() const
{
    return context_.model.DatFileLoaded != kFalse && !context_.model.DatFilePath.empty();
}

std::string FileCommands::fOpenFileDialog(const std::string& filter, const std::string& title)
{
    return context_.dialogs ? context_.dialogs->OpenFile(filter, title) : std::string();
}

std::string FileCommands::fSaveDatFileDialog()
{
    return context_.dialogs ? context_.dialogs->SaveFile(kSaveFilter, kSaveTitle, context_.model.DatFilePath)
                            : std::string();
}

// ---- Loading

bool FileCommands::readable(const std::string& path, const char* missing)
{
    std::string problem;
    const FileStatus status = context_.keys.Reload(path, problem);
    if (status == FileStatus::Ok)
        return true;
    if (status == FileStatus::Missing) {
        std::string text = "The file does not exist\r\n\r\n" + path;
        if (missing)
            text = missing;
        context_.prompts.Beep();
        context_.prompts.Message(style::OkOnly + style::Exclamation, kOpenErrorTitle, text);
    } else {
        TellUnusableSettingsFile(context_.prompts, status, problem);
    }
    return false;
}

bool FileCommands::LoadDatFile(bool fromDownload)
{
    ConfigModel& model = context_.model;
    model.LoadFromDownload = fromDownload ? kTrue : kFalse;
    window_.fUnloadForms();
    NoViewer noViewer;
    FileLoadServices services{model, context_.keys, context_.prompts,
                              context_.viewer ? *context_.viewer : noViewer, context_.programFolder, {}};
    const FileLoadResult result = FileLoad(services);
    ShowFileOptions(window_.menus(), result);
    if (result.outcome == FileLoadResult::Fatal) {
        // The report told the operator that the program ends; nothing is left to save.
        window_.close();
        return false;
    }
    if (result.outcome != FileLoadResult::Loaded || model.DatFileLoaded == kFalse) {
        window_.ShowCaption();
        return false;
    }
    window_.ShowLoadedFile();
    return true;
}

bool FileCommands::AskUnsavedChanges(const char* question)
{
    ConfigModel& model = context_.model;
    if (model.DatFileSaved != kFalse)
        return true;
    const Answer answer = context_.prompts.Message(style::YesNoCancel + style::Exclamation, kUnsavedTitle,
                                                  question ? question : kUnsavedText);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes) {
        mnuFileSaveAs_Click();
        // The operator wanted the changes kept: without a saved file they stay where they are.
        return model.DatFileSaved != kFalse;
    }
    return true;
}

// ---- File menu

void FileCommands::mnuFileOpen_Click()
{
    ConfigModel& model = context_.model;
    Prompts& prompts = context_.prompts;
    std::string location;
    try {
        if (!AskUnsavedChanges())
            return;
        location = "get VMFILE NAME";
        const std::string path = fOpenFileDialog(kOpenFilter, kOpenTitle);
        if (path.empty()) {
            prompts.Beep();
            return;
        }
        location = "check that file exists";
        if (!readable(path))
            return;
        model.DatFilePath = path;
        location = "call fUpdateFilesList";
        window_.fUpdateFilesList(path);
        location = "set up for newly opened file";
        LoadDatFile();
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, kModule, "mnuFileOpen_Click", location, model.DatFilePath);
        // Whatever was shown of the file is not to be trusted or saved.
        window_.fUnloadForms();
        model.DatFileLoaded = kFalse;
    }
}

void FileCommands::mnuFilesList_Click(int item)
{
    ConfigModel& model = context_.model;
    // Taken first: saving under a new name puts that name on top and moves the others down.
    const std::string path = window_.recentFiles().Item(item);
    if (path.empty() || !AskUnsavedChanges())
        return;
    if (!readable(path, "The file does not exist on this computer"))
        return;
    model.DatFilePath = path;
    window_.fUpdateFilesList(path);
    LoadDatFile();
}

void FileCommands::mnuFileSave_Click()
{
    // An empty or half-read model must never overwrite the operator's file.
    if (!fileLoaded())
        return;
    FileWrite(context_.model, context_.keys, context_.prompts);
}

void FileCommands::mnuFileSaveAs_Click()
{
    ConfigModel& model = context_.model;
    Prompts& prompts = context_.prompts;
    if (!fileLoaded())
        return;
    const std::string path = fSaveDatFileDialog();
    if (path.empty()) {
        prompts.Message(style::OkOnly + style::Exclamation, "Save As Cancelled",
                        "A SaveAs file was not selected\r\n\r\nThe data was NOT saved");
        return;
    }
    const InputFile target(path);
    if (!target.IsOpen() && !target.Missing()) {
        prompts.Message(style::OkOnly + style::Exclamation, "Save As Cancelled",
                        target.Refusal() + "\r\n\r\nThe data was NOT saved");
        return;
    }
    if (target.IsOpen()
        && prompts.Message(style::YesNo + style::Exclamation, "Save Database",
                           "File Already Exists! Are you sure you want to overwrite?")
            != Answer::Yes)
        return;
    const Text previous = model.DatFilePath;
    model.DatFilePath = path;
    if (FileWrite(model, context_.keys, prompts) != kDone) {
        // Nothing was saved there: the file in use is still the previous one.
        model.DatFilePath = previous;
        return;
    }
    window_.fUpdateFilesList(path);
    window_.ShowCaption();
}

void FileCommands::mnuErrorLog_Click()
{
    const ConfigModel& model = context_.model;
    const std::string path =
        model.ErrorLogPath.empty() ? context_.programFolder + "/error.log" : std::string(model.ErrorLogPath);
    if (!InputFile(path).IsOpen()) {
        context_.prompts.Message(style::OkOnly + style::Exclamation, kErrorLogTitle,
                                 "There is no error log yet:\r\n\r\n" + path
                                     + "\r\n\r\nIt is written each time a dat file is opened.");
        return;
    }
    if (!context_.viewer || !context_.viewer->Open(path))
        context_.prompts.Message(style::OkOnly + style::Exclamation, kErrorLogTitle,
                                 "No text viewer could be started for the error log:\r\n\r\n" + path
                                     + "\r\n\r\nPlease open it with a text editor of your choice.");
}

// ---- RTC and DVR menus

void FileCommands::showOptionTicks()
{
    const ConfigModel& model = context_.model;
    const MainMenus& m = window_.menus();
    m.rtcYes->setChecked(model.HasRTC != kFalse);
    m.rtcNo->setChecked(model.HasRTC == kFalse);
    m.dvrWrite->setChecked(model.DVRWrite != kFalse);
    m.dvrNoWrite->setChecked(model.DVRWrite == kFalse);
}

// Both options reload the file: edits not yet applied and changes not yet saved would be
// lost, so the guard and the unsaved-changes question come first, as for Open.
void FileCommands::changeRTC(bool hasRTC)
{
    ConfigModel& model = context_.model;
    if (!fileLoaded() || window_.CheckUnappliedChanges() != kValid)
        return;
    if ((model.HasRTC != kFalse) != hasRTC
        && context_.prompts.Message(style::OkCancel + style::Question + style::DefaultButton2, kRTCTitle,
                                    rtcQuestion(hasRTC))
            != Answer::Ok)
        return;
    if (!AskUnsavedChanges() || !readable(model.DatFilePath))
        return;
    if (context_.keys.WriteSetting("Version", "HasRTC", hasRTC ? "1" : "0", model.DatFilePath).status != kDone)
        return;
    model.HasRTC = hasRTC ? kTrue : kFalse;
    showOptionTicks();
    LoadDatFile();
}

void FileCommands::changeDVR(bool write)
{
    ConfigModel& model = context_.model;
    if (!fileLoaded() || window_.CheckUnappliedChanges() != kValid || !AskUnsavedChanges())
        return;
    if (!readable(model.DatFilePath))
        return;
    if (context_.keys.WriteSetting("Version", "DVRWrite", write ? "1" : "0", model.DatFilePath).status != kDone)
        return;
    model.DVRWrite = write ? kTrue : kFalse;
    showOptionTicks();
    LoadDatFile();
}

} // namespace vm880

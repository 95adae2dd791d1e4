#include "app/download_commands.h"

#include "app/file_commands.h"
#include "app/info_windows.h"
#include "app/program_settings.h"
#include "app/zel_main.h"
#include "download/download_session.h"
#include "download/serial_download.h"
#include "link/busy_state.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "interfaces/file_dialogs.h"
#include "interfaces/prompts.h"

#include <QLabel>
#include <QProgressBar>

#include <ctime>
#include <stdexcept>

namespace vm880 {

namespace {

constexpr const char* kModule = "ZelMain";

// The progress window as the download's progress sink; its Cancel button raises
// CancelDownload, which the download polls.
class ProgressWindowSink : public DownloadProgress {
public:
    ProgressWindowSink(ConfigModel& model, QWidget* parent) : window_(model, parent) {}

    void Start(std::string_view caption, int maximum) override
    {
        window_.setWindowTitle(QString::fromStdString(std::string(caption)));
        for (const char* text : {"Decoding Controller Data", "Decoding RTC Data", "Decoding Autopatch Data"})
            if (QLabel* label = window_.Label(QString::fromLatin1(text)))
                label->hide();
        if (QLabel* label = window_.Label(QStringLiteral("Downloading Data")))
            label->show();
        window_.ProgressBar1()->setRange(0, maximum);
        window_.ProgressBar1()->setValue(0);
        window_.ProgressBar1()->show();
        window_.show();
    }
    void SetValue(int value) override { window_.ProgressBar1()->setValue(value); }
    void Finish() override { window_.hide(); }

private:
    ProgressWindow window_;
};

} // namespace

DownloadCommands::DownloadCommands(ZelMain& window, AppContext context)
    : window_(window), context_(std::move(context))
{
    window_.SetCommand(window_.menus().download, [this] { mnuVM880Download_Click(); });
    window_.SetCommand(window_.menus().importLinux, [this] { mnuImportLinux_Click(); });
}

void DownloadCommands::loadSaved()
{
    const std::string path = context_.model.DatFilePath;
    if (window_.fileCommands().LoadDatFile(true))
        window_.fUpdateFilesList(path);
}

void DownloadCommands::mnuVM880Download_Click()
{
    ConfigModel& model = context_.model;
    Prompts& prompts = context_.prompts;
    namespace t = download_command_text;
    if (context_.busy && RefuseWhileBusy(*context_.busy, prompts))
        return;
    bool started = false; // the loaded file is gone from here on
    try {
        if (!context_.clock || !context_.serialLink)
            throw std::logic_error("the download needs the clock and the serial link");
        if (!window_.fileCommands().AskUnsavedChanges(t::kDownloadUnsaved))
            return;
        if (model.ComPort == 0) {
            prompts.Message(style::OkOnly + style::Exclamation, t::kDTMFModeTitle,
                            "You may not download from the VM-880 by radio (DTMF Mode)\r\nPlease connect "
                            "directly by cable (Serial Port Mode) and try again");
            return;
        }
        if (prompts.Message(style::YesNo + style::Question, t::kConfirmTitle,
                            "Downloading will cause other operations of the VM-880 to stop until the "
                            "download is complete. Are you sure you want to do this?")
            != Answer::Yes)
            return;
        BusyState::Hold hold;
        if (context_.busy)
            hold = context_.busy->TryHold("download");

        ProgressWindowSink progress(model, &window_);
        SerialDownload download(model, prompts, *context_.clock, *context_.serialLink, &progress);
        SessionContext session{model, prompts, context_.keys, context_.programFolder,
                               ZelIniPath(context_.programFolder), std::time(nullptr),
                               [this] { window_.fUnloadForms(); }};
        started = true;
        if (DownloadToSettingsFile(session, download) == kDone)
            loadSaved();
        else
            window_.ShowCaption();
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, kModule, "mnuVM880Download_Click", "", "Error during VM880 download");
        if (started) {
            // Whatever was shown or half-read is not to be trusted or saved.
            window_.fUnloadForms();
            model.DatFileLoaded = kFalse;
            window_.ShowCaption();
        }
    }
}

void DownloadCommands::mnuImportLinux_Click()
{
    ConfigModel& model = context_.model;
    Prompts& prompts = context_.prompts;
    if (context_.busy && RefuseWhileBusy(*context_.busy, prompts))
        return;
    bool started = false; // the open file was let go: the import got as far as loading its own
    try {
        if (!window_.fileCommands().AskUnsavedChanges(download_command_text::kImportUnsaved))
            return;
        const std::string mainFile =
            context_.dialogs ? context_.dialogs->OpenFile(session_text::kMemFilter, session_text::kMainDialogTitle)
                             : std::string();
        if (mainFile.empty()) {
            prompts.Beep();
            return;
        }
        SessionContext session{model, prompts, context_.keys, context_.programFolder,
                               ZelIniPath(context_.programFolder), std::time(nullptr), [this, &started] {
                                   started = true;
                                   window_.fUnloadForms();
                               }};
        // A failed import leaves the open file, its editors and its unsaved changes as they were.
        if (ImportToSettingsFile(session, *context_.dialogs, mainFile) == kDone)
            loadSaved();
        else
            window_.ShowCaption();
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, kModule, "mnuImportLinux_Click", "", "Error during VM880 download");
        if (started) {
            window_.fUnloadForms();
            model.DatFileLoaded = kFalse;
            window_.ShowCaption();
        }
    }
}

} // namespace vm880

// The download and import commands of the main window: the questions that come first and
// their order, the busy state, the progress window's Cancel, and a whole download from the
// simulated controller shown like any opened file.

#include "main_window_fixture.h"

#include "app/download_commands.h"
#include "app/file_commands.h"
#include "app/version.h"
#include "download/download_session.h"
#include "download/serial_download.h"
#include "link/busy_state.h"
#include "link/serial_link.h"
#include "memory_image_encoder.h"
#include "model/settings_writer.h"
#include "platform/qt_serial_port.h"
#include "pty_serial_port.h"
#include "sim_download.h"
#include "sim_download_options.h"
#include "skipping_clock.h"

#include <QApplication>
#include <QPushButton>

namespace vm880::test {
namespace {

constexpr const char* kUnsavedTitle = "UNSAVED CHANGES IN YOUR DAT FILE";

class DownloadCommandsTest : public MainWindowTest {
protected:
    void StartWith(SimDownloadFaults faults = {}, ConfigModel served = SampleControllerModel())
    {
        Serve(std::make_unique<SimDownloadServer>(served, faults));
    }
    void Serve(std::unique_ptr<SimDownloadServer> served)
    {
        server = std::move(served);
        sim.SetPolicy(server->Policy());
        extendContext = [this](AppContext& c) {
            c.clock = &clock;
            c.serialLink = &serial;
            c.busy = &busy;
        };
        Start();
        window->SetUnlockWindow([this] { ++unlockWindows; });
        model.ComPort = 1;
        prompts.AcceptNotices();
    }

    void Download() { window->menus().download->trigger(); }

    // The file loaded before the command, with unsaved changes.
    void LoadUnsaved()
    {
        LoadFile();
        model.DatFileSaved = kFalse;
    }

    ~DownloadCommandsTest() override { ::unsetenv("VM880_PORT1"); }

    std::unique_ptr<SimDownloadServer> server; // outlives the simulator's thread
    SimController sim;
    // The program's own serial port on the simulator's pseudo-terminal, named before it is made.
    bool named = ::setenv("VM880_PORT1", sim.SlavePath().c_str(), 1) == 0;
    QtSerialPort simPort;
    SkippingClock clock;
    SerialLink serial{model, simPort, clock, prompts};
    BusyState busy;
    int unlockWindows = 0;
};

struct QuestionCase {
    const char* name;
    int comPort;
    bool unsaved;
    std::vector<std::pair<Answer, const char*>> answers; // in the order asked
    const char* saveAs;                                   // the Save As dialog's answer, or nullptr
    bool kept;                                            // the loaded file is still there afterwards
};
void PrintTo(const QuestionCase& c, std::ostream* os) { *os << c.name; }


class DownloadQuestions : public DownloadCommandsTest, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(DownloadQuestions, AskedInOrderAndStoppingLeavesTheFileLoaded)
{
    const QuestionCase& c = GetParam();
    StartWith();
    c.unsaved ? LoadUnsaved() : LoadFile();
    model.ComPort = c.comPort;
    for (const auto& [answer, title] : c.answers)
        prompts.Answer(answer, title);
    if (c.saveAs)
        dialogs.Save(c.saveAs);
    Download();
    std::vector<std::string> asked;
    for (const auto& p : prompts.prompts())
        asked.push_back(p.title);
    std::vector<std::string> expected;
    for (const auto& a : c.answers)
        expected.push_back(a.second);
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.DatFileLoaded != kFalse, c.kept);
    if (c.kept) {
        EXPECT_EQ(model.HangTime(1), "10");
        EXPECT_NE(Editor(0), nullptr);
    }
    EXPECT_TRUE(sim.Commands().empty());
    EXPECT_FALSE(busy.Busy());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DownloadQuestions,
    ::testing::Values(
        QuestionCase{"RadioLinkAsksUnsavedFirst", 0, true,
                     {{Answer::No, kUnsavedTitle}, {Answer::Ok, download_command_text::kDTMFModeTitle}}, nullptr, true},
        QuestionCase{"UnsavedCancelled", 1, true, {{Answer::Cancel, kUnsavedTitle}}, nullptr, true},
        QuestionCase{"SaveFirstButSaveAsCancelled", 1, true,
                     {{Answer::Yes, kUnsavedTitle}, {Answer::Ok, "Save As Cancelled"}}, "", true},
        QuestionCase{"ConfirmDeclined", 1, false, {{Answer::No, download_command_text::kConfirmTitle}}, nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadCommandsTest, RefusedWhileAnotherOperationHoldsTheLink)
{
    StartWith();
    LoadFile();
    const auto hold = busy.TryHold("Upload");
    Download();
    window->menus().importLinux->trigger();
    EXPECT_EQ(prompts.titles(), (std::vector<std::string>{kBusyTitle, kBusyTitle}));
    EXPECT_EQ(model.HangTime(1), "10");
}

TEST_F(DownloadCommandsTest, WholeDownloadIsShownAsALoadedFile)
{
    ConfigModel served = SampleControllerModel();
    served.Lock = served.Terminator; // the unlock-code window must open after the load
    StartWith({}, served);
    LoadFile();
    bool heldDuring = false;
    clock.onYield = [&] { heldDuring = heldDuring || busy.Activity() == "download"; };
    prompts.Answer(Answer::Yes, download_command_text::kConfirmTitle)
        .Answer(Answer::No, session_text::kRTCTitle)
        .Answer(Answer::No, session_text::kAPTitle);
    Download();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_TRUE(heldDuring);
    EXPECT_FALSE(busy.Busy());
    EXPECT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_NE(model.DatFilePath.find("/Dwnld_"), std::string::npos);
    EXPECT_EQ(window->recentFiles().Item(1), model.DatFilePath);
    EXPECT_EQ(model.HangTime(1), served.HangTime(1));
    EXPECT_EQ(model.FirmwareVersion, "6012");
    EXPECT_EQ(unlockWindows, 1);
    EXPECT_EQ(model.LockEqualsTerminator, kFalse);
    EXPECT_NE(Editor(0), nullptr);
    const auto titles = prompts.titles();
    EXPECT_NE(std::find(titles.begin(), titles.end(), session_text::kSavedTitle), titles.end());
}

TEST_F(DownloadCommandsTest, CancelInTheProgressWindowEndsWithNothingLoaded)
{
    SimDownloadFaults faults;
    faults.pauseLine = 40;
    faults.pauseMs = 3000;
    StartWith(faults);
    LoadFile();
    clock.onYield = [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "ProgressBar" && w->isVisible())
                if (auto* cancel = w->findChild<QPushButton*>("Cancel"))
                    cancel->click();
    };
    prompts.Answer(Answer::Yes, download_command_text::kConfirmTitle);
    Download();
    EXPECT_EQ(prompts.titles(), (std::vector<std::string>{download_command_text::kConfirmTitle, kProgramTitle,
                                                          session_text::kDownloadErrorTitle}));
    // The operator's own Cancel is no cable fault.
    EXPECT_EQ(prompts.prompts().back().text.find("cables"), std::string::npos);
    EXPECT_EQ(model.DatFileLoaded, kFalse);
    EXPECT_EQ(model.HangTime(1), "");
    EXPECT_EQ(model.transfer.CancelDownload, kFalse);
    EXPECT_EQ(Editor(0), nullptr);
    EXPECT_FALSE(busy.Busy());
}

TEST_F(DownloadCommandsTest, PortThatDoesNotOpenLeavesNoFileNamedInTheCaption)
{
    PtySerialPort missing("/nonexistent/tty");
    SerialLink link{model, missing, clock, prompts};
    extendContext = [&](AppContext& c) {
        c.clock = &clock;
        c.serialLink = &link;
        c.busy = &busy;
    };
    Start();
    model.ComPort = 1;
    prompts.AcceptNotices();
    LoadFile();
    ASSERT_TRUE(window->windowTitle().toStdString().ends_with("  /srv/club/repeater.dat"));
    prompts.Answer(Answer::Yes, download_command_text::kConfirmTitle);
    Download();
    EXPECT_EQ(model.DatFileLoaded, kFalse);
    EXPECT_EQ(Editor(0), nullptr);
    const std::string title = window->windowTitle().toStdString();
    EXPECT_EQ(title.find("repeater.dat"), std::string::npos) << title;
    EXPECT_TRUE(title.ends_with(model.ZelVersion + "  ")) << title;
}

// Files of the wrong kind are refused before the open file is touched, and a failure after
// the checks (download.era cannot be created) keeps it too, with its unsaved changes.
TEST_F(DownloadCommandsTest, ImportOfTheWrongFilesKeepsTheOpenFile)
{
    StartWith();
    const ConfigModel sample = SampleControllerModel();
    const std::string image = home.file("download.mem");
    const std::string rtc = home.file("rtcdownload.mem");
    WriteFile(image, MemoryImageText(EncodeMemoryImage(sample)));
    WriteFile(rtc, OptionFileText(RTCRecords(sample)));
    LoadUnsaved();
    const QString caption = window->windowTitle();
    struct Pick { std::vector<std::string> files; std::vector<Answer> fitted; const char* said; bool eraFolder = false; };
    const Pick picks[] = {
        {{rtc}, {}, "is an RTC option memory file (like rtcdownload.mem),\r\nbut a main memory download file"},
        {{image, image}, {Answer::Yes}, "is a main memory download file (like download.mem),\r\nbut an RTC option"},
        {{image, rtc}, {Answer::No, Answer::Yes}, "is an RTC option memory file (like rtcdownload.mem),\r\nbut an autopatch"},
        {{image}, {Answer::No, Answer::No}, "An error occurred while decoding the download", true},
    };
    for (const Pick& pick : picks) {
        if (pick.eraFolder)
            std::filesystem::create_directory(home.file("download.era"));
        for (const std::string& file : pick.files)
            dialogs.Open(file);
        prompts.Answer(Answer::No, kUnsavedTitle);
        for (std::size_t i = 0; i < pick.fitted.size(); ++i)
            prompts.Answer(pick.fitted[i], i == 0 ? session_text::kRTCTitle : session_text::kAPTitle);
        if (!pick.eraFolder)
            prompts.Answer(Answer::Ok, session_text::kImportErrorTitle);
        window->menus().importLinux->trigger();
        EXPECT_NE(prompts.prompts().back().text.find(pick.said), std::string::npos) << prompts.prompts().back().text;
        EXPECT_EQ(prompts.pending(), 0u);
        EXPECT_EQ(model.DatFileLoaded, kTrue);
        EXPECT_EQ(model.DatFileSaved, kFalse);
        EXPECT_EQ(model.HangTime(1), "10");
        EXPECT_NE(Editor(0), nullptr);
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_FALSE(busy.Busy());
    }
}

TEST_F(DownloadCommandsTest, ImportLoadsTheChosenMemoryFile)
{
    StartWith();
    const std::string mainFile = home.file("captured.mem");
    WriteFile(mainFile, MemoryImageText(EncodeMemoryImage(SampleControllerModel())));
    // No file loaded yet: a cancelled dialog beeps and changes nothing.
    dialogs.Open("");
    window->menus().importLinux->trigger();
    EXPECT_EQ(prompts.prompts().back().kind, RecordedPrompt::Beep);

    dialogs.Open(mainFile);
    prompts.Answer(Answer::No, session_text::kRTCTitle).Answer(Answer::No, session_text::kAPTitle);
    prompts.Always(Answer::Yes, "VERSION DIFFERENCE").Type("6012", "Enter Firmware Version");
    window->menus().importLinux->trigger();
    EXPECT_EQ(model.DatFileLoaded, kTrue);
    EXPECT_EQ(model.HangTime(1), SampleControllerModel().HangTime(1));
    EXPECT_EQ(window->recentFiles().Item(1), model.DatFilePath);
    EXPECT_TRUE(sim.Commands().empty());
}

// The simulator serving a settings file of the operator's own: what the program can load and
// save downloads as it was, and a board that streams its records is never saved, whatever
// they hold.
struct ServedCase {
    const char* name;
    void (*change)(ConfigModel&);
    bool stream;
    const char* refusal; // in the box that stops the download; "" when it is saved
    // >= 0: only the autopatch board is fitted, paced like a 9600-baud wire, pausing this long
    // after each record when it streams, against the program's own waits in real time.
    int wirePauseMs = -1;
};
void PrintTo(const ServedCase& c, std::ostream* os) { *os << c.name; }

class ServedFiles : public DownloadCommandsTest, public ::testing::WithParamInterface<ServedCase> {};

// The clock board keeps only the message macros and DTMF memories named.
void keepOnly(ConfigModel& m, std::initializer_list<int> macros, std::initializer_list<int> memories)
{
    for (int i = 11; i <= 40; ++i)
        m.FreqString(i) = "NONE";
    for (int i = 41; i <= 70; ++i)
        if (std::find(macros.begin(), macros.end(), i) == macros.end())
            m.MessageMacro(i) = "NONE STORED";
    for (int i = 21; i <= 50; ++i)
        if (std::find(memories.begin(), memories.end(), i) == memories.end())
            m.DTMF(i) = "NONE STORED";
}

TEST_P(ServedFiles, DownloadsAsServedOrSavesNothing)
{
    const ServedCase& c = GetParam();
    ConfigModel served = SampleControllerModel();
    served.HasRTC = kTrue;
    c.change(served);
    served.DatFilePath = home.file("served.dat");
    ASSERT_EQ(FileWrite(served, keys, prompts), kDone);
    SimDownloadFaults faults;
    faults.streamOptions = c.stream;
    faults.streamPauseMs = std::max(0, c.wirePauseMs);
    std::string problem;
    auto fromFile = MakeDownloadServer(served.DatFilePath, faults, problem);
    ASSERT_TRUE(fromFile) << problem;
    Serve(std::move(fromFile));
    const bool wire = c.wirePauseMs >= 0;
    if (wire) {
        sim.SetPolicy([this](const SimLine& line) {
            if (line.text == "1SendAPEram")
                sim.SetPaceUs(1042);
            return server->Answer(line);
        });
        clock.realSleeps = true;
    }
    prompts.Answer(Answer::Yes, download_command_text::kConfirmTitle)
        .Answer(wire ? Answer::No : Answer::Yes, session_text::kRTCTitle);
    if (!*c.refusal || wire)
        prompts.Answer(Answer::Yes, session_text::kAPTitle);
    Download();
    int saved = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.path()))
        saved += entry.path().filename().string().starts_with("Dwnld_");
    EXPECT_EQ(saved, *c.refusal ? 0 : 1);
    EXPECT_EQ(model.DatFileLoaded, *c.refusal ? kFalse : kTrue);
    EXPECT_EQ(model.AutoDial(2), *c.refusal ? "" : served.AutoDial(2));
    const auto& shown = prompts.prompts();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const auto& p) { return p.text.find(c.refusal) != std::string::npos; }));
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, ServedFiles,
    ::testing::Values(
        ServedCase{"LongAutodialNumber", [](ConfigModel& m) { m.AutoDial(2) = "1-800-555-0100 x"; }, false, ""},
        ServedCase{"StreamedMessageMacros", [](ConfigModel& m) { keepOnly(m, {41, 42}, {}); }, true,
                   "The RTC option sent its records without waiting for each acknowledgement"},
        // Run together no longer than one macro may be.
        ServedCase{"StreamedMacroThenDTMFMemory",
                   [](ConfigModel& m) { keepOnly(m, {41}, {21}), m.MessageMacro(41) = "REPEATER", m.DTMF(21) = "9"; },
                   true, "The RTC option sent its records without waiting for each acknowledgement"},
        ServedCase{"AutopatchPacedLikeAWire", [](ConfigModel& m) { m.AutoDial(2) = "18005551234"; }, false, "", 0},
        // Its first two records arrive during the pause after the request, as one.
        ServedCase{"AutopatchStreamedWithPauses", [](ConfigModel& m) { m.AutoDial(2) = "18005551234"; }, true,
                   "answer No to \"Do you have the QX4 (Autopatch) Option installed?\"", 60}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vm880::test

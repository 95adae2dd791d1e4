// The main window while a controller operation runs, and the toolbar's Reset 880 and Set
// Clock against the simulated controller.

#include "app/controller_commands.h"
#include "app/version.h"
#include "editors/functions/unlock_codes.h"
#include "link/command_clock.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/dvr_record.h"
#include "link/serial_link.h"
#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"
#include "scripted_file_dialogs.h"
#include "wav_image.h"
#include "../link/upload_rig.h"
#include "main_window_fixture.h"
#include "pty_serial_port.h"
#include "recording_sound_out.h"
#include "sim_controller.h"
#include "skipping_clock.h"

#include <QToolBar>

#include <cstdlib>
#include <functional>


namespace vm880::test {
namespace {

class BusyMainWindow : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        LoadFile();
    }
};

TEST_F(BusyMainWindow, CommandsOnThePortTheTransmitterOrTheModelWaitForTheOperation)
{
    const MainMenus& m = window->menus();
    window->fUpdateFilesList("/srv/club/other.dat");
    // Each is refused with the message, or disabled so that it cannot run at all.
    struct Case {
        const char* name;
        QAction* action; // nullptr: no action of its own
        bool disabled;
    };
    const std::vector<Case> cases = {
        {"open", m.fileOpen, false},
        {"save", m.fileSave, false},
        {"save as", m.fileSaveAs, false},
        {"recent file", m.filesList[0], false},
        {"upload", m.upload, false},
        {"toolbar upload", m.toolUpload, false},
        {"manual send", m.manualData, true},
        {"touch-tone pad", m.testPad, true},
        {"serial port", m.com[1], false},
        {"keying port", m.dtmfCom[1], false},
        {"keying delay", m.txDelay, false},
        {"RTC option", m.rtcNo, false},
        {"reset", m.toolReset, false},
        {"set clock", m.toolSetClock, false},
        {"exit", nullptr, false},
        {"window close", nullptr, false},
    };
    prompts.Always(Answer::Ok, kBusyTitle);
    const ConfigModel before = model;
    BusyState::Hold upload = busy.TryHold("upload");
    ASSERT_TRUE(upload);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t shown = prompts.prompts().size();
        if (c.action)
            c.action->trigger();
        else if (std::string(c.name) == "exit")
            window->mnuFileExit_Click();
        else
            window->close();
        if (c.disabled) {
            EXPECT_FALSE(c.action->isEnabled());
            EXPECT_EQ(prompts.prompts().size(), shown);
            continue;
        }
        ASSERT_EQ(prompts.prompts().size(), shown + 1);
        EXPECT_EQ(prompts.prompts().back().title, kBusyTitle);
        EXPECT_EQ(prompts.prompts().back().text,
                  "The upload is still talking to the VM880. Wait until it has ended, then try again.");
    }
    EXPECT_TRUE(modals.empty());
    EXPECT_TRUE(port.opened.empty()) << "no port was touched";
    EXPECT_EQ(model.ComPort, before.ComPort);
    EXPECT_EQ(model.HasRTC, before.HasRTC);
    EXPECT_FALSE(window->ended());

    // Meanwhile the commands are shown disabled; Help stays.
    for (QMenu* menu : {m.file, m.config, m.vm880, m.rtc, m.dvr})
        EXPECT_FALSE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
    EXPECT_FALSE(m.toolbar->isEnabled());
    EXPECT_FALSE(m.testPad->isEnabled());
    EXPECT_FALSE(m.manualData->isEnabled());
    EXPECT_FALSE(TabBar()->isEnabled());
    EXPECT_TRUE(m.about->isEnabled());

    upload.Release();
    for (QMenu* menu : {m.file, m.config, m.vm880, m.rtc, m.dvr})
        EXPECT_TRUE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
    EXPECT_TRUE(m.toolbar->isEnabled());
    EXPECT_TRUE(TabBar()->isEnabled());
    EXPECT_TRUE(m.fileSave->isEnabled());
}

// After the operation Save and the RTC menu follow whether a file is loaded, also when the
// operation itself loaded it.
TEST_F(BusyMainWindow, AFileLoadedDuringTheOperationIsOfferedOnlyAfterIt)
{
    window->fUnloadForms();
    model.DatFileLoaded = kFalse;
    { BusyState::Hold hold = busy.TryHold("download"); }
    EXPECT_FALSE(window->menus().fileSave->isEnabled());
    EXPECT_FALSE(window->menus().rtc->menuAction()->isEnabled());
    {
        BusyState::Hold hold = busy.TryHold("download");
        model.DatFileLoaded = kTrue; // the download loads its file before it ends
        window->ShowLoadedFile();
        EXPECT_FALSE(window->menus().fileSave->isEnabled());
        EXPECT_FALSE(window->menus().rtc->menuAction()->isEnabled());
    }
    EXPECT_TRUE(window->menus().fileSave->isEnabled());
    EXPECT_TRUE(window->menus().rtc->menuAction()->isEnabled());
}

// ---- Reset 880 and Set Clock over the cable

// The upload's serial rig against the simulated controller, as the main window's context.
struct CableRig : SerialRig {
    AppContext Context() { return ContextOf(*this); }
};

TEST(ToolbarReset, OneCommandNoReplyWaitAndThePortClosed)
{
    CableRig rig;
    rig.sim.FaultOnPattern("*21999", SimReply::Silence()); // the controller restarts
    ResetController_Click(rig.Context());
    ASSERT_TRUE(rig.sim.WaitForLines(2, 1000));
    EXPECT_EQ(rig.sim.Received(), "\r1*21999\r") << "drained to the wire before the close";
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_TRUE(rig.prompts.prompts().empty());
    EXPECT_FALSE(rig.busy.Busy());
}

TEST(ToolbarReset, RefusedOverTheRadioLinkAndWhileBusy)
{
    CableRig rig;
    rig.prompts.AcceptNotices();
    rig.model.ComPort = 0;
    ResetController_Click(rig.Context());
    rig.model.ComPort = 2;
    BusyState::Hold clock = rig.busy.TryHold("clock setting");
    ResetController_Click(rig.Context());
    // A context without the program's link chooser is a wiring fault: refused, not a crash.
    AppContext unwired = rig.Context();
    unwired.links = nullptr;
    EXPECT_THROW(ResetController_Click(unwired), std::invalid_argument);
    EXPECT_EQ(rig.prompts.titles(), (std::vector<std::string>{kProgramTitle, kBusyTitle}));
    EXPECT_EQ(rig.prompts.prompts()[0].text, kSerialOnlyText);
    EXPECT_TRUE(rig.sim.Received().empty());
}

TEST(ToolbarSetClock, SuccessOnlyWhenBothCommandsWereAcknowledged)
{
    for (bool refuseTime : {false, true}) {
        SCOPED_TRACE(refuseTime ? "time refused" : "both accepted");
        CableRig rig;
        rig.prompts.AcceptNotices();
        if (refuseTime)
            rig.sim.FaultOnPattern("*5100", SimReply::Nack());
        rig.model.transfer.UploadError = kTrue; // stale
        mnuSetClock_Click(rig.Context());
        EXPECT_EQ(rig.sim.Commands().size(), 2u);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_EQ(rig.model.transfer.UploadError, kFalse);
        const std::vector<std::string> expected =
            refuseTime ? std::vector<std::string>{kCommunicationsErrorTitle, kClockNotSetTitle}
                       : std::vector<std::string>{kClockSetTitle};
        EXPECT_EQ(rig.prompts.titles(), expected);
    }
}


// ---- A cable that drops out just after the port opened

// Time stands still while the port is open, so the settle after the opening carriage return
// ends by the hang-up alone, however late the simulator or the port gets to it.
struct StillWhileOpen : Clock {
    explicit StillWhileOpen(SerialPort& port) : port(port) {}
    std::int64_t NowMs() override { return port.IsOpen() ? held : held = real.NowMs(); }
    void SleepMs(std::int64_t ms) override { real.SleepMs(ms); }
    void Yield() override { real.Yield(); }

    SerialPort& port;
    QtClock real;
    std::int64_t held = 0;
};

// The real serial port on the simulated controller, which hangs up on the opening carriage
// return: the port opens, then closes while the link waits for the controller to settle.
struct DroppingCableRig {
    DroppingCableRig()
    {
        ::setenv("VM880_PORT3", sim.SlavePath().c_str(), 1);
        sim.SetPolicy([](const SimLine& line) {
            return line.number == 0 ? SimReply::HangUp() : SimReply::Ack();
        });
        model.ComPort = 3;
        model.SerialDelay = 0;
        model.DatFilePath = folder.file("club.dat");
        for (int p = 1; p <= 3; ++p)
            model.CurrentPortUnlock(p) = std::to_string(p) + "7306";
        model.Lock = "#";
        model.Terminator = "D";
        serial.SetTiming({100, 3, 10, 30});
        prompts.AcceptNotices();
        WriteFile(wav, WavImage(400));
    }
    ~DroppingCableRig() { ::unsetenv("VM880_PORT3"); }
    AppContext Context() { return ContextOf(*this); }

    SimController sim;
    TempFolder folder;
    std::string wav = folder.file("id.wav");
    ConfigModel model;
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    QtSerialPort port;
    StillWhileOpen clock{port};
    FakeClock toneClock;
    RecordingTimeline timeline{toneClock};
    RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    SerialLink serial{model, port, clock, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    ControllerLinkChooser links{model, serial, tone};
    BusyState busy;
    ScriptedFileDialogs dialogs;
};

TEST(CableDropsAfterOpening, EveryControllerActionSaysSoAndRecordsNothing)
{
    struct Case {
        const char* name;
        std::function<void(DroppingCableRig&)> run;
    };
    const Case cases[] = {
        {"reset", [](DroppingCableRig& rig) { ResetController_Click(rig.Context()); }},
        {"set clock", [](DroppingCableRig& rig) { mnuSetClock_Click(rig.Context()); }},
        {"DVR recording",
         [](DroppingCableRig& rig) {
             EXPECT_FALSE(RecordDvrTrack(ControllerActionOf(rig.Context()), rig.player, rig.clock, 4, rig.wav).Done());
         }},
        {"unlock send",
         [](DroppingCableRig& rig) {
             UnlockCodes codes({rig.model, rig.prompts, rig.links, rig.busy, rig.player, rig.clock,
                                rig.dialogs, rig.keys});
             codes.Load();
             codes.Change(1, "1111");
             codes.Change(kLockBox, "9");
             rig.prompts.Answer(Answer::Yes, "UPDATE CONTROLLER");
             codes.Send();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DroppingCableRig rig;
        c.run(rig);
        EXPECT_TRUE(rig.sim.HungUp());
        std::vector<std::string> errors;
        for (const RecordedPrompt& p : rig.prompts.prompts())
            if (p.title == kSerialPortErrorTitle)
                errors.push_back(p.text);
        ASSERT_EQ(errors.size(), 1u) << "the operator is told, once";
        EXPECT_EQ(errors[0].rfind("COM3 could not be opened", 0), 0u) << errors[0];
        EXPECT_TRUE(rig.sim.Commands().empty());
        EXPECT_TRUE(rig.sound.played.empty());
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_FALSE(rig.busy.Busy());
        // Nothing recorded as current: the codes wait, flagged, for a later Send.
        EXPECT_EQ(rig.model.CurrentPortUnlock(1), "17306");
        EXPECT_EQ(rig.model.Lock, "#");
        EXPECT_EQ(rig.keys.ReadSetting("Unlock", "CurrentPortUnlock(1)", rig.model.DatFilePath), "");
        EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);
    }
}

} // namespace
} // namespace vm880::test

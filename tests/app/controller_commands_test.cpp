// The main window while a controller operation runs, and the toolbar's Reset 880 and Set
// Clock against the simulated controller.

#include "app/controller_commands.h"
#include "app/version.h"
#include "link/command_clock.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "../link/upload_rig.h"
#include "main_window_fixture.h"
#include "pty_serial_port.h"
#include "recording_sound_out.h"
#include "sim_controller.h"
#include "skipping_clock.h"

#include <QToolBar>


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
    AppContext Context()
    {
        AppContext context{model, prompts, keys, folder.path().string(), &port};
        context.clock = &clock;
        context.serialLink = &serial;
        context.toneLink = &tone;
        context.busy = &busy;
        return context;
    }
    BusyState busy;
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

} // namespace
} // namespace vm880::test

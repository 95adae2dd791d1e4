// The manual command window: exact bytes and reply handling against the simulated controller,
// the key filter, the tones over the radio link with the transmitter keyed through the lock
// code, the placement in zel.ini and the ways the window closes.

#include "app/manual_send.h"
#include "app/program_settings.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "../link/upload_rig.h"
#include "main_window_fixture.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "sim_controller.h"
#include "temp_folder.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace vm880 {
namespace {

using test::RecordedPrompt;
using test::ScriptedPrompts;
using test::SimController;
using test::SimReply;

constexpr int kCablePort = 3;

// Points serial port `kCablePort` at `device` for the lifetime of the object.
class PortVariable {
public:
    explicit PortVariable(const std::string& device) { ::setenv("VM880_PORT3", device.c_str(), 1); }
    ~PortVariable() { ::unsetenv("VM880_PORT3"); }
};

int CountPrompts(const ScriptedPrompts& prompts, RecordedPrompt::Kind kind)
{
    return static_cast<int>(std::count_if(prompts.prompts().begin(), prompts.prompts().end(),
                                          [kind](const RecordedPrompt& p) { return p.kind == kind; }));
}

// The window over the serial cable to the simulated controller.
struct CableRig {
    explicit CableRig(const std::string& device) : variable(device)
    {
        model.ComPort = kCablePort;
        model.SerialDelay = 0;
        prompts.AcceptNotices();
    }
    AppContext Context() { return test::ContextOf(*this); }

    PortVariable variable;
    test::TempFolder folder;
    ConfigModel model;
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    QtSerialPort port;
    QtClock clock;
    // Three periods of 100 ms: a silent controller takes a third of a second.
    SerialLink serial{model, port, clock, prompts, ReplyTiming{100, 3, 10}};
    test::FakeClock toneClock;
    test::RecordingTimeline timeline{toneClock};
    test::RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    ControllerLinkChooser links{model, serial, tone};
    BusyState busy;
};

TEST(ManualSendCable, TheTypedCommandGoesOutExactlyAndTheReplyIsJudged)
{
    struct Case {
        const char* name;
        SimReply reply;
        const char* reason; // of the communications error box; nullptr: no box
    };
    const Case cases[] = {
        {"accepted", SimReply::Ack(), nullptr},
        {"accepted late", SimReply::Ack(150), nullptr},
        {"refused", SimReply::Nack(), reply_reason::Refused},
        {"silent", SimReply::Silence(), reply_reason::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimController sim;
        sim.FaultOnLine(1, c.reply);
        CableRig rig(sim.SlavePath());
        ManualSendWindow window(rig.Context());
        window.show();
        rig.model.transfer.UploadError = kFalse;

        QTest::keyClicks(window.commandLine(), "1*21999");
        EXPECT_EQ(window.ManualText(), "1*21999");
        QTest::keyClick(window.commandLine(), Qt::Key_Return);

        ASSERT_TRUE(sim.WaitForLines(2, 2000));
        // The opening carriage return, then the command as typed (no port digit in front).
        EXPECT_EQ(sim.Received(), "\r1*21999\r");
        const auto lines = sim.Lines();
        EXPECT_GE(lines[1].at - lines[0].at, std::chrono::milliseconds(90))
            << "the controller gets 100 ms between the opening return and the command";

        if (c.reason) {
            ASSERT_EQ(rig.prompts.titles(), std::vector<std::string>{kCommunicationsErrorTitle});
            const std::string& text = rig.prompts.prompts().front().text;
            EXPECT_EQ(text.rfind(c.reason, 0), 0u) << text;
            EXPECT_NE(text.find("1*21999"), std::string::npos) << text;
        } else {
            EXPECT_TRUE(rig.prompts.prompts().empty());
        }
        EXPECT_EQ(rig.model.transfer.LastCommand, "1*21999");
        EXPECT_EQ(rig.model.transfer.UploadError, kFalse) << "cleared when the send ends";
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_TRUE(window.commandLine()->text().isEmpty());
        EXPECT_TRUE(window.ManualText().empty());
    }
}

TEST(ManualSendCable, AnEmptyLineOrAPortThatWillNotOpenSendsNothing)
{
    {
        SCOPED_TRACE("empty line");
        SimController sim;
        CableRig rig(sim.SlavePath());
        ManualSendWindow window(rig.Context());
        window.sendButton()->click();
        EXPECT_FALSE(sim.WaitForLines(1, 200));
        EXPECT_TRUE(rig.prompts.prompts().empty());
        EXPECT_FALSE(rig.port.IsOpen());
    }
    {
        SCOPED_TRACE("no such port");
        CableRig rig("/nonexistent/vm880-port");
        ManualSendWindow window(rig.Context());
        QTest::keyClicks(window.commandLine(), "1*7001");
        window.sendButton()->click();
        EXPECT_EQ(rig.prompts.titles(), std::vector<std::string>{kSerialPortErrorTitle});
        EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);
        EXPECT_TRUE(rig.model.transfer.LastCommand.empty()) << "nothing was sent";
        EXPECT_TRUE(window.commandLine()->text().isEmpty()) << "emptied all the same";
    }
}

// The window over the radio link, with the upload's recording keyer and sound output on a
// fake clock.
class ManualSendAir : public ::testing::Test, public test::RadioRig {
protected:
    ManualSendAir()
    {
        model.TxTemp = 150;
        model.DTMFToneDelay = 30;
        model.Lock = "4#";
    }
    AppContext Context() { return test::ContextOf<test::RadioRig>(*this); }
    // The time of the first event `what` at or after position `from`; -1 when none.
    std::int64_t At(const std::string& what, std::size_t from = 0) const
    {
        const auto& events = timeline.events();
        for (std::size_t i = from; i < events.size(); ++i)
            if (events[i].what == what)
                return events[i].atMs;
        return -1;
    }
    // Whether every tone from event `from` on was played while the transmitter was keyed.
    void ExpectTonesKeyed(std::size_t from = 0) const
    {
        bool keyed = false;
        const auto& events = timeline.events();
        for (std::size_t i = from; i < events.size(); ++i) {
            const auto& e = events[i];
            if (e.what == "DTR on")
                keyed = true;
            if (e.what == "DTR off" || e.what == "close")
                keyed = false;
            if (e.what.rfind("tone ", 0) == 0) {
                EXPECT_TRUE(keyed) << e.what << " at " << e.atMs << " ms is not on the air";
            }
        }
    }
};

TEST_F(ManualSendAir, TheCommandAndTheLockCodeArePlayedWithTheTransmitterKeyed)
{
    struct Case {
        const char* typed;
        std::string tones;
    };
    const Case cases[] = {
        {"12*a", "12*A4#D"},
        {"", "4#D"}, // an empty line still locks the controller
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t from = timeline.events().size();
        sound.played.clear();
        ManualSendWindow window(Context());
        QTest::keyClicks(window.commandLine(), c.typed);
        window.sendButton()->click();

        EXPECT_EQ(sound.digits(), c.tones);
        ExpectTonesKeyed(from);
        EXPECT_FALSE(tone.IsKeyed());
        EXPECT_FALSE(port.IsOpen());
        const std::int64_t keyed = At("DTR on", from);
        ASSERT_GE(keyed, 0);
        ASSERT_FALSE(sound.played.empty());
        EXPECT_GE(sound.played.front().atMs - keyed, model.TxTemp + model.DTMFToneDelay)
            << "the transmitter settles before the first tone";
        EXPECT_TRUE(prompts.prompts().empty());
        EXPECT_TRUE(window.commandLine()->text().isEmpty());
    }
}

TEST_F(ManualSendAir, ATransmitterThatCannotBeKeyedPlaysNothing)
{
    port.failOpen = true;
    prompts.Answer(Answer::Ok, kPttPortErrorTitle);
    ManualSendWindow window(Context());
    QTest::keyClicks(window.commandLine(), "*7001");
    QTest::keyClick(window.commandLine(), Qt::Key_Enter);
    EXPECT_TRUE(sound.played.empty()) << "not even the lock code goes out unkeyed";
    EXPECT_EQ(model.transfer.PortOpenFailed, kFalse);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_TRUE(window.commandLine()->text().isEmpty());
}

TEST_F(ManualSendAir, OnlyDTMFCharactersEnterTheLineInCapitals)
{
    struct Case {
        const char* typed;
        const char* line;
        int beeps;
    };
    const Case cases[] = {
        {"a", "A", 0},
        {"E", "", 1},
        {"1*2#abcd0", "1*2#ABCD0", 0},
        {"9 x-!", "9", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ScriptedPrompts beeps;
        AppContext context = Context();
        ManualSendWindow window(AppContext{model, beeps, keys, context.programFolder, &port});
        QTest::keyClicks(window.commandLine(), c.typed);
        EXPECT_EQ(window.commandLine()->text().toStdString(), c.line);
        EXPECT_EQ(window.ManualText(), c.line);
        EXPECT_EQ(CountPrompts(beeps, RecordedPrompt::Beep), c.beeps);
    }

    ManualSendWindow window(Context());
    QLineEdit* line = window.commandLine();
    QTest::keyClicks(line, "123");
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(window.ManualText(), "12");
    // A paste cannot bring in what typing cannot: lower case becomes capitals, anything else
    // (a line break would split the command) is refused whole.
    line->insert(QStringLiteral("b*"));
    line->insert(QStringLiteral("3\r4"));
    line->insert(QStringLiteral("hello"));
    EXPECT_EQ(window.ManualText(), "12B*");
}

TEST_F(ManualSendAir, ClosingDuringASendWaitsForTheLockCode)
{
    ManualSendWindow window(Context());
    window.show();
    QTest::keyClicks(window.commandLine(), "55");
    int closes = 0;
    sound.onPlay = [&](const PcmSound&) {
        if (closes++ == 0)
            window.closeButton()->click();
    };
    window.sendButton()->click();
    EXPECT_EQ(sound.digits(), "554#D");
    ExpectTonesKeyed();
    EXPECT_FALSE(window.isVisible()) << "closed once the send ended";
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_FALSE(port.IsOpen());
}

// Window placement in twips, as zel.ini keeps it.
double TwipsPerPixel()
{
    return 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX();
}

TEST_F(ManualSendAir, PlacementIsReadKeyByKeyAndWrittenOnEveryWayOut)
{
    const std::string ini = ZelIniPath(folder.path().string());
    const double t = TwipsPerPixel();
    test::WriteFile(ini, "[Main]\r\nComPort=0\r\n[Manualsend]\r\nWindow Width=" + NumberText(500 * t) +
                             "\r\nWindow Height=tall\r\nWindow Top=" + NumberText(80 * t) +
                             "\r\nWindow Left=" + NumberText(120 * t) + "\r\nWindow State=\r\n");
    {
        ManualSendWindow window(Context());
        EXPECT_EQ(window.width(), 500);
        EXPECT_GT(window.height(), 0) << "a damaged height is skipped";
        EXPECT_EQ(window.pos(), QPoint(120, 80));
        EXPECT_EQ(window.windowState(), Qt::WindowNoState);
    }

    enum class Way { CloseButton, Escape, WindowClose, Destroyed };
    for (Way way : {Way::CloseButton, Way::Escape, Way::WindowClose, Way::Destroyed}) {
        SCOPED_TRACE(static_cast<int>(way));
        auto window = std::make_unique<ManualSendWindow>(Context());
        window->show();
        window->resize(440, 160);
        window->move(60, 40);
        std::string opened;
        ASSERT_TRUE(port.Open(2, opened)); // left open by someone: the window lets go of it
        switch (way) {
        case Way::CloseButton: window->closeButton()->click(); break;
        case Way::Escape: QTest::keyClick(window->commandLine(), Qt::Key_Escape); break;
        case Way::WindowClose: window->close(); break;
        case Way::Destroyed: window.reset(); break;
        }
        if (window) {
            EXPECT_FALSE(window->isVisible());
        }
        EXPECT_FALSE(port.IsOpen());
        auto key = [&](const char* name) {
            return StrictNumber(keys.ReadSetting(kManualSendSection, name, ini)).value_or(-1);
        };
        EXPECT_NEAR(key("Window Width"), 440 * t, 1);
        EXPECT_NEAR(key("Window Height"), 160 * t, 1);
        EXPECT_NEAR(key("Window Left"), 60 * t, 1);
        EXPECT_NEAR(key("Window Top"), 40 * t, 1);
        EXPECT_EQ(key("Window State"), 0);
        EXPECT_EQ(keys.ReadSetting("Main", "ComPort", ini), "0") << "the rest of zel.ini stays";
        test::WriteFile(ini, "[Main]\r\nComPort=0\r\n");
    }
    EXPECT_TRUE(prompts.prompts().empty());
}

using ToolCommands = test::MainWindowTest;

TEST_F(ToolCommands, TheMenuBarOpensThePadAlwaysAndTheCommandWindowOnlyPastTheGuard)
{
    Start();
    LoadFile();
    const MainMenus& m = window->menus();
    m.testPad->trigger();
    m.manualData->trigger();
    EXPECT_EQ(modals, (std::vector<std::string>{"TTPad", "ManualSendData"}));

    EditTimers();
    prompts.Answer(Answer::Ok, "Unapplied Timer Changes");
    m.manualData->trigger();
    m.testPad->trigger();
    EXPECT_EQ(modals, (std::vector<std::string>{"TTPad", "ManualSendData", "TTPad"}));
    EXPECT_EQ(prompts.pending(), 0u);
}

} // namespace
} // namespace vm880

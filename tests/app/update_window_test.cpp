// The upload window over a serial port whose far end answers "+" on a fake clock: the buttons
// while an upload runs, closing and interrupting in the middle of one, the progress of a
// complete upload, the saved placement, and the main window's upload command.

#include "app/program_settings.h"
#include "app/update_window.h"
#include "link/busy_state.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/upload_session.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"
#include "recording_sound_out.h"
#include "replying_serial_port.h"
#include "scripted_prompts.h"
#include "sim_controller.h"
#include "temp_folder.h"

#include "../link/command_reference_model.h"
#include "main_window_fixture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace vm880 {
namespace {

using test::ScriptedPrompts;

struct WindowRig {
    explicit WindowRig(bool hasRTC = false) : model(test::ReferenceModel(hasRTC))
    {
        model.ComPort = 1;
        model.SerialDelay = 0;
        model.DatFileLoaded = kTrue;
        model.FirmwareVersion = "60";
        model.DatFilePath = home.file("club.dat");
        // The controller accepts every command a millisecond later.
        port.onWrite = [this](std::string_view bytes) {
            if (bytes.size() > 1)
                port.Arrive("+\r\n", 1);
        };
    }

    AppContext Context()
    {
        AppContext context{model, prompts, keys, home.path().string(), &port,
                           [this](QDialog& dialog) { modals.push_back(dialog.objectName().toStdString()); }};
        context.clock = &clock;
        context.serialLink = &serial;
        context.toneLink = &tone;
        context.player = &player;
        return context;
    }

    Text Ini(const char* key) { return keys.ReadSetting("Update", key, ZelIniPath(home.path().string())); }

    ConfigModel model;
    test::FakeClock clock;
    test::RecordingTimeline timeline{clock};
    test::RecordingSoundOut sound{timeline};
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    test::TempFolder home;
    test::ReplyingSerialPort port{clock};
    TonePlayer player{sound, prompts};
    SerialLink serial{model, port, clock, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    std::vector<std::string> modals;
};

struct Buttons {
    bool complete, update, interrupt, close;
    bool operator==(const Buttons&) const = default;
};

Buttons Enabled(const UpdateWindow& window)
{
    return {window.completeButton()->isEnabled(), window.updateButton()->isEnabled(),
            window.interruptButton()->isEnabled(), window.closeButton()->isEnabled()};
}

TEST(UpdateWindow, TheUploadHoldsTheBusyStateAndWaitsForAnotherOperation)
{
    WindowRig rig;
    rig.model.HangTimeChanged(1) = kTrue;
    BusyState busy;
    AppContext context = rig.Context();
    context.busy = &busy;
    std::string during;
    int writes = 0;
    rig.port.onWrite = [&](std::string_view bytes) {
        ++writes;
        during = busy.Activity();
        if (bytes.size() > 1)
            rig.port.Arrive("+\r\n", 1);
    };
    {
        // Another operation holds the state: both buttons are refused and nothing is sent.
        BusyState::Hold clock = busy.TryHold("clock setting");
        UpdateWindow window(context);
        rig.prompts.Always(Answer::Ok, kBusyTitle);
        window.updateButton()->click();
        window.completeButton()->click();
        EXPECT_EQ(rig.prompts.titles(), (std::vector<std::string>{kBusyTitle, kBusyTitle}));
        EXPECT_EQ(writes, 0);
        EXPECT_FALSE(window.uploading());
    }
    UpdateWindow window(context);
    rig.prompts.Answer(Answer::Ok, upload_text::kSelectiveTitle);
    window.updateButton()->click();
    EXPECT_GT(writes, 0);
    EXPECT_EQ(during, "upload");
    EXPECT_FALSE(busy.Busy()) << "given back when the upload ended";
}

TEST(UpdateWindow, OnlyInterruptWhileUploadingAndClosingAsksToInterruptFirst)
{
    WindowRig rig;
    rig.model.HangTimeChanged(1) = kTrue;
    rig.model.HangTimeChanged(2) = kTrue;
    UpdateWindow window(rig.Context());
    window.show();
    EXPECT_EQ(window.windowTitle(), "Send To VM880");
    EXPECT_EQ(Enabled(window), (Buttons{true, true, false, true}));

    std::vector<Buttons> seen;
    bool visibleAfterInterrupt = false;
    rig.clock.onYield = [&] {
        if (!seen.empty())
            return;
        seen.push_back(Enabled(window));
        window.close(); // the title bar's button: answered No, the upload goes on
        EXPECT_TRUE(window.isVisible());
        window.interruptButton()->click(); // Yes: the item in progress is finished first
        seen.push_back(Enabled(window));
        visibleAfterInterrupt = window.isVisible();
    };
    rig.prompts.Answer(Answer::No, upload_text::kInterruptTitle)
        .Answer(Answer::Yes, upload_text::kInterruptTitle)
        .Answer(Answer::Ok, upload_text::kWaitTitle)
        .Answer(Answer::Ok, upload_text::kErrorTitle);

    window.updateButton()->click();

    EXPECT_EQ(seen, (std::vector<Buttons>{{false, false, true, false}, {false, false, false, false}}));
    EXPECT_TRUE(visibleAfterInterrupt);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rig.prompts.pending(), 0u);
    // Hang timer 1 was in progress and went out; hang timer 2 was never sent.
    EXPECT_EQ(rig.port.wire, "\r1*100050\r");
    EXPECT_EQ(rig.model.HangTimeChanged(1), kFalse);
    EXPECT_EQ(rig.model.HangTimeChanged(2), kTrue);
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(UpdateWindow, CompleteUploadShowsProgressThenResetsTheController)
{
    WindowRig rig; // no clock option: 983 positions on the bar
    UpdateWindow window(rig.Context());
    window.show();
    EXPECT_FALSE(window.progressBar()->isVisible());

    std::map<int, QString> shown; // bar value -> percentage shown, while the bar is shown
    rig.clock.onYield = [&] {
        if (window.progressBar()->isVisible())
            shown[window.progressBar()->value()] = window.percentLabel()->text();
    };
    rig.prompts.Answer(Answer::Yes, upload_text::kCompleteTitle)
        .Answer(Answer::Ok, upload_text::kDoneTitle);

    window.completeButton()->click();

    EXPECT_EQ(window.progressBar()->maximum(), 984);
    ASSERT_TRUE(shown.count(492));
    EXPECT_EQ(shown[492], "50% Complete");
    // The bar stops one short of its maximum's end: full before the walk is.
    EXPECT_EQ(shown.rbegin()->first, 984);
    EXPECT_EQ(shown.rbegin()->second, "100% Complete");
    EXPECT_FALSE(window.progressBar()->isVisible());
    EXPECT_EQ(window.percentLabel()->text(), "0% Complete");
    const std::string& wire = rig.port.wire;
    EXPECT_EQ(wire.substr(wire.size() - 10), "\r\r1*21999\r");
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rig.prompts.pending(), 0u);
}

TEST(UpdateWindow, PlacementIsReadAtLoadAndWrittenByClose)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const double perPixel = 1440.0 / screen->logicalDotsPerInchX();
    struct Case {
        const char* name;
        const char* width;
        Flag portOpenFailed;
        bool written;
    };
    for (const Case& c : {Case{"saved size", "9000", kFalse, true},
                          Case{"damaged key keeps the designed size", "wide", kFalse, true},
                          Case{"after a failed port, nothing is written", "9000", kTrue, false}}) {
        SCOPED_TRACE(c.name);
        WindowRig rig;
        const std::string ini = ZelIniPath(rig.home.path().string());
        rig.keys.WriteSetting("Update", "Window Width", c.width, ini);
        rig.keys.WriteSetting("Update", "Window Height", "3000", ini);
        UpdateWindow window(rig.Context());
        const int width = std::string(c.width) == "9000" ? static_cast<int>(std::lround(9000 / perPixel)) : 520;
        EXPECT_EQ(window.width(), width);

        std::string error;
        rig.port.Open(1, error);
        rig.model.transfer.PortOpenFailed = c.portOpenFailed;
        window.show();
        window.resize(700, 300);
        const int shownWidth = window.width();
        window.closeButton()->click();
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_EQ(rig.Ini("Window Width"), c.written ? NumberText(shownWidth * perPixel) : c.width);
        EXPECT_EQ(rig.Ini("Window State"), c.written ? "0" : "");
    }
}

TEST(UpdateWindow, UploadCommandChecksTheFileAndItsFirmwareVersion)
{
    struct Case {
        const char* name;
        Flag loaded;
        const char* firmware;
        std::optional<Answer> answer; // to "VERSION DIFFERENCE"
        int style;                     // of the question or notice
        bool opens;
    };
    const int question = style::YesNo + style::DefaultButton2;
    const Case cases[] = {
        {"no file loaded", kFalse, "60", std::nullopt, style::Exclamation, false},
        {"same version", kTrue, "60", std::nullopt, 0, true},
        {"same version with a revision", kTrue, "6012", std::nullopt, 0, true},
        {"another version, declined", kTrue, "61", Answer::No, question + style::Critical, false},
        {"shorter version, accepted", kTrue, "6", Answer::Yes, question + style::Critical, true},
        {"no version, accepted", kTrue, "", Answer::Yes, question + style::Question, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowRig rig;
        rig.model.DatFileLoaded = c.loaded;
        rig.model.FirmwareVersion = c.firmware;
        if (!c.loaded)
            rig.prompts.Answer(Answer::Ok, "Controller Update Error");
        if (c.answer)
            rig.prompts.Answer(*c.answer, "VERSION DIFFERENCE");

        mnuVM880Upload_Click(rig.Context(), nullptr);

        EXPECT_EQ(rig.modals, c.opens ? std::vector<std::string>{"Update"} : std::vector<std::string>{});
        ASSERT_EQ(rig.prompts.prompts().size(), c.style ? 1u : 0u);
        if (c.style) {
            EXPECT_EQ(rig.prompts.prompts().front().style, c.style);
        }
    }
}

// The real event loop, clock and serial port, against the simulated controller: timers run
// and Interrupt is served while the upload waits for the controller.
TEST(UpdateWindow, EventLoopStaysAliveDuringAnUpload)
{
    test::SimController sim;
    qputenv("VM880_PORT1", QByteArray::fromStdString(sim.SlavePath()));
    ConfigModel model = test::ReferenceModel(false);
    model.ComPort = 1;
    model.SerialDelay = 0;
    for (int p = 1; p <= 3; ++p)
        model.HangTimeChanged(p) = kTrue;
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    test::TempFolder home;
    QtSerialPort port;
    QtClock clock;
    test::FakeClock silentClock;
    test::RecordingTimeline timeline{silentClock};
    test::RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    SerialLink serial{model, port, clock, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    AppContext context{model, prompts, keys, home.path().string(), &port};
    context.clock = &clock;
    context.serialLink = &serial;
    context.toneLink = &tone;
    UpdateWindow window(context);

    // The operator presses Interrupt while the controller takes its time over the second line.
    sim.SetPolicy([&](const test::SimLine& line) {
        if (line.number == 2)
            QMetaObject::invokeMethod(&window, [&] { window.interruptButton()->click(); },
                                      Qt::QueuedConnection);
        return line.number > 0 ? test::SimReply::Ack(200) : test::SimReply::Silence();
    });
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticks += window.uploading() ? 1 : 0; });
    ticker.start(10);
    QTimer::singleShot(0, &window, [&] { window.updateButton()->click(); });
    QTimer::singleShot(20000, &window, [&] { window.QDialog::done(0); }); // never needed
    prompts.Answer(Answer::Yes, upload_text::kInterruptTitle)
        .Answer(Answer::Ok, upload_text::kWaitTitle)
        .Answer(Answer::Ok, upload_text::kErrorTitle);

    window.exec();
    qunsetenv("VM880_PORT1");

    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"1*100050", "2*1000120"}));
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(model.HangTimeChanged(2), kFalse);
    EXPECT_EQ(model.HangTimeChanged(3), kTrue);
    EXPECT_FALSE(port.IsOpen());
}

using test::MainWindowTest;

TEST_F(MainWindowTest, UploadMenuRefusesWithoutALoadedFile)
{
    Start();
    prompts.Answer(Answer::Ok, "Controller Update Error");
    window->menus().upload->trigger();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_TRUE(modals.empty());
}

} // namespace
} // namespace vm880

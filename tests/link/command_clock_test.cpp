// Setting the controller's clock: against the simulated controller over a pseudo-terminal
// (accepted, refused, never answered) and over the radio link with a recording keyer and
// sound output. The clock reading is fixed, so the commands are exact.

#include "link/command_clock.h"

#include "link/busy_state.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "pty_serial_port.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "skipping_clock.h"
#include "sim_controller.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vm880 {
namespace {

using test::ScriptedPrompts;
using test::SimController;
using test::SimReply;

// 4 July 2025, 09:05:07.
ClockReading IndependenceMorning()
{
    return {2025, 7, 4, 9, 5, 7};
}

using test::SkippingClock;


TEST(ControllerClockText, DateAndTimeHaveTwoDigitsEach)
{
    struct Case {
        ClockReading reading;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {{2025, 7, 4, 9, 5, 7}, "070425", "090507"},
        {{1999, 12, 31, 23, 59, 59}, "123199", "235959"},
        {{2000, 1, 1, 0, 0, 0}, "010100", "000000"},
        {{2109, 10, 15, 12, 30, 1}, "101509", "123001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ControllerDateText(c.reading), c.date);
        EXPECT_EQ(ControllerTimeText(c.reading), c.time);
    }
}

class ClockOverSerial : public ::testing::Test {
protected:
    ClockOverSerial()
    {
        model.ComPort = 2;
        model.SerialDelay = 0;
        prompts.AcceptNotices();
        // Three periods of 100 ms: a silent controller is given up on in a third of a second.
        link.SetTiming({100, 3, 10});
    }

    int Run(const ClockSource& now = IndependenceMorning)
    {
        result = SetControllerClock({model, prompts, busy, links}, clock, now);
        return result.status;
    }

    SimController sim;
    test::PtySerialPort port{sim.SlavePath()};
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    SerialLink link{model, port, clock, prompts};
    test::FakeClock toneClock;
    test::RecordingTimeline timeline{toneClock};
    test::RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    ControllerLinkChooser links{model, link, tone};
    BusyState busy;
    ControllerActionResult result;
};

TEST_F(ClockOverSerial, AcceptedDateAndTime)
{
    model.transfer.UploadError = kTrue; // left over from an earlier exchange: does not hold this one back
    EXPECT_EQ(Run(), kDone);
    ASSERT_TRUE(sim.WaitForLines(3, 1000));
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"1*5101070425", "1*5100090507"}));
    EXPECT_EQ(sim.Received(), "\r1*5101070425\r1*5100090507\r");
    EXPECT_EQ(model.transfer.UploadError, kFalse);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(result.Done());
    EXPECT_TRUE(prompts.prompts().empty());
    // 50 ms before the date, 500 ms between the two.
    EXPECT_NE(std::find(clock.sleeps.begin(), clock.sleeps.end(), 50), clock.sleeps.end());
    EXPECT_NE(std::find(clock.sleeps.begin(), clock.sleeps.end(), 500), clock.sleeps.end());
}

struct ClockFault {
    const char* name;
    const char* pattern;    // the command the controller mistreats
    SimReply reply;
    std::vector<std::string> sent;
    const char* reported;   // the command the error box names
    const char* reason;
    const char* step;
};

void PrintTo(const ClockFault& fault, std::ostream* out)
{
    *out << fault.name;
}

class ClockFaultTest : public ClockOverSerial, public ::testing::WithParamInterface<ClockFault> {};

TEST_P(ClockFaultTest, IsReportedAsAFailure)
{
    const ClockFault& f = GetParam();
    sim.FaultOnPattern(f.pattern, f.reply);
    EXPECT_EQ(Run(), kFailed);
    EXPECT_EQ(result.end, ActionEnd::Failed);
    EXPECT_EQ(result.acknowledged, static_cast<int>(f.sent.size()) - 1);
    EXPECT_EQ(sim.Commands(), f.sent);
    EXPECT_FALSE(port.IsOpen());
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].title, kCommunicationsErrorTitle);
    const std::string& text = prompts.prompts()[0].text;
    EXPECT_EQ(text.rfind(f.reason, 0), 0u) << text;
    EXPECT_NE(text.find(std::string("\r\n") + f.reported + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("CheckInput: ") + f.step), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Controller, ClockFaultTest,
    ::testing::Values(
        ClockFault{"date refused", "*5101", SimReply::Nack(), {"1*5101070425"}, "*5101070425",
                   reply_reason::Refused, "Check for NACK"},
        ClockFault{"date never answered", "*5101", SimReply::Silence(), {"1*5101070425"},
                   "*5101070425", reply_reason::NoAnswer, "Check ErrorCounter"},
        ClockFault{"time refused", "*5100", SimReply::Nack(), {"1*5101070425", "1*5100090507"},
                   "1*5100090507", reply_reason::Refused, "Check for NACK"},
        ClockFault{"time never answered", "*5100", SimReply::Silence(),
                   {"1*5101070425", "1*5100090507"}, "1*5100090507", reply_reason::NoAnswer,
                   "Check ErrorCounter"}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST_F(ClockOverSerial, OneReadingOfTheClockServesBothCommands)
{
    // A second later the date would be the next day's: both must come from the first reading.
    int readings = 0;
    const ClockSource lastSecond = [&readings] {
        return ++readings == 1 ? ClockReading{2025, 12, 31, 23, 59, 59} : ClockReading{2026, 1, 1, 0, 0, 0};
    };
    EXPECT_EQ(Run(lastSecond), kDone);
    EXPECT_EQ(readings, 1);
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"1*5101123125", "1*5100235959"}));
}

// ---- Radio link

struct ToneRig {
    ToneRig()
    {
        model.ComPort = 0;
        model.DTMFComPort = 4;
        model.WhichSend = 2;
        model.CurrentPortUnlock(1) = "17306";
        model.Lock = "12";
        model.Terminator = "D";
        prompts.AcceptNotices();
        clock.yieldStepMs = 0;
    }
    ConfigModel model;
    test::FakeClock clock;
    test::RecordingTimeline timeline{clock};
    test::RecordingSerialPort port{timeline};
    test::RecordingSoundOut sound{timeline};
    ScriptedPrompts prompts;
    TonePlayer player{sound, prompts};
    ToneLink link{{model, port, clock, prompts, player}};
};

// Set Clock over the radio link: the chooser's radio back-end on the recording keyer.
struct ToneClockRig : ToneRig {
    ControllerActionResult Run()
    {
        return SetControllerClock({model, prompts, busy, links}, clock, IndependenceMorning);
    }
    SerialLink unused{model, port, clock, prompts};
    ControllerLinkChooser links{model, unused, link};
    BusyState busy;
};

TEST(ClockOverRadio, PlaysDateTimeAndLockThenReleases)
{
    ToneClockRig rig;
    rig.model.TxTemp = 300;
    EXPECT_TRUE(rig.Run().Done());
    EXPECT_EQ(rig.sound.digits(), "17306D*5101070425D*5100090507D12D");
    EXPECT_EQ(rig.timeline.events().front().what, "open 4");
    EXPECT_FALSE(rig.link.IsKeyed());
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_EQ(rig.model.transfer.UploadError, kFalse);
    EXPECT_TRUE(rig.prompts.prompts().empty());
    EXPECT_TRUE(rig.port.written.empty()); // nothing went out as serial text
}

TEST(ClockOverRadio, KeyingFailureSendsNothingAndFails)
{
    ToneClockRig rig;
    rig.port.failOpen = true;
    const ControllerActionResult result = rig.Run();
    EXPECT_EQ(result.end, ActionEnd::NotOpened);
    EXPECT_EQ(rig.sound.digits(), "");
    EXPECT_EQ(rig.prompts.titles(), (std::vector<std::string>{kPttPortErrorTitle}));
    TellClockOutcome(rig.prompts, result);
    EXPECT_EQ(rig.prompts.prompts().size(), 1u) << "no success box, nothing told twice";
}

TEST(ClockOverRadio, LostSoundFails)
{
    ToneClockRig rig;
    rig.sound.failWith = PlayStatus::NoDevice;
    rig.sound.failReason = "no sound device was found";
    const ControllerActionResult result = rig.Run();
    EXPECT_EQ(result.end, ActionEnd::Failed);
    EXPECT_FALSE(rig.port.IsOpen()); // released all the same
    EXPECT_EQ(rig.prompts.prompts().size(), 1u);
}

} // namespace
} // namespace vm880

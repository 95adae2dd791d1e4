// The two back-ends of the controller link: the serial one against the simulated controller
// on a pseudo-terminal, the radio one with a recording keyer and sound output; the chooser;
// and the keyed waits that a closing window ends.

#include "link/command_catalogue.h"
#include "upload_rig.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/keyed_wait.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "pty_serial_port.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "sim_controller.h"
#include "skipping_clock.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vm880::test {
namespace {

LinkCommand Line(const std::string& line, bool awaitReply = true)
{
    LinkCommand command;
    command.line = line;
    command.keys = line.substr(1);
    command.awaitReply = awaitReply;
    return command;
}

struct SerialBackEndRig {
    SerialBackEndRig()
    {
        model.ComPort = 2;
        model.SerialDelay = 0;
        prompts.AcceptNotices();
        link.SetTiming({100, 3, 10});
    }
    SimController sim;
    PtySerialPort port{sim.SlavePath()};
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    SerialLink link{model, port, clock, prompts};
    SerialControllerLink backEnd{link, model};
};

TEST(SerialBackEnd, EachCommandAwaitsItsReplyAndReleaseClosesThePort)
{
    struct Case {
        const char* name;
        SimReply reply;
        bool await;
        bool sent;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"accepted", SimReply::Ack(), true, true, {}},
        {"refused", SimReply::Nack(), true, false, {kCommunicationsErrorTitle}},
        {"never answered", SimReply::Silence(), true, false, {kCommunicationsErrorTitle}},
        {"no reply awaited", SimReply::Silence(), false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SerialBackEndRig rig;
        rig.sim.FaultOnPattern("*5101", c.reply);
        ASSERT_TRUE(rig.backEnd.Open());
        EXPECT_TRUE(rig.backEnd.Unlock(2)) << "nothing to unlock over the cable";
        EXPECT_EQ(rig.backEnd.Send(Line("1*5101070425", c.await)), c.sent);
        EXPECT_TRUE(rig.backEnd.Lock());
        EXPECT_TRUE(rig.backEnd.Release());
        EXPECT_FALSE(rig.port.IsOpen());
        ASSERT_TRUE(rig.sim.WaitForLines(2, 1000));
        EXPECT_EQ(rig.sim.Received(), "\r1*5101070425\r");
        EXPECT_EQ(rig.prompts.titles(), c.titles);
        EXPECT_EQ(rig.model.transfer.LastCommand, c.await ? "1*5101070425" : "");
    }
}

// The upload's radio rig (keying port 4 by DTR, settle 200 ms) with the back-end over it.
struct ToneBackEndRig : RadioRig {
    ToneBackEndRig()
    {
        model.DTMFToneDelay = 20;
        model.CurrentPortUnlock(3) = "27306";
        model.Lock = "12";
        model.Terminator = "D";
        prompts.AcceptNotices();
    }
    ToneControllerLink backEnd{tone, model};
};

TEST(ToneBackEnd, KeysSettlesPlaysEachCommandWithItsTerminatorAndReleases)
{
    ToneBackEndRig rig;
    ASSERT_TRUE(rig.backEnd.Open());
    const std::int64_t keyedAt = rig.clock.NowMs();
    EXPECT_EQ(keyedAt, 200) << "TxTemp passes before the first tone";
    EXPECT_TRUE(rig.backEnd.Unlock(3));
    EXPECT_TRUE(rig.backEnd.Send(Line("3*5101070425")));
    // The catalogue's own codes, terminator included, are played as given.
    const std::vector<LinkCommand> date =
        LinkCommandsOf(ClockDateCommand(), rig.model, {1, 0, "070425"}, LinkKind::Tone);
    ASSERT_EQ(date.size(), 1u);
    EXPECT_EQ(date[0].keys, "*5101070425");
    EXPECT_TRUE(rig.backEnd.Send(date[0]));
    EXPECT_TRUE(rig.backEnd.Lock());
    EXPECT_TRUE(rig.backEnd.Release());
    EXPECT_EQ(rig.sound.digits(), "27306D*5101070425D*5101070425D12D");
    EXPECT_FALSE(rig.port.keyedBy(true));
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_TRUE(rig.prompts.prompts().empty());
}

// ---- Keyed waits

TEST(KeyedWait, BoundedSteppedAndEndedByACancel)
{
    struct Case {
        const char* name;
        std::int64_t ms;
        int cancelAfterYields; // -1: never
        bool completed;
        std::int64_t slept;
    };
    const Case cases[] = {
        {"short wait is one sleep", 30, 0, true, 30},
        {"one step is never cut", kKeyedWaitStepMs, 0, true, kKeyedWaitStepMs},
        {"long wait in steps", 260, -1, true, 260},
        {"cancelled after two steps", 1000, 2, false, 2 * kKeyedWaitStepMs},
        {"a mistyped delay is bounded", 99'999'999, -1, true, kMaxKeyingDelayMs},
        {"a negative delay is none", -5, -1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clock;
        clock.yieldStepMs = 0;
        const bool done = InterruptibleSleep(clock, c.ms, [&] {
            return c.cancelAfterYields >= 0 && clock.yields >= c.cancelAfterYields;
        });
        EXPECT_EQ(done, c.completed);
        EXPECT_EQ(std::accumulate(clock.sleeps.begin(), clock.sleeps.end(), std::int64_t{0}), c.slept);
        for (std::int64_t step : clock.sleeps)
            EXPECT_LE(step, kKeyedWaitStepMs);
    }
}

TEST(KeyedWait, ClosingDuringAHugeKeyUpDelayReleasesTheTransmitterAtOnce)
{
    for (bool duringDigit : {false, true}) {
        SCOPED_TRACE(duringDigit ? "before a digit" : "while settling");
        ToneBackEndRig rig;
        rig.model.TxTemp = duringDigit ? 0 : 99'999'999;
        rig.model.DTMFToneDelay = duringDigit ? 99'999'999 : 0;
        // The operator presses Close a few steps into the wait.
        rig.clock.onYield = [&rig] {
            if (rig.clock.yields == 3)
                rig.backEnd.Cancel();
        };
        const bool opened = rig.backEnd.Open();
        EXPECT_EQ(opened, duringDigit);
        EXPECT_FALSE(opened && rig.backEnd.Send(Line("1*5100")));
        rig.backEnd.Release();
        EXPECT_FALSE(rig.tone.IsKeyed());
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_TRUE(rig.sound.played.empty());
        EXPECT_LT(rig.clock.NowMs(), 1000) << "not hours, not the whole bound";
        EXPECT_TRUE(rig.prompts.prompts().empty());
    }
}

TEST(KeyedWait, ReleaseClosesThePortWhenALineCannotBeLoweredAndSaysSo)
{
    ToneBackEndRig rig;
    ASSERT_TRUE(rig.backEnd.Open());
    rig.port.failDTR = true;
    EXPECT_FALSE(rig.backEnd.Release());
    EXPECT_FALSE(rig.port.IsOpen());
    ASSERT_EQ(rig.prompts.titles(), std::vector<std::string>{kPttPortErrorTitle});
    EXPECT_NE(rig.prompts.prompts()[0].text.find("COM4"), std::string::npos);
    EXPECT_NE(rig.prompts.prompts()[0].text.find("DTR could not be lowered"), std::string::npos);
}

} // namespace
} // namespace vm880::test

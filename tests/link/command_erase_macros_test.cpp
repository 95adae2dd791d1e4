// Erasing all macros: against the simulated controller over a pseudo-terminal, with each
// command the controller may refuse, and over the radio link with a recording keyer and sound
// output. The model must follow exactly what the controller took.

#include "link/command_erase_macros.h"

#include "link/busy_state.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "pty_serial_port.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "sim_controller.h"
#include "skipping_clock.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vm880::test {
namespace {

const std::vector<std::string> kSerialCommands = {
    "1*400499D", "1*400699D", "1*2113190", "1*2113090",
    "2*2113190", "2*2113090", "3*2113190", "3*2113090",
};

// A model with every macro, restriction and receiver macro in use and no flag raised.
void FillMacros(ConfigModel& m)
{
    m.Terminator = "D";
    for (int i = 1; i <= 40; ++i) {
        m.Macro(i) = "001 002";
        m.MacroCode(i) = "5000" + std::to_string(i);
    }
    for (int i = 1; i <= 50; ++i) {
        m.ShortMacro(i) = "116";
        m.ShortMacroCode(i) = "6000" + std::to_string(i);
    }
    for (int i = 1; i <= 90; ++i)
        m.PortToAllow(i) = "1";
    for (int p = 1; p <= 3; ++p) {
        m.RcvMacroActive(p) = std::to_string(10 + p);
        m.RcvMacroInactive(p) = std::to_string(20 + p);
    }
    m.DatFileSaved = kTrue;
}

// What the model holds after `acknowledged` of the eight commands went through.
void ExpectModelAfter(ConfigModel& m, int acknowledged)
{
    const bool longDone = acknowledged >= 1;
    const bool shortDone = acknowledged >= 2;
    for (int i = 1; i <= 40; ++i) {
        EXPECT_EQ(m.Macro(i), longDone ? "NONE STORED" : "001 002") << i;
        EXPECT_EQ(m.MacroChanged(i), longDone ? kTrue : kFalse) << i;
        EXPECT_EQ(m.MacroCodeChanged(i), longDone ? kTrue : kFalse) << i;
        EXPECT_EQ(m.MacroCode(i), "5000" + std::to_string(i));
    }
    for (int i = 1; i <= 50; ++i) {
        EXPECT_EQ(m.ShortMacro(i), shortDone ? "NONE STORED" : "116") << i;
        EXPECT_EQ(m.ShortMacroChanged(i), shortDone ? kTrue : kFalse) << i;
        EXPECT_EQ(m.ShortMacroCodeChanged(i), shortDone ? kTrue : kFalse) << i;
    }
    for (int i = 1; i <= 90; ++i) {
        const bool erased = i <= 40 ? longDone : shortDone;
        EXPECT_EQ(m.PortToAllow(i), erased ? "123" : "1") << i;
        EXPECT_EQ(m.PortToAllowChanged(i), erased ? kTrue : kFalse) << i;
    }
    for (int p = 1; p <= 3; ++p) {
        const int active = 2 + 2 * (p - 1); // its index in the sending order
        EXPECT_EQ(m.RcvMacroActive(p), acknowledged > active ? "90" : std::to_string(10 + p)) << p;
        EXPECT_EQ(m.RcvMacroInactive(p), acknowledged > active + 1 ? "90" : std::to_string(20 + p)) << p;
        EXPECT_EQ(m.RcvMacroActiveChanged(p), longDone ? kTrue : kFalse) << p;
        EXPECT_EQ(m.RcvMacroInactiveChanged(p), longDone ? kTrue : kFalse) << p;
    }
    EXPECT_EQ(m.DatFileSaved, longDone ? kFalse : kTrue);
    EXPECT_EQ(m.MacrosChanged, kFalse);
    EXPECT_EQ(m.MacroPortsChanged, kFalse);
}

class EraseOverSerial : public ::testing::Test {
protected:
    EraseOverSerial()
    {
        FillMacros(model);
        model.ComPort = 2;
        model.SerialDelay = 0;
        prompts.AcceptNotices();
        link.SetTiming({100, 3, 10});
    }
    EraseMacrosOutcome Run()
    {
        prompts.Answer(Answer::Yes, kEraseQuestionTitle);
        return EraseAllMacros({model, prompts, busy, links}, clock);
    }

    SimController sim;
    PtySerialPort port{sim.SlavePath()};
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    SerialLink link{model, port, clock, prompts};
    FakeClock toneClock;
    RecordingTimeline timeline{toneClock};
    RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    ControllerLinkChooser links{model, link, tone};
    BusyState busy;
};

TEST_F(EraseOverSerial, EveryCommandTakenErasesEverythingAndSaysSo)
{
    const EraseMacrosOutcome outcome = Run();
    EXPECT_TRUE(outcome.Complete());
    EXPECT_EQ(sim.Commands(), kSerialCommands);
    EXPECT_FALSE(port.IsOpen());
    ExpectModelAfter(model, 8);
    EXPECT_EQ(prompts.titles(), (std::vector<std::string>{kEraseQuestionTitle, kEraseSentTitle, kEraseDoneTitle}));
    EXPECT_EQ(prompts.prompts()[0].style, 20);
    EXPECT_EQ(prompts.prompts()[0].text,
              "This will IMMEDIATELY erase all macros and all port restrictions IN THE CONTROLLER\r\n\r\n"
              "Are you sure you want to proceed?\r\nYES to erase ALL, NO to return to editing");
    EXPECT_EQ(prompts.prompts()[1].text, "The macros were erased in the controller");
    EXPECT_EQ(prompts.prompts()[2].text,
              "All Macros have been erased, both in Zel and in the VM880. You should save your dat "
              "file now to reflect these changes");
    EXPECT_FALSE(busy.Busy());
}

TEST_F(EraseOverSerial, NoToTheQuestionSendsAndChangesNothing)
{
    prompts.Answer(Answer::No, kEraseQuestionTitle);
    const EraseMacrosOutcome outcome = EraseAllMacros({model, prompts, busy, links}, clock);
    EXPECT_TRUE(outcome.declined);
    EXPECT_TRUE(sim.Commands().empty());
    ExpectModelAfter(model, 0);
    EXPECT_EQ(prompts.prompts().size(), 1u);
}

TEST_F(EraseOverSerial, EachRefusedCommandLeavesTheModelAsFarAsTheControllerWent)
{
    for (int refused = 1; refused <= 8; ++refused) {
        SCOPED_TRACE(refused);
        SimController controller;
        PtySerialPort pty{controller.SlavePath()};
        ConfigModel m;
        FillMacros(m);
        m.ComPort = 2;
        m.SerialDelay = 0;
        ScriptedPrompts answers;
        answers.AcceptNotices().Answer(Answer::Yes, kEraseQuestionTitle);
        SerialLink serial{m, pty, clock, answers};
        serial.SetTiming({100, 3, 10});
        ControllerLinkChooser chooser{m, serial, tone};
        controller.FaultOnLine(refused, SimReply::Nack());

        const EraseMacrosOutcome outcome = EraseAllMacros({m, answers, busy, chooser}, clock);
        EXPECT_FALSE(outcome.Complete());
        EXPECT_EQ(outcome.acknowledged(), refused - 1);
        EXPECT_EQ(controller.Commands(),
                  std::vector<std::string>(kSerialCommands.begin(), kSerialCommands.begin() + refused));
        EXPECT_FALSE(pty.IsOpen());
        ExpectModelAfter(m, refused - 1);
        const std::vector<std::string> titles = answers.titles();
        ASSERT_EQ(titles.size(), 3u);
        EXPECT_EQ(titles[1], kCommunicationsErrorTitle);
        EXPECT_EQ(titles[2], refused == 1 ? kEraseFailureTitle : kErasePartTitle);
        const std::string& told = answers.prompts()[2].text;
        if (refused == 1) {
            EXPECT_NE(told.find("Nothing was changed in Zel"), std::string::npos) << told;
        } else if (refused == 2) {
            EXPECT_NE(told.find("Macros 41 to 90 and their port restrictions were NOT erased"), std::string::npos);
        } else if (refused == 5) {
            EXPECT_NE(told.find("Receiver macros NOT set in the VM880: Port 2 active, Port 2 inactive, Port 3 "
                                "active, Port 3 inactive."),
                      std::string::npos)
                << told;
        }
        EXPECT_EQ(m.transfer.UploadError, kFalse);
    }
}

TEST_F(EraseOverSerial, APortThatDoesNotOpenChangesNothing)
{
    PtySerialPort nowhere{"/dev/pts/no-such-terminal"};
    SerialLink serial{model, nowhere, clock, prompts};
    ControllerLinkChooser chooser{model, serial, tone};
    prompts.Answer(Answer::Yes, kEraseQuestionTitle);
    const EraseMacrosOutcome outcome = EraseAllMacros({model, prompts, busy, chooser}, clock);
    EXPECT_EQ(outcome.result.end, ActionEnd::NotOpened);
    ExpectModelAfter(model, 0);
    EXPECT_EQ(prompts.titles(),
              (std::vector<std::string>{kEraseQuestionTitle, kSerialPortErrorTitle, kEraseFailureTitle}));
}

TEST_F(EraseOverSerial, ASecondEraseDuringTheRepliesIsRefused)
{
    sim.SetReplyDelay(20);
    EraseMacrosOutcome inner;
    bool tried = false;
    sim.SetPolicy([&](const SimLine&) { return SimReply::Ack(20); });
    clock.onYield = [&] {
        if (tried)
            return;
        tried = true;
        inner = EraseAllMacros({model, prompts, busy, links}, clock);
    };
    const EraseMacrosOutcome outer = Run();
    EXPECT_TRUE(tried);
    EXPECT_TRUE(outer.Complete());
    EXPECT_EQ(inner.result.end, ActionEnd::Busy);
    EXPECT_EQ(sim.Commands(), kSerialCommands);
    EXPECT_EQ(prompts.titles()[1], kBusyTitle);
}

// ---- Radio link

struct RadioRig {
    RadioRig()
    {
        FillMacros(model);
        model.ComPort = 0;
        model.DTMFComPort = 4;
        model.WhichSend = 2;
        model.TxTemp = 100;
        for (int p = 1; p <= 3; ++p)
            model.CurrentPortUnlock(p) = std::to_string(100 * p + 1);
        model.Lock = "12";
        prompts.AcceptNotices();
        clock.yieldStepMs = 0;
    }
    EraseMacrosOutcome Run(Answer ready = Answer::Yes)
    {
        prompts.Answer(Answer::Yes, kEraseQuestionTitle).Answer(ready, kEraseRadioTitle);
        return EraseAllMacros({model, prompts, busy, links}, clock);
    }
    ConfigModel model;
    FakeClock clock;
    RecordingTimeline timeline{clock};
    RecordingSerialPort port{timeline};
    RecordingSoundOut sound{timeline};
    ScriptedPrompts prompts;
    TonePlayer player{sound, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    SerialLink unused{model, port, clock, prompts};
    ControllerLinkChooser links{model, unused, tone};
    BusyState busy;
};

TEST(EraseOverRadio, PlaysEachPortBetweenItsUnlockAndTheLockThenReleases)
{
    RadioRig rig;
    const EraseMacrosOutcome outcome = rig.Run();
    EXPECT_TRUE(outcome.Complete());
    EXPECT_EQ(rig.sound.digits(),
              "101D*400499D*400699D12D"
              "101D*2113190D*2113090D12D"
              "201D*2113190D*2113090D12D"
              "301D*2113190D*2113090D12D");
    EXPECT_FALSE(rig.tone.IsKeyed());
    EXPECT_FALSE(rig.port.IsOpen());
    ExpectModelAfter(rig.model, 8);
    EXPECT_EQ(rig.prompts.titles(),
              (std::vector<std::string>{kEraseQuestionTitle, kEraseRadioTitle, kEraseDoneTitle}));
    EXPECT_EQ(rig.prompts.prompts()[1].style, 36);
}

TEST(EraseOverRadio, EveryWayOutReleasesTheTransmitterAndTheModelFollowsWhatWasPlayed)
{
    struct Case {
        const char* name;
        std::function<void(RadioRig&)> arrange;
        Answer ready;
        int played;        // erase commands played
        const char* title; // what the operator is told last
    };
    const Case cases[] = {
        {"the radio is not ready", [](RadioRig&) {}, Answer::No, 0, kEraseDeclinedTitle},
        {"keying fails", [](RadioRig& r) { r.port.failOpen = true; }, Answer::Yes, 0, kEraseFailureTitle},
        {"the sound device is gone", [](RadioRig& r) { r.sound.failWith = PlayStatus::NoDevice; },
         Answer::Yes, 0, kEraseFailureTitle},
        {"the sound layer throws during the short erase",
         [](RadioRig& r) {
             r.sound.onPlay = [&r, thrown = false](const PcmSound&) mutable {
                 if (!thrown && r.sound.digits().find("*4006") != std::string::npos) {
                     thrown = true;
                     throw std::runtime_error("audio server went away");
                 }
             };
         },
         Answer::Yes, 1, kErasePartTitle},
        {"the sound layer throws on port 3's receiver macros",
         [](RadioRig& r) {
             r.sound.onPlay = [&r, thrown = false](const PcmSound&) mutable {
                 if (!thrown && r.sound.digits().find("301D*2113") != std::string::npos) {
                     thrown = true;
                     throw std::runtime_error("audio server went away");
                 }
             };
         },
         Answer::Yes, 6, kErasePartTitle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioRig rig;
        c.arrange(rig);
        const EraseMacrosOutcome outcome = rig.Run(c.ready);
        EXPECT_FALSE(outcome.Complete());
        EXPECT_EQ(outcome.acknowledged(), c.played);
        EXPECT_FALSE(rig.tone.IsKeyed());
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_FALSE(rig.busy.Busy());
        ExpectModelAfter(rig.model, c.played);
        EXPECT_EQ(rig.prompts.titles().back(), c.title);
    }
}

} // namespace
} // namespace vm880::test

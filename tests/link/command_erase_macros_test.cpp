// Erasing all macros: against the simulated controller over a pseudo-terminal, with each
// command the controller may refuse, and over the radio link with a recording keyer and sound
// output. The model must follow exactly what the controller took.

#include "link/command_erase_macros.h"

#include "link/busy_state.h"
#include "link/controller_links.h"
#include "upload_rig.h"

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
    m.MacroChanged.fill(kFalse);
    m.MacroCodeChanged.fill(kFalse);
    m.ShortMacroChanged.fill(kFalse);
    m.ShortMacroCodeChanged.fill(kFalse);
    m.PortToAllowChanged.fill(kFalse);
    m.RcvMacroActiveChanged.fill(kFalse);
    m.RcvMacroInactiveChanged.fill(kFalse);
    m.MacrosChanged = m.MacroPortsChanged = kFalse;
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

// The upload's serial rig (the simulated controller on a pseudo-terminal) with the macros
// filled in and the chooser the editor action uses.
struct EraseSerialRig : SerialRig {
    EraseSerialRig()
    {
        FillMacros(model);
        prompts.AcceptNotices();
    }
    EraseMacrosOutcome Erase()
    {
        prompts.Answer(Answer::Yes, kEraseQuestionTitle);
        return EraseAllMacros({model, prompts, busy, links}, clock);
    }
    ControllerLinkChooser links{model, serial, tone};
    BusyState busy;
};

class EraseOverSerial : public ::testing::Test, protected EraseSerialRig {};

TEST_F(EraseOverSerial, EveryCommandTakenErasesEverythingAndSaysSo)
{
    const EraseMacrosOutcome outcome = Erase();
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
        EraseSerialRig rig;
        rig.sim.FaultOnLine(refused, SimReply::Nack());
        const EraseMacrosOutcome outcome = rig.Erase();
        EXPECT_FALSE(outcome.Complete());
        EXPECT_EQ(outcome.acknowledged(), refused - 1);
        EXPECT_EQ(rig.sim.Commands(),
                  std::vector<std::string>(kSerialCommands.begin(), kSerialCommands.begin() + refused));
        EXPECT_FALSE(rig.port.IsOpen());
        ExpectModelAfter(rig.model, refused - 1);
        const std::vector<std::string> titles = rig.prompts.titles();
        ASSERT_EQ(titles.size(), 3u);
        EXPECT_EQ(titles[1], kCommunicationsErrorTitle);
        EXPECT_EQ(titles[2], refused == 1 ? kEraseFailureTitle : kErasePartTitle);
        const std::string& told = rig.prompts.prompts()[2].text;
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
        EXPECT_EQ(rig.model.transfer.UploadError, kFalse);
    }
}

TEST_F(EraseOverSerial, APortThatDoesNotOpenChangesNothing)
{
    PtySerialPort nowhere{"/dev/pts/no-such-terminal"};
    SerialLink cable{model, nowhere, clock, prompts};
    ControllerLinkChooser chooser{model, cable, tone};
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
    const EraseMacrosOutcome outer = Erase();
    EXPECT_TRUE(tried);
    EXPECT_TRUE(outer.Complete());
    EXPECT_EQ(inner.result.end, ActionEnd::Busy);
    EXPECT_EQ(sim.Commands(), kSerialCommands);
    EXPECT_EQ(prompts.titles()[1], kBusyTitle);
}

// ---- Radio link

// The upload's radio rig (recording keyer and sound output) with the macros filled in.
struct EraseRadioRig : test::RadioRig {
    EraseRadioRig()
    {
        FillMacros(model);
        model.WhichSend = 2;
        model.TxTemp = 100;
        for (int p = 1; p <= 3; ++p)
            model.CurrentPortUnlock(p) = std::to_string(100 * p + 1);
        model.Lock = "12";
        prompts.AcceptNotices();
    }
    EraseMacrosOutcome Erase(Answer ready = Answer::Yes)
    {
        prompts.Answer(Answer::Yes, kEraseQuestionTitle).Answer(ready, kEraseRadioTitle);
        return EraseAllMacros({model, prompts, busy, links}, clock);
    }
    ControllerLinkChooser links{model, serial, tone};
    BusyState busy;
};

TEST(EraseOverRadio, PlaysEachPortBetweenItsUnlockAndTheLockThenReleases)
{
    EraseRadioRig rig;
    const EraseMacrosOutcome outcome = rig.Erase();
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

// The sound layer fails with a run-time error once, after `heard` was played.
void ThrowOnceAfter(EraseRadioRig& rig, std::string heard)
{
    rig.sound.onPlay = [&rig, heard, thrown = false](const PcmSound&) mutable {
        if (!thrown && rig.sound.digits().find(heard) != std::string::npos) {
            thrown = true;
            throw std::runtime_error("audio server went away");
        }
    };
}

TEST(EraseOverRadio, EveryWayOutReleasesTheTransmitterAndTheModelFollowsWhatWasPlayed)
{
    struct Case {
        const char* name;
        std::function<void(EraseRadioRig&)> arrange;
        Answer ready;
        int played;        // erase commands played
        const char* title; // what the operator is told last
    };
    const Case cases[] = {
        {"the radio is not ready", [](EraseRadioRig&) {}, Answer::No, 0, kEraseDeclinedTitle},
        {"keying fails", [](EraseRadioRig& r) { r.port.failOpen = true; }, Answer::Yes, 0, kEraseFailureTitle},
        {"the sound device is gone", [](EraseRadioRig& r) { r.sound.failWith = PlayStatus::NoDevice; },
         Answer::Yes, 0, kEraseFailureTitle},
        {"the sound layer throws during the short erase",
         [](EraseRadioRig& r) { ThrowOnceAfter(r, "*4006"); },
         Answer::Yes, 1, kErasePartTitle},
        {"the keying port closes as port 2's receiver macros begin",
         [](EraseRadioRig& r) {
             r.clock.onYield = [&r] { if (r.sound.digits().find("201D*2113") != std::string::npos) r.port.Drop(); };
         },
         Answer::Yes, 4, kErasePartTitle},
        {"the sound layer throws on port 3's receiver macros",
         [](EraseRadioRig& r) { ThrowOnceAfter(r, "301D*2113"); },
         Answer::Yes, 6, kErasePartTitle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EraseRadioRig rig;
        c.arrange(rig);
        const EraseMacrosOutcome outcome = rig.Erase(c.ready);
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

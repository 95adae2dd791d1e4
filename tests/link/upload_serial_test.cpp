// The upload over the serial cable against the simulated controller: what goes on the wire
// (compared with the hand-checked transcripts), which change flags are lowered, where a
// refused or unanswered line and an interrupt stop the walk, and the controller reset.

#include "link/upload_session.h"

#include "upload_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace vm880 {
namespace {

using test::GoldenRow;
using test::SerialRig;
using test::SimReply;

std::vector<std::string> Lines(const std::vector<GoldenRow>& rows)
{
    std::vector<std::string> lines;
    for (const GoldenRow& row : rows)
        lines.push_back(row.text);
    return lines;
}

TEST(UploadSerial, CompleteUploadSendsTheTranscriptThenResets)
{
    for (const bool hasRTC : {true, false}) {
        SCOPED_TRACE(hasRTC ? "with clock" : "without clock");
        SerialRig rig(hasRTC);
        rig.prompts.Answer(Answer::Yes, upload_text::kCompleteTitle).AcceptNotices();

        EXPECT_EQ(SendCompleteConfig(rig.engine, rig.progress), UploadOutcome::Done);

        std::vector<std::string> expected = Lines(test::GoldenSerialRows(
            hasRTC ? "upload_serial_rtc.txt" : "upload_serial_no_rtc.txt"));
        expected.push_back("1*21999");
        ASSERT_TRUE(rig.sim.WaitForLines(expected.size() + 2, 2000));
        EXPECT_EQ(rig.sim.Commands(), expected);
        // Each opening starts with a lone carriage return; the reset is the last thing sent.
        const std::string received = rig.sim.Received();
        EXPECT_EQ(received.front(), '\r');
        EXPECT_EQ(received.substr(received.size() - 10), "\r\r1*21999\r");
        EXPECT_FALSE(rig.port.IsOpen());

        EXPECT_EQ(rig.prompts.titles(), (std::vector<std::string>{upload_text::kCompleteTitle,
                                                                  upload_text::kDoneTitle}));
        EXPECT_EQ(rig.prompts.prompts().back().text, CompleteUploadText(false));
        EXPECT_EQ(rig.progress.steps, hasRTC ? 1080 : 990);
        EXPECT_EQ(rig.progress.resets, 1);
        // Pacing: 50 ms after every courtesy segment, 100 ms after every toll restriction.
        EXPECT_EQ(std::count(rig.clock.sleeps.begin(), rig.clock.sleeps.end(), 50), 120);
        EXPECT_EQ(std::count(rig.clock.sleeps.begin(), rig.clock.sleeps.end(), 100), 100);

        // The new codes became current, in the model and in the settings file.
        const std::map<std::string, std::string> unlockKeys = {
            {"Terminator", "D"},           {"NewTerminator", ""},
            {"CurrentPortUnlock(1)", "11234"}, {"NewPortUnlock(1)", ""},
            {"CurrentPortUnlock(2)", "27306"}, {"NewPortUnlock(2)", ""},
            {"CurrentPortUnlock(3)", "31234"}, {"NewPortUnlock(3)", ""},
            {"Lock", "45"},                {"NewLock", ""},
        };
        for (const auto& [key, value] : unlockKeys)
            EXPECT_EQ(rig.UnlockKey(key), value) << key;
        EXPECT_EQ(rig.model.CurrentPortUnlock(3), "31234");
        EXPECT_EQ(rig.model.NewPortUnlock(3), "");
        EXPECT_EQ(rig.model.Lock, "45");
        EXPECT_EQ(rig.model.MessageMacro(7), ""); // "NONE STORED" went out empty
        EXPECT_EQ(rig.model.transfer.UploadError, kFalse);
    }
}

TEST(UploadSerial, ChangesOnlySendsFlaggedItemsAndLowersExactlyTheirFlags)
{
    SerialRig rig;
    ConfigModel& m = rig.model;
    m.HangTimeChanged(2) = kTrue;
    m.AuxTimeChanged(3) = kTrue;
    m.GeneralTimerChanged(1) = kTrue;
    m.CTSeg2Changed(3, 7) = kTrue;
    m.CWTone2Changed(1) = 1; // any raised tone flag takes the pair
    m.SetPointChanged(3) = 1; // not exactly true: not taken, not lowered
    m.MeterChanged(9) = kTrue;
    m.MeterAlarmChanged(2) = kTrue;
    m.RemoteBaseMemoriesChanged = kTrue;
    m.RcvMacroInactiveChanged(2) = kTrue;
    m.AlarmLowMacroNumChanged(2) = kTrue; // macro "0": not sent, stays raised
    m.MessageMacroChanged(7) = kTrue;     // "NONE STORED": sent empty
    m.DTMFChangedItem(6) = kTrue;         // "NONE STORED": not sent, stays raised
    m.TollRestrictChanged(3) = kTrue;
    m.TerminatorChanged = kTrue;          // access codes go only with a complete upload
    m.PortUnlockChanged(2) = kTrue;
    m.LockChanged = kTrue;
    m.CWID2Changed(3) = kTrue;

    EXPECT_EQ(rig.Send(false), kDone);

    std::set<std::string> sent = {"HangTime(2)", "AuxTime(3)", "GeneralTimer(1)",
                                  "CTSeg2(3,7)", "CWTones(1)", "Vref", "MeterAlarm(2)",
                                  "MeterAlarmEnable(2)", "RcvMacros(2)", "MessageMacro(7)",
                                  "TollRestrict(3)", "CWID2(3)"};
    for (int n = 1; n <= 40; ++n)
        sent.insert("RemoteBaseMemory(" + std::to_string(n) + ")");
    std::vector<std::string> expected;
    for (const GoldenRow& row : test::GoldenSerialRows("upload_serial_rtc.txt"))
        if (sent.count(row.label))
            expected.push_back(row.text);
    ASSERT_TRUE(rig.sim.WaitForLines(expected.size() + 1, 2000));
    EXPECT_EQ(rig.sim.Commands(), expected);

    EXPECT_EQ(test::RaisedItems(m), (std::set<std::string>{"SetPoint(3)", "AlarmLowMacroNum(2)",
                                                      "DTMF(6)", "Terminator", "PortUnlock(2)",
                                                      "Lock"}));
    EXPECT_EQ(m.MessageMacro(7), "");
    EXPECT_EQ(rig.UnlockKey("Lock"), ""); // nothing written to the settings file
    EXPECT_EQ(rig.progress.steps, 1080); // the positions are counted all the same
    EXPECT_TRUE(rig.prompts.prompts().empty());
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(UploadSerial, NothingFlaggedOpensAndClosesTheLinkOnly)
{
    SerialRig rig(false);
    EXPECT_EQ(rig.Send(false), kDone);
    EXPECT_TRUE(rig.sim.Commands().empty());
    EXPECT_EQ(rig.progress.steps, 990);
    EXPECT_FALSE(rig.port.IsOpen());
}

// A "-" or silence at line k: the walk stops there, the items whose lines all went through
// have their flags lowered, the item of line k and every later one keep theirs.
TEST(UploadSerial, RefusedOrSilentLineStopsTheWalk)
{
    const std::vector<GoldenRow> golden = test::GoldenSerialRows("upload_serial_rtc.txt");
    auto lineOf = [&](const std::string& label, int nth = 1) {
        for (std::size_t i = 0; i < golden.size(); ++i)
            if (golden[i].label == label && --nth == 0)
                return static_cast<int>(i) + 1;
        ADD_FAILURE() << label;
        return 1;
    };
    struct Case {
        const char* name;
        int line;
        SimReply reply;
        std::optional<SimReply> toOpening = {};    // answer to the opening's carriage return
        std::optional<SimReply> toLineBefore = {}; // answer to line k - 1
        bool echoing = false;                      // an adapter echoes every line sent
        int runs = 1;                              // races are tried again
    };
    const SimReply repeatedAck = SimReply::Bytes("+\r\n+\r\n");
    const Case cases[] = {
        {"the new terminator", 1, SimReply::Nack()},
        {"the first port timer", 2, SimReply::Silence()},
        {"an auxiliary audio timer", lineOf("AuxTime(2)"), SimReply::Nack()},
        {"a general timer's macro line", lineOf("GeneralTimer(2)", 2), SimReply::Nack()},
        {"a remote-base memory's third line", lineOf("RemoteBaseMemory(5)", 3),
         SimReply::Silence()},
        {"a meter alarm, before its enable row", lineOf("MeterAlarm(4)"), SimReply::Nack()},
        {"the last CW ID", lineOf("CWID2(3)"), SimReply::Bytes("-\r\n", 20)},
        {"the first line, after a \"+\" to the opening", 1, SimReply::Nack(20),
         SimReply::Bytes("+\r\n", 2), {}, false, 10},
        {"a line after a repeated \"+\"", 3, SimReply::Nack(20), {}, repeatedAck, false, 5},
        {"the last CW ID, through an echoing adapter", lineOf("CWID2(3)"),
         SimReply::Echo().Then("-\r\n", 2), {}, {}, true},
    };
    for (const Case& c : cases) {
        for (int run = 0; run < c.runs; ++run) {
            SCOPED_TRACE(std::string(c.name) + ", run " + std::to_string(run));
            SerialRig rig;
            rig.prompts.AcceptNotices();
            test::RaiseEveryFlag(rig.model);
            rig.sim.FaultOnLine(c.line, c.reply);
            if (c.toLineBefore)
                rig.sim.FaultOnLine(c.line - 1, *c.toLineBefore);
            if (c.toOpening || c.echoing)
                rig.sim.SetPolicy([&c](const test::SimLine& line) {
                    if (line.number == 0)
                        return c.toOpening ? *c.toOpening : SimReply::Echo();
                    return c.echoing ? SimReply::Echo().Then("+\r\n", 1) : SimReply::Ack();
                });

            EXPECT_EQ(rig.Send(true), kFailed);

            const auto& sent = rig.sim.Commands();
            ASSERT_EQ(sent.size(), static_cast<std::size_t>(c.line));
            EXPECT_EQ(sent.back(), golden[c.line - 1].text);
            EXPECT_EQ(rig.prompts.titles(), std::vector<std::string>{kCommunicationsErrorTitle});
            EXPECT_EQ(rig.model.transfer.UploadError, kFalse);
            EXPECT_FALSE(rig.port.IsOpen());

            // Walk the order again: a step is through when all of its lines came before line k.
            int linesSoFar = 0;
            for (const Step& step : UploadOrder(rig.model)) {
                const Item& item = *step.item;
                linesSoFar += static_cast<int>(SerialLines(item, rig.model, step.ref).size());
                const bool through = linesSoFar < c.line;
                if (item.clearWhen == ClearWhen::AfterTable && !step.endsBlock)
                    continue;
                const bool lowered = through && (item.clearWhen == ClearWhen::AfterTable ||
                                                 !vm880::IsSkipped(item, rig.model, step.ref));
                for (FlagFn flag : item.clears)
                    ASSERT_EQ(flag(rig.model, step.ref) == kFalse, lowered)
                        << test::StepLabel(step);
            }
            // A walk stopped after the new terminator has made it current and written it.
            EXPECT_EQ(rig.UnlockKey("Terminator"), c.line > 1 ? "D" : "");
            EXPECT_EQ(rig.UnlockKey("Lock"), c.line > lineOf("Lock") ? "45" : "");
        }
    }
}

// The operator interrupts while the controller is still answering line `during`.
TEST(UploadSerial, InterruptStopsAfterTheItemInProgress)
{
    struct Case {
        const char* name;
        bool complete;
        const char* during; // the reported text of the line whose reply is awaited
        std::vector<std::string> sentLast; // the last lines sent
    };
    const Case cases[] = {
        {"changes only", false, "3*1000170", {"2*1000120", "3*1000170"}},
        {"complete", true, "*310510*50*1201*1211*",
         {"2*340440*40*1204*0*", "2*310510*50*1201*1211*"}},
        // Both lines of an item go out before the interrupt is noticed.
        {"two-line item", false, "*10172120", {"1*10172120", "1*2092222"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SerialRig rig;
        rig.model.HangTimeChanged(2) = kTrue;
        rig.model.HangTimeChanged(3) = kTrue;
        rig.model.GeneralTimerChanged(2) = kTrue;
        rig.model.FanTimeChanged = kTrue;
        rig.model.CWID1Changed(2) = kTrue;
        // A slow answer, so the wait lets window events run before it comes.
        rig.sim.FaultOnPattern(c.during, SimReply::Ack(30));
        bool asked = false;
        rig.clock.onYield = [&] {
            if (!asked && rig.model.transfer.LastCommand == c.during) {
                asked = true;
                EXPECT_TRUE(ConfirmInterrupt(rig.model, rig.prompts));
            }
        };
        if (c.complete)
            rig.prompts.Answer(Answer::Yes, upload_text::kCompleteTitle);
        rig.prompts.Answer(Answer::Yes, upload_text::kInterruptTitle)
            .Answer(Answer::Ok, upload_text::kWaitTitle)
            .Answer(Answer::Ok, upload_text::kErrorTitle);

        EXPECT_EQ(c.complete ? SendCompleteConfig(rig.engine, rig.progress)
                             : UpdateChangesOnly(rig.engine, rig.progress),
                  UploadOutcome::Failed);

        EXPECT_TRUE(asked);
        const auto sent = rig.sim.Commands();
        ASSERT_GE(sent.size(), c.sentLast.size());
        EXPECT_EQ(std::vector<std::string>(sent.end() - static_cast<long>(c.sentLast.size()),
                                           sent.end()),
                  c.sentLast);
        EXPECT_EQ(rig.prompts.pending(), 0u);
        EXPECT_EQ(rig.model.transfer.UpdateInterrupted, kFalse);
        if (!c.complete) {
            // What went out is lowered; what did not is still to be sent.
            const bool generalTimerSent = std::string(c.during) == "*10172120";
            EXPECT_EQ(rig.model.HangTimeChanged(3), kFalse);
            EXPECT_EQ(rig.model.GeneralTimerChanged(2), generalTimerSent ? kFalse : kTrue);
            EXPECT_EQ(rig.model.FanTimeChanged, kTrue);
            EXPECT_EQ(rig.model.CWID1Changed(2), kTrue);
        }
    }
}

TEST(UploadSession, ButtonsAskReportAndRefuseASecondUpload)
{
    {
        SCOPED_TRACE("complete declined");
        SerialRig rig;
        rig.prompts.Answer(Answer::No, upload_text::kCompleteTitle);
        EXPECT_EQ(SendCompleteConfig(rig.engine, rig.progress), UploadOutcome::Declined);
        EXPECT_EQ(rig.progress.steps, 0);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_TRUE(rig.sim.Lines().empty());
    }
    {
        SCOPED_TRACE("changes only, done");
        SerialRig rig;
        rig.model.FanTimeChanged = kTrue;
        rig.prompts.Answer(Answer::Ok, upload_text::kSelectiveTitle);
        EXPECT_EQ(UpdateChangesOnly(rig.engine, rig.progress), UploadOutcome::Done);
        EXPECT_EQ(rig.prompts.prompts().back().text, upload_text::kSelectiveDone);
    }
    {
        SCOPED_TRACE("changes only, refused, then a second upload asked for while it waits");
        SerialRig rig;
        rig.model.FanTimeChanged = kTrue;
        rig.sim.FaultOnPattern("1*10045", SimReply::Bytes("-\r\n", 30));
        int nested = -1;
        rig.clock.onYield = [&] {
            if (nested == -1)
                nested = rig.engine.SendUpdate(true);
        };
        rig.prompts.Answer(Answer::Ok, kCommunicationsErrorTitle)
            .Answer(Answer::Ok, upload_text::kErrorTitle);
        EXPECT_EQ(UpdateChangesOnly(rig.engine, rig.progress), UploadOutcome::Failed);
        EXPECT_EQ(nested, kFailed);
        EXPECT_EQ(rig.sim.Commands(), std::vector<std::string>{"1*10045"});
        EXPECT_EQ(rig.prompts.prompts().back().text, UpdateErrorText());
        EXPECT_EQ(rig.model.FanTimeChanged, kTrue);
    }
}

TEST(UploadSession, ProgressPercentRoundsHalvesToEven)
{
    struct Case {
        int value, total, percent;
    };
    for (const Case& c : {Case{492, 983, 50}, Case{983, 983, 100}, Case{984, 983, 100},
                          Case{0, 1073, 0}, Case{5, 0, 0}, Case{1, 200, 0}, Case{3, 200, 2},
                          Case{5, 200, 2}, Case{7, 200, 4}}) {
        EXPECT_EQ(UploadPercent(c.value, c.total), c.percent) << c.value << "/" << c.total;
    }
    ConfigModel model;
    const std::pair<Flag, int> totals[] = {{kTrue, 1073}, {kFalse, 983}, {1, 983}};
    for (const auto& [hasRTC, total] : totals) {
        model.HasRTC = hasRTC;
        EXPECT_EQ(UploadStepTotal(model), total);
    }
}

} // namespace
} // namespace vm880

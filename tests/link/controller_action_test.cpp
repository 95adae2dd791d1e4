// The controller-action frame: every way out releases the link and says what went out.

#include "link/busy_state.h"
#include "link/controller_action.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "recording_controller_link.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vm880::test {
namespace {

struct ActionRig {
    explicit ActionRig(LinkKind kind = LinkKind::Serial) : link(kind) {}

    ControllerActionResult Run(const ControllerActionBody& body, bool lockAtEnd = true)
    {
        return RunControllerAction({model, prompts, busy, links},
                                   {"clock setting", "Scheduler", "ClockSet_Click", lockAtEnd}, body);
    }

    ConfigModel model;
    ScriptedPrompts prompts;
    BusyState busy;
    RecordingControllerLink link;
    OneLink links{link};
};

LinkCommand Command(const std::string& line)
{
    LinkCommand command;
    command.line = line;
    command.keys = line.substr(1);
    return command;
}

// Sends "1*5101", "1*5100" and "1*21999" after unlocking port 1.
bool SendThree(ControllerAction& a)
{
    return a.Unlock(1) && a.Send({Command("1*5101"), Command("1*5100"), Command("1*21999")});
}

TEST(ControllerAction, EveryWayOutReleasesAndCountsWhatWentOut)
{
    struct Case {
        const char* name;
        LinkKind kind;
        std::function<void(ActionRig&)> arrange;
        ControllerActionBody body;
        ActionEnd end;
        int acknowledged;
        std::vector<std::string> calls;
        std::vector<std::string> titles;
        bool lockAtEnd = true;
    };
    const std::vector<Case> cases = {
        {"serial, all acknowledged", LinkKind::Serial, [](ActionRig&) {}, SendThree, ActionEnd::Done, 3,
         {"open", "unlock 1", "send 1*5101", "send 1*5100", "send 1*21999", "release"}, {}},
        {"radio, all played and the lock on the way out", LinkKind::Tone, [](ActionRig&) {}, SendThree,
         ActionEnd::Done, 3,
         {"open", "unlock 1", "send *5101", "send *5100", "send *21999", "lock", "release"}, {}},
        {"the port does not open: nothing is sent", LinkKind::Serial,
         [](ActionRig& r) { r.link.openSucceeds = false; }, SendThree, ActionEnd::NotOpened, 0,
         {"open", "release"}, {}},
        {"keying fails: nothing is played, not even the lock", LinkKind::Tone,
         [](ActionRig& r) { r.link.openSucceeds = false; }, SendThree, ActionEnd::NotOpened, 0,
         {"open", "release"}, {}},
        {"the second command is refused: the third is not sent", LinkKind::Serial,
         [](ActionRig& r) { r.link.failSend = {2}; }, SendThree, ActionEnd::Failed, 1,
         {"open", "unlock 1", "send 1*5101", "send 1*5100", "release"}, {}},
        {"the body stops by itself: still locked and released", LinkKind::Tone, [](ActionRig&) {},
         [](ControllerAction& a) { return a.Unlock(1) && a.Send(Command("1*5101")) && false; },
         ActionEnd::Failed, 1, {"open", "unlock 1", "send *5101", "lock", "release"}, {}},
        {"an exception in the body is reported, then locked and released", LinkKind::Tone,
         [](ActionRig&) {},
         [](ControllerAction& a) -> bool {
             a.Unlock(1);
             a.Send(Command("1*5101"));
             throw std::runtime_error("sound device gone");
         },
         ActionEnd::Error, 1, {"open", "unlock 1", "send *5101", "lock", "release"},
         {kSystemErrorTitle}},
        {"no lock after the reset", LinkKind::Tone, [](ActionRig&) {},
         [](ControllerAction& a) { return a.Unlock(1) && a.Send(Command("1*21999")); }, ActionEnd::Done,
         1, {"open", "unlock 1", "send *21999", "release"}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActionRig rig(c.kind);
        c.arrange(rig);
        rig.prompts.AcceptNotices();
        rig.model.transfer.UploadError = kTrue; // stale, from an earlier exchange
        const ControllerActionResult result = rig.Run(c.body, c.lockAtEnd);
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(result.status, c.end == ActionEnd::Done ? kDone : kFailed);
        EXPECT_EQ(result.acknowledged, c.acknowledged);
        EXPECT_EQ(rig.link.calls, c.calls);
        EXPECT_FALSE(rig.link.open);
        EXPECT_EQ(rig.prompts.titles(), c.titles);
        EXPECT_EQ(rig.model.transfer.UploadError, kFalse);
        EXPECT_FALSE(rig.busy.Busy()) << "the busy state is given back on every way out";
    }
}

TEST(ControllerAction, ASecondActionDuringTheFirstIsRefusedAndTouchesNothing)
{
    ActionRig rig;
    rig.prompts.AcceptNotices();
    ControllerActionResult inner;
    // The first action's reply wait lets window events run; the operator clicks again.
    rig.link.onSend = [&](int n) {
        if (n == 1)
            inner = rig.Run(SendThree);
    };
    const ControllerActionResult outer = rig.Run(SendThree);
    EXPECT_TRUE(outer.Done());
    EXPECT_EQ(inner.end, ActionEnd::Busy);
    EXPECT_EQ(inner.acknowledged, 0);
    EXPECT_EQ(rig.link.sent.size(), 3u) << "no command of the second action reached the link";
    EXPECT_EQ(rig.prompts.titles(), std::vector<std::string>{kBusyTitle});
}

} // namespace
} // namespace vm880::test

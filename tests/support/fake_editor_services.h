#pragma once
// The services an editor receives, built from fakes: a recording controller link, a fake
// clock, a recorded sound output behind the tone player, scripted file dialogs, key access
// and a busy state. An editor test builds an editor in one line:
//
//   FakeEditorServices fakes{prompts};
//   auto editor = std::make_unique<TimersEditor>(fakes.For(model));

#include "editors/editor_services.h"
#include "fake_clock.h"
#include "link/busy_state.h"
#include "link/tone_player.h"
#include "model/key_access.h"
#include "recording_controller_link.h"
#include "recording_sound_out.h"
#include "recording_timeline.h"
#include "scripted_file_dialogs.h"
#include "scripted_prompts.h"

namespace vm880::test {

class FakeEditorServices : public ControllerLinks {
public:
    explicit FakeEditorServices(ScriptedPrompts& prompts) : prompts(prompts) {}

    EditorServices For(ConfigModel& model)
    {
        return {model, prompts, *this, busy, player, clock, dialogs, keys};
    }
    ControllerLink& Current() override { return link; }

    ScriptedPrompts& prompts;
    RecordingControllerLink link;
    BusyState busy;
    FakeClock clock;
    RecordingTimeline timeline{clock};
    RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    ScriptedFileDialogs dialogs;
    KeyAccess keys{prompts};
};

} // namespace vm880::test

// Recording a WAV file into a DVR track: the exact commands against the simulated controller
// and over the radio link, the files refused before anything is sent, and every failure
// path with a recording keyer and sound output: recording is ended once started, the link
// released, what failed is said, and completion is never reported after a failure.

#include "link/dvr_record.h"

#include "fake_clock.h"
#include "link/busy_state.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/tone_player.h"
#include "link/wav_file.h"
#include "model/config_model.h"
#include "pty_serial_port.h"
#include "recording_controller_link.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "sim_controller.h"
#include "skipping_clock.h"
#include "temp_folder.h"
#include "wav_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

namespace vm880::test {
namespace {

// A recording link and sound output for one recording.
struct FakeRig {
    explicit FakeRig(LinkKind kind = LinkKind::Serial) : link(kind) { prompts.AcceptNotices(); }
    DvrRecordResult Run(int track, const std::string& wav)
    {
        return RecordDvrTrack({model, prompts, busy, links}, player, clock, track, wav);
    }
    ConfigModel model;
    ScriptedPrompts prompts;
    BusyState busy;
    RecordingControllerLink link;
    OneLink links{link};
    FakeClock clock;
    RecordingTimeline timeline{clock};
    RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
};

std::size_t Count(const ScriptedPrompts& prompts, const std::string& text)
{
    std::size_t n = 0;
    for (const RecordedPrompt& p : prompts.prompts())
        n += p.text == text;
    return n;
}

// ---- Against the simulated controller

class DvrOverSerial : public ::testing::Test {
protected:
    DvrOverSerial()
    {
        model.ComPort = 2;
        model.SerialDelay = 0;
        prompts.AcceptNotices();
        link.SetTiming({100, 3, 10});
        WriteFile(wav, WavImage(800));
    }
    DvrRecordResult Run(int track) { return RecordDvrTrack({model, prompts, busy, links}, player, clock, track, wav); }
    // What the simulator has received once `expected` came in (it reads on its own thread).
    std::string Received(const std::string& expected) const
    {
        for (int i = 0; i < 200 && sim.Received() != expected; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return sim.Received();
    }

    TempFolder folder;
    std::string wav = folder.file("greeting.wav");
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

TEST_F(DvrOverSerial, SelectsRecordsPlaysAndStopsThenSaysComplete)
{
    EXPECT_TRUE(Run(12).Done());
    EXPECT_EQ(Received("\r1*700212\r1*700112\rGS"), "\r1*700212\r1*700112\rGS");
    EXPECT_EQ(sound.played.size(), 1u);
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts().back().text, kDvrRecordComplete);
    EXPECT_EQ(prompts.prompts().back().style, 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(busy.Busy());
}

TEST_F(DvrOverSerial, AnUnplayedFileStillStopsTheRecording)
{
    // The output could play when asked, then broke down while playing.
    sound.failWith = PlayStatus::Failed;
    sound.failReason = "the sound device stopped playing";
    EXPECT_EQ(Run(19).failed, DvrStep::Playback);
    EXPECT_EQ(Received("\r1*700219\r1*700119\rGS"), "\r1*700219\r1*700119\rGS");
    EXPECT_EQ(Count(prompts, kDvrRecordComplete), 0u);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(DvrOverSerial, ASoundOutputThatCannotPlayTheFileSendsNothing)
{
    const PlayResult outputs[] = {{PlayStatus::NoDevice, "no sound device was found"},
                                  {PlayStatus::Failed, "the sound device cannot play 8000 Hz sound"}};
    for (const PlayResult& output : outputs) {
        SCOPED_TRACE(output.reason);
        sound.cannotPlay = output;
        const std::size_t before = prompts.prompts().size();
        EXPECT_EQ(Run(3).failed, DvrStep::Refused);
        ASSERT_EQ(prompts.prompts().size(), before + 1);
        EXPECT_EQ(prompts.prompts().back().title, kDvrRecordTitle);
        EXPECT_EQ(prompts.prompts().back().text,
                  SoundFailureText(output) + "\r\n\r\nNothing was sent to the VM880.");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(sim.Received(), "") << "not even the opening carriage return";
    EXPECT_TRUE(sound.played.empty());
    EXPECT_FALSE(port.IsOpen());

    // Over the radio link the transmitter is not even keyed.
    FakeRig radio{LinkKind::Tone};
    radio.sound.failWith = PlayStatus::NoDevice;
    EXPECT_EQ(radio.Run(3, wav).failed, DvrStep::Refused);
    EXPECT_TRUE(radio.link.calls.empty());
}

// ---- Files refused before anything is sent

TEST(DvrWavFile, UnplayableFilesAreRefusedBeforeAnyCommand)
{
    TempFolder folder;
    const std::pair<const char*, std::string> files[] = {
        {"gone.wav", ""},
        {"notes.wav", "this is plain text, not sound"},
        {"adpcm.wav", WavImage(800, 2)},
        {"cut.wav", WavImage(800).substr(0, 30)},
        {"empty.wav", WavImage(0)},
        {"huge.wav", WavImage(8)},
    };
    std::vector<std::string> paths{""}; // none chosen
    for (const auto& [name, bytes] : files) {
        paths.push_back(folder.file(name));
        if (!bytes.empty())
            WriteFile(paths.back(), bytes);
    }
    std::filesystem::resize_file(paths.back(), kMaxWavFileBytes + 1); // too large to read
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        FakeRig rig;
        EXPECT_EQ(rig.Run(1, path).failed, DvrStep::Refused);
        EXPECT_TRUE(rig.link.calls.empty());
        EXPECT_TRUE(rig.sound.played.empty());
        EXPECT_EQ(rig.prompts.titles(), std::vector<std::string>{kDvrRecordTitle});
    }
    WriteFile(folder.file("ok.wav"), WavImage(80));
    FakeRig rig;
    EXPECT_EQ(DvrWavRefusal(folder.file("ok.wav"), rig.player), "");
}

// ---- With a recording link and sound output: every failure path

struct FaultCase {
    const char* what;
    LinkKind kind;
    bool opens;
    std::set<int> failSends;
    bool soundFails;
    std::vector<std::string> calls;
    DvrStep failed;
};

const FaultCase kFaults[] = {
    {"serial: all well", LinkKind::Serial, true, {}, false,
     {"open", "send 1*70027", "send 1*70017", "send G", "send S", "release"}, DvrStep::None},
    {"serial: port not opened", LinkKind::Serial, false, {}, false, {"open", "release"}, DvrStep::None},
    {"serial: track refused", LinkKind::Serial, true, {1}, false, {"open", "send 1*70027", "release"},
     DvrStep::TrackCommand},
    {"serial: record command lost", LinkKind::Serial, true, {2}, false,
     {"open", "send 1*70027", "send 1*70017", "release"}, DvrStep::RecordCommand},
    {"serial: start lost", LinkKind::Serial, true, {3}, false,
     {"open", "send 1*70027", "send 1*70017", "send G", "release"}, DvrStep::Start},
    {"serial: sound lost", LinkKind::Serial, true, {}, true,
     {"open", "send 1*70027", "send 1*70017", "send G", "send S", "release"}, DvrStep::Playback},
    {"serial: stop lost", LinkKind::Serial, true, {4}, false,
     {"open", "send 1*70027", "send 1*70017", "send G", "send S", "release"}, DvrStep::Stop},
    {"radio: all well", LinkKind::Tone, true, {}, false,
     {"open", "unlock 1", "send *70027", "send *70017", "lock", "release"}, DvrStep::None},
    {"radio: keying failed", LinkKind::Tone, false, {}, false, {"open", "release"}, DvrStep::None},
    {"radio: track not played", LinkKind::Tone, true, {1}, false,
     {"open", "unlock 1", "send *70027", "release"}, DvrStep::TrackCommand}, // tones fail: no lock either
    {"radio: record not played", LinkKind::Tone, true, {2}, false,
     {"open", "unlock 1", "send *70027", "send *70017", "release"}, DvrStep::RecordCommand},
    {"radio: sound lost", LinkKind::Tone, true, {}, true,
     {"open", "unlock 1", "send *70027", "send *70017", "lock", "release"}, DvrStep::Playback},
};

TEST(DvrRecording, EveryFailureEndsTheRecordingReleasesTheLinkAndIsNeverReportedComplete)
{
    TempFolder folder;
    const std::string wav = folder.file("id.wav");
    WriteFile(wav, WavImage(400));
    for (const FaultCase& f : kFaults) {
        SCOPED_TRACE(f.what);
        FakeRig rig{f.kind};
        rig.link.openSucceeds = f.opens;
        rig.link.failSend = f.failSends;
        if (f.soundFails)
            rig.sound.failWith = PlayStatus::Failed;
        const DvrRecordResult r = rig.Run(7, wav);
        EXPECT_EQ(rig.link.calls, f.calls);
        EXPECT_EQ(r.failed, f.failed);
        const bool good = f.opens && f.failed == DvrStep::None;
        EXPECT_EQ(r.Done(), good);
        EXPECT_EQ(Count(rig.prompts, kDvrRecordComplete), good ? 1u : 0u);
        if (f.failed != DvrStep::None) {
            EXPECT_EQ(rig.prompts.titles().back(), kDvrRecordTitle);
        }
        EXPECT_FALSE(rig.busy.Busy());
    }
}

// ---- Over the radio link, tone by tone

TEST(DvrOverRadio, TrackDigitsArePlayedOneByOneBetweenUnlockAndLock)
{
    TempFolder folder;
    const std::string wav = folder.file("id.wav");
    WriteFile(wav, WavImage(400));
    ConfigModel model;
    model.ComPort = 0;
    model.DTMFComPort = 4;
    model.WhichSend = 2;
    model.TxTemp = 0; // the recording keeps its own wait after keying
    model.CurrentPortUnlock(1) = "17306";
    model.Lock = "12";
    model.Terminator = "D";
    ScriptedPrompts prompts;
    prompts.AcceptNotices();
    FakeClock clock;
    clock.yieldStepMs = 0;
    RecordingTimeline timeline{clock};
    RecordingSerialPort port{timeline};
    RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    SerialLink unused{model, port, clock, prompts};
    ControllerLinkChooser links{model, unused, tone};
    BusyState busy;
    EXPECT_TRUE(RecordDvrTrack({model, prompts, busy, links}, player, clock, 12, wav).Done());
    // The WAV file (no digit) between the record command and the lock.
    EXPECT_EQ(sound.digits(), "17306D*700212D*700112D?12D");
    const auto& events = timeline.events();
    const auto keyed = std::find_if(events.begin(), events.end(),
                                    [](const TimelineEvent& e) { return e.what == "RTS on"; });
    const auto firstTone = std::find_if(events.begin(), events.end(),
                                        [](const TimelineEvent& e) { return e.what.starts_with("tone"); });
    ASSERT_NE(keyed, events.end());
    ASSERT_NE(firstTone, events.end());
    EXPECT_EQ(firstTone->atMs - keyed->atMs, kDvrKeyedSettleMs) << "the transmitter is up first";
    EXPECT_FALSE(tone.IsKeyed());
    EXPECT_EQ(Count(prompts, kDvrRecordComplete), 1u);
}

} // namespace
} // namespace vm880::test

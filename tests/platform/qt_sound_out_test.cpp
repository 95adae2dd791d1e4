// The Qt sound output against a real sound server: a private PulseAudio server whose only sink
// writes what it plays into a pipe. The test checks that each tone comes out whole (the sink
// reports the end before the sound is heard) and that a DTMF decoder hears every digit.
// Each test must run in its own process (ctest does so): Qt connects to the sound server
// once, at the first use, with the environment of that moment.

#include "link/dtmf_link.h"
#include "model/config_model.h"
#include "interfaces/clock.h"
#include "platform/qt_sound_out.h"
#include "recording_decoder.h"
#include "recording_serial_port.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vm880 {
namespace {

namespace fs = std::filesystem;

constexpr int kCaptureRate = 22050; // the pipe sink's format: s16le mono

// Qt's sound engine binds to the server it finds first; a second test in the same process
// would see the first one's server.
bool& SoundEngineUsed()
{
    static bool used = false;
    return used;
}

// A clock that really waits, with the window system running.
class WaitingClock : public Clock {
public:
    std::int64_t NowMs() override { return timer_.elapsed(); }
    void SleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            QTest::qWait(static_cast<int>(ms));
    }
    void Yield() override { QCoreApplication::processEvents(); }

private:
    QElapsedTimer timer_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

// A PulseAudio server of our own, in a temporary folder, started and stopped by the test.
class PrivatePulseServer {
public:
    ~PrivatePulseServer() { Stop(); }

    // Starts the server; false (with `why`) when it cannot run here.
    bool Start(std::string& why)
    {
        if (!test::FoundOnPath("pulseaudio")) {
            why = "pulseaudio is not installed (scripts/setup.sh installs it)";
            return false;
        }
        const fs::path dir = folder_.path();
        const fs::path runtime = dir / "runtime";
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
        fifo_ = (dir / "capture.fifo").string();
        if (mkfifo(fifo_.c_str(), 0600) != 0) {
            why = "cannot make the capture pipe";
            return false;
        }
        // Read the pipe from the start, so the sink never blocks on it.
        fifoFd_ = open(fifo_.c_str(), O_RDONLY | O_NONBLOCK);
        if (fifoFd_ < 0) {
            why = "cannot open the capture pipe";
            return false;
        }
        reader_ = std::thread([this] { ReadCapture(); });

        const std::string script = (dir / "server.pa").string();
        std::ofstream(script)
            << "load-module module-native-protocol-unix\n"
            << "load-module module-pipe-sink sink_name=capture file=" << fifo_
            << " format=s16le rate=" << kCaptureRate
            << " channels=1 use_system_clock_for_timing=yes\n"
            << "set-default-sink capture\n";

        // This process talks to this server only.
        const fs::path socket = runtime / "pulse" / "native";
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
        setenv("PULSE_COOKIE", (dir / "cookie").c_str(), 1);

        // The server gets a HOME of its own so it writes nothing into the real one.
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).rfind("HOME=", 0) != 0)
                env.emplace_back(*e);
        env.push_back("HOME=" + dir.string());
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        const std::string log = (dir / "server.log").string();
        std::vector<std::string> args = {"pulseaudio", "-n", "-F", script, "--daemonize=no",
                                         "--exit-idle-time=-1", "--use-pid-file=no"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int rc = posix_spawnp(&pid_, "pulseaudio", &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            pid_ = 0;
            why = "cannot start pulseaudio";
            return false;
        }

        // Wait (at most 10 s) for its socket.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!fs::exists(socket)) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                why = "pulseaudio ended at once: " + test::ReadFile(log);
                return false;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                why = "pulseaudio did not open its socket within 10 s: " + test::ReadFile(log);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // Ends the server (it is ours: by its process id) and the capture.
    void Stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            int status = 0;
            while (waitpid(pid_, &status, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > deadline) {
                    kill(pid_, SIGKILL);
                    waitpid(pid_, &status, 0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            pid_ = 0;
        }
        stopReading_ = true;
        if (reader_.joinable())
            reader_.join();
        if (fifoFd_ >= 0) {
            close(fifoFd_);
            fifoFd_ = -1;
        }
    }

    std::vector<std::int16_t> Capture()
    {
        std::lock_guard lock(mutex_);
        std::vector<std::int16_t> samples(captured_.size() / 2);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>(captured_[2 * i] | (captured_[2 * i + 1] << 8));
        return samples;
    }
    std::string SaveCapture(const std::string& name)
    {
        std::lock_guard lock(mutex_);
        const std::string path = folder_.file(name);
        test::WriteFile(path, std::string(captured_.begin(), captured_.end()));
        return path;
    }

private:
    void ReadCapture()
    {
        char chunk[8192];
        while (!stopReading_) {
            pollfd p{fifoFd_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            const ssize_t n = read(fifoFd_, chunk, sizeof chunk);
            if (n > 0) {
                std::lock_guard lock(mutex_);
                captured_.insert(captured_.end(), chunk, chunk + n);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }

    test::TempFolder folder_;
    std::string fifo_;
    int fifoFd_ = -1;
    pid_t pid_ = 0;
    std::thread reader_;
    std::atomic<bool> stopReading_{false};
    std::mutex mutex_;
    std::vector<char> captured_;
};

// Stretches of sound in the capture, in milliseconds (start, length): 1 ms windows whose peak
// stands out from the silence, joined across gaps shorter than 5 ms (zero crossings).
std::vector<std::pair<double, double>> ToneSegments(const std::vector<std::int16_t>& x)
{
    constexpr int kWindow = kCaptureRate / 1000;
    constexpr int kThreshold = 400;
    std::vector<std::pair<double, double>> segments;
    int start = -1, lastActive = -1;
    const int windows = static_cast<int>(x.size()) / kWindow;
    for (int w = 0; w < windows; ++w) {
        int peak = 0;
        for (int i = 0; i < kWindow; ++i)
            peak = std::max(peak, std::abs(int(x[static_cast<std::size_t>(w * kWindow + i)])));
        if (peak < kThreshold)
            continue;
        if (start >= 0 && w - lastActive > 5) {
            segments.push_back({double(start), double(lastActive + 1 - start)});
            start = -1;
        }
        if (start < 0)
            start = w;
        lastActive = w;
    }
    if (start >= 0)
        segments.push_back({double(start), double(lastActive + 1 - start)});
    return segments;
}

PcmSound Tone(int milliseconds)
{
    PcmSound sound;
    sound.format = {8000, 1, SampleType::Int16};
    sound.data.assign(static_cast<std::size_t>(milliseconds) * 8 * 2, 0);
    for (std::size_t i = 0; i + 1 < sound.data.size(); i += 2) {
        const auto v = static_cast<std::int16_t>(4000 * std::sin(i / 2 * 2 * 3.14159265 * 1000 / 8000));
        sound.data[i] = static_cast<std::uint8_t>(v);
        sound.data[i + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8);
    }
    return sound;
}

TEST(QtSoundOut, WithoutASoundServerItSaysNoSoundDevice)
{
    if (SoundEngineUsed())
        GTEST_SKIP() << "the sound engine is already connected in this process; run on its own";
    SoundEngineUsed() = true;
    test::TempFolder folder;
    setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + folder.file("no-server")).c_str(), 1);

    QtSoundOut out;
    EXPECT_TRUE(out.Play(PcmSound{{8000, 2, SampleType::Int16}, {}}).played())
        << "an empty sound needs no device";
    const PlayResult result = out.Play(Tone(60));
    EXPECT_EQ(result.status, PlayStatus::NoDevice);
    EXPECT_EQ(result.reason, "no sound device was found");
    const PlayResult asked = out.CanPlay(Tone(60).format);
    EXPECT_EQ(asked.status, PlayStatus::NoDevice) << "known without playing";
    EXPECT_EQ(asked.reason, result.reason);
}

TEST(QtSoundOut, EveryToneComesOutWholeAndIsDecoded)
{
    if (SoundEngineUsed())
        GTEST_SKIP() << "the sound engine is already connected in this process; run on its own";
    SoundEngineUsed() = true;
    PrivatePulseServer server;
    std::string why;
    if (!server.Start(why))
        GTEST_SKIP() << "no private PulseAudio server: " << why;
    const std::string missing = test::DecoderMissing(/*needSox=*/false);
    ASSERT_TRUE(missing.empty()) << missing;

    QtSoundOut out;
    ConfigModel model;
    model.ComPort = 0;
    model.DTMFComPort = 1;
    model.TxTemp = 100;
    model.DTMFToneDelay = 40;
    model.CurrentPortUnlock(1) = "27";
    model.Lock = "4";
    model.Terminator = "#";
    WaitingClock clock;
    test::FakeClock timelineClock;
    test::RecordingTimeline timeline(timelineClock);
    test::RecordingSerialPort port(timeline);
    test::ScriptedPrompts prompts; // any sound failure box fails the test
    TonePlayer player(out, prompts);
    ToneLink link({model, port, clock, prompts, player});

    const std::string expected = "27#*1003#4#";
    QElapsedTimer elapsed;
    elapsed.start();
    {
        KeyedTransmitter key(link, model.TxTemp);
        ASSERT_TRUE(key.keyed());
        ASSERT_TRUE(link.SendUnlock("1"));
        ASSERT_TRUE(link.PlayDTMFString("*1003#"));
        ASSERT_TRUE(link.SendLock());
    }
    const qint64 tookMs = elapsed.elapsed();
    QTest::qWait(300); // let the sink write the last silence
    server.Stop();

    // Each digit returned only after it was played: at least tone, delay and tail silence.
    const auto digits = static_cast<qint64>(expected.size());
    EXPECT_GE(tookMs, digits * (60 + 40 + QtSoundOut::kTailSilenceMs));

    const auto capture = server.Capture();
    const auto segments = ToneSegments(capture);
    ASSERT_EQ(segments.size(), expected.size()) << "tones found in the capture";
    for (const auto& [start, length] : segments)
        EXPECT_NEAR(length, 60.0, 4.0) << "tone at " << start << " ms cut or stretched";

    const std::string raw = server.SaveCapture("capture.raw");
    std::string error;
    EXPECT_EQ(test::DecodeDTMF("raw", raw, error), expected);
    EXPECT_TRUE(error.empty()) << error;
}

TEST(QtSoundOut, StopEndsTheSoundAndASecondSoundWaitsItsTurn)
{
    if (SoundEngineUsed())
        GTEST_SKIP() << "the sound engine is already connected in this process; run on its own";
    SoundEngineUsed() = true;
    PrivatePulseServer server;
    std::string why;
    if (!server.Start(why))
        GTEST_SKIP() << "no private PulseAudio server: " << why;

    QtSoundOut out;
    PlayResult nested;
    PlayResult asked;
    QTimer::singleShot(200, [&] {
        asked = out.CanPlay(Tone(60).format);
        nested = out.Play(Tone(60)); // played from a window event while the first one plays
        out.Stop();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    const PlayResult first = out.Play(Tone(3000));
    EXPECT_EQ(first.status, PlayStatus::Stopped);
    EXPECT_LT(elapsed.elapsed(), 2000) << "Stop did not end the sound";
    EXPECT_EQ(nested.status, PlayStatus::Failed);
    EXPECT_EQ(nested.reason, "another sound is still playing");
    EXPECT_EQ(asked.status, PlayStatus::Failed);
    EXPECT_EQ(asked.reason, nested.reason);
    EXPECT_TRUE(out.CanPlay(Tone(60).format).played());
    EXPECT_TRUE(out.Play(Tone(60)).played()) << "the output is free again";
}

} // namespace
} // namespace vm880

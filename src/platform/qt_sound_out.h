#pragma once
// Sound output through Qt Multimedia's QAudioSink. Play returns only when the sound has
// really been heard: the sink reports the end of the data when it was handed to the sound
// server, not when it came out, so the sound is followed by silence and the wait ends only
// when the sink's played time covers all of it. The event loop runs while waiting.

#include "interfaces/sound_out.h"

#include <QElapsedTimer>

#include <deque>
#include <memory>

namespace vm880 {

class QtSoundOut : public SoundOut {
public:
    // Silence appended to every sound so that the server's latency never cuts its end.
    static constexpr int kTailSilenceMs = 250;
    // Extra time allowed beyond the sound's length before the output counts as hung.
    static constexpr int kStallMarginMs = 5000;

    // How long a stopped sink is kept before it is deleted.
    static constexpr int kRetiredSinkMs = 2000;

    QtSoundOut();
    ~QtSoundOut() override;
    QtSoundOut(const QtSoundOut&) = delete;
    QtSoundOut& operator=(const QtSoundOut&) = delete;

    PlayResult Play(const PcmSound& sound) override;
    PlayResult CanPlay(const PcmFormat& format) override;
    void Stop() override;

private:
    struct Session;
    struct Played; // a sink with the sound it reads
    // The PulseAudio back end can still call a sink from its own thread a moment after the
    // sink was stopped: a stopped sink is kept a while before it is deleted.
    void retire(std::unique_ptr<Played> played);

    Session* current_ = nullptr;
    QElapsedTimer clock_;
    std::deque<std::unique_ptr<Played>> retired_;
};

} // namespace vm880

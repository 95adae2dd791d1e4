#pragma once
// Sound output through Qt Multimedia's QAudioSink. Play returns only when the sound has
// really been heard: the sink reports the end of the data when it was handed to the sound
// server, not when it came out, so the sound is followed by silence and the wait ends only
// when the sink's played time covers all of it. The event loop runs while waiting.

#include "interfaces/sound_out.h"

namespace vm880 {

class QtSoundOut : public SoundOut {
public:
    // Silence appended to every sound so that the server's latency never cuts its end.
    static constexpr int kTailSilenceMs = 250;
    // Extra time allowed beyond the sound's length before the output counts as hung.
    static constexpr int kStallMarginMs = 5000;

    QtSoundOut() = default;
    ~QtSoundOut() override;
    QtSoundOut(const QtSoundOut&) = delete;
    QtSoundOut& operator=(const QtSoundOut&) = delete;

    PlayResult Play(const PcmSound& sound) override;
    PlayResult CanPlay(const PcmFormat& format) override;
    void Stop() override;

private:
    struct Session;
    Session* current_ = nullptr;
};

} // namespace vm880

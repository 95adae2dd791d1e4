#include "platform/qt_sound_out.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

#include <memory>

namespace vm880 {

namespace {

constexpr int kPollMs = 5;

QAudioFormat::SampleFormat QtSampleFormat(SampleType type)
{
    switch (type) {
    case SampleType::UInt8: return QAudioFormat::UInt8;
    case SampleType::Int16: return QAudioFormat::Int16;
    case SampleType::Int32: return QAudioFormat::Int32;
    case SampleType::Float: return QAudioFormat::Float;
    }
    return QAudioFormat::Unknown;
}

QAudioFormat QtFormat(const PcmFormat& pcm)
{
    QAudioFormat format;
    format.setSampleRate(pcm.sampleRate);
    format.setChannelCount(pcm.channels);
    format.setSampleFormat(QtSampleFormat(pcm.sampleType));
    return format;
}

// The output device that would play `pcm` now, or why there is none.
PlayResult ChooseDevice(const PcmFormat& pcm, QAudioDevice& device)
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return {PlayStatus::NoDevice, "no sound device was found"};
    device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return {PlayStatus::NoDevice, "no sound device was found"};
    if (!device.isFormatSupported(QtFormat(pcm)))
        return {PlayStatus::Failed, "the sound device \"" + device.description().toStdString() +
                                        "\" cannot play " + std::to_string(pcm.sampleRate) +
                                        " Hz sound with " + std::to_string(pcm.channels) +
                                        " channel(s)"};
    return {};
}

QByteArray WithTailSilence(const PcmSound& sound, int silenceMs)
{
    const qsizetype frame = sound.format.BytesPerFrame();
    const qsizetype silenceFrames =
        (static_cast<qsizetype>(sound.format.sampleRate) * silenceMs + 999) / 1000;
    // Silence is the middle value: 0 for signed and float samples, 0x80 for unsigned bytes.
    const char zero = sound.format.sampleType == SampleType::UInt8 ? char(0x80) : char(0);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(sound.data.size()) + silenceFrames * frame);
    bytes.append(reinterpret_cast<const char*>(sound.data.data()),
                 static_cast<qsizetype>(sound.data.size()));
    bytes.append(silenceFrames * frame, zero);
    return bytes;
}

} // namespace

struct QtSoundOut::Session {
    QAudioSink* sink = nullptr;
    QEventLoop* loop = nullptr;
    bool stopped = false;
};

struct QtSoundOut::Played {
    QByteArray bytes;
    QBuffer buffer;
    std::unique_ptr<QAudioSink> sink; // deleted first, before what it reads from
    qint64 stoppedMs = 0;
};

QtSoundOut::QtSoundOut() { clock_.start(); }

QtSoundOut::~QtSoundOut() { Stop(); }

void QtSoundOut::retire(std::unique_ptr<Played> played)
{
    const qint64 now = clock_.elapsed();
    while (!retired_.empty() && now - retired_.front()->stoppedMs > kRetiredSinkMs)
        retired_.pop_front();
    played->stoppedMs = now;
    retired_.push_back(std::move(played));
}

void QtSoundOut::Stop()
{
    Session* session = current_;
    if (!session)
        return;
    current_ = nullptr; // a sound started after this one may play at once
    session->stopped = true;
    if (session->sink)
        session->sink->stop();
    if (session->loop)
        session->loop->quit();
}

PlayResult QtSoundOut::CanPlay(const PcmFormat& format)
{
    if (current_)
        return {PlayStatus::Failed, "another sound is still playing"};
    QAudioDevice device;
    return ChooseDevice(format, device);
}

PlayResult QtSoundOut::Play(const PcmSound& sound)
{
    if (sound.FrameCount() == 0)
        return {};
    if (current_)
        return {PlayStatus::Failed, "another sound is still playing"};

    QAudioDevice device;
    if (PlayResult chosen = ChooseDevice(sound.format, device); !chosen.played())
        return chosen;
    const QAudioFormat format = QtFormat(sound.format);

    // The sink and what it reads from outlive this call a while (see retire).
    auto played = std::make_unique<Played>();
    played->bytes = WithTailSilence(sound, kTailSilenceMs);
    const qint64 totalUs =
        static_cast<qint64>(played->bytes.size() / sound.format.BytesPerFrame()) * 1000000 /
        sound.format.sampleRate;
    QBuffer& buffer = played->buffer;
    buffer.setBuffer(&played->bytes);
    buffer.open(QIODevice::ReadOnly);
    played->sink = std::make_unique<QAudioSink>(device, format);
    QAudioSink& sink = *played->sink;

    Session session;
    session.sink = &sink;
    current_ = &session;
    // However this ends, the session must not outlive the objects on this stack frame.
    struct Forget {
        QtSoundOut* out;
        Session* session;
        std::unique_ptr<Played>& played;
        ~Forget()
        {
            if (out->current_ == session)
                out->current_ = nullptr;
            out->retire(std::move(played));
        }
    } forget{this, &session, played};

    sink.start(&buffer);
    if (sink.error() != QAudio::NoError || sink.state() == QAudio::StoppedState) {
        sink.stop();
        return {PlayStatus::Failed, "the sound device could not be started"};
    }

    // Wait, with the window system running, until the played time covers the sound and its
    // tail of silence; give up when the output makes no progress long after it should have.
    QEventLoop loop;
    session.loop = &loop;
    PlayResult result;
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 deadlineMs = totalUs / 1000 + kStallMarginMs;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const QAudio::Error error = sink.error();
        if (error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError) {
            result = {PlayStatus::Failed, "the sound device stopped with an error"};
            loop.quit();
        } else if (sink.processedUSecs() >= totalUs) {
            loop.quit();
        } else if (elapsed.elapsed() > deadlineMs) {
            result = {PlayStatus::Failed, "the sound device stopped playing"};
            loop.quit();
        }
    });
    poll.start();
    if (!session.stopped)
        loop.exec();
    poll.stop();
    session.loop = nullptr;
    session.sink = nullptr;
    sink.stop();
    if (session.stopped)
        return {PlayStatus::Stopped, {}};
    return result;
}

} // namespace vm880

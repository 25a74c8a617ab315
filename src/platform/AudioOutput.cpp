#include "platform/AudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/Sound.h"
#include "platform/Wav.h"

namespace tk {
namespace {

constexpr int kPollMs = 5;
// The device's clock may stop a little short of the sound's exact length.
constexpr qint64 kEndToleranceUs = 1000;
// Past the end reckoned from the device's clock, before it counts as heard.
constexpr qint64 kEndPadUs = 5000;
// From the device being done with a stream to stopping it.
constexpr qint64 kReleaseAfterDoneMs = 250;
// A stream the device has not played out this long after the sound's own
// length is on a stalled or vanished device: it is let go.
constexpr qint64 kGiveUpMs = 1000;

// One play. The sink, a child of the output, owns the buffer it reads, a
// copy of the sound's samples, so the two go together whenever the sink goes.
struct Play {
    QAudioSink* sink = nullptr;
    std::shared_ptr<DevicePlay> state = std::make_shared<DevicePlay>();
    qint64 lengthUs = 0;
    QElapsedTimer since;
    // The device's clock as last seen to move once the sink had everything:
    // its reading and when it was seen (ms since the start).
    qint64 clockUs = -1, idleClockUs = -1, clockSeenMs = 0;
    qint64 doneMs = -1;  // when the device was done with it, or it was given up
};

enum class Progress { Playing, Heard, Done };

// Qt's sink reports Idle once the last bytes have been handed to the audio
// server, well before the device has played them, and stopping it then
// throws away whatever is still queued (an 80 ms click entirely). So a play
// keeps its stream until the device's clock says the last sample has been
// played (Done). That clock is refreshed only now and then (a tenth of a
// second apart on PulseAudio), so the sound counts as heard (Heard) already
// when the end reckoned from the clock's last reading has passed: once the
// server holds every sample it plays on in real time, and the reading is
// taken as of when it was seen, which is never earlier than when it was
// read. The stream itself goes only when the clock confirms it.
Progress Check(Play& p) {
    const QAudio::State st = p.sink->state();
    if (st == QAudio::StoppedState) return Progress::Done;  // stopped by an error of the device
    const qint64 nowMs = p.since.elapsed();
    if (nowMs > p.lengthUs / 1000 + kGiveUpMs) return Progress::Done;
    if (st != QAudio::IdleState) return Progress::Playing;
    const qint64 clock = p.sink->processedUSecs();
    if (clock >= p.lengthUs - kEndToleranceUs) return Progress::Done;
    if (p.idleClockUs < 0) {
        // The first reading once idle may predate the sink having everything.
        p.idleClockUs = clock;
        return Progress::Playing;
    }
    if (clock != p.clockUs && clock != p.idleClockUs) {
        p.clockUs = clock;
        p.clockSeenMs = nowMs;
    }
    const bool reckonedEnd = p.clockUs > 0 && (nowMs - p.clockSeenMs) * 1000 >= p.lengthUs - p.clockUs + kEndPadUs;
    return reckonedEnd ? Progress::Heard : Progress::Playing;
}

// Owned by the application object, so the streams go before the audio
// system does.
class Output : public QObject {
public:
    explicit Output(QObject* parent) : QObject(parent) {
#ifdef __GLIBC__
        // Each open PulseAudio stream of Qt's holds a buffer of the server's
        // maximum length (4 MB). Served from the heap, the pages a stream
        // touched stay resident after it closes and spread as later streams
        // reuse the space; blocks of this size are mapped of their own, so
        // they go back to the system with the stream.
        mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
        poll_.setInterval(kPollMs);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
    }
    ~Output() override {
        for (auto& p : plays_) p->state->finished = true;
    }

    std::shared_ptr<const DevicePlay> Start(const Sound& sound) {
        const WavData* wav = sound.Wav();
        if (!wav) return nullptr;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return nullptr;
        QAudioFormat fmt;
        fmt.setSampleRate(wav->sampleRate);
        fmt.setChannelCount(wav->channels);
        fmt.setSampleFormat(wav->bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        if (!device.isFormatSupported(fmt)) return nullptr;

        auto p = std::make_unique<Play>();
        p->lengthUs = static_cast<qint64>(wav->Seconds() * 1e6);
        p->sink = new QAudioSink(device, fmt, this);
        auto* buffer = new QBuffer(p->sink);
        buffer->setData(reinterpret_cast<const char*>(wav->samples.data()),
                        static_cast<qsizetype>(wav->samples.size()));
        buffer->open(QIODevice::ReadOnly);
        p->since.start();
        p->sink->start(buffer);  // a sink that fails is Stopped, and Done at the next poll
        std::shared_ptr<const DevicePlay> state = p->state;
        plays_.push_back(std::move(p));
        if (!poll_.isActive()) poll_.start();
        return state;
    }

    int InFlight() const { return static_cast<int>(plays_.size()); }

private:
    // A stream the device is done with is stopped only a while later: Qt's
    // PulseAudio sink asks for a drain of its own once its data has run out,
    // and the answer comes back to the sink from the audio thread, after
    // stop() too. The sink is then deleted from the event loop, as its
    // destructor runs the event loop itself.
    void Poll() {
        if (polling_) return;
        polling_ = true;
        std::erase_if(plays_, [](std::unique_ptr<Play>& p) {
            if (p->doneMs < 0) {
                switch (Check(*p)) {
                case Progress::Playing: break;
                case Progress::Heard: p->state->finished = true; break;
                case Progress::Done:
                    p->state->finished = true;
                    p->doneMs = p->since.elapsed();
                    break;
                }
            }
            if (p->doneMs < 0 || p->since.elapsed() - p->doneMs < kReleaseAfterDoneMs) return false;
            p->sink->stop();
            p->sink->deleteLater();
            return true;
        });
        if (plays_.empty()) poll_.stop();
        polling_ = false;
    }

    std::vector<std::unique_ptr<Play>> plays_;
    QTimer poll_;
    bool polling_ = false;
};

Output* TheOutput() {
    static QPointer<Output> out;
    if (!out && QCoreApplication::instance()) out = new Output(QCoreApplication::instance());
    return out;
}

}  // namespace

std::shared_ptr<const DevicePlay> PlayOnAudioDevice(const Sound& sound) {
    Output* out = TheOutput();
    return out ? out->Start(sound) : nullptr;
}

int AudioPlaysInFlight() {
    Output* out = TheOutput();
    return out ? out->InFlight() : 0;
}

}  // namespace tk

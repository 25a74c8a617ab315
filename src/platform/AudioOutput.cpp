#include "platform/AudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
// Plays asked for while the audio thread is held up by the audio system
// wait in its queue; past this many, further plays are dropped.
constexpr int kMaxWaiting = 4;
// A play the audio thread gets to this long after it was asked for would be
// heard too late to go with what it marks, so it is dropped. IsPlaying then
// follows the sound's own length, as with no device: the click's and the
// answer sounds' waits (at most 0.81 s with the device margin) are over by
// then, the chime's (up to about 2.05 s) is not.
constexpr qint64 kStaleMs = 1000;
// From deleting the streams at the end to ending the audio thread.
constexpr int kQuitAfterDeleteMs = 20;
// A while after streams have gone, at most this often: the memory of their
// buffers (4 MB each, the server's maximum length) goes back to the system.
constexpr int kTrimAfterMs = 500;

// A play on its way to the audio thread: the samples are copied, so the
// thread never touches the sound itself.
struct Request {
    QByteArray samples;
    QAudioFormat format;
    qint64 lengthUs = 0;
    std::shared_ptr<DevicePlay> state;
    QElapsedTimer asked;
};

// What a sink reads: the sound's samples, then silence for as long as it
// reads. So the stream never runs dry while it is open, and Qt's sink never
// asks the server for a drain of its own: the answer to that drain comes to
// the sink from the audio system's thread, after stop() too, and crashed a
// sink deleted before it came (PipeWire answers late). The stream is
// stopped once the device has played the sound.
class SoundThenSilence : public QIODevice {
public:
    SoundThenSilence(QByteArray samples, char silence, QObject* parent)
        : QIODevice(parent), samples_(std::move(samples)), silence_(silence) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }
    qint64 bytesAvailable() const override { return kAlwaysAvailable + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 left = std::max<qint64>(0, samples_.size() - pos_);
        const qint64 n = std::min(left, maxSize);
        std::memcpy(data, samples_.constData() + pos_, static_cast<std::size_t>(n));
        std::memset(data + n, silence_, static_cast<std::size_t>(maxSize - n));
        pos_ += n;
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    static constexpr qint64 kAlwaysAvailable = 1 << 20;
    QByteArray samples_;
    char silence_;
    qint64 pos_ = 0;
};

// One play on the device. The sink, a child of the output, owns what it
// reads, so the two go together whenever the sink goes.
struct Play {
    QAudioSink* sink = nullptr;
    std::shared_ptr<DevicePlay> state;
    qint64 lengthUs = 0;
    QElapsedTimer since;
    // The device's clock as last seen to move: its reading and when it was
    // seen (ms since the start).
    qint64 clockUs = -1, clockSeenMs = 0;
    qint64 doneMs = -1;  // when the device was done with it, or it was given up
};

enum class Progress { Playing, Heard, Done };

// A play keeps its stream until the device's clock says the last sample has
// been played (Done). That clock is refreshed only now and then (a tenth of
// a second apart on PulseAudio), so the sound counts as heard (Heard)
// already when the end reckoned from the clock's last reading has passed:
// the server plays the stream on in real time, as it never runs dry, and
// the reading is taken as of when it was seen, which is never earlier than
// when it was read. The stream itself goes only when the clock confirms it.
Progress Check(Play& p) {
    if (p.sink->state() == QAudio::StoppedState) return Progress::Done;  // stopped by an error of the device
    const qint64 nowMs = p.since.elapsed();
    if (nowMs > p.lengthUs / 1000 + kGiveUpMs) return Progress::Done;
    const qint64 clock = p.sink->processedUSecs();
    if (clock >= p.lengthUs - kEndToleranceUs) return Progress::Done;
    if (clock != p.clockUs) {
        p.clockUs = clock;
        p.clockSeenMs = nowMs;
    }
    const bool reckonedEnd = p.clockUs > 0 && (nowMs - p.clockSeenMs) * 1000 >= p.lengthUs - p.clockUs + kEndPadUs;
    return reckonedEnd ? Progress::Heard : Progress::Playing;
}

// Lives on the audio thread, with the streams; its methods run there.
class Output : public QObject {
public:
    Output() {
        poll_.setInterval(kPollMs);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
        trim_.setSingleShot(true);
        trim_.setInterval(kTrimAfterMs);
        QObject::connect(&trim_, &QTimer::timeout, this, [] {
#ifdef __GLIBC__
            // Freed, the pages a stream touched stay resident, and spread
            // as later streams reuse the space.
            malloc_trim(0);
#endif
        });
    }
    ~Output() override {
        for (auto& p : plays_) p->state->finished = true;
    }

    // May be held up inside the audio system for as long as the server is.
    void Start(Request r) {
        if (r.asked.elapsed() > kStaleMs) {
            r.state->finished = true;
            return;
        }
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(r.format) || r.asked.elapsed() > kStaleMs) {
            r.state->finished = true;
            return;
        }
        auto p = std::make_unique<Play>();
        p->state = std::move(r.state);
        p->lengthUs = r.lengthUs;
        p->sink = new QAudioSink(device, r.format, this);
        const char silence = r.format.sampleFormat() == QAudioFormat::UInt8 ? char(0x80) : char(0);
        auto* source = new SoundThenSilence(std::move(r.samples), silence, p->sink);
        p->since.start();
        p->sink->start(source);  // a sink that fails is Stopped, and Done at the next poll
        if (r.asked.elapsed() > kStaleMs) {
            // The server was held up while the stream opened: a sound heard
            // now would come long after its moment.
            p->sink->stop();
            p->state->finished = true;
            p->doneMs = p->since.elapsed();
        }
        plays_.push_back(std::move(p));
        inFlight_ = static_cast<int>(plays_.size());
        if (!poll_.isActive()) poll_.start();
    }

    // Stops every stream; the thread ends once Qt has let go of them.
    void Finish() {
        for (auto& p : plays_) {
            p->state->finished = true;
            p->sink->stop();
        }
        poll_.stop();
        if (plays_.empty()) {
            QThread::currentThread()->quit();
            return;
        }
        QTimer::singleShot(kReleaseAfterDoneMs, this, [this] {
            for (auto& p : plays_) p->sink->deleteLater();
            plays_.clear();
            inFlight_ = 0;
            // The sinks go from this event loop, not from the thread's end:
            // deleted as the thread finishes, a sink crashes.
            QTimer::singleShot(kQuitAfterDeleteMs, this, [] { QThread::currentThread()->quit(); });
        });
    }

    std::atomic<int> inFlight_ = 0;

private:
    // A stream the device is done with is stopped a while later, as the
    // device's clock can run a little ahead of it; only silence is left to
    // play by then. The sink is deleted from the event loop, as its
    // destructor runs the event loop itself.
    void Poll() {
        if (polling_) return;
        polling_ = true;
        const std::size_t before = plays_.size();
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
        inFlight_ = static_cast<int>(plays_.size());
        if (plays_.size() < before && !trim_.isActive()) trim_.start();
        if (plays_.empty()) poll_.stop();
        polling_ = false;
    }

    std::vector<std::unique_ptr<Play>> plays_;
    QTimer poll_{this};
    QTimer trim_{this};
    bool polling_ = false;
};

// The audio thread and its output, reached from the windows' thread only.
// Made on the first play; once it has been left held inside the audio
// system at the end, nothing of it is touched.
struct AudioThread {
    QThread thread;
    Output* output = nullptr;  // deleted on the thread as it ends
    std::atomic<int> waiting = 0;  // plays handed over, not yet taken up
};

AudioThread* g_audio = nullptr;
bool g_stopped = false;  // stopped for good: the program is ending

// Qt's own teardown, in a process that ends without RunProgram (a test
// program, a benchmark). There an audio thread held inside the audio system
// keeps Qt's teardown waiting on it for good, so, as at the end of
// RunProgram, the process ends here instead. What it was to end with is not
// known here: it ends as failed, and says why.
void StopAtExit() {
    if (StopAudioOutput(kAudioStopLimitMs)) return;
    std::fputs("The audio system still holds the sound output: the process ends without Qt's teardown.\n",
               stderr);
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

AudioThread* TheAudioThread() {
    if (!g_audio && !g_stopped && QCoreApplication::instance()) {
        g_audio = new AudioThread;
        g_audio->thread.setObjectName(QStringLiteral("tickmoor-audio"));
        g_audio->output = new Output;
        g_audio->output->moveToThread(&g_audio->thread);
        QObject::connect(&g_audio->thread, &QThread::finished, g_audio->output, &QObject::deleteLater);
        g_audio->thread.start();
        qAddPostRoutine(StopAtExit);
    }
    return g_audio;
}

}  // namespace

std::shared_ptr<const DevicePlay> PlayOnAudioDevice(const Sound& sound) {
    const WavData* wav = sound.Wav();
    if (!wav) return nullptr;
    AudioThread* audio = TheAudioThread();
    if (!audio) return nullptr;
    auto state = std::make_shared<DevicePlay>();
    if (audio->waiting.load() >= kMaxWaiting) {
        state->finished = true;
        return state;
    }
    Request r;
    r.samples = QByteArray(reinterpret_cast<const char*>(wav->samples.data()),
                           static_cast<qsizetype>(wav->samples.size()));
    r.format.setSampleRate(wav->sampleRate);
    r.format.setChannelCount(wav->channels);
    r.format.setSampleFormat(wav->bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    r.lengthUs = static_cast<qint64>(wav->Seconds() * 1e6);
    r.state = state;
    r.asked.start();
    ++audio->waiting;
    Output* out = audio->output;
    QMetaObject::invokeMethod(
        out,
        [out, audio, r = std::move(r)]() mutable {
            --audio->waiting;
            out->Start(std::move(r));
        },
        Qt::QueuedConnection);
    return state;
}

int AudioPlaysInFlight() { return g_audio ? g_audio->output->inFlight_.load() : 0; }

bool StopAudioOutput(int limitMs) {
    g_stopped = true;
    if (!g_audio) return true;
    Output* out = g_audio->output;
    QMetaObject::invokeMethod(out, [out] { out->Finish(); }, Qt::QueuedConnection);
    if (!g_audio->thread.wait(QDeadlineTimer(limitMs))) {
        g_audio = nullptr;  // left as it is, held inside the audio system
        return false;
    }
    delete g_audio;
    g_audio = nullptr;
    return true;
}

}  // namespace tk

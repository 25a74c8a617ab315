// Sound on a real audio server: a private PulseAudio or PipeWire server with
// a null sink, whose monitor is recorded with every read stamped, so each
// sample's time at the device is known on this process's clock.
//
// For the click (80 ms) and the right-answer sound (560 ms), 20 plays each
// through the program's real sound output:
//   - from Play to the first sample at the device, beside the same for a
//     bare Qt sink started on the same sound (the baseline: what Qt and the
//     server cost by themselves);
//   - from the device's last sample to IsPlaying turning False (how long a
//     click wait holds on after the sound has been heard; never below 0 if
//     the wait ends only once it has been heard), beside the sound's length;
//   - whether the recording holds the sound whole.
#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/AudioOutput.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Wav.h"
#include "support/AudioServer.h"
#include "support/MonitorRecorder.h"
#include "support/SoundCompare.h"
#include "support/SoundFiles.h"

namespace {

using namespace testing_support;
using Clock = std::chrono::steady_clock;

constexpr int kPlays = 20;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

struct Play {
    Clock::time_point started, notPlaying;
    long at = -1;  // the sound's first sample, as an index into the whole recording
    bool whole = false;
};

// One play, through the program's output (IsPlaying waited for) or a bare
// sink; the recording meanwhile tells where the sound landed.
Play PlayOnce(MonitorRecorder& rec, const tk::WavData& wav, const std::vector<std::int16_t>& mono, bool bare) {
    Play p;
    const std::size_t mark = rec.Mark();
    if (bare) {
        QAudioFormat fmt;
        fmt.setSampleRate(wav.sampleRate);
        fmt.setChannelCount(wav.channels);
        fmt.setSampleFormat(QAudioFormat::Int16);
        QBuffer buffer;
        buffer.setData(reinterpret_cast<const char*>(wav.samples.data()), static_cast<qsizetype>(wav.samples.size()));
        buffer.open(QIODevice::ReadOnly);
        QAudioSink sink(QMediaDevices::defaultAudioOutput(), fmt);
        p.started = Clock::now();
        sink.start(&buffer);
        YieldFor(static_cast<int>(wav.Seconds() * 1000) + 400);
        sink.stop();
    } else {
        const tk::Sound sound = tk::Sound::FromWav(wav);
        p.started = Clock::now();
        sound.Play();
        WaitWhilePlaying({sound}, 10000);
        p.notPlaying = Clock::now();
        YieldFor(400);
    }
    YieldFor(100);
    const auto heard = rec.Since(mark);
    const long off = AlignInRecording(mono, heard);
    p.whole = MissingFromRecording(mono, heard, off).empty();
    if (off >= 0) p.at = static_cast<long>(mark) + off;
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto server = UsePrivateAudioServer();
    if (!server) return 1;
    QApplication app(argc, argv);
    MonitorRecorder rec(*server);
    if (!rec.Start()) {
        std::fprintf(stderr, "no recording: %s\n", rec.Error().c_str());
        return 1;
    }
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        std::fprintf(stderr, "Qt finds no audio device on the test's server\n");
        return 1;
    }

    std::printf("Sound on a %s null sink, %d plays of each sound (medians)\n", server->Name().c_str(), kPlays);
    for (const char* name : {"myBeep.wav", "CorrectAnswer.wav"}) {
        const tk::WavData wav = LoadBundleWav(name);
        const auto mono = MonoSamples(wav);
        const double lengthMs = wav.Seconds() * 1000;
        std::vector<Play> ours, bare;
        PlayOnce(rec, wav, mono, false);  // warm-up: the first stream opens the connection
        for (int i = 0; i < kPlays; ++i) {
            ours.push_back(PlayOnce(rec, wav, mono, false));
            bare.push_back(PlayOnce(rec, wav, mono, true));
        }
        // Stamps gathered over the whole run pin sample 0 down best.
        const Clock::time_point zero = rec.SampleZero();
        auto deviceTime = [&](long sample) {
            return zero + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(static_cast<double>(sample) / kDeviceRate));
        };
        std::vector<double> startOurs, startBare, tail, held;
        int wholeOurs = 0, wholeBare = 0, missing = 0;
        for (const Play& p : ours) {
            wholeOurs += p.whole;
            if (p.at < 0) {
                ++missing;
                continue;
            }
            const Clock::time_point first = deviceTime(p.at);
            const Clock::time_point last = deviceTime(p.at + static_cast<long>(mono.size()));
            startOurs.push_back(Ms(first - p.started));
            tail.push_back(Ms(p.notPlaying - last));
            held.push_back(Ms(p.notPlaying - p.started));
        }
        for (const Play& p : bare) {
            wholeBare += p.whole;
            if (p.at >= 0) startBare.push_back(Ms(deviceTime(p.at) - p.started));
        }
        std::printf("%s (%.0f ms)\n", name, lengthMs);
        std::printf("  heard whole                          ours %d/%d   bare sink %d/%d%s\n", wholeOurs, kPlays,
                    wholeBare, kPlays, missing ? "   (some plays not found in the recording)" : "");
        std::printf("  Play to first sample at the device   median %6.1f ms   bare sink %6.1f ms   %.2fx\n",
                    Median(startOurs), Median(startBare), Median(startOurs) / Median(startBare));
        std::printf("  last sample to IsPlaying False       median %6.1f ms   (min %.1f, max %.1f; bound %.0f ms past the length)\n",
                    Median(tail), tail.empty() ? 0 : *std::min_element(tail.begin(), tail.end()),
                    tail.empty() ? 0 : *std::max_element(tail.begin(), tail.end()),
                    tk::Sound::kDeviceMarginSeconds * 1000);
        std::printf("  IsPlaying True for                   median %6.1f ms   against the length %.0f ms   %.2fx\n",
                    Median(held), lengthMs, Median(held) / lengthMs);
    }
    YieldFor(1500);
    std::printf("Streams still open after the last sound  %d\n", tk::AudioPlaysInFlight());
    return 0;
}

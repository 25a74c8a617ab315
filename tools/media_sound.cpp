#include "media_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

namespace media {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Partial {
    double ratio;  // of the note's frequency
    double amp;
    double tau;    // seconds for the partial to fall to 1/e
};

struct Note {
    double start;   // seconds
    double length;  // seconds, release included
    double freq;
    double amp;
    double attack;   // seconds of raised-cosine rise
    double release;  // seconds of raised-cosine fall at the end
};

double RaisedCosine(double x) {  // 0 -> 0, 1 -> 1, smooth at both ends
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

Signal Silence(double seconds) {
    return Signal(static_cast<std::size_t>(std::lround(seconds * kSampleRate)), 0.0);
}

// Adds one note; the envelope rises from and returns to exactly zero, so a
// note never starts or stops with a click.
void AddNote(Signal& out, const Note& n, const std::vector<Partial>& partials) {
    const auto first = static_cast<std::size_t>(std::lround(n.start * kSampleRate));
    const auto count = static_cast<std::size_t>(std::lround(n.length * kSampleRate));
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double env = n.amp * RaisedCosine(t / n.attack) *
                           RaisedCosine((n.length - t) / n.release);
        double v = 0.0;
        for (const Partial& p : partials) {
            const double f = n.freq * p.ratio;
            if (f >= kSampleRate / 2.0) continue;
            v += p.amp * std::exp(-t / p.tau) * std::sin(kTwoPi * f * t);
        }
        out[first + i] += env * v;
    }
}

}  // namespace

Signal Click() {
    // A short wooden tick: two bright partials that die within a few ms over
    // a small body tone, so it reads as "tick" rather than "beep".
    Signal s = Silence(0.080);
    AddNote(s, {0.0, 0.080, 1250.0, 1.0, 0.0015, 0.020},
            {{1.0, 1.0, 0.010}, {2.13, 0.55, 0.005}, {0.5, 0.35, 0.022}});
    Normalise(s, 0.50);
    return s;
}

Signal CorrectFigure() {
    // C5 E5 G5 C6, each note ringing into the next, like a small glockenspiel.
    const std::vector<Partial> bell = {
        {1.0, 1.0, 0.16}, {2.0, 0.28, 0.07}, {3.0, 0.10, 0.04}, {4.2, 0.05, 0.025}};
    const double freqs[] = {523.25, 659.26, 783.99, 1046.50};
    Signal s = Silence(0.560);
    for (int i = 0; i < 4; ++i) {
        const double start = 0.085 * i;
        const double length = i == 3 ? 0.560 - start : 0.240;
        AddNote(s, {start, length, freqs[i], i == 3 ? 1.0 : 0.8, 0.004, 0.060}, bell);
    }
    Normalise(s, 0.70);
    return s;
}

Signal WrongFigure() {
    // A gentle falling pair (A3 then F3) with a soft attack and few
    // overtones: "try again", not a buzzer.
    const std::vector<Partial> soft = {
        {1.0, 1.0, 0.45}, {2.0, 0.30, 0.20}, {3.0, 0.12, 0.12}, {4.0, 0.05, 0.08}};
    Signal s = Silence(0.560);
    AddNote(s, {0.000, 0.250, 220.00, 0.9, 0.018, 0.080}, soft);
    AddNote(s, {0.210, 0.350, 174.61, 1.0, 0.018, 0.160}, soft);
    Normalise(s, 0.50);
    return s;
}

Signal Chime() {
    // A small struck bell on C6: hum, prime, tierce, quint and nominal
    // partials, each slightly doubled and detuned so the tail shimmers. The
    // lower partials ring longest, as on a real bell.
    const std::vector<Partial> bell = {
        {0.5, 0.35, 0.70},   {1.0, 1.00, 0.55},   {1.0015, 0.45, 0.55},
        {1.2, 0.30, 0.35},   {1.5, 0.22, 0.28},   {2.0, 0.40, 0.30},
        {2.0021, 0.20, 0.30}, {2.51, 0.12, 0.14}, {3.02, 0.07, 0.09},
    };
    Signal s = Silence(1.800);
    AddNote(s, {0.0, 1.800, 1046.50 / 2.0, 1.0, 0.002, 0.450}, bell);
    Normalise(s, 0.70);
    return s;
}

void Normalise(Signal& s, double peak) {
    double most = 0.0;
    for (double v : s) most = std::max(most, std::abs(v));
    if (most <= 0.0) return;
    const double k = peak / most;
    for (double& v : s) v *= k;
}

std::vector<std::uint8_t> EncodeWav(const Signal& s) {
    constexpr std::uint32_t kChannels = 1, kBits = 16;
    constexpr std::uint32_t kBlockAlign = kChannels * kBits / 8;
    constexpr std::uint32_t kByteRate = kSampleRate * kBlockAlign;
    const auto dataSize = static_cast<std::uint32_t>(s.size() * kBlockAlign);

    std::vector<std::uint8_t> out(44 + std::size_t{dataSize});
    std::size_t at = 0;
    auto tag = [&](const char (&t)[5]) {
        for (int i = 0; i < 4; ++i) out[at++] = static_cast<std::uint8_t>(t[i]);
    };
    auto le = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out[at++] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    tag("RIFF");
    le(36 + dataSize, 4);
    tag("WAVE");
    tag("fmt ");
    le(16, 4);
    le(1, 2);  // PCM
    le(kChannels, 2);
    le(kSampleRate, 4);
    le(kByteRate, 4);
    le(kBlockAlign, 2);
    le(kBits, 2);
    tag("data");
    le(dataSize, 4);
    for (double v : s) {
        const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        le(static_cast<std::uint16_t>(static_cast<std::int16_t>(q)), 2);
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
    // fclose reports a failed final write; check it rather than let it pass.
    return std::fclose(f.release()) == 0;
}

}  // namespace media

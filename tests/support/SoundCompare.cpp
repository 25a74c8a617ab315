#include "support/SoundCompare.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "support/AudioServer.h"

namespace testing_support {
namespace {

constexpr long kEnvelopeBin = 44;       // about 1 ms
constexpr long kWindow = 882;           // 20 ms
constexpr long kStep = kWindow / 21;    // about 1 ms, and the 20 ms grid is among the steps

long Ms(long samples) { return std::lround(static_cast<double>(samples) * 1000 / kDeviceRate); }

// Sums of squares, so the level of any stretch comes at once; samples outside
// the signal count as silence.
class Energy {
public:
    explicit Energy(const std::vector<std::int16_t>& v) : sums_(v.size() + 1, 0.0) {
        for (std::size_t i = 0; i < v.size(); ++i) sums_[i + 1] = sums_[i] + static_cast<double>(v[i]) * v[i];
    }
    // RMS of [from, from + n).
    double Level(long from, long n) const {
        if (n <= 0) return 0.0;
        const long size = static_cast<long>(sums_.size()) - 1;
        const long a = std::clamp(from, 0L, size), b = std::clamp(from + n, 0L, size);
        return std::sqrt((sums_[static_cast<std::size_t>(b)] - sums_[static_cast<std::size_t>(a)]) /
                         static_cast<double>(n));
    }

private:
    std::vector<double> sums_;
};

std::vector<double> Envelope(const std::vector<std::int16_t>& v) {
    std::vector<double> e(v.size() / kEnvelopeBin);
    for (std::size_t b = 0; b < e.size(); ++b) {
        double s = 0;
        for (long i = 0; i < kEnvelopeBin; ++i) s += std::abs(v[b * kEnvelopeBin + static_cast<std::size_t>(i)]);
        e[b] = s / kEnvelopeBin;
    }
    return e;
}

// "12-32 ms": the part of the file a window starting at s covers.
std::string Covered(long s, long fileSize) {
    std::ostringstream out;
    out << Ms(std::max(s, 0L)) << "-" << Ms(std::min(s + kWindow, fileSize)) << " ms";
    return out.str();
}

}  // namespace

std::vector<std::int16_t> MonoSamples(const tk::WavData& wav) {
    std::vector<std::int16_t> out;
    const int ch = std::max(wav.channels, 1);
    const std::size_t bytesPerSample = wav.bitsPerSample == 8 ? 1 : 2;
    const std::size_t frames = wav.samples.size() / (bytesPerSample * static_cast<std::size_t>(ch));
    out.reserve(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < ch; ++c) {
            const std::size_t i = (f * static_cast<std::size_t>(ch) + static_cast<std::size_t>(c)) * bytesPerSample;
            sum += bytesPerSample == 1 ? (wav.samples[i] - 128) * 256
                                       : static_cast<std::int16_t>(wav.samples[i] | (wav.samples[i + 1] << 8));
        }
        out.push_back(static_cast<std::int16_t>(sum / ch));
    }
    return out;
}

long AlignInRecording(const std::vector<std::int16_t>& file, const std::vector<std::int16_t>& rec) {
    const auto loudest = std::max_element(rec.begin(), rec.end(), [](int a, int b) { return std::abs(a) < std::abs(b); });
    if (rec.empty() || std::abs(*loudest) < 16) return -1;
    // The envelopes narrow it down to the millisecond, but a sound that
    // swells and fades in a rhythm of its own (the chime) matches nearly as
    // well a few milliseconds off: each of the best few is tried on the
    // waveform, where only the right sample matches best.
    const std::vector<double> ef = Envelope(file), er = Envelope(rec);
    std::vector<double> score(er.size());
    for (std::size_t off = 0; off < er.size(); ++off)
        for (std::size_t i = 0; i < ef.size() && off + i < er.size(); ++i) score[off] += ef[i] * er[off + i];
    std::vector<std::size_t> peaks;
    for (std::size_t b = 0; b < score.size(); ++b)
        if ((b == 0 || score[b] >= score[b - 1]) && (b + 1 == score.size() || score[b] > score[b + 1]))
            peaks.push_back(b);
    constexpr std::size_t kCandidates = 8;
    std::partial_sort(peaks.begin(), peaks.begin() + static_cast<long>(std::min(kCandidates, peaks.size())),
                      peaks.end(), [&](std::size_t a, std::size_t b) { return score[a] > score[b]; });
    peaks.resize(std::min(kCandidates, peaks.size()));

    long bestOff = 0;
    double bestCorr = -1e300;
    const long recSize = static_cast<long>(rec.size());
    for (const std::size_t bin : peaks) {
        const long around = static_cast<long>(bin) * kEnvelopeBin;
        for (long off = std::max(0L, around - kEnvelopeBin); off <= around + kEnvelopeBin && off < recSize; ++off) {
            double s = 0;
            for (std::size_t i = 0; i < file.size() && off + static_cast<long>(i) < recSize; ++i)
                s += static_cast<double>(file[i]) * rec[static_cast<std::size_t>(off) + i];
            if (s > bestCorr) {
                bestCorr = s;
                bestOff = off;
            }
        }
    }
    return bestOff;
}

std::string MissingFromRecording(const std::vector<std::int16_t>& file,
                                 const std::vector<std::int16_t>& rec, long offset) {
    if (offset < 0) return "nothing was heard: the recording is silent";
    const Energy ef(file), er(rec);
    const long size = static_cast<long>(file.size());
    const long windows = (size + kWindow - 1) / kWindow;
    std::vector<double> lf(static_cast<std::size_t>(windows)), lr(lf.size());
    for (long w = 0; w < windows; ++w) {
        const long n = std::min(kWindow, size - w * kWindow);
        lf[static_cast<std::size_t>(w)] = ef.Level(w * kWindow, n);
        lr[static_cast<std::size_t>(w)] = er.Level(offset + w * kWindow, n);
    }
    if (lf.empty()) return "";
    const auto peak = static_cast<std::size_t>(std::max_element(lf.begin(), lf.end()) - lf.begin());
    const double scale = lf[peak] > 0 ? lr[peak] / lf[peak] : 0.0;
    std::ostringstream out;
    if (scale < 0.25) {
        out << "heard at " << std::lround(scale * 100) << "% of the file's level at its loudest (" << Covered(
                   static_cast<long>(peak) * kWindow, size) << ")";
        return out.str();
    }

    // The loud part, window by window.
    long lastLoud = -1, firstShort = -1, shortCount = 0;
    for (long w = 0; w < windows; ++w) {
        const auto i = static_cast<std::size_t>(w);
        if (lf[i] <= 0.1 * lf[peak]) continue;
        lastLoud = w;
        if (lr[i] < 0.5 * scale * lf[i]) {
            if (firstShort < 0) firstShort = w;
            ++shortCount;
        }
    }
    if (shortCount > 0)
        out << shortCount << " of the file's 20 ms windows above 10% of its peak fall under half its level, from "
            << Ms(firstShort * kWindow) << " ms on (the last such window is at " << Ms(lastLoud * kWindow)
            << " ms of " << Ms(size) << " ms)";

    // Everything audible, the fading head and tail included. Windows run
    // from one that only just takes in the file's first samples to one that
    // only just takes in its last.
    const double audible = 0.01 * lf[peak];
    long first = 0, last = 0;
    bool any = false;
    for (long s = kStep - kWindow; s < size; s += kStep) {
        if (ef.Level(s, kWindow) <= audible) continue;
        if (!any) first = s;
        last = s;
        any = true;
    }
    long firstMissing = 0, lastMissing = 0, missingCount = 0;
    double worst = 1.0;
    for (long s = first; s <= last; s += kStep) {
        const double want = scale * ef.Level(s, kWindow);
        const double got = er.Level(offset + s, kWindow);
        if (got >= 0.25 * want) continue;
        if (missingCount++ == 0) firstMissing = s;
        lastMissing = s;
        worst = std::min(worst, want > 0 ? got / want : 0.0);
    }
    if (missingCount > 0) {
        if (shortCount > 0) out << "; ";
        out << "the sound is not all there: " << missingCount
            << " of its 20 ms windows (taken every ms) are under a quarter of its level, down to "
            << std::lround(worst * 100) << "%, the first over " << Covered(firstMissing, size) << " of it and the last over "
            << Covered(lastMissing, size) << " (it is above 1% of its peak from " << Ms(std::max(first, 0L)) << " to "
            << Ms(std::min(last + kWindow, size)) << " ms of " << Ms(size) << " ms)";
    }
    return out.str();
}

}  // namespace testing_support

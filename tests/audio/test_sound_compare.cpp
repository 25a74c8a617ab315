// The whole-sound check the device tests rely on, judged without a server:
// recordings made from the bundle's own sounds, whole or cut the way a
// device or a server could cut them, must be told apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/Wav.h"
#include "support/AudioServer.h"
#include "support/SoundCompare.h"
#include "support/SoundFiles.h"

using testing_support::AlignInRecording;
using testing_support::kDeviceRate;
using testing_support::LoadBundleWav;
using testing_support::MissingFromRecording;
using testing_support::MonoSamples;

namespace {

using Samples = std::vector<std::int16_t>;

constexpr long kMs = kDeviceRate / 1000;
constexpr long kLead = 50 * kMs;  // silence before the sound in a recording

// The file as a device would give it back: after some silence, at a level,
// with a little noise, and silence after.
Samples Recorded(const Samples& file, long lead = kLead, double gain = 1.0, int noise = 0) {
    Samples rec(static_cast<std::size_t>(lead) + file.size() + 300 * kMs, 0);
    for (std::size_t i = 0; i < file.size(); ++i)
        rec[static_cast<std::size_t>(lead) + i] = static_cast<std::int16_t>(std::lround(file[i] * gain));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> around(-noise, noise);
    if (noise > 0)
        for (auto& s : rec) s = static_cast<std::int16_t>(std::clamp(s + around(random), -32768, 32767));
    return rec;
}

// The file with [from, to) silent, as a server that skipped or dropped it.
Samples Without(Samples file, long from, long to) {
    for (long i = std::max(from, 0L); i < std::min(to, static_cast<long>(file.size())); ++i)
        file[static_cast<std::size_t>(i)] = 0;
    return file;
}

// Where the sound is over: past its last sample above 1% of its peak. The
// files end in near silence (the chime's last 10 ms are zeros), so a cut at
// the very end of the file would take nothing audible.
long AudibleEnd(const Samples& file) {
    const int peak = std::abs(*std::max_element(file.begin(), file.end(), [](int a, int b) {
        return std::abs(a) < std::abs(b);
    }));
    for (long i = static_cast<long>(file.size()); i > 0; --i)
        if (std::abs(file[static_cast<std::size_t>(i - 1)]) > peak / 100) return i;
    return 0;
}

long Size(const Samples& file) { return static_cast<long>(file.size()); }

struct Case {
    std::string sound;   // a file of the bundle
    std::string what;    // the recording, for the test's name
    std::function<Samples(const Samples&)> record;
    bool whole;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const char* sound : {"myBeep", "CorrectAnswer", "WrongAnswer", "chime"}) {
        auto add = [&](const char* what, std::function<Samples(const Samples&)> record, bool whole) {
            cases.push_back({sound, what, std::move(record), whole});
        };
        add("Whole", [](const Samples& f) { return Recorded(f); }, true);
        add("WholeAtHalfLevel", [](const Samples& f) { return Recorded(f, kLead, 0.5); }, true);
        // An odd delay, so the alignment has to find the very sample.
        add("WholeWithNoiseAndDelay", [](const Samples& f) { return Recorded(f, 1234, 1.0, 100); }, true);
        add("WholeAtHalfLevelWithNoise", [](const Samples& f) { return Recorded(f, 777, 0.5, 60); }, true);
        add("MissingItsFirst10ms", [](const Samples& f) { return Recorded(Without(f, 0, 10 * kMs)); }, false);
        add("Cut10msShortOfItsEnd",
            [](const Samples& f) { return Recorded(Without(f, AudibleEnd(f) - 10 * kMs, Size(f))); }, false);
        add("Cut10msShortOfItsEndAtHalfLevel",
            [](const Samples& f) { return Recorded(Without(f, AudibleEnd(f) - 10 * kMs, Size(f)), 1234, 0.5); },
            false);
        // A dropout longer than a window; one shorter leaves every window
        // with half its samples, which the level cannot tell.
        add("Missing30msInTheMiddle",
            [](const Samples& f) { return Recorded(Without(f, Size(f) / 2, Size(f) / 2 + 30 * kMs)); }, false);
        add("Silent", [](const Samples& f) { return Samples(f.size() + 300 * kMs, 0); }, false);
        add("AtATenthOfItsLevel", [](const Samples& f) { return Recorded(f, kLead, 0.1); }, false);
    }
    // What the check of the loud part alone let through.
    cases.push_back({"myBeep", "CutTo23ms", [](const Samples& f) { return Recorded(Without(f, 23 * kMs, Size(f))); },
                     false});
    cases.push_back({"CorrectAnswer", "MissingItsLast55ms",
                     [](const Samples& f) { return Recorded(Without(f, AudibleEnd(f) - 55 * kMs, Size(f))); }, false});
    cases.push_back({"chime", "CutBy20Percent",
                     [](const Samples& f) { return Recorded(Without(f, Size(f) * 8 / 10, Size(f))); }, false});
    cases.push_back({"chime", "MissingItsLast30Percent",
                     [](const Samples& f) { return Recorded(Without(f, Size(f) * 7 / 10, Size(f))); }, false});
    return cases;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.sound << ", " << c.what; }

class WholeSoundCheck : public ::testing::TestWithParam<Case> {};

TEST_P(WholeSoundCheck, TellsAWholeRecordingFromACutOne) {
    const Case& c = GetParam();
    const Samples file = MonoSamples(LoadBundleWav(c.sound + ".wav"));
    ASSERT_FALSE(file.empty()) << c.sound << ".wav is not in the bundle";
    const Samples rec = c.record(file);

    const std::string missing = MissingFromRecording(file, rec, AlignInRecording(file, rec));

    RecordProperty("missing", missing);
    if (c.whole)
        EXPECT_EQ(missing, "");
    else
        EXPECT_NE(missing, "") << "a damaged recording passed as whole";
}

INSTANTIATE_TEST_SUITE_P(BundleSounds, WholeSoundCheck, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return info.param.sound + "_" + info.param.what;
                         });

// The device tests subtract a file from what was heard, so the alignment has
// to be right to the sample, also under noise and at another level.
TEST(AlignInRecording, FindsEachSoundToTheSample) {
    for (const char* sound : {"myBeep", "CorrectAnswer", "WrongAnswer", "chime"}) {
        SCOPED_TRACE(sound);
        const Samples file = MonoSamples(LoadBundleWav(std::string(sound) + ".wav"));
        ASSERT_FALSE(file.empty());
        for (const long lead : {0L, 1L, 777L, 1234L, 4410L}) {
            EXPECT_EQ(AlignInRecording(file, Recorded(file, lead, 0.5, 60)), lead);
            EXPECT_EQ(AlignInRecording(file, Recorded(file, lead)), lead);
        }
    }
    EXPECT_EQ(AlignInRecording(Samples(882, 1000), Samples(44100, 0)), -1) << "a silent recording";
}

TEST(MonoSamples, AveragesChannelsAndCentresEightBitSound) {
    struct Row {
        const char* what;
        int channels, bits;
        std::vector<std::uint8_t> bytes;
        Samples mono;
    };
    const Row rows[] = {
        {"16-bit mono", 1, 16, {0x00, 0x80, 0xff, 0x7f, 0x01, 0x00}, {-32768, 32767, 1}},
        {"16-bit stereo", 2, 16, {0x00, 0x10, 0x00, 0x30, 0x00, 0xf0, 0x00, 0x10}, {0x2000, 0}},
        {"8-bit mono", 1, 8, {128, 0, 255}, {0, -32768, 32512}},
        {"8-bit stereo", 2, 8, {0, 255, 128, 192}, {-128, 8192}},
        {"a frame cut short is left out", 2, 16, {0x00, 0x10, 0x00, 0x30, 0x00}, {0x2000}},
    };
    for (const Row& r : rows) {
        tk::WavData wav;
        wav.channels = r.channels;
        wav.bitsPerSample = r.bits;
        wav.sampleRate = kDeviceRate;
        wav.samples = r.bytes;
        EXPECT_EQ(MonoSamples(wav), r.mono) << r.what;
    }
}

}  // namespace

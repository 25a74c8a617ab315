// The pictures and sounds the build puts in the bundle: they load, have the
// sizes the windows crop them to, and the sounds fit the waits built on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/FolderItem.h"
#include "platform/Wav.h"

using namespace tk;

namespace {

const std::string kResources = TICKMOOR_BUNDLE_DIR "/Contents/Resources/";

struct Region {
    int x, y, w, h;
};

bool IsInk(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return std::min({r, g, b}) < 200;
}

double InkShare(const Picture& pic, Region r) {
    int ink = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) ink += IsInk(pic.PixelAt(x, y));
    return static_cast<double>(ink) / (r.w * r.h);
}

}  // namespace

TEST(MediaFiles, PicturesLoadAtTheirSizesWithInkWhereShown) {
    // `shown` is a part a window displays on its own (a crop, or the whole
    // picture); it must carry a drawing, not blank paper.
    struct Case {
        const char* name;
        int minW, maxW, minH, maxH;
        Region shown;
    };
    const Case cases[] = {
        {"tickmoorLogo.bmp", 608, 640, 84, 90, {0, 0, 413, 69}},     // banner crop
        {"tickmoorLogo.bmp", 608, 640, 84, 90, {412, 0, 196, 84}},   // right-hand crop
        {"NineRoman.bmp", 231, 320, 130, 220, {0, 34, 182, 96}},   // Welcome
        {"NineRoman.bmp", 231, 320, 130, 220, {123, 15, 166, 47}}, // Results, collapsed
        {"exSel_Standard.bmp", 100, 100, 100, 100, {0, 0, 100, 100}},
        {"exSel_Roman.bmp", 115, 115, 100, 100, {0, 0, 115, 100}},
        {"exSel_Modern.bmp", 118, 118, 100, 100, {0, 0, 118, 100}},
        {"pWordProb.bmp", 100, 100, 100, 100, {0, 0, 100, 100}},
        {"pResultsBanner.bmp", 480, 520, 70, 90, {0, 0, 480, 70}},
        {"pAwardStarPrint.bmp", 140, 160, 140, 160, {0, 0, 140, 140}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.shown.x));
        const Picture pic = FolderItem(kResources + c.name).OpenAsPicture();
        ASSERT_FALSE(pic.IsNil());
        EXPECT_GE(pic.Width(), c.minW);
        EXPECT_LE(pic.Width(), c.maxW);
        EXPECT_GE(pic.Height(), c.minH);
        EXPECT_LE(pic.Height(), c.maxH);
        // Drawn on white: the top-left corner is paper, and some of the
        // shown part is ink.
        EXPECT_EQ(pic.PixelAt(0, 0) & 0xFFFFFFu, 0xFFFFFFu);
        EXPECT_GT(InkShare(pic, c.shown), 0.04);
    }
}

TEST(MediaFiles, SoundsLoadFitTheirLimitsAndStartAndEndSilent) {
    struct Case {
        const char* name;
        double minSeconds, maxSeconds;
    };
    const Case cases[] = {
        {"myBeep.wav", 0.03, 0.15},  // every window switch waits for it
        {"CorrectAnswer.wav", 0.2, 0.6},
        {"WrongAnswer.wav", 0.2, 0.6},
        {"chime.wav", 0.5, 2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Sound snd = FolderItem(kResources + c.name).OpenAsSound();
        ASSERT_FALSE(snd.IsNil());
        EXPECT_GT(snd.Seconds(), c.minSeconds);
        EXPECT_LT(snd.Seconds(), c.maxSeconds);

        const WavData* wav = snd.Wav();
        ASSERT_NE(wav, nullptr);
        ASSERT_EQ(wav->bitsPerSample, 16);
        ASSERT_EQ(wav->channels, 1);
        const auto& b = wav->samples;
        ASSERT_GE(b.size(), 4u);
        auto sample = [&](std::size_t i) {
            return static_cast<int>(static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8)));
        };
        const std::size_t n = b.size() / 2;
        int peak = 0;
        for (std::size_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(sample(i)));
        // Audible, yet clear of full scale (no clipping).
        EXPECT_GT(peak, 3000);
        EXPECT_LT(peak, 32000);
        // Envelopes begin and end at rest, so playing gives no click.
        EXPECT_LT(std::abs(sample(0)), 100);
        EXPECT_LT(std::abs(sample(n - 1)), 100);
    }
}

// IsPlaying where the sound went to an audio device: at least the sound's
// own length, then until the device has played it all, but never past the
// margin, whatever the device does.
#include <gtest/gtest.h>

#include <QTest>

#include <memory>

#include "platform/Sound.h"
#include "platform/Wav.h"
#include "support/FakeServices.h"

using testing_support::FakeServices;

namespace {

// 0.2 s of silence.
tk::Sound ShortSound() {
    tk::WavData wav;
    wav.channels = 1;
    wav.sampleRate = 8000;
    wav.bitsPerSample = 16;
    wav.blockAlign = 2;
    wav.byteRate = 16000;
    wav.samples.assign(1600 * 2, 0);
    return tk::Sound::FromWav(std::move(wav));
}

TEST(SoundOnDeviceTest, PlayingUntilTheDeviceHasPlayedItAllWithinTheMargin) {
    FakeServices fakes;
    const tk::Sound s = ShortSound();

    // The device is behind: still playing past the sound's own length, and
    // done as soon as the device says so.
    auto play = std::make_shared<tk::DevicePlay>();
    fakes.devicePlay = play;
    s.Play();
    EXPECT_TRUE(s.IsPlaying());
    QTest::qSleep(300);  // past 0.2 s, inside 0.2 s + the margin
    EXPECT_TRUE(s.IsPlaying());
    play->finished = true;
    EXPECT_FALSE(s.IsPlaying());

    // A device that never finishes holds no wait past the margin.
    fakes.devicePlay = std::make_shared<tk::DevicePlay>();
    s.Play();
    QTest::qSleep(static_cast<int>((0.2 + tk::Sound::kDeviceMarginSeconds) * 1000) + 100);
    EXPECT_FALSE(s.IsPlaying());

    // A device that gave up at once (an error) leaves the sound's own length.
    auto failed = std::make_shared<tk::DevicePlay>();
    failed->finished = true;
    fakes.devicePlay = failed;
    s.Play();
    EXPECT_TRUE(s.IsPlaying());
    QTest::qSleep(250);
    EXPECT_FALSE(s.IsPlaying());
}

// Playing again while the first play is still on the device follows the
// new play only.
TEST(SoundOnDeviceTest, APlayAgainFollowsTheNewPlay) {
    FakeServices fakes;
    const tk::Sound s = ShortSound();
    auto first = std::make_shared<tk::DevicePlay>();
    fakes.devicePlay = first;
    s.Play();
    auto second = std::make_shared<tk::DevicePlay>();
    fakes.devicePlay = second;
    QTest::qSleep(100);
    s.Play();
    QTest::qSleep(250);  // past the first play's length, inside the second's
    EXPECT_TRUE(s.IsPlaying());
    second->finished = true;
    QTest::qSleep(50);  // past the second play's own length too
    EXPECT_FALSE(s.IsPlaying()) << "the first play, still unfinished, holds nothing";
}

}  // namespace

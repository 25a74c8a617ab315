// The program's real sound output against a real audio server: a private
// PulseAudio or PipeWire server with a null sink, whose monitor is recorded
// while the bundle's sounds play through the real system services. What the
// device played is then compared with each file, window by window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Wav.h"
#include "support/AudioServer.h"
#include "support/MonitorRecorder.h"
#include "support/SoundCompare.h"
#include "support/SoundFiles.h"

using testing_support::AlignInRecording;
using testing_support::AudioServer;
using testing_support::LoadBundleWav;
using testing_support::MissingFromRecording;
using testing_support::MonitorRecorder;
using testing_support::MonoSamples;
using testing_support::WaitWhilePlaying;
using testing_support::YieldFor;

namespace {

class SoundOutputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Server().Ok()) return;
        recorder_ = std::make_unique<MonitorRecorder>(Server());
        recorderOk_ = recorder_->Start();
        if (!recorderOk_) return;
        // The first sound also connects the program to the server, which a
        // loaded machine can make slower than a click's wait: connected
        // first, every test's sounds are heard from their start.
        tk::SetServices(nullptr);
        const tk::WavData wav = LoadBundleWav("myBeep.wav");
        const tk::Sound click = tk::Sound::FromWav(wav);
        for (int tries = 0; tries < 20; ++tries) {
            const auto heard = Record([&] { click.Play(); }, {click});
            if (AlignInRecording(MonoSamples(wav), heard) >= 0) break;
        }
    }
    static void TearDownTestSuite() { recorder_.reset(); }

    static AudioServer& Server() { return testing_support::ProcessAudioServer(); }

    void SetUp() override {
        ASSERT_TRUE(Server().Ok()) << "the test's own audio server (" << Server().Name()
                                   << ") did not start: " << Server().Error();
        ASSERT_TRUE(recorderOk_) << "the sink's monitor could not be recorded: " << recorder_->Error();
        tk::SetServices(nullptr);  // the real services, sound output included
    }

    // Plays what play starts, waits while the sounds play and a little
    // longer, and gives back what the device played meanwhile.
    static std::vector<std::int16_t> Record(const std::function<void()>& play,
                                            const std::vector<tk::Sound>& sounds) {
        const std::size_t mark = recorder_->Mark();
        play();
        WaitWhilePlaying(sounds, 10000);
        YieldFor(300);  // whatever the device plays late is recorded too
        return recorder_->Since(mark);
    }

    static std::unique_ptr<MonitorRecorder> recorder_;
    static bool recorderOk_;
};

std::unique_ptr<MonitorRecorder> SoundOutputTest::recorder_;
bool SoundOutputTest::recorderOk_ = false;

TEST_F(SoundOutputTest, EverySoundOfTheBundleIsHeardWhole) {
    for (const char* name : {"myBeep.wav", "CorrectAnswer.wav", "WrongAnswer.wav", "chime.wav"}) {
        SCOPED_TRACE(name);
        const tk::WavData wav = LoadBundleWav(name);
        ASSERT_GT(wav.samples.size(), 0u);
        const tk::Sound sound = tk::Sound::FromWav(wav);

        const auto heard = Record([&] { sound.Play(); }, {sound});

        const auto file = MonoSamples(wav);
        const std::string missing = MissingFromRecording(file, heard, AlignInRecording(file, heard));
        EXPECT_EQ(missing, "");
    }
}

// Every window switch plays the click: each time it is heard whole.
TEST_F(SoundOutputTest, ASoundPlayedAgainIsHeardWholeEachTime) {
    const tk::WavData wav = LoadBundleWav("myBeep.wav");
    const tk::Sound click = tk::Sound::FromWav(wav);
    const auto file = MonoSamples(wav);
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE("play " + std::to_string(i));
        const auto heard = Record([&] { click.Play(); }, {click});
        EXPECT_EQ(MissingFromRecording(file, heard, AlignInRecording(file, heard)), "");
    }
}

// The right-answer sound plays on while the next card's click sounds over it:
// each is heard whole in the mix.
TEST_F(SoundOutputTest, OverlappingSoundsDoNotCutEachOther) {
    const tk::WavData longWav = LoadBundleWav("CorrectAnswer.wav");
    const tk::WavData shortWav = LoadBundleWav("myBeep.wav");
    const tk::Sound longSound = tk::Sound::FromWav(longWav);
    const tk::Sound shortSound = tk::Sound::FromWav(shortWav);

    auto heard = Record(
        [&] {
            longSound.Play();
            YieldFor(150);
            shortSound.Play();
        },
        {longSound, shortSound});

    const auto longFile = MonoSamples(longWav);
    const long at = AlignInRecording(longFile, heard);
    EXPECT_EQ(MissingFromRecording(longFile, heard, at), "") << "the long sound";

    // What is left once the long sound is taken out is the click, looked for
    // from 100 ms into the long sound on (it was played 150 ms after it):
    // the monitor may miss a stream's first milliseconds, which the server
    // skips to start it at once, and that leaves some of the long sound's
    // head behind.
    ASSERT_GE(at, 0);
    for (std::size_t i = 0; i < longFile.size() && static_cast<std::size_t>(at) + i < heard.size(); ++i)
        heard[static_cast<std::size_t>(at) + i] =
            static_cast<std::int16_t>(heard[static_cast<std::size_t>(at) + i] - longFile[i]);
    const std::vector<std::int16_t> rest(heard.begin() + std::min<long>(at + testing_support::kDeviceRate / 10,
                                                                        static_cast<long>(heard.size())),
                                         heard.end());
    const auto shortFile = MonoSamples(shortWav);
    EXPECT_EQ(MissingFromRecording(shortFile, rest, AlignInRecording(shortFile, rest)), "") << "the click";
}

}  // namespace

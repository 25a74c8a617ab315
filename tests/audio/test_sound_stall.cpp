// The sound output against a real audio server that stops answering: one
// that hangs (stopped, as a hung process is) and one that dies. Sounds may
// be lost meanwhile, but no call waits on the server, the event loop turns,
// every wait ends on time, and once the server is back sounds are heard
// whole again. Also: IsPlaying against what the device really played.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "flow/wExSel.h"
#include "flow/wWelcome.h"
#include "platform/Application.h"
#include "platform/AudioOutput.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "support/AudioServer.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "support/MonitorRecorder.h"
#include "support/SoundCompare.h"
#include "support/SoundFiles.h"

using testing_support::AlignInRecording;
using testing_support::AudioServer;
using testing_support::kDeviceRate;
using testing_support::LoadBundleWav;
using testing_support::MissingFromRecording;
using testing_support::MonitorRecorder;
using testing_support::MonoSamples;
using testing_support::YieldFor;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Slack for a loaded machine on top of a bound the program keeps.
constexpr double kSlackMs = 150;

AudioServer& Server() { return testing_support::ProcessAudioServer(); }

class AudioServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server().Ok()) << "the test's own audio server did not start: " << Server().Error();
        tk::SetServices(nullptr);  // the real services, sound output included
    }
    void TearDown() override { Server().Resume(); }

    // Plays the sound and gives back what the device played meanwhile,
    // through a recorder started on the server as it is now.
    static std::vector<std::int16_t> Record(const tk::Sound& sound) {
        MonitorRecorder rec(Server());
        EXPECT_TRUE(rec.Start()) << rec.Error();
        const std::size_t mark = rec.Mark();
        sound.Play();
        testing_support::WaitWhilePlaying({sound}, 10000);
        YieldFor(300);  // whatever the device plays late is recorded too
        return rec.Since(mark);
    }

    static std::string Missing(const tk::WavData& wav, const std::vector<std::int16_t>& heard) {
        const auto file = MonoSamples(wav);
        return MissingFromRecording(file, heard, AlignInRecording(file, heard));
    }

    // What is missing from the first play of the sound that is heard at all
    // within the time: Qt's audio client reconnects to a server that went
    // away on a timer of its own, and sounds before that are lost.
    static std::string MissingOnceHeard(const tk::WavData& wav, int withinMs = 15000) {
        const tk::Sound sound = tk::Sound::FromWav(wav);
        const auto from = Clock::now();
        while (MsSince(from) < withinMs) {
            const auto heard = Record(sound);
            if (AlignInRecording(MonoSamples(wav), heard) < 0) continue;
            std::printf("heard whole or in part within %.0f ms\n", MsSince(from));
            return Missing(wav, heard);
        }
        return "nothing heard within " + std::to_string(withinMs / 1000) + " s";
    }
};

// What must hold while the server does not answer: every Play returns at
// once, the event loop goes on turning, and IsPlaying turns False by the
// sound's length and the margin.
void ExpectSoundsCostNothing(const tk::Sound& click) {
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start();

    double slowest = 0;
    Clock::time_point last{};
    for (int i = 0; i < 20; ++i) {
        last = Clock::now();
        click.Play();
        const double ms = MsSince(last);
        slowest = std::max(slowest, ms);
        EXPECT_LT(ms, 200) << "play " << i << " waited on the server";
        if (i < 19) YieldFor(10);
    }
    std::printf("slowest of 20 plays: %.3f ms\n", slowest);

    while (click.IsPlaying() && MsSince(last) < 5000) tk::Yield();
    const double waited = MsSince(last);
    const double bound = (click.Seconds() + tk::Sound::kDeviceMarginSeconds) * 1000;
    std::printf("IsPlaying False %.1f ms after the last play (bound %.0f ms)\n", waited, bound);
    EXPECT_LE(waited, bound + kSlackMs);
    EXPECT_GT(ticks, 20) << "the event loop stopped turning";
}

TEST_F(AudioServerTest, AHungServerCostsNoWaitAndIsHeardAgainOnceItAnswers) {
    const tk::WavData wav = LoadBundleWav("myBeep.wav");
    const tk::Sound click = tk::Sound::FromWav(wav);
    // Once connected, as a program that has played a sound before.
    ASSERT_EQ(MissingOnceHeard(wav), "");

    Server().Stall();
    ExpectSoundsCostNothing(click);
    Server().Resume();
    YieldFor(1500);  // what was asked for meanwhile is let go
    EXPECT_EQ(Missing(wav, Record(click)), "") << "after the server answered again";
}

TEST_F(AudioServerTest, AKilledServerCostsNoWaitAndARestartedOneIsHeard) {
    const tk::WavData wav = LoadBundleWav("myBeep.wav");
    const tk::Sound click = tk::Sound::FromWav(wav);
    ASSERT_EQ(MissingOnceHeard(wav), "");

    Server().Kill();
    ExpectSoundsCostNothing(click);
    ASSERT_TRUE(Server().Restart()) << Server().Error();
    EXPECT_EQ(MissingOnceHeard(wav), "") << "after the restart";
}

// For each sound: still playing when the device played its last sample,
// and no longer a margin later. The device's time of a sample comes from
// the recorder's stamps.
TEST_F(AudioServerTest, IsPlayingFollowsTheDevice) {
    ASSERT_EQ(MissingOnceHeard(LoadBundleWav("myBeep.wav")), "");
    MonitorRecorder rec(Server());
    ASSERT_TRUE(rec.Start()) << rec.Error();
    for (const char* name : {"myBeep.wav", "CorrectAnswer.wav", "WrongAnswer.wav", "chime.wav"}) {
        SCOPED_TRACE(name);
        const tk::WavData wav = LoadBundleWav(name);
        const tk::Sound sound = tk::Sound::FromWav(wav);
        const std::size_t mark = rec.Mark();
        sound.Play();
        while (sound.IsPlaying()) tk::Yield();
        const auto falseAt = Clock::now();
        YieldFor(400);
        const auto heard = rec.Since(mark);
        const auto file = MonoSamples(wav);
        const long at = AlignInRecording(file, heard);
        ASSERT_GE(at, 0) << "not heard";
        EXPECT_EQ(MissingFromRecording(file, heard, at), "");
        const auto lastSample =
            rec.SampleZero() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                   static_cast<double>(mark + static_cast<std::size_t>(at) + file.size()) / kDeviceRate));
        const double afterLast = std::chrono::duration<double, std::milli>(falseAt - lastSample).count();
        std::printf("%s: IsPlaying False %.1f ms after the device's last sample\n", name, afterLast);
        EXPECT_GE(afterLast, -30) << "False before the device had played it all";
        EXPECT_LE(afterLast, 250);
    }
}

// Through the real windows, on a server hung from before the first sound:
// "Begin" still leads to the selection window once the click's wait is over.
TEST_F(AudioServerTest, BeginShowsTheSelectionWithTheServerHung) {
    testing_support::FakeServices fakes;
    fakes.realSound = true;
    shell::_Startup();
    tk::RaiseApplicationOpen();
    wWelcome* welcome = wWelcome::IfOpen();
    ASSERT_NE(welcome, nullptr);

    Server().Stall();
    const auto pressed = Clock::now();
    testing_support::Click(*welcome->BevelButton1);
    ASSERT_TRUE(testing_support::WaitUntil([] { return wExSel::IfOpen() != nullptr; }, 10000));
    const double ms = MsSince(pressed);
    const double bound = (myBeep().Seconds() + tk::Sound::kDeviceMarginSeconds) * 1000;
    std::printf("\"Begin\" to the selection window with the server hung: %.1f ms (bound %.0f ms)\n", ms, bound);
    EXPECT_LE(ms, bound + kSlackMs);

    // The window takes input meanwhile too: Help opens at once.
    const auto asked = Clock::now();
    tk::ChooseMenuItem("TickmoorHelp");
    EXPECT_LT(MsSince(asked), 1000);
}

// How a program of the tests', run as a child, ended: what it printed up to
// a marker, and how long after the marker it ended.
struct ChildEnd {
    QByteArray out, err;
    bool sawMarker = false;
    bool ended = false;
    double msAfterMarker = 0;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
};

// Runs the program on the offscreen platform with this process's
// environment, where the server's address is set, and any extra variables;
// waits up to 20 s for the marker on its output, then up to 10 s for its end.
ChildEnd RunChild(const QString& program, const QStringList& args, const QByteArray& marker,
                  const QProcessEnvironment& extra = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& name : extra.keys()) env.insert(name, extra.value(name));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(program, args);
    ChildEnd end;
    if (!child.waitForStarted(5000)) return end;
    QElapsedTimer t;
    t.start();
    while (!end.out.contains(marker) && t.elapsed() < 20000 && child.state() == QProcess::Running)
        if (child.waitForReadyRead(100)) end.out += child.readAllStandardOutput();
    end.sawMarker = end.out.contains(marker);
    const auto from = Clock::now();
    end.ended = child.waitForFinished(10000);
    end.msAfterMarker = MsSince(from);
    if (!end.ended) child.kill(), child.waitForFinished(2000);
    end.out += child.readAllStandardOutput();
    end.err = child.readAllStandardError();
    end.status = child.exitStatus();
    end.code = child.exitCode();
    return end;
}

// Quitting while the audio thread is held inside the audio system: the
// process still ends, at once and with status 0.
TEST_F(AudioServerTest, QuittingWithTheServerHungEndsTheProgram) {
    Server().Stall();
    const ChildEnd end = RunChild(QStringLiteral(TICKMOOR_QUIT_DRIVER), {}, "quit");
    ASSERT_TRUE(end.sawMarker) << "the program did not get as far as quitting";
    std::printf("Quit to the end of the process with the server hung: %.1f ms\n", end.msAfterMarker);
    ASSERT_TRUE(end.ended) << "still running 10 s after Quit";
    EXPECT_EQ(end.status, QProcess::NormalExit);
    EXPECT_EQ(end.code, 0);
    EXPECT_LT(end.msAfterMarker, 2000);
}

constexpr char kEndChildVariable[] = "TICKMOOR_TEST_END_WITH_THE_SERVER_HUNG";

// A process that ends without RunProgram (a test program, a benchmark)
// while the audio thread is held inside the audio system: Qt's teardown
// would wait on that thread for good. The process still ends, soon after
// its last test, without a crash; it cannot vouch for how it ended, so it
// reports failure, and says why. The child is this test program, running
// this test in the child's part: one play on the hung server, then return.
TEST(SoundOutputEndTest, AProcessEndingWithoutRunProgramWithTheServerHungStillEnds) {
    if (!qEnvironmentVariableIsEmpty(kEndChildVariable)) {
        tk::SetServices(nullptr);  // the real sound output, on the parent's hung server
        const tk::Sound click = tk::Sound::FromWav(LoadBundleWav("myBeep.wav"));
        click.Play();
        EXPECT_TRUE(testing_support::WaitWhilePlaying({click}, 5000));
        return;
    }
    ASSERT_TRUE(Server().Ok()) << "the test's own audio server did not start: " << Server().Error();
    Server().Stall();
    struct ResumeAtEnd {
        ~ResumeAtEnd() { Server().Resume(); }
    } resume;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment asChild;
    asChild.insert(QString::fromLatin1(kEndChildVariable), QStringLiteral("1"));
    const ChildEnd end =
        RunChild(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())},
                 "[  PASSED  ]", asChild);
    ASSERT_TRUE(end.out.contains("[  PASSED  ] 1 test")) << "the child's part did not pass:\n"
                                                         << end.out.toStdString();
    std::printf("last test to the end of the process with the server hung: %.1f ms\n", end.msAfterMarker);
    ASSERT_TRUE(end.ended) << "still running 10 s after its last test";
    EXPECT_EQ(end.status, QProcess::NormalExit) << end.err.toStdString();
    EXPECT_NE(end.code, 0);
    EXPECT_TRUE(end.err.contains("audio system")) << end.err.toStdString();
    EXPECT_LT(end.msAfterMarker, tk::kAudioStopLimitMs + 1000);
}

}  // namespace

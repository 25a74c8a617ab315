// Loading the bundle's pictures and sounds on first use, and the click wait.
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/Application.h"
#include "shell/BundleMedia.h"
#include "support/FakeServices.h"
#include "support/FixtureBundle.h"

using testing_support::FakeServices;
using testing_support::FixtureBundle;

namespace {

class BundleMedia : public ::testing::Test {
protected:
    void SetUp() override { fakes.executable = bundle.Executable(); }
    FixtureBundle bundle;
    FakeServices fakes;
};

TEST_F(BundleMedia, APictureIsReadOnFirstUseAndNeverAgainOnceLoaded) {
    bundle.Copy({"tickmoorLogo.bmp"});
    const tk::Picture first = tickmoorLogo();
    ASSERT_FALSE(first.IsNil());
    bundle.Remove("tickmoorLogo.bmp");
    EXPECT_TRUE(tickmoorLogo() == first);  // the same object, not a new read
}

TEST_F(BundleMedia, AMissingPictureIsTriedAgainAtItsNextUse) {
    EXPECT_TRUE(exSel_Roman().IsNil());
    EXPECT_TRUE(exSel_Roman().IsNil());
    bundle.Copy({"exSel_Roman.bmp"});
    EXPECT_FALSE(exSel_Roman().IsNil());
    bundle.Write("pWordProb.bmp", "not a picture");
    EXPECT_TRUE(pWordProb().IsNil());
}

TEST_F(BundleMedia, ASoundThatFailedStaysNilForTheRun) {
    EXPECT_TRUE(myBeep().IsNil());
    bundle.Copy({"myBeep.wav", "chime.wav"});
    EXPECT_TRUE(myBeep().IsNil());
    const tk::Sound c = chime();
    ASSERT_FALSE(c.IsNil());
    EXPECT_TRUE(chime() == c);
}

TEST_F(BundleMedia, NoResourcesFolderGivesNilAndNothingBreaks) {
    std::filesystem::remove_all(bundle.Resources());
    EXPECT_TRUE(NineRoman().IsNil());
    EXPECT_TRUE(WrongAnswer().IsNil());
    shell::ClickWait();  // no click sound: the wait returns at once
}

TEST_F(BundleMedia, ClickWaitLastsTheWholeSoundAndLetsATimerRun) {
    bundle.Copy({"myBeep.wav"});
    const double seconds = myBeep().Seconds();
    ASSERT_GT(seconds, 0.0);
    bool timerRan = false;
    QObject context;  // the timer goes with the test if the wait ends first
    QTimer::singleShot(1, &context, [&] { timerRan = true; });
    QElapsedTimer t;
    t.start();
    shell::ClickWait();
    EXPECT_GE(t.elapsed(), static_cast<qint64>(seconds * 1000) - 1);
    EXPECT_TRUE(timerRan);
    EXPECT_FALSE(myBeep().IsPlaying());
    EXPECT_EQ(fakes.played.size(), 1u);
}

}  // namespace

// A damaged bundle met through the program's own start-up: each failure
// shows its message and ends the program, or the program does without, as
// it should; never a crash or a hang.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/wExSel.h"
#include "flow/wWelcome.h"
#include "info/wHelp.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "support/FakeServices.h"
#include "support/FixtureBundle.h"
#include "support/Helpers.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class DamagedBundle : public ::testing::Test {
protected:
    void Start(FixtureBundle& b) {
        fakes.executable = b.Executable();
        shell::_Startup();
        tk::RaiseApplicationOpen();
    }

    // Welcome, "Begin", the standard face: the first card is loaded 5 ms later.
    void PlayUntilTheFirstCard() {
        ASSERT_NE(wWelcome::IfOpen(), nullptr);
        Click(*wWelcome::IfOpen()->BevelButton1);
        ASSERT_NE(wExSel::IfOpen(), nullptr);
        Click(*wExSel::IfOpen()->StaticText1);
        ASSERT_TRUE(WaitUntil([] {
            return tk::Quitting() || (wArabicClock::IfOpen() && !mGlobals::pClockFace.IsNil() &&
                                      wArabicClock::IfOpen()->Canvas1->Backdrop() == mGlobals::pClockFace);
        }));
    }

    void ExpectQuitWith(const char* message) {
        ASSERT_EQ(fakes.alerts.size(), 1u) << message;
        EXPECT_EQ(fakes.alerts[0], message);
        EXPECT_TRUE(tk::Quitting());
        EXPECT_EQ(tk::ExitStatus(), 0);
        EXPECT_TRUE(tk::Window::OpenWindows().empty());
        EXPECT_TRUE(mGlobals::pClockFace.IsNil());
    }

    FakeServices fakes;
};

TEST_F(DamagedBundle, RenamedBundle) {
    FixtureBundle b("Tickmoor copy.app");
    b.CopyAll();
    Start(b);
    EXPECT_NE(wWelcome::IfOpen(), nullptr);  // the program starts and shows its windows
    PlayUntilTheFirstCard();
    ExpectQuitWith("Program has been renamed.  Error.  [100]");
}

TEST_F(DamagedBundle, NoContentsFolder) {
    FixtureBundle b;
    fs::remove_all(b.Bundle() / "Contents");
    Start(b);
    PlayUntilTheFirstCard();  // no pictures and no click sound: blank, and no wait
    ExpectQuitWith("Program resources damaged. [200]");
}

TEST_F(DamagedBundle, NoResourcesFolder) {
    FixtureBundle b;
    fs::remove_all(b.Resources());
    Start(b);
    PlayUntilTheFirstCard();
    ExpectQuitWith("Program resources damaged. [300]");
}

TEST_F(DamagedBundle, NoCardFile) {
    FixtureBundle b;
    b.CopyAll();
    b.Remove("ProgramResources1");
    Start(b);
    PlayUntilTheFirstCard();
    ExpectQuitWith("Resource File Not Found.  [401]");
}

TEST_F(DamagedBundle, CardFileThatIsNotAResourceFile) {
    FixtureBundle b;
    b.CopyAll();
    b.Write("ProgramResources1", std::string(300, 'x'));
    Start(b);
    PlayUntilTheFirstCard();
    ExpectQuitWith("Resource File Damaged.  [400]");
}

TEST_F(DamagedBundle, CardFileWithoutThePictureAskedFor) {
    FixtureBundle b;
    b.CopyAll();
    b.BreakPictureIds("ProgramResources1");
    Start(b);
    PlayUntilTheFirstCard();  // would wait for ever for a picture that cannot come
    ExpectQuitWith("Resource File Damaged.  [400]");
}

TEST_F(DamagedBundle, MissingPictureLeavesItsCanvasBlankAndTheRoundGoesOn) {
    FixtureBundle b;
    b.CopyAll();
    b.Remove("exSel_Standard.bmp");
    b.Remove("tickmoorLogo.bmp");
    Start(b);
    ASSERT_NE(wWelcome::IfOpen(), nullptr);
    EXPECT_TRUE(wWelcome::IfOpen()->Canvas1->Backdrop().IsNil());
    Click(*wWelcome::IfOpen()->BevelButton1);
    ASSERT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_TRUE(wExSel::IfOpen()->Canvas1->Backdrop().IsNil());
    EXPECT_FALSE(wExSel::IfOpen()->Canvas2->Backdrop().IsNil());
    Click(*wExSel::IfOpen()->Canvas1);  // the blank picture still chooses
    ASSERT_TRUE(WaitUntil([] { return wArabicClock::IfOpen() && !mGlobals::pClockFace.IsNil(); }));
    EXPECT_TRUE(fakes.alerts.empty());
    EXPECT_FALSE(tk::Quitting());
}

TEST_F(DamagedBundle, MissingClickSoundMakesTheWaitsReturnAtOnce) {
    FixtureBundle b;
    b.CopyAll();
    b.Remove("myBeep.wav");
    b.Remove("chime.wav");
    Start(b);
    PlayUntilTheFirstCard();
    EXPECT_NE(wArabicClock::IfOpen(), nullptr);
    EXPECT_TRUE(fakes.alerts.empty());
    EXPECT_TRUE(fakes.played.empty());
}

TEST_F(DamagedBundle, MissingHelpPageLeavesTheViewerEmpty) {
    FixtureBundle b;
    b.CopyAll();
    b.Remove("help.htm");
    Start(b);
    tk::ChooseMenuItem("TickmoorHelp");
    ASSERT_NE(wHelp::IfOpen(), nullptr);
    EXPECT_EQ(wHelp::IfOpen()->HTMLViewer1->PlainText(), "");
    EXPECT_TRUE(fakes.alerts.empty());
    EXPECT_FALSE(tk::Quitting());
}

}  // namespace

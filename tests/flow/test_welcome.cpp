// The welcome window: what it shows, "Begin" and its click wait, and the
// ways of closing it.
#include <gtest/gtest.h>

#include "flow/FlowSupport.h"
#include "flow/wExSel.h"
#include "flow/wWelcome.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

using flow_test::DuringNextWait;
using flow_test::TimesPlayed;
using testing_support::Click;
using testing_support::FakeServices;
using testing_support::WaitUntil;

namespace {

class WelcomeTest : public ::testing::Test {
protected:
    FakeServices fakes;
};

TEST_F(WelcomeTest, ShowsVersionPicturesAndTheLineFromItsTimerOn) {
    wWelcome& w = wWelcome::Instance();
    EXPECT_EQ(w.Title(), "Welcome!");
    EXPECT_EQ(w.Width(), 637);
    EXPECT_EQ(w.Height(), 185);
    EXPECT_EQ(w.StaticText4->Text(), "Version 2.0b");
    EXPECT_EQ(w.BevelButton1->Caption(), "Begin");
    EXPECT_EQ(w.iEndOrNoEnd, 0);
    ASSERT_FALSE(tickmoorLogo().IsNil());
    EXPECT_EQ(w.Canvas1->Backdrop(), tickmoorLogo());
    EXPECT_EQ(w.Canvas2->Backdrop(), NineRoman());

    EXPECT_FALSE(w.Line1->Visible());
    ASSERT_TRUE(WaitUntil([&] { return w.Line1->Visible(); }));
    // The line stands at x 3 over the window's whole height.
    const QRect r = w.Line1->Widget()->geometry();
    EXPECT_TRUE(r.contains(3, 0));
    EXPECT_TRUE(r.contains(3, w.Height() - 1));
    EXPECT_EQ(w.Line1->BorderWidth(), 2);
}

TEST_F(WelcomeTest, CloseBoxBeforeBeginQuits) {
    wWelcome& w = wWelcome::Instance();
    w.Widget()->close();  // the window manager's close request
    EXPECT_TRUE(w.IsClosed());
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_EQ(wExSel::IfOpen(), nullptr);
}

TEST_F(WelcomeTest, BeginOpensSelectionOnlyAfterTheClickSoundAndCloses) {
    wWelcome& w = wWelcome::Instance();
    bool openDuringWait = true, welcomeShownDuringWait = false;
    DuringNextWait([&] {
        openDuringWait = wExSel::IfOpen() != nullptr;
        welcomeShownDuringWait = w.Widget()->isVisible() && !w.IsClosed();
    });
    bool playingAtShow = true, welcomeOpenAtShow = false;
    flow_test::ShowSpy spy([] { return wExSel::IfOpen() ? wExSel::IfOpen()->Widget() : nullptr; },
                           [&] {
                               playingAtShow = myBeep().IsPlaying();
                               welcomeOpenAtShow = wWelcome::IfOpen() != nullptr;
                           });
    Click(*w.BevelButton1);

    EXPECT_FALSE(openDuringWait);
    EXPECT_TRUE(welcomeShownDuringWait);
    EXPECT_FALSE(playingAtShow);
    EXPECT_TRUE(welcomeOpenAtShow);  // shown first, then the welcome window closes
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 1);
    ASSERT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_TRUE(wExSel::IfOpen()->Widget()->isVisible());
    EXPECT_EQ(wWelcome::IfOpen(), nullptr);
    EXPECT_FALSE(tk::Quitting());
}

TEST_F(WelcomeTest, SecondBeginDuringTheWaitIsIgnored) {
    wWelcome& w = wWelcome::Instance();
    DuringNextWait([&] { Click(*w.BevelButton1); });
    Click(*w.BevelButton1);
    testing_support::Pump();
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 1);
    EXPECT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wWelcome::IfOpen(), nullptr);
    EXPECT_FALSE(tk::Quitting());
}

TEST_F(WelcomeTest, CloseBoxDuringTheWaitOfBeginStillLeadsToSelection) {
    wWelcome& w = wWelcome::Instance();
    DuringNextWait([&] { w.Widget()->close(); });
    Click(*w.BevelButton1);
    testing_support::Pump();
    EXPECT_FALSE(tk::Quitting());
    EXPECT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wWelcome::IfOpen(), nullptr);
}

class WelcomeWithAppTest : public WelcomeTest {
protected:
    void SetUp() override {
        shell::_Startup();
        tk::RaiseApplicationOpen();
    }
};

TEST_F(WelcomeWithAppTest, StartUpOpensTheWelcomeWindowAlone) {
    ASSERT_NE(wWelcome::IfOpen(), nullptr);
    EXPECT_EQ(tk::Window::OpenWindows().size(), 1u);
    EXPECT_TRUE(wWelcome::IfOpen()->Widget()->isVisible());
}

TEST_F(WelcomeWithAppTest, QuitFromTheMenuEndsTheProgram) {
    tk::ChooseMenuItem("FileQuit");
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_EQ(wWelcome::IfOpen(), nullptr);
}

TEST_F(WelcomeWithAppTest, QuitChosenDuringTheWaitOfBeginOpensNothing) {
    wWelcome& w = wWelcome::Instance();
    DuringNextWait([] { tk::ChooseMenuItem("FileQuit"); });
    Click(*w.BevelButton1);
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_EQ(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wWelcome::IfOpen(), nullptr);
}

}  // namespace

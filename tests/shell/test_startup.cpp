// Start-up, the application object and the menu bar.
#include <gtest/gtest.h>

#include <optional>

#include "cards/mGlobals.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "shell/App.h"
#include "shell/Menu.h"
#include "support/FakeServices.h"

using testing_support::FakeServices;

namespace {

void StartProgram() {
    shell::_Startup();
    tk::RaiseApplicationOpen();
}

TEST(Startup, VersionCheck) {
    struct Case { std::optional<tk::Int32> answer; bool quits; };
    const Case cases[] = {{std::nullopt, false}, {0x1040, false}, {0x1100, false},
                          {0x1039, true}, {0, true}, {-1, true}};
    for (const auto& c : cases) {
        // Each case on its own: quitting cannot be undone within a process.
        if (testing::Test::HasFailure()) break;
        EXPECT_EXIT(
            {
                FakeServices fakes;
                fakes.gestalt = c.answer;
                StartProgram();
                const bool alerted = fakes.alerts.size() == 1 &&
                    fakes.alerts[0] == "This program requires Mac OS X 10.4 or higher.";
                std::_Exit((tk::Quitting() == c.quits && alerted == c.quits) ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << (c.answer ? *c.answer : -999);
    }
}

TEST(Startup, ApplicationOpenResetsTheRoundStateAndTouchesNothingElse) {
    FakeServices fakes;
    mGlobals::bArabicClockIsOpen = true;
    mGlobals::bWordProbIsOpen = true;
    mGlobals::iScore = 3;
    mGlobals::iTotalNumofQuestions = 10;
    mGlobals::iCardNum = 12;
    mGlobals::iPreviousCard = 12;
    mGlobals::iRemainingQuestions = 4;
    mGlobals::sPracticeMode = "Roman";
    StartProgram();
    EXPECT_FALSE(mGlobals::bArabicClockIsOpen);
    EXPECT_FALSE(mGlobals::bWordProbIsOpen);
    EXPECT_EQ(mGlobals::iScore, 0);
    EXPECT_EQ(mGlobals::iTotalNumofQuestions, 0);
    EXPECT_EQ(mGlobals::iCardNum, 0);
    EXPECT_EQ(mGlobals::iPreviousCard, 0);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 4);
    EXPECT_EQ(mGlobals::sPracticeMode, "Roman");
    EXPECT_FALSE(tk::Quitting());
}

TEST(Startup, MenuBarHoldsTheTwoMenusAndFourItems) {
    FakeServices fakes;
    StartProgram();
    tk::MenuBar* bar = App::Instance()->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->Items().size(), 2u);
    EXPECT_EQ(bar->Items()[0]->Name, "UntitledMenu0");
    EXPECT_EQ(bar->Items()[0]->Text, "File");
    EXPECT_EQ(bar->Items()[1]->Name, "HelpMenu");
    EXPECT_EQ(bar->Items()[1]->Text, "Help");
    struct Row { int menu; const char* name; const char* text; const char* keys; bool autoEnable; };
    const Row rows[] = {
        {0, "FileEndThisRound", "End This Round", "", false},
        {0, "FileQuit", "Quit Tickmoor", "Cmd+Q", true},
        {1, "TickmoorHelp", "Tickmoor Help", "Cmd+H", true},
        {1, "AppleAbout", "About Tickmoor...", "", false},
    };
    int index[2] = {0, 0};
    for (const auto& r : rows) {
        const auto& items = bar->Items()[r.menu]->Items();
        ASSERT_LT(static_cast<std::size_t>(index[r.menu]), items.size());
        const tk::MenuItem& item = *items[index[r.menu]++];
        EXPECT_EQ(item.Name, r.name);
        EXPECT_EQ(item.Text, r.text);
        EXPECT_EQ(item.KeyboardShortcut, r.keys);
        EXPECT_EQ(item.AutoEnable, r.autoEnable);
    }
    EXPECT_EQ(&FileQuit(), bar->Find("FileQuit"));
    EXPECT_EQ(&AppleAbout(), bar->Find("AppleAbout"));
    EXPECT_EQ(&TickmoorHelp(), bar->Find("TickmoorHelp"));
    EXPECT_EQ(&FileEndThisRound(), bar->Find("FileEndThisRound"));
}

TEST(Startup, EndThisRoundStaysDisabledWithoutAnExerciseWindow) {
    FakeServices fakes;
    StartProgram();
    tk::RunEnablingPass();
    EXPECT_FALSE(FileEndThisRound().Enabled);
    EXPECT_TRUE(FileQuit().Enabled);
    EXPECT_TRUE(TickmoorHelp().Enabled);
    EXPECT_TRUE(AppleAbout().Enabled);
}

TEST(Startup, QuitEndsTheProgramWithStatusZero) {
    FakeServices fakes;
    StartProgram();
    tk::ChooseMenuItem("FileQuit");
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_TRUE(tk::Window::OpenWindows().empty());
    tk::ChooseMenuItem("FileQuit");  // a second request changes nothing
    EXPECT_EQ(tk::ExitStatus(), 0);
}

TEST(Startup, AMissingMenuItemIsTheNilObjectError) {
    FakeServices fakes;
    tk::MenuBar empty;
    App app;
    app.SetMenuBar(&empty);
    tk::RegisterApplication(&app);
    EXPECT_THROW(FileEndThisRound(), tk::NilObjectException);
    tk::RegisterApplication(nullptr);
}

}  // namespace

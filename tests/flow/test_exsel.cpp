// The exercise selection window: its reset, the eight ways of choosing a
// mode, the titles' hover look, and presses during the click wait.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/FlowSupport.h"
#include "flow/wExSel.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "word_problems/wWordProb.h"

using flow_test::DuringNextWait;
using flow_test::TimesPlayed;
using testing_support::Click;
using testing_support::FakeServices;

namespace {

constexpr tk::Color kRest = tk::RGB(210, 0, 0);
constexpr tk::Color kHover = tk::RGB(255, 0, 0);

class ExSelTest : public ::testing::Test {
protected:
    FakeServices fakes;
};

tk::StaticText& Label(wExSel& w, const char* name) {
    return *dynamic_cast<tk::StaticText*>(w.ControlNamed(name));
}

TEST_F(ExSelTest, OpeningClearsScoreAndModeAndShowsTheTitlesAtRest) {
    mGlobals::iScore = 4;
    mGlobals::iRemainingQuestions = 6;
    mGlobals::sPracticeMode = "Roman";
    wExSel& w = wExSel::Instance();
    EXPECT_EQ(mGlobals::iScore, 0);
    EXPECT_EQ(mGlobals::sPracticeMode, "");
    EXPECT_EQ(mGlobals::iRemainingQuestions, 6);  // set by the mode choice, not here

    EXPECT_EQ(w.Title(), "Exercise Selection");
    EXPECT_EQ(w.Width(), 343);
    EXPECT_EQ(w.Height(), 431);
    const std::pair<const char*, const char*> texts[] = {
        {"StaticText1", "Standard Clock Face"}, {"StaticText2", "Classic Clock Face"},
        {"StaticText3", "Modern Clock Face"},   {"StaticText4", "Word Problems"},
        {"StaticText5", "Arabic Numerals"},     {"StaticText6", "Roman Numerals"},
        {"StaticText7", "No Numbers"},
    };
    for (const auto& [name, text] : texts) EXPECT_EQ(Label(w, name).Text(), text) << name;
    for (const char* name : {"StaticText1", "StaticText2", "StaticText3", "StaticText4"}) {
        EXPECT_EQ(Label(w, name).TextColor(), kRest) << name;
        EXPECT_EQ(Label(w, name).TextSize(), 16) << name;
    }
    EXPECT_EQ(w.Canvas1->Backdrop(), exSel_Standard());
    EXPECT_EQ(w.Canvas2->Backdrop(), exSel_Roman());
    EXPECT_EQ(w.Canvas3->Backdrop(), exSel_Modern());
    EXPECT_EQ(w.Canvas4->Backdrop(), pWordProb());
    EXPECT_FALSE(w.Canvas3->Backdrop().IsNil());
}

TEST_F(ExSelTest, IgnoresTheWindowManagersCloseRequest) {
    wExSel& w = wExSel::Instance();
    w.Widget()->close();
    EXPECT_FALSE(w.IsClosed());
    EXPECT_EQ(wExSel::IfOpen(), &w);
    EXPECT_FALSE(tk::Quitting());
}

// ---- the eight mode choices ---------------------------------------------------

struct Choice {
    const char* control;
    const char* mode;
    bool wordProblems;
};

void PrintTo(const Choice& c, std::ostream* os) { *os << c.control << " -> " << c.mode; }

class ModeChoiceTest : public ExSelTest, public ::testing::WithParamInterface<Choice> {};

TEST_P(ModeChoiceTest, SetsUpAFullRoundThenOpensItsWindowAfterTheClickSound) {
    const Choice c = GetParam();
    mGlobals::iTotalNumofQuestions = 3;
    mGlobals::iRemainingQuestions = 1;
    wExSel& w = wExSel::Instance();

    bool exerciseOpenDuringWait = true, selectionShownDuringWait = false;
    DuringNextWait([&] {
        exerciseOpenDuringWait = wArabicClock::IfOpen() || wWordProb::IfOpen();
        selectionShownDuringWait = w.Widget()->isVisible();
    });
    Click(*w.ControlNamed(c.control));

    EXPECT_EQ(mGlobals::sPracticeMode, c.mode);
    EXPECT_EQ(mGlobals::iTotalNumofQuestions, 10);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 10);
    EXPECT_EQ(mGlobals::iScore, 0);
    EXPECT_FALSE(exerciseOpenDuringWait);
    EXPECT_TRUE(selectionShownDuringWait);
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 1);
    EXPECT_EQ(wExSel::IfOpen(), nullptr);
    if (c.wordProblems) {
        EXPECT_NE(wWordProb::IfOpen(), nullptr);
        EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
        EXPECT_TRUE(mGlobals::bWordProbIsOpen);
    } else {
        wArabicClock* clock = wArabicClock::IfOpen();
        ASSERT_NE(clock, nullptr);
        EXPECT_EQ(wWordProb::IfOpen(), nullptr);
        EXPECT_TRUE(mGlobals::bArabicClockIsOpen);
        // From its first display on.
        EXPECT_EQ(clock->StaticText1->Text(), "Score: 0");
        EXPECT_EQ(clock->StaticText2->Text(), "Questions Remaining: 10");
    }
}

// A mode picture and its title make the same choice.
INSTANTIATE_TEST_SUITE_P(PictureAndTitle, ModeChoiceTest,
                         ::testing::Values(Choice{"Canvas1", "Arabic", false},
                                           Choice{"StaticText1", "Arabic", false},
                                           Choice{"Canvas2", "Roman", false},
                                           Choice{"StaticText2", "Roman", false},
                                           Choice{"Canvas3", "NoNum", false},
                                           Choice{"StaticText3", "NoNum", false},
                                           Choice{"Canvas4", "WordProb", true},
                                           Choice{"StaticText4", "WordProb", true}),
                         [](const auto& info) { return std::string(info.param.control); });

TEST_F(ExSelTest, SecondChoiceDuringTheWaitChangesNothing) {
    wExSel& w = wExSel::Instance();
    DuringNextWait([&] {
        Click(*w.Canvas2);
        Click(*w.StaticText4);
        Click(*w.StaticText1);
    });
    Click(*w.StaticText1);
    testing_support::Pump();
    EXPECT_EQ(mGlobals::sPracticeMode, "Arabic");
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 1);
    ASSERT_NE(wArabicClock::IfOpen(), nullptr);
    EXPECT_EQ(wWordProb::IfOpen(), nullptr);
    EXPECT_EQ(wExSel::IfOpen(), nullptr);
}

TEST_F(ExSelTest, CaptionsAndBareBackgroundChooseNothing) {
    wExSel& w = wExSel::Instance();
    Click(*w.StaticText5);
    Click(*w.StaticText6);
    Click(*w.StaticText7);
    flow_test::ClickInContent(w.Content(), 300, 420);  // below the last title, right of its picture
    flow_test::ClickInContent(w.Content(), 5, 5);
    testing_support::Pump();
    EXPECT_EQ(mGlobals::sPracticeMode, "");
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 0);
    EXPECT_EQ(wExSel::IfOpen(), &w);
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    EXPECT_EQ(wWordProb::IfOpen(), nullptr);
}

// ---- hover look -----------------------------------------------------------------

class TitleHoverTest : public ExSelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TitleHoverTest, PointerOverATitleBrightensAndEnlargesItOnly) {
    wExSel& w = wExSel::Instance();
    tk::StaticText& title = Label(w, GetParam());
    QWidget* content = w.Content();
    const QPoint centre = title.Widget()->geometry().center();

    QTest::mouseMove(content, QPoint(300, 425));  // start on bare background
    QTest::mouseMove(title.Widget(), title.Widget()->rect().center());
    ASSERT_TRUE(testing_support::WaitUntil([&] { return title.TextColor() == kHover; }, 1000));
    EXPECT_EQ(title.TextSize(), 18);
    for (const char* other : {"StaticText1", "StaticText2", "StaticText3", "StaticText4"}) {
        if (std::string(other) == GetParam()) continue;
        EXPECT_EQ(Label(w, other).TextColor(), kRest) << other;
        EXPECT_EQ(Label(w, other).TextSize(), 16) << other;
    }
    EXPECT_EQ(title.Widget()->geometry().center(), centre);  // the frame stays put

    QTest::mouseMove(content, QPoint(300, 425));
    ASSERT_TRUE(testing_support::WaitUntil([&] { return title.TextColor() == kRest; }, 1000));
    EXPECT_EQ(title.TextSize(), 16);
    EXPECT_EQ(mGlobals::sPracticeMode, "");  // hovering chooses nothing
}

INSTANTIATE_TEST_SUITE_P(FourTitles, TitleHoverTest,
                         ::testing::Values("StaticText1", "StaticText2", "StaticText3", "StaticText4"),
                         [](const auto& info) { return std::string(info.param); });

// ---- menu choices during the wait ---------------------------------------------------

TEST_F(ExSelTest, QuitChosenDuringTheWaitOpensNoExerciseWindow) {
    shell::_Startup();
    tk::RaiseApplicationOpen();
    wExSel& w = wExSel::Instance();
    DuringNextWait([] { tk::ChooseMenuItem("FileQuit"); });
    Click(*w.Canvas3);
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    EXPECT_EQ(wExSel::IfOpen(), nullptr);
}

}  // namespace

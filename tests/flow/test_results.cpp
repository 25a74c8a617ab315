// The results window: its sentences, the exercise window it closes, the
// name row of "Print", the printed page, "Again" and the ways it quits.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/FlowSupport.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "platform/Date.h"
#include "shell/BundleMedia.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "word_problems/wWordProb.h"

using flow_test::DuringNextWait;
using flow_test::TimesPlayed;
using testing_support::Click;
using testing_support::FakeServices;
using testing_support::RecordingGraphics;
using testing_support::Type;

namespace {

using Calls = std::vector<RecordingGraphics::Call>;

class ResultsTest : public ::testing::Test {
protected:
    FakeServices fakes;
    // Every page the print dialog handed out, in order.
    std::vector<std::shared_ptr<Calls>> pages;
    std::vector<std::shared_ptr<bool>> released;

    void SetUp() override {
        fakes.printAnswer = [this]() -> std::unique_ptr<tk::Graphics> {
            auto g = std::make_unique<RecordingGraphics>();
            pages.push_back(g->calls);
            released.push_back(g->released);
            return g;
        };
    }

    static wResults& Open(const char* mode, int score, int total = 10) {
        mGlobals::sPracticeMode = mode;
        mGlobals::iScore = score;
        mGlobals::iTotalNumofQuestions = total;
        return wResults::Instance();
    }

    static std::string DateText(const tk::DateTime& dt) {
        const tk::Date d(dt);
        return d.ShortDate() + "  " + d.ShortTime();
    }

    static void PrintAs(wResults& w, const std::string& name) {
        Click(*w.BevelButton1);
        Type(w, name);
        Click(*w.BevelButton4);
    }
};

void ExpectCollapsed(wResults& w) {
    EXPECT_EQ(w.Height(), 187);
    EXPECT_EQ(w.Width(), 498);
    EXPECT_TRUE(w.BevelButton1->Enabled());
    EXPECT_FALSE(w.EditField1->Enabled());
    EXPECT_FALSE(w.BevelButton4->Enabled());
}

TEST_F(ResultsTest, OpensCollapsedWithAChime) {
    wResults& w = Open("Arabic", 7);
    ExpectCollapsed(w);
    EXPECT_EQ(w.Title(), "Results");
    EXPECT_EQ(w.iEndOrNoEnd, 0);
    EXPECT_TRUE(w.BevelButton2->Enabled());
    EXPECT_TRUE(w.BevelButton3->Enabled());
    EXPECT_EQ(TimesPlayed(fakes, chime()), 1);
    EXPECT_EQ(w.StaticText3->Text(), "Your Name:");
    EXPECT_EQ(w.StaticText4->Text(), "");
    EXPECT_EQ(w.EditField1->Text(), "");
    EXPECT_EQ(w.Canvas3->Backdrop(), tickmoorLogo());
    EXPECT_EQ(w.Canvas2->Backdrop(), NineRoman());
    EXPECT_FALSE(NineRoman().IsNil());
}

TEST_F(ResultsTest, SentencesForEveryModeAndScore) {
    struct Mode {
        const char* mode;
        const char* sentence;
    };
    const Mode modes[] = {
        {"Arabic", "practicing standard clock face."},
        {"Roman", "practicing classic clock face."},
        {"NoNum", "practicing modern clock face."},
        {"WordProb", "practicing word problems."},
        {"", "practicing ."},
        {"arabic", "practicing ."},  // compared exactly
    };
    for (const Mode& m : modes) {
        for (int score : {0, 7, 10}) {
            wResults& w = Open(m.mode, score);
            EXPECT_EQ(w.StaticText1->Text(), "You scored " + std::to_string(score) + " out of 10")
                << m.mode << " " << score;
            EXPECT_EQ(w.StaticText2->Text(), m.sentence) << m.mode << " " << score;
            w.iEndOrNoEnd = 1;  // let it go without quitting
            w.Close();
        }
    }
    EXPECT_FALSE(tk::Quitting());
}

struct OpenExercise {
    const char* mode;
    bool wordProblems;
};

void PrintTo(const OpenExercise& o, std::ostream* os) { *os << o.mode; }

class ResultsClosesExerciseTest : public ResultsTest,
                                  public ::testing::WithParamInterface<OpenExercise> {};

TEST_P(ResultsClosesExerciseTest, TheOpenExerciseWindowGoes) {
    mGlobals::sPracticeMode = GetParam().mode;
    if (GetParam().wordProblems)
        wWordProb::Instance();
    else
        wArabicClock::Instance();
    ASSERT_TRUE(mGlobals::bArabicClockIsOpen || mGlobals::bWordProbIsOpen);

    wResults& w = Open(GetParam().mode, 4);
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    EXPECT_EQ(wWordProb::IfOpen(), nullptr);
    EXPECT_FALSE(mGlobals::bArabicClockIsOpen);
    EXPECT_FALSE(mGlobals::bWordProbIsOpen);
    EXPECT_EQ(wResults::IfOpen(), &w);
    EXPECT_EQ(w.StaticText1->Text(), "You scored 4 out of 10");
}

INSTANTIATE_TEST_SUITE_P(EitherWindow, ResultsClosesExerciseTest,
                         ::testing::Values(OpenExercise{"NoNum", false}, OpenExercise{"WordProb", true}),
                         [](const auto& info) { return std::string(info.param.mode); });

// ---- "Print" and the printed page ---------------------------------------------------

TEST_F(ResultsTest, PrintOpensTheNameRowWithDateAndTime) {
    fakes.now = tk::DateTime{2026, 3, 7, 14, 5, 0};
    wResults& w = Open("Roman", 7);
    Click(*w.BevelButton1);
    EXPECT_EQ(w.Height(), 306);
    EXPECT_EQ(w.StaticText4->Text(), DateText(fakes.now));
    EXPECT_FALSE(w.BevelButton1->Enabled());
    EXPECT_TRUE(w.EditField1->Enabled());
    EXPECT_TRUE(w.EditField1->HasFocus());
    EXPECT_TRUE(w.BevelButton4->Enabled());
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 1);
    EXPECT_EQ(fakes.printDialogs, 0);

    Type(w, "Ada Lovelace");
    EXPECT_EQ(w.EditField1->Text(), "Ada Lovelace");
}

TEST_F(ResultsTest, PageDrawsBannerTextAndStarInPlace) {
    struct Case {
        int score;
        const char* name;
        bool star;
    };
    const Case cases[] = {
        {10, "Ada Lovelace", true},
        {9, "Ada Lovelace", false},
        {0, "", false},  // an empty name leaves two empty lines above the score
    };
    for (const Case& c : cases) {
        pages.clear();
        released.clear();
        fakes.now = tk::DateTime{2026, 12, 10, 9, 30, 0};
        wResults& w = Open("Arabic", c.score);
        PrintAs(w, c.name);
        ASSERT_EQ(pages.size(), 1u) << c.score;
        EXPECT_TRUE(*released[0]) << "the page is printed when it is let go";

        const std::string cr = "\r";
        const std::string text = std::string(c.name) + cr + cr + "You scored " + std::to_string(c.score) +
                                 " out of 10" + cr + "practicing standard clock face." + cr +
                                 DateText(fakes.now) + cr;
        const Calls& calls = *pages[0];
        ASSERT_EQ(calls.size(), c.star ? 6u : 5u) << c.score;
        EXPECT_EQ(calls[0].op, "DrawPicture");
        EXPECT_EQ(calls[0].picture, pResultsBanner());
        EXPECT_EQ(std::make_pair(calls[0].a, calls[0].b), std::make_pair(50, 100));
        EXPECT_EQ(calls[1].op, "ForeColor");
        EXPECT_EQ(std::vector<int>({calls[1].a, calls[1].b, calls[1].c}), std::vector<int>({0, 0, 0}));
        EXPECT_EQ(calls[2].op, "TextFont");
        EXPECT_EQ(calls[2].text, "Charcoal");
        EXPECT_EQ(calls[3].op, "TextSize");
        EXPECT_EQ(calls[3].a, 18);
        EXPECT_EQ(calls[4].op, "DrawString");
        EXPECT_EQ(calls[4].text, text);
        EXPECT_EQ(std::vector<int>({calls[4].a, calls[4].b, calls[4].c}), std::vector<int>({50, 200, 0}));
        if (c.star) {
            EXPECT_EQ(calls[5].op, "DrawPicture");
            EXPECT_EQ(calls[5].picture, pAwardStarPrint());
            EXPECT_EQ(std::make_pair(calls[5].a, calls[5].b), std::make_pair(50, 400));
        }
        ExpectCollapsed(w);
        EXPECT_EQ(w.EditField1->Text(), c.name);
        w.iEndOrNoEnd = 1;
        w.Close();
    }
    EXPECT_FALSE(pResultsBanner().IsNil());
    EXPECT_FALSE(pAwardStarPrint().IsNil());
}

TEST_F(ResultsTest, PrintingTwiceKeepsTheNameAndTakesTheNewDate) {
    const tk::DateTime first{2026, 12, 10, 9, 30, 0}, second{2026, 12, 11, 16, 45, 0};
    fakes.now = first;
    wResults& w = Open("NoNum", 10);
    PrintAs(w, "Grace");
    fakes.now = second;
    Click(*w.BevelButton1);
    EXPECT_EQ(w.EditField1->Text(), "Grace");
    EXPECT_EQ(w.StaticText4->Text(), DateText(second));
    Type(w, " H");  // the name can still be changed
    Click(*w.BevelButton4);

    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ((*pages[0])[4].text.rfind("Grace\r\r", 0), 0u);
    EXPECT_NE((*pages[0])[4].text.find(DateText(first)), std::string::npos);
    EXPECT_EQ((*pages[1])[4].text.rfind("Grace H\r\r", 0), 0u);
    EXPECT_NE((*pages[1])[4].text.find(DateText(second)), std::string::npos);
    EXPECT_EQ(pages[1]->size(), 6u);  // 10 of 10: the star both times
}

TEST_F(ResultsTest, CancelledDialogPrintsNothingAndCollapses) {
    wResults& w = Open("Arabic", 10);
    fakes.printAnswer = [] { return std::unique_ptr<tk::Graphics>(); };
    PrintAs(w, "Alan");
    EXPECT_EQ(fakes.printDialogs, 1);
    ExpectCollapsed(w);
    EXPECT_EQ(w.EditField1->Text(), "Alan");
    EXPECT_TRUE(fakes.alerts.empty());

    SetUp();  // the dialog answers with a page again
    Click(*w.BevelButton1);
    Click(*w.BevelButton4);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ((*pages[0])[4].text.rfind("Alan\r\r", 0), 0u);
}

TEST_F(ResultsTest, PrintingSystemNotAnsweringKeepsTheNameRowForAnotherTry) {
    wResults& w = Open("Arabic", 10);
    fakes.printingAnswers = false;
    bool expandedDuringAlert = false;
    fakes.onAlert = [&](const tk::String&) { expandedDuringAlert = w.Height() == 306; };
    PrintAs(w, "Alan");
    EXPECT_EQ(fakes.alerts,
              std::vector<tk::String>{"The printing system is not answering.  Please try again in a moment."});
    EXPECT_TRUE(expandedDuringAlert);
    EXPECT_EQ(fakes.printProbes, 1);
    EXPECT_EQ(fakes.printDialogs, 0);
    EXPECT_TRUE(pages.empty());
    EXPECT_EQ(w.Height(), 306);
    EXPECT_EQ(w.EditField1->Text(), "Alan");
    EXPECT_TRUE(w.EditField1->Enabled());
    EXPECT_TRUE(w.BevelButton4->Enabled());
    EXPECT_FALSE(w.BevelButton1->Enabled());

    fakes.printingAnswers = true;
    Click(*w.BevelButton4);
    EXPECT_EQ(fakes.printProbes, 2);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ((*pages[0])[4].text.rfind("Alan\r\r", 0), 0u);
    ExpectCollapsed(w);
    EXPECT_EQ(fakes.alerts.size(), 1u);
}

TEST_F(ResultsTest, NameTakesFortyCharactersAndPrintsThemOnOneLine) {
    wResults& w = Open("Roman", 3);
    const std::string forty = "Maximiliana Theodora Wolkenstein-Rodenegg";  // 41
    ASSERT_EQ(forty.size(), 41u);
    PrintAs(w, forty + "xyz");
    EXPECT_EQ(w.EditField1->Text(), forty.substr(0, 40));
    ASSERT_EQ(pages.size(), 1u);
    const RecordingGraphics::Call& s = (*pages[0])[4];
    EXPECT_EQ(s.text.substr(0, 42), forty.substr(0, 40) + "\r\r");
    EXPECT_EQ(s.c, 0);  // no wrapping
}

// ---- leaving the window ---------------------------------------------------------

TEST_F(ResultsTest, AgainReturnsToAFreshSelectionWithoutQuitting) {
    wResults& w = Open("WordProb", 6);
    Click(*w.BevelButton1);  // "Print" and then "Again": nothing printed
    bool selectionOpenDuringWait = true;
    DuringNextWait([&] { selectionOpenDuringWait = wExSel::IfOpen() != nullptr; });
    Click(*w.BevelButton2);
    EXPECT_FALSE(selectionOpenDuringWait);
    EXPECT_FALSE(tk::Quitting());
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    ASSERT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_TRUE(wExSel::IfOpen()->Widget()->isVisible());
    EXPECT_EQ(mGlobals::iScore, 0);
    EXPECT_EQ(mGlobals::sPracticeMode, "");
    EXPECT_EQ(fakes.printDialogs, 0);
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 2);  // "Print", then the click wait
}

TEST_F(ResultsTest, PressesDuringTheWaitOfAgainAreIgnored) {
    wResults& w = Open("Arabic", 5);
    DuringNextWait([&] {
        Click(*w.BevelButton2);
        Click(*w.BevelButton1);
        Click(*w.BevelButton3);
    });
    Click(*w.BevelButton2);
    testing_support::Pump();
    EXPECT_FALSE(tk::Quitting());
    EXPECT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 1);
    EXPECT_EQ(fakes.printDialogs, 0);
}

TEST_F(ResultsTest, CloseBoxDuringTheWaitOfAgainStillLeadsToSelection) {
    wResults& w = Open("Arabic", 5);
    DuringNextWait([&] { w.Widget()->close(); });
    Click(*w.BevelButton2);
    testing_support::Pump();
    EXPECT_FALSE(tk::Quitting());
    EXPECT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
}

enum class Leave { QuitButton, CloseBox, CloseBoxExpanded, QuitButtonExpanded };

std::string NameOf(Leave how) {
    switch (how) {
        case Leave::QuitButton: return "QuitButton";
        case Leave::CloseBox: return "CloseBox";
        case Leave::CloseBoxExpanded: return "CloseBoxExpanded";
        case Leave::QuitButtonExpanded: return "QuitButtonExpanded";
    }
    return "?";
}

void PrintTo(Leave how, std::ostream* os) { *os << NameOf(how); }

class ResultsQuitTest : public ResultsTest, public ::testing::WithParamInterface<Leave> {};

TEST_P(ResultsQuitTest, EndsTheProgramWithoutPrinting) {
    wResults& w = Open("Roman", 8);
    const Leave how = GetParam();
    if (how == Leave::CloseBoxExpanded || how == Leave::QuitButtonExpanded) {
        Click(*w.BevelButton1);
        Type(w, "Edsger");
    }
    if (how == Leave::QuitButton || how == Leave::QuitButtonExpanded)
        Click(*w.BevelButton3);
    else
        w.Widget()->close();
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_EQ(fakes.printDialogs, 0);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    EXPECT_EQ(wExSel::IfOpen(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(AnyState, ResultsQuitTest,
                         ::testing::Values(Leave::QuitButton, Leave::CloseBox, Leave::CloseBoxExpanded,
                                           Leave::QuitButtonExpanded),
                         [](const auto& info) { return NameOf(info.param); });

}  // namespace

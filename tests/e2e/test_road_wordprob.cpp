// The road of the word-problem mode from start-up: welcome, selection,
// ten clicks on clocks, results, a printed page, "Again", another round by
// the mode's title, and "Quit".
#include <QGuiApplication>
#include <QStyleHints>

#include <gtest/gtest.h>

#include <string>

#include "e2e/RoadSupport.h"
#include "word_problems/wWordProb.h"

namespace {

using road::RoadTest;
using testing_support::Click;
using testing_support::WaitUntil;

class WordProblemRoadTest : public RoadTest {
protected:
    // A mode choice of word problems; the window it opens, once its first
    // problem is up.
    static wWordProb& ChooseWordProblems(wExSel& sel, const char* control) {
        Click(*sel.ControlNamed(control));
        wWordProb* w = wWordProb::IfOpen();
        EXPECT_NE(w, nullptr);
        if (!w) throw std::runtime_error("no word-problem window");
        EXPECT_TRUE(mGlobals::bWordProbIsOpen);
        EXPECT_EQ(mGlobals::sPracticeMode, "WordProb");
        EXPECT_TRUE(WaitUntil([&] { return !w->Busy() && !w->sCAI.empty(); }));
        return *w;
    }

    static tk::Canvas& Clock(wWordProb& w, const std::string& n) {
        return n == "1" ? *w.Canvas1 : n == "2" ? *w.Canvas2 : *w.Canvas3;
    }

    // Ten clicks, right ones first; the results window they end in.
    static wResults& PlayRound(wWordProb& w, int right) {
        for (int q = 0; q < 10; ++q) {
            EXPECT_EQ(wWordProb::IfOpen(), &w) << "question " << q;
            const std::string answer = w.sCAI;
            const std::string wrong = answer == "1" ? "2" : "1";
            Click(Clock(w, q < right ? answer : wrong));
            if (q < 9) {
                EXPECT_TRUE(WaitUntil([&] { return !w.Busy(); })) << "question " << q;
            }
        }
        wResults* results = wResults::IfOpen();
        EXPECT_NE(results, nullptr);
        if (!results) throw std::runtime_error("no results window");
        EXPECT_EQ(wWordProb::IfOpen(), nullptr);
        EXPECT_FALSE(mGlobals::bWordProbIsOpen);
        return *results;
    }
};

TEST_F(WordProblemRoadTest, StartUpToQuitWithAPrintedPageAndASecondRound) {
    wWordProb& w = ChooseWordProblems(Begin(), "Canvas4");
    wResults& results = PlayRound(w, 7);
    EXPECT_EQ(results.StaticText1->Text(), "You scored 7 out of 10");
    EXPECT_EQ(results.StaticText2->Text(), "practicing word problems.");

    PrintAs(results, "Ada");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ((*pages[0])[4].text.rfind("Ada\r\rYou scored 7 out of 10\rpracticing word problems.\r", 0), 0u);
    EXPECT_EQ(pages[0]->size(), 5u);  // no star

    Click(*results.BevelButton2);  // "Again"
    wWordProb& again = ChooseWordProblems(Selection(), "StaticText4");
    wResults& second = PlayRound(again, 10);
    EXPECT_EQ(second.StaticText1->Text(), "You scored 10 out of 10");
    PrintAs(second, "Ada");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1]->size(), 6u);  // the star

    Click(*second.BevelButton3);  // "Quit"
    ExpectEnded();
}

// Young students double-click a choice as they would an icon. The
// selection window's word-problem picture lies over the lower clock of the
// window it opens, so the second press lands on a clock once the first
// problem is up: it answers nothing, while a press of its own there does.
TEST_F(WordProblemRoadTest, ADoubleClickOnTheChoiceAnswersNoProblem) {
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    struct Case {
        const char* name;
        int secondPressAfterMs;
        int answered;
    };
    Begin();
    for (const Case c : {Case{"double-click", interval / 2, 0}, Case{"two clicks", interval + 1, 1}}) {
        SCOPED_TRACE(c.name);
        QWidget* choice = Selection().Canvas4->Widget();
        const QPoint pressedAt = choice->mapToGlobal(choice->rect().center());
        testing_support::SystemMouse mouse;
        mouse.Press(*Selection().Canvas4, 0);  // closes the selection window
        mouse.Release();
        wWordProb* w = wWordProb::IfOpen();
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return !w->Busy() && !w->sCAI.empty(); }));
        const QPoint at = w->Canvas2->Widget()->mapFromGlobal(pressedAt);
        ASSERT_TRUE(w->Canvas2->Widget()->rect().contains(at)) << "the choice no longer lies over a clock";
        const int picked = w->iPicked;
        mouse.PressAgain(c.secondPressAfterMs);
        mouse.Release();
        ASSERT_TRUE(WaitUntil([&] { return !w->Busy(); }));
        EXPECT_EQ(mGlobals::iRemainingQuestions, 10 - c.answered);
        EXPECT_EQ(w->iPicked != picked, c.answered == 1);
        tk::ChooseMenuItem("FileEndThisRound");
    }
}

}  // namespace

// The clock-reading window driven through real input events.
#include <QTest>

#include <gtest/gtest.h>

#include "cards/CardTable.h"
#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "clock_exercise/wFillAll.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "shell/Menu.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

using namespace testing_support;

namespace {

// A face's practice mode and the highest card, the scale of its card draw.
struct Face { const char* mode; int hi; };
constexpr Face FaceOf(cards::Face f) { return {cards::RangeOfFace(f).mode, cards::RangeOfFace(f).lastCard}; }
constexpr Face kArabic = FaceOf(cards::Face::Standard), kRoman = FaceOf(cards::Face::Roman),
               kNoNum = FaceOf(cards::Face::Modern);

double RndFor(int card, int hi) { return (card - 1 + 0.5) / hi; }

class ClockWindow : public ::testing::Test {
protected:
    void SetUp() override {
        shell::_NewAppInstance();
        shell::_ApplicationAddMenuHandlers();
        tk::RaiseApplicationOpen();
    }

    // Sets up a round as the selection window does and opens the window on
    // the given first card.
    wArabicClock& Open(Face face, int firstCard, int remaining = 10, int score = 0) {
        mGlobals::sPracticeMode = face.mode;
        mGlobals::iTotalNumofQuestions = 10;
        mGlobals::iRemainingQuestions = remaining;
        mGlobals::iScore = score;
        fakes.rnd = {RndFor(firstCard, face.hi)};
        wArabicClock& w = wArabicClock::Instance();
        // Until its first card, the canvas may show the last picture loaded.
        EXPECT_TRUE(WaitUntil([&] {
            return fakes.rnd.empty() && !mGlobals::pClockFace.IsNil() &&
                   w.Canvas1->Backdrop() == mGlobals::pClockFace;
        }));
        EXPECT_EQ(mGlobals::iCardNum, firstCard);
        return w;
    }

    void NextCardWillBe(int card, Face face) { fakes.rnd.push_back(RndFor(card, face.hi)); }

    static bool Played(const FakeServices& f, const tk::Sound& s) {
        return !f.played.empty() && f.played.back() == s;
    }

    static void ExpectQuestionOpen(wArabicClock& w) {
        EXPECT_TRUE(w.BevelButton1->Enabled());
        EXPECT_FALSE(w.BevelButton2->Enabled());
        EXPECT_FALSE(w.Placard2->Visible());
        EXPECT_TRUE(w.EditField2->Enabled());
    }

    FakeServices fakes;
};

TEST_F(ClockWindow, TwoDigitHourFocusMovesBoxToBoxAndRightAnswerScores) {
    wArabicClock& w = Open(kArabic, 30);  // 10:05
    EXPECT_EQ(w.Title(), "Standard Clock");
    EXPECT_EQ(w.StaticText1->Text(), "Score: 0");
    EXPECT_EQ(w.StaticText2->Text(), "Questions Remaining: 10");
    EXPECT_TRUE(w.EditField1->Visible());
    EXPECT_TRUE(w.EditField1->HasFocus());
    Type(w, "1");
    EXPECT_TRUE(w.EditField2->HasFocus());
    Type(w, "0");
    EXPECT_TRUE(w.EditField3->HasFocus());
    Type(w, "0");
    EXPECT_TRUE(w.EditField4->HasFocus());
    Type(w, "5");
    EXPECT_TRUE(w.EditField4->HasFocus());
    EXPECT_EQ(w.EditField1->Text() + w.EditField2->Text() + w.EditField3->Text() + w.EditField4->Text(), "1005");

    NextCardWillBe(62, kArabic);
    Click(*w.BevelButton1);
    EXPECT_EQ(mGlobals::iScore, 1);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
    EXPECT_EQ(w.StaticText1->Text(), "Score: 1");
    EXPECT_EQ(w.StaticText2->Text(), "Questions Remaining: 9");
    EXPECT_TRUE(Played(fakes, CorrectAnswer()));
    EXPECT_EQ(mGlobals::iCardNum, 62);  // the next card is up, boxes cleared
    EXPECT_EQ(w.EditField2->Text(), "");
    EXPECT_FALSE(w.EditField1->Visible());
    EXPECT_TRUE(w.EditField2->HasFocus());
    ExpectQuestionOpen(w);
}

TEST_F(ClockWindow, OneDigitHourHidesTheHourTensBoxWhichCountsAsZero) {
    wArabicClock& w = Open(kArabic, 62);  // 4:30
    EXPECT_FALSE(w.EditField1->Visible());
    EXPECT_TRUE(w.EditField2->HasFocus());
    Type(w, "430");
    NextCardWillBe(1, kArabic);
    testing_support::Key(w, Qt::Key_Return);  // Return presses "OK"
    EXPECT_EQ(mGlobals::iScore, 1);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
}

TEST_F(ClockWindow, AnEmptyBoxBeepsAndShowsOneNoticeAndUsesNothingUp) {
    wArabicClock& w = Open(kArabic, 62);
    Type(w, "43");
    Click(*w.BevelButton1);
    Click(*w.BevelButton1);
    EXPECT_EQ(fakes.beeps, 2);
    ASSERT_NE(wFillAll::IfOpen(), nullptr);
    EXPECT_EQ(wFillAll::IfOpen()->StaticText1->Text(), "All blanks must be filled.");
    EXPECT_EQ(tk::Window::FrontWindow(), wFillAll::IfOpen());
    int notices = 0;
    for (tk::Window* win : tk::Window::OpenWindows()) notices += dynamic_cast<wFillAll*>(win) != nullptr;
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 10);
    EXPECT_EQ(w.StaticText2->Text(), "Questions Remaining: 10");
    EXPECT_EQ(w.EditField3->Text(), "3");
    EXPECT_TRUE(w.EditField4->HasFocus());

    // The notice stays while the student goes on, and its own "OK" closes it.
    Type(w, "0");
    NextCardWillBe(5, kArabic);
    Click(*w.BevelButton1);
    EXPECT_EQ(mGlobals::iScore, 1);
    ASSERT_NE(wFillAll::IfOpen(), nullptr);
    Key(*wFillAll::IfOpen(), Qt::Key_Return);
    EXPECT_EQ(wFillAll::IfOpen(), nullptr);
    EXPECT_TRUE(Played(fakes, myBeep()));
}

TEST_F(ClockWindow, ALetterIsJudgedWrongAndTheCorrectTimeIsShownUntilContinue) {
    wArabicClock& w = Open(kArabic, 62);
    Type(w, "4a0");
    Click(*w.BevelButton1);
    EXPECT_EQ(mGlobals::iScore, 0);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
    EXPECT_TRUE(Played(fakes, WrongAnswer()));
    EXPECT_TRUE(w.Placard2->Visible());
    EXPECT_TRUE(w.StaticText5->Visible());
    EXPECT_EQ(w.StaticText5->Text(), "The correct answer was 4:30.");
    EXPECT_TRUE(w.BevelButton2->Visible());
    EXPECT_TRUE(w.BevelButton2->Enabled());
    EXPECT_FALSE(w.BevelButton1->Enabled());
    for (tk::EditField* f : {w.EditField1, w.EditField2, w.EditField3, w.EditField4}) EXPECT_FALSE(f->Enabled());
    EXPECT_EQ(w.EditField2->Text() + w.EditField3->Text() + w.EditField4->Text(), "4a0");

    NextCardWillBe(46, kArabic);  // 12:05
    testing_support::Key(w, Qt::Key_Return);  // presses "CONTINUE" now
    EXPECT_TRUE(Played(fakes, myBeep()));
    ExpectQuestionOpen(w);
    EXPECT_FALSE(w.StaticText5->Visible());
    EXPECT_EQ(w.EditField4->Text(), "");
    EXPECT_TRUE(w.EditField1->Visible());
    EXPECT_TRUE(w.EditField1->HasFocus());
    EXPECT_EQ(mGlobals::iRemainingQuestions, 9);

    Type(w, "1200");  // wrong: 12:05
    Click(*w.BevelButton1);
    EXPECT_EQ(w.StaticText5->Text(), "The correct answer was 12:05.");
}

TEST_F(ClockWindow, BackspaceInAnEmptyBoxSendsTheFocusBack) {
    wArabicClock& w = Open(kArabic, 30);  // 10:05
    Type(w, "10");
    ASSERT_TRUE(w.EditField3->HasFocus());
    Key(w, Qt::Key_Backspace);
    EXPECT_TRUE(w.EditField2->HasFocus());
    Key(w, Qt::Key_Backspace);  // deletes the "0" and stays
    EXPECT_TRUE(w.EditField2->HasFocus());
    EXPECT_EQ(w.EditField2->Text(), "");
    Key(w, Qt::Key_Backspace);
    EXPECT_TRUE(w.EditField1->HasFocus());
    EXPECT_EQ(w.EditField1->Text(), "1");
}

TEST_F(ClockWindow, BackspaceTowardTheHiddenHourTensBoxLeavesTheFocusAlone) {
    wArabicClock& w = Open(kArabic, 62);
    Key(w, Qt::Key_Backspace);
    EXPECT_FALSE(w.EditField1->HasFocus());
    Type(w, "430");
    Click(*w.BevelButton1);
    EXPECT_EQ(mGlobals::iScore, 1);
}

TEST_F(ClockWindow, LastQuestionWrongThenContinueOpensTheResults) {
    wArabicClock& w = Open(kArabic, 62, /*remaining=*/1, /*score=*/6);
    Type(w, "999");
    Click(*w.BevelButton1);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 0);
    EXPECT_NE(wArabicClock::IfOpen(), nullptr);  // the panel waits for "CONTINUE"
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    const auto playedBefore = fakes.played.size();
    Click(*w.BevelButton2);
    EXPECT_NE(wResults::IfOpen(), nullptr);
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    EXPECT_FALSE(mGlobals::bArabicClockIsOpen);
    // Only the results window's chime: "CONTINUE" itself plays nothing here.
    ASSERT_EQ(fakes.played.size(), playedBefore + 1);
    EXPECT_TRUE(fakes.played.back() == chime());
    EXPECT_EQ(mGlobals::iScore, 6);
}

TEST_F(ClockWindow, LastQuestionRightOpensTheResultsAtOnce) {
    wArabicClock& w = Open(kArabic, 62, 1, 9);
    Type(w, "430");
    Click(*w.BevelButton1);
    EXPECT_EQ(mGlobals::iScore, 10);
    EXPECT_NE(wResults::IfOpen(), nullptr);
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    ASSERT_GE(fakes.played.size(), 2u);
    EXPECT_TRUE(fakes.played[fakes.played.size() - 2] == CorrectAnswer());
}

TEST_F(ClockWindow, TitleAndSentenceColourFollowTheMode) {
    struct Case { Face face; int card; const char* title; tk::Color colour; };
    const Case cases[] = {
        {kArabic, 62, "Standard Clock", tk::RGB(255, 0, 0)},
        {kRoman, 118, "Clock Face with Roman Numerals", tk::RGB(100, 10, 10)},
        {kNoNum, 200, "Modern Clock Face", tk::RGB(0, 0, 255)},
    };
    for (const auto& c : cases) {
        wArabicClock& w = Open(c.face, c.card);
        EXPECT_EQ(w.Title(), c.title);
        EXPECT_TRUE(w.StaticText5->TextColor() == c.colour) << c.title;
        w.Close();
        Pump(5);
    }
}

TEST_F(ClockWindow, EndThisRoundIsEnabledOnlyWhileTheWindowIsInFront) {
    wArabicClock& w = Open(kArabic, 62);
    tk::RunEnablingPass();
    EXPECT_TRUE(FileEndThisRound().Enabled);
    Click(*w.BevelButton1);  // empty: the notice comes to the front
    tk::RunEnablingPass();
    EXPECT_FALSE(FileEndThisRound().Enabled);
    w.Show();
    tk::RunEnablingPass();
    EXPECT_TRUE(FileEndThisRound().Enabled);
}

TEST_F(ClockWindow, EndThisRoundWithThePanelShowingGoesBackToTheSelection) {
    wArabicClock& w = Open(kArabic, 62, 6, 4);
    Type(w, "111");
    Click(*w.BevelButton1);
    ASSERT_TRUE(w.Placard2->Visible());
    const auto played = fakes.played.size();
    tk::ChooseMenuItem("FileEndThisRound");
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    EXPECT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    EXPECT_EQ(mGlobals::iScore, 0);  // the selection window starts over
    EXPECT_EQ(mGlobals::sPracticeMode, "");
    EXPECT_EQ(fakes.played.size(), played);
    Pump(5);

    // A fresh window: panel hidden again.
    wArabicClock& again = Open(kRoman, 100);
    EXPECT_FALSE(again.Placard2->Visible());
    ExpectQuestionOpen(again);
}

TEST_F(ClockWindow, AWholeRoundKeepsTheCountsTogether) {
    wArabicClock& w = Open(kNoNum, 185);
    int wrong = 0;
    for (int q = 0; q < 10; ++q) {
        ASSERT_NE(wArabicClock::IfOpen(), nullptr) << q;
        ASSERT_NE(w.BevelButton1->Enabled(), w.BevelButton2->Enabled()) << q;
        const bool answerRight = q % 3 != 0;
        std::string typed = mGlobals::sValue1 == "1" ? mGlobals::sValue1 : "";
        typed += mGlobals::sValue2 + mGlobals::sValue3 + (answerRight ? mGlobals::sValue4 : "9");
        Type(w, typed);
        Click(*w.BevelButton1);
        if (!answerRight) {
            ++wrong;
            EXPECT_NE(w.BevelButton1->Enabled(), w.BevelButton2->Enabled()) << q;
            Click(*w.BevelButton2);
        }
        EXPECT_EQ(mGlobals::iScore + wrong + mGlobals::iRemainingQuestions, 10) << q;
        EXPECT_GE(mGlobals::iCardNum, 185);
    }
    EXPECT_EQ(mGlobals::iScore, 6);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 0);
    EXPECT_NE(wResults::IfOpen(), nullptr);
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
}

// Two quick presses in a clock-face mode judge one answer: the first goes
// on to the next card, whose boxes are empty, so the second brings the
// blanks notice.
TEST_F(ClockWindow, ADoubledPressJudgesOnceAndThenBringsTheBlanksNotice) {
    struct Case {
        const char* name;
        const char* typed;  // card 62 shows 4:30
        std::function<void(wArabicClock&)> press;
        std::vector<tk::Sound> played;
    };
    const Case cases[] = {
        {"Return twice after a wrong answer", "431",
         [](wArabicClock& w) {
             Click(*w.BevelButton1);
             Key(w, Qt::Key_Return);  // "CONTINUE"
             Key(w, Qt::Key_Return);  // "OK"
         },
         {WrongAnswer(), myBeep()}},
        {"a double-click on OK", "430",
         [](wArabicClock& w) {
             SystemMouse mouse;
             mouse.Click(*w.BevelButton1, 0);
             mouse.Click(*w.BevelButton1, 90);
         },
         {CorrectAnswer()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        wArabicClock& w = Open(kArabic, 62);
        Type(w, c.typed);
        NextCardWillBe(5, kArabic);
        c.press(w);
        EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
        EXPECT_TRUE(fakes.played == c.played);
        EXPECT_EQ(mGlobals::iCardNum, 5);
        EXPECT_EQ(fakes.beeps, 1);
        ASSERT_NE(wFillAll::IfOpen(), nullptr);
        wFillAll::IfOpen()->Close();
        w.Close();
        Pump(5);
        fakes.played.clear();
        fakes.beeps = 0;
    }
}

TEST_F(ClockWindow, APressOfOkWhileTheNextCardLoadsIsNotJudgedTwice) {
    wArabicClock& w = Open(kRoman, 118);  // 4:30
    Type(w, "430");
    // The next draw is rejected twice (below the face), so it yields; a
    // second press queued meanwhile must not judge the old answer again.
    fakes.rnd = {RndFor(5, kRoman.hi), RndFor(6, kRoman.hi), RndFor(100, kRoman.hi)};
    QMetaObject::invokeMethod(w.BevelButton1->Widget(), "click", Qt::QueuedConnection);
    Click(*w.BevelButton1);
    Pump(20);
    EXPECT_EQ(mGlobals::iScore, 1);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
    EXPECT_EQ(mGlobals::iCardNum, 100);
}

}  // namespace

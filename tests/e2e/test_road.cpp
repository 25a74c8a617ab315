// The whole road from start-up, through input events only: welcome,
// selection, ten typed answers, results, a printed page, "Again", another
// round, and "Quit".
#include <gtest/gtest.h>

#include <string>

#include "e2e/RoadSupport.h"
#include "platform/Date.h"

namespace {

using road::RoadTest;
using testing_support::Click;

struct FaceRound {
    const char* control;  // the picture or title clicked
    const char* mode;
    const char* sentence;
    int right;
};

void PrintTo(const FaceRound& f, std::ostream* os) { *os << f.control << " " << f.right << "/10"; }

class ClockRoadTest : public RoadTest, public ::testing::WithParamInterface<FaceRound> {};

TEST_P(ClockRoadTest, StartUpToQuitWithAPrintedPageAndASecondRound) {
    const FaceRound face = GetParam();
    wArabicClock& clock = ChooseClockFace(Begin(), face.control);
    EXPECT_EQ(mGlobals::sPracticeMode, face.mode);
    EXPECT_EQ(wWelcome::IfOpen(), nullptr);

    wResults& results = PlayRound(clock, face.right);
    EXPECT_EQ(results.StaticText1->Text(), "You scored " + std::to_string(face.right) + " out of 10");
    EXPECT_EQ(results.StaticText2->Text(), face.sentence);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 0);

    PrintAs(results, "Ada");
    ASSERT_EQ(pages.size(), 1u);
    const tk::Date date(fakes.now);
    EXPECT_EQ((*pages[0])[4].text, "Ada\r\rYou scored " + std::to_string(face.right) + " out of 10\r" +
                                       face.sentence + "\r" + date.ShortDate() + "  " + date.ShortTime() +
                                       "\r");
    EXPECT_EQ(pages[0]->size(), face.right == 10 ? 6u : 5u);  // the star for a perfect round

    const int lastCard = mGlobals::iCardNum;
    Click(*results.BevelButton2);  // "Again"
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    EXPECT_FALSE(tk::Quitting());

    wArabicClock& again = ChooseClockFace(Selection(), face.control);
    EXPECT_NE(mGlobals::iCardNum, lastCard);  // never the card drawn last
    wResults& second = PlayRound(again, 10);
    EXPECT_EQ(second.StaticText1->Text(), "You scored 10 out of 10");
    EXPECT_EQ(second.EditField1->Text(), "");  // a fresh window

    Click(*second.BevelButton3);  // "Quit"
    ExpectEnded();
}

INSTANTIATE_TEST_SUITE_P(
    ThreeFaces, ClockRoadTest,
    ::testing::Values(FaceRound{"Canvas1", "Arabic", "practicing standard clock face.", 10},
                      FaceRound{"StaticText2", "Roman", "practicing classic clock face.", 7},
                      FaceRound{"Canvas3", "NoNum", "practicing modern clock face.", 0}),
    [](const auto& info) { return std::string(info.param.mode); });

TEST_F(RoadTest, EndThisRoundMidwayThenAFullRound) {
    wArabicClock& first = ChooseClockFace(Begin(), "Canvas2");
    Answer(first, 4, 4);
    ASSERT_EQ(mGlobals::iScore, 4);
    ASSERT_EQ(mGlobals::iRemainingQuestions, 6);

    tk::ChooseMenuItem("FileEndThisRound");
    EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    wExSel& sel = Selection();  // score 0, mode ""

    wArabicClock& clock = ChooseClockFace(sel, "StaticText3");
    EXPECT_EQ(mGlobals::iRemainingQuestions, 10);
    EXPECT_EQ(mGlobals::iTotalNumofQuestions, 10);
    wResults& results = PlayRound(clock, 6);
    EXPECT_EQ(results.StaticText1->Text(), "You scored 6 out of 10");
    EXPECT_EQ(results.StaticText2->Text(), "practicing modern clock face.");

    tk::ChooseMenuItem("FileQuit");
    ExpectEnded();
}

}  // namespace

// The word-problem window: drawing, showing and judging problems.
#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cards/CardTable.h"
#include "cards/mGlobals.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "platform/ResourceFork.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "shell/Menu.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "word_problems/ProblemBank.h"
#include "word_problems/wWordProb.h"

using namespace testing_support;

namespace {

double RndFor(int problem) { return (problem - 1 + 0.5) / 100.0; }

// Decoded card pictures straight from the card files, to recognise what a
// canvas shows.
std::vector<std::uint32_t> Fingerprint(const tk::Picture& p) {
    std::vector<std::uint32_t> out;
    for (int y = 20; y < p.Height(); y += 23)
        for (int x = 20; x < p.Width(); x += 17) out.push_back(p.PixelAt(x, y));
    return out;
}

const std::vector<std::uint32_t>& CardFingerprint(int card) {
    static std::map<int, std::vector<std::uint32_t>> cache;
    auto it = cache.find(card);
    if (it != cache.end()) return it->second;
    const cards::CardPicture where = cards::PictureOfCard(card);
    auto fork = tk::ResourceFork::OpenFile(BundleResources() + "/" + where.file->name);
    EXPECT_TRUE(fork);
    const tk::Picture p = fork ? fork->GetPicture(where.id) : tk::Picture();
    return cache[card] = Fingerprint(p);
}

class WordWindow : public ::testing::Test {
protected:
    void SetUp() override {
        shell::_NewAppInstance();
        shell::_ApplicationAddMenuHandlers();
        tk::RaiseApplicationOpen();
        mGlobals::sPracticeMode = "WordProb";
        mGlobals::iTotalNumofQuestions = 10;
        mGlobals::iRemainingQuestions = 10;
        mGlobals::iScore = 0;
    }

    wWordProb& Open(int firstProblem) {
        fakes.rnd = {RndFor(firstProblem)};
        wWordProb& w = wWordProb::Instance();
        EXPECT_TRUE(WaitUntil([&] { return w.iPicked == firstProblem && !w.Busy(); }));
        return w;
    }

    static tk::Canvas* CanvasOf(wWordProb& w, int i) {
        return i == 1 ? w.Canvas1 : i == 2 ? w.Canvas2 : w.Canvas3;
    }

    FakeServices fakes;
};

TEST_F(WordWindow, OpensWithTheRoundsCountersAndNoProblemYet) {
    fakes.rnd = {RndFor(8)};
    wWordProb& w = wWordProb::Instance();
    EXPECT_EQ(w.StaticText4->Text(), "Score: 0");
    EXPECT_EQ(w.StaticText3->Text(), "Questions Remaining: 10");
    EXPECT_EQ(w.StaticText2->Text(), "-----");
    EXPECT_TRUE(w.Canvas1->Backdrop().IsNil());
    EXPECT_EQ(w.sCAI, "");
    EXPECT_TRUE(mGlobals::bWordProbIsOpen);
    ASSERT_TRUE(WaitUntil([&] { return w.iPicked == 8 && !w.Busy(); }));
    EXPECT_EQ(w.StaticText2->Text(), "Which clock is displaying quarter 'til two?");
    EXPECT_EQ(w.sCAI, "2");
    // Canvas 2 is the lower, centred clock.
    EXPECT_GT(w.Canvas2->Top(), w.Canvas1->Top());
    EXPECT_GT(w.Canvas2->Left(), w.Canvas1->Left());
    EXPECT_LT(w.Canvas2->Left(), w.Canvas3->Left());
}

TEST_F(WordWindow, EveryProblemShowsItsQuestionAndCardsAndIsRightOnlyOnItsAnswerCanvas) {
    wWordProb& w = Open(1);
    for (const auto& p : word_problems::AllProblems()) {
        w.iPicked = 0;
        w.mWSet(p.number);
        ASSERT_EQ(w.StaticText2->Text(), p.question) << p.number;
        EXPECT_EQ(w.sCAI, p.answerCanvas) << p.number;
        const int cards[] = {p.card1, p.card2, p.card3};
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(Fingerprint(CanvasOf(w, i)->Backdrop()), CardFingerprint(cards[i - 1]))
                << "problem " << p.number << " canvas " << i;
        EXPECT_EQ(mGlobals::iCardNum, p.card3);
    }
    // Judging: a click on each canvas of a few problems (each click draws
    // the next problem, so keep the round long enough).
    for (int n : {1, 2, 3, 43, 71, 85, 100}) {
        const auto* p = word_problems::ProblemByNumber(n);
        for (int i = 1; i <= 3; ++i) {
            mGlobals::iRemainingQuestions = 10;
            w.iPicked = 0;
            w.mWSet(n);
            const int scoreBefore = mGlobals::iScore;
            fakes.rnd = {RndFor(n == 50 ? 51 : 50)};
            Click(*CanvasOf(w, i));
            const bool right = std::to_string(i) == p->answerCanvas;
            EXPECT_EQ(mGlobals::iScore - scoreBefore, right ? 1 : 0) << n << " canvas " << i;
            EXPECT_TRUE(fakes.played.back() == (right ? CorrectAnswer() : WrongAnswer()));
            EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
        }
    }
}

TEST_F(WordWindow, TheDrawNeverRepeatsTheProblemJustShownAndReachesOneAndAHundred) {
    wWordProb& w = Open(1);
    // Rnd 0 gives problem 1 again: drawn once more, then 100.
    fakes.rnd = {0.0, 0.999999};
    const int callsBefore = fakes.rndCalls;
    w.mWRandomSelect();
    EXPECT_EQ(w.iPicked, 100);
    EXPECT_EQ(fakes.rndCalls - callsBefore, 2);
    EXPECT_EQ(w.StaticText2->Text(), word_problems::ProblemByNumber(100)->question);
    fakes.rnd = {0.999999, 0.0};
    w.mWRandomSelect();
    EXPECT_EQ(w.iPicked, 1);
}

TEST_F(WordWindow, TenClicksEndInTheResultsWithNoEleventhDraw) {
    wWordProb& w = Open(1);
    for (int q = 0; q < 10; ++q) {
        ASSERT_NE(wWordProb::IfOpen(), nullptr) << q;
        const int answer = std::stoi(w.sCAI);
        fakes.rnd = {RndFor(q % 2 ? 1 : 2)};
        Click(*CanvasOf(w, q < 7 ? answer : answer % 3 + 1));
        EXPECT_EQ(w.StaticText3->Text(), "Questions Remaining: " + std::to_string(9 - q));
    }
    EXPECT_EQ(fakes.rnd.size(), 1u);  // the last scripted draw was never taken
    EXPECT_EQ(mGlobals::iScore, 7);
    EXPECT_EQ(wWordProb::IfOpen(), nullptr);
    EXPECT_FALSE(mGlobals::bWordProbIsOpen);
    ASSERT_NE(wResults::IfOpen(), nullptr);
}

TEST_F(WordWindow, EndThisRoundGoesBackWithNoSoundAndNoResults) {
    Open(5);
    tk::RunEnablingPass();
    EXPECT_TRUE(FileEndThisRound().Enabled);
    const auto played = fakes.played.size();
    tk::ChooseMenuItem("FileEndThisRound");
    EXPECT_EQ(wWordProb::IfOpen(), nullptr);
    EXPECT_NE(wExSel::IfOpen(), nullptr);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    EXPECT_EQ(fakes.played.size(), played);
}

TEST_F(WordWindow, AClickBeforeTheFirstProblemCountsAsWrong) {
    fakes.rnd = {RndFor(20), RndFor(30)};
    wWordProb& w = wWordProb::Instance();
    Click(*w.Canvas1);  // before the 5 ms timer
    EXPECT_EQ(mGlobals::iRemainingQuestions, 9);
    EXPECT_EQ(mGlobals::iScore, 0);
    EXPECT_TRUE(fakes.played.back() == WrongAnswer());
    EXPECT_EQ(w.iPicked, 20);
    ASSERT_TRUE(WaitUntil([&] { return w.iPicked == 30; }));  // the timer still draws
}

TEST_F(WordWindow, AClickWhileAProblemIsDrawnIsDropped) {
    wWordProb& w = Open(1);
    // The next draw repeats problem 1 twice and yields; a click meanwhile
    // must not be judged against a problem that is not on screen yet.
    fakes.rnd = {0.0, 0.0, RndFor(3)};
    QMetaObject::invokeMethod(w.Canvas1->Widget(), [&w] { Click(*w.Canvas2); }, Qt::QueuedConnection);
    w.mWRandomSelect();
    Pump(10);
    EXPECT_EQ(w.iPicked, 3);
    EXPECT_EQ(mGlobals::iRemainingQuestions, 10);
}

// ---- presses as the window system sends them -------------------------------

// The system's double-click interval for these tests: none that a platform
// ships, so only the style hints' value can make the cases come out.
constexpr int kInterval = 260;

class DoubleClickInterval {
public:
    explicit DoubleClickInterval(int ms) : before_(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(ms);
    }
    ~DoubleClickInterval() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(before_); }
    DoubleClickInterval(const DoubleClickInterval&) = delete;
    DoubleClickInterval& operator=(const DoubleClickInterval&) = delete;

private:
    int before_;
};

struct PressCase {
    const char* name;
    struct Press {
        int canvas;
        int msAfterLast;  // since the press before
    };
    std::vector<Press> presses;
    int answered;
};

void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

const PressCase kPressCases[] = {
    {"DoubleClickOnAClock", {{1, 0}, {1, 90}}, 1},
    {"DoubleClickOnTheLowerClock", {{2, 0}, {2, 0}}, 1},
    {"SecondPressJustInsideTheInterval", {{3, 0}, {3, kInterval - 1}}, 1},
    {"TwoClicksJustPastTheInterval", {{3, 0}, {3, kInterval + 1}}, 2},
    {"QuickClicksOnTwoClocks", {{1, 0}, {3, 90}}, 2},
    // What the student did: a double-click, a click, a double-click.
    {"DoubleClickThenAClickThenADoubleClick", {{1, 0}, {1, 120}, {2, 900}, {3, 900}, {3, 120}}, 3},
};

class WordWindowPresses : public WordWindow, public ::testing::WithParamInterface<PressCase> {};

TEST_P(WordWindowPresses, TheSecondPressOfADoubleClickAnswersNothing) {
    const DoubleClickInterval interval(kInterval);
    wWordProb& w = Open(1);
    SystemMouse mouse;
    std::vector<int> shown{w.iPicked};
    for (const auto& press : GetParam().presses) {
        mouse.Click(*CanvasOf(w, press.canvas), press.msAfterLast);
        ASSERT_TRUE(WaitUntil([&] { return !w.Busy(); }));
        if (w.iPicked != shown.back()) shown.push_back(w.iPicked);
    }
    const int answered = GetParam().answered;
    EXPECT_EQ(mGlobals::iRemainingQuestions, 10 - answered);
    EXPECT_EQ(w.StaticText3->Text(), "Questions Remaining: " + std::to_string(10 - answered));
    EXPECT_EQ(fakes.played.size(), static_cast<std::size_t>(answered));
    EXPECT_EQ(shown.size(), static_cast<std::size_t>(answered + 1)) << "one new problem per answer";
}

INSTANTIATE_TEST_SUITE_P(Cases, WordWindowPresses, ::testing::ValuesIn(kPressCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// Every label of every window shows its whole text in its frame, with the
// longest texts the program puts there.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "clock_exercise/wFillAll.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "flow/wWelcome.h"
#include "info/wAbout.h"
#include "info/wHelp.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "word_problems/ProblemBank.h"
#include "word_problems/wWordProb.h"

using namespace testing_support;

namespace {

std::string Overflow(const tk::Control& c, const QString& text) {
    const QWidget* w = c.Widget();
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap()) {
            const QRect r = fm.boundingRect(QRect(0, 0, c.Width(), 10000), Qt::TextWordWrap, text);
            if (r.height() > c.Height()) return "wraps to " + std::to_string(r.height()) + " px";
            return "";
        }
        if (fm.horizontalAdvance(text) > c.Width()) return std::to_string(fm.horizontalAdvance(text)) + " px wide";
        // Drawn from the top: the ink of the glyphs must end inside the frame.
        const int inkBottom = fm.ascent() + fm.tightBoundingRect(text).bottom();
        if (inkBottom > c.Height()) return std::to_string(inkBottom) + " px high";
    } else if (qobject_cast<const QPushButton*>(w)) {
        if (fm.horizontalAdvance(text) + 8 > c.Width()) return "caption too wide";
    }
    return "";
}

void ExpectAllFit(tk::Window& w) {
    for (const auto& c : w.Controls()) {
        QString text;
        if (auto* label = qobject_cast<const QLabel*>(c->Widget())) text = label->text();
        else if (auto* button = qobject_cast<const QPushButton*>(c->Widget())) text = button->text();
        else continue;
        EXPECT_EQ(Overflow(*c, text), "") << typeid(w).name() << " " << c->Name() << ": \"" << text.toStdString() << "\"";
    }
}

class TextsFit : public ::testing::Test {
protected:
    void SetUp() override {
        shell::_Startup();
        tk::RaiseApplicationOpen();
    }
    FakeServices fakes;
};

TEST_F(TextsFit, WelcomeSelectionNoticeHelpAndAbout) {
    ExpectAllFit(wWelcome::Instance());
    ExpectAllFit(wExSel::Instance());
    for (tk::StaticText* title : {wExSel::Instance().StaticText1, wExSel::Instance().StaticText4}) {
        title->TextSize(18);  // the hover look
        EXPECT_EQ(Overflow(*title, QString::fromStdString(title->Text())), "");
    }
    ExpectAllFit(wFillAll::Instance());
    ExpectAllFit(wHelp::Instance());
    ExpectAllFit(wAbout::Instance());
}

TEST_F(TextsFit, ClockWindowWithTheLongestSentence) {
    mGlobals::sPracticeMode = "Roman";
    mGlobals::iRemainingQuestions = 10;
    mGlobals::iScore = 10;
    wArabicClock& w = wArabicClock::Instance();
    w.StaticText2->Text("Questions Remaining: 10");
    w.StaticText5->Text("The correct answer was 12:55.");
    ExpectAllFit(w);
}

TEST_F(TextsFit, ResultsWindowForEveryMode) {
    mGlobals::iScore = 10;
    mGlobals::iTotalNumofQuestions = 10;
    for (const char* mode : {"Arabic", "Roman", "NoNum", "WordProb"}) {
        mGlobals::sPracticeMode = mode;
        wResults& r = wResults::Instance();
        Click(*r.BevelButton1);  // the name row with the date and time
        ExpectAllFit(r);
        r.iEndOrNoEnd = 1;
        r.Close();
    }
}

TEST_F(TextsFit, WordProblemWindowWithEveryQuestion) {
    mGlobals::iRemainingQuestions = 10;
    wWordProb& w = wWordProb::Instance();
    for (const auto& p : word_problems::AllProblems())
        EXPECT_EQ(Overflow(*w.StaticText2, QString::fromLatin1(p.question)), "") << p.number;
    w.StaticText3->Text("Questions Remaining: 10");
    w.StaticText4->Text("Score: 10");
    ExpectAllFit(w);
}

}  // namespace

#include "word_problems/wWordProb.h"

#include "cards/mGlobals.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "platform/System.h"
#include "shell/BundleMedia.h"
#include "shell/Menu.h"
#include "word_problems/ProblemBank.h"

namespace {

constexpr tk::Color kCounterBlue = tk::HexColor(0x4618C6);

// Each of the 100 problems with the same chance: Rnd is below 1, so the
// truncated product is 0..99.
tk::Int32 DrawProblemNumber() { return tk::CInt32(tk::Rnd() * static_cast<double>(100)) + 1; }

}  // namespace

void wWordProb::Layout() {
    Props() = {.title = "Word Problems", .width = 835, .height = 750, .closeButton = false};
}

void wWordProb::_CreateControls0() {
    Canvas2 = &Add<tk::Canvas>("Canvas2", 236, 436, 369, 314);
    Canvas2->TabIndex(0);
    Canvas2->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas2_MouseDown(x, y); };

    Canvas1 = &Add<tk::Canvas>("Canvas1", 17, 129, 369, 314);
    Canvas1->TabIndex(1);
    Canvas1->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas1_MouseDown(x, y); };

    Canvas3 = &Add<tk::Canvas>("Canvas3", 457, 129, 369, 314);
    Canvas3->TabIndex(2);
    Canvas3->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas3_MouseDown(x, y); };

    Placard1 = &Add<tk::Placard>("Placard1", 13, 5, 813, 49);
    Placard1->Value(false);
    Placard1->TabIndex(3);

    StaticText3 = &Add<tk::StaticText>("StaticText3", 368, 17, 447, 26, Placard1);
    StaticText3->Text("Questions Remaining:");
    StaticText3->TextFont("Arial");
    StaticText3->TextSize(24);
    StaticText3->TextColor(kCounterBlue);
    StaticText3->TextAlign(0);
    StaticText3->TabIndex(0);

    StaticText4 = &Add<tk::StaticText>("StaticText4", 32, 17, 324, 26, Placard1);
    StaticText4->Text("Score:");
    StaticText4->TextFont("Arial");
    StaticText4->TextSize(24);
    StaticText4->TextColor(kCounterBlue);
    StaticText4->TextAlign(0);
    StaticText4->TabIndex(1);

    StaticText2 = &Add<tk::StaticText>("StaticText2", 17, 62, 809, 61);
    StaticText2->Text("-----");
    StaticText2->TextFont("Charcoal");
    StaticText2->TextSize(24);
    StaticText2->TextColor(tk::HexColor(0x000000));
    StaticText2->TextAlign(1);
    StaticText2->Multiline(true);
    StaticText2->TabIndex(4);

    Timer2 = &AddTimer("Timer2", 1, 5);
    Timer2->Action = [this] { Timer2_Action(); };
}

void wWordProb::Event_Open() {
    mGlobals::bWordProbIsOpen = true;
    StaticText3->Text("Questions Remaining: " + tk::Str(mGlobals::iRemainingQuestions));
    StaticText4->Text("Score: " + tk::Str(mGlobals::iScore));
}

void wWordProb::Event_Close() { mGlobals::bWordProbIsOpen = false; }

void wWordProb::Timer2_Action() { mWRandomSelect(); }

void wWordProb::mWRandomSelect() {
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);
    tk::Int32 n = DrawProblemNumber();
    while (n == iPicked) {
        n = DrawProblemNumber();
        tk::Yield();
    }
    iPicked = n;
    mWSet(n);
}

void wWordProb::mWSet(tk::Int32 n) {
    const word_problems::WordProblem* p = word_problems::ProblemByNumber(n);
    if (!p) return;
    mGlobals::pClockFace = tk::Picture();
    StaticText2->Text(p->question);
    sCAI = p->answerCanvas;
    const std::pair<tk::Canvas*, int> clocks[] = {{Canvas1, p->card1}, {Canvas2, p->card2}, {Canvas3, p->card3}};
    for (const auto& [canvas, card] : clocks) {
        mGlobals::iCardNum = card;
        mGlobals::mOpenCard();
        while (mGlobals::pClockFace.IsNil()) tk::Yield();
        canvas->Backdrop(mGlobals::pClockFace);
        canvas->Refresh(true);
    }
}

// The second press of a double-click is no answer: the first press was
// judged and the next problem replaced that one at once, so the second
// would answer a problem the student never saw.
bool wWordProb::Canvas1_MouseDown(tk::Int32, tk::Int32) {
    if (!Canvas1->DoubleClickPress()) mWCheckAnswer(1);
    return false;
}

bool wWordProb::Canvas2_MouseDown(tk::Int32, tk::Int32) {
    if (!Canvas2->DoubleClickPress()) mWCheckAnswer(2);
    return false;
}

bool wWordProb::Canvas3_MouseDown(tk::Int32, tk::Int32) {
    if (!Canvas3->DoubleClickPress()) mWCheckAnswer(3);
    return false;
}

void wWordProb::mWCheckAnswer(tk::Int32 i) {
    // A click while a problem is drawn or shown is not an answer to it.
    if (busy_) return;
    mGlobals::iRemainingQuestions -= 1;
    StaticText3->Text("Questions Remaining: " + tk::Str(mGlobals::iRemainingQuestions));
    if (tk::Str(i) == sCAI) {
        mGlobals::iScore += 1;
        StaticText4->Text("Score: " + tk::Str(mGlobals::iScore));
        CorrectAnswer().Play();
    } else {
        WrongAnswer().Play();
    }
    if (mGlobals::iRemainingQuestions <= 0) {
        // The results window's Open closes this window; touch nothing after.
        wResults::Instance().Show();
    } else {
        mWRandomSelect();
    }
}

void wWordProb::AddMenuHandlers() {
    AddMenuHandler("FileEndThisRound", [this] { return _FileEndThisRound_Action(); });
}

void wWordProb::Event_EnableMenuItems() { FileEndThisRound().Enabled = true; }

bool wWordProb::_FileEndThisRound_Action() {
    wExSel::Instance().Show();
    Close();
    return false;
}

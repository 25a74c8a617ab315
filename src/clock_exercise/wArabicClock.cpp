#include "clock_exercise/wArabicClock.h"

#include "cards/mGlobals.h"
#include "clock_exercise/wFillAll.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "platform/System.h"
#include "shell/BundleMedia.h"
#include "shell/Menu.h"

namespace {

constexpr tk::Color kCounterBlue = tk::HexColor(0x4618C6);

void StyleBox(tk::EditField& f, tk::Int32 tabIndex) {
    f.TextFont("Charcoal");
    f.TextSize(36);
    f.TextColor(tk::HexColor(0x000000));
    f.BackColor(tk::HexColor(0xFFFFFF));
    f.LimitText(1);
    f.Border(true);
    f.Alignment(0);
    f.TabIndex(tabIndex);
}

}  // namespace

void wArabicClock::Layout() {
    // The controls reach x 659 and y 373; the stored bounds of 640 x 372
    // would cut them off.
    Props() = {.title = "Clock", .width = 673, .height = 381, .closeButton = false};
}

void wArabicClock::_CreateControls0() {
    Placard2 = &Add<tk::Placard>("Placard2", 360, 221, 291, 144);
    Placard2->Visible(false);
    Placard2->TabIndex(0);

    StaticText5 = &Add<tk::StaticText>("StaticText5", 374, 240, 260, 63, Placard2);
    StaticText5->Text("The correct answer was 12:59.");
    StaticText5->TextFont("Arial");
    StaticText5->TextSize(24);
    StaticText5->Bold(true);
    StaticText5->TextColor(tk::HexColor(0xFFFFFF));
    StaticText5->Multiline(true);
    StaticText5->TextAlign(1);
    StaticText5->Visible(false);
    StaticText5->TabIndex(0);
    StaticText5->Open = [this] { StaticText5_Open(); };

    BevelButton2 = &Add<tk::PushButton>("BevelButton2", 374, 315, 266, 32, Placard2);
    BevelButton2->Caption("CONTINUE");
    BevelButton2->TextFont("Charcoal");
    BevelButton2->TextSize(18);
    BevelButton2->Default(true);
    BevelButton2->Cancel(false);
    BevelButton2->Visible(false);
    BevelButton2->Enabled(false);
    BevelButton2->TabIndex(1);
    BevelButton2->Action = [this] { BevelButton2_Action(); };

    Placard1 = &Add<tk::Placard>("Placard1", 15, 5, 644, 49);
    Placard1->TabIndex(1);

    StaticText1 = &Add<tk::StaticText>("StaticText1", 50, 16, 220, 26, Placard1);
    StaticText1->Text("Score:");
    StaticText1->TextFont("Arial");
    StaticText1->TextSize(24);
    StaticText1->TextColor(kCounterBlue);
    StaticText1->TabIndex(0);

    StaticText2 = &Add<tk::StaticText>("StaticText2", 305, 16, 340, 26, Placard1);
    StaticText2->Text("Questions Remaining:");
    StaticText2->TextFont("Arial");
    StaticText2->TextSize(24);
    StaticText2->TextColor(kCounterBlue);
    StaticText2->TabIndex(1);

    Canvas1 = &Add<tk::Canvas>("Canvas1", -10, 59, 369, 314);
    Canvas1->TabIndex(2);
    Canvas1->Paint = [this](tk::Graphics& g) { Canvas1_Paint(g); };

    Timer1 = &AddTimer("Timer1", 1, 5);
    Timer1->Action = [this] { Timer1_Action(); };

    EditField1 = &Add<tk::EditField>("EditField1", 401, 106, 41, 54);
    StyleBox(*EditField1, 3);
    EditField1->TextChange = [this] { EditField1_TextChange(); };

    EditField2 = &Add<tk::EditField>("EditField2", 446, 106, 40, 54);
    StyleBox(*EditField2, 4);
    EditField2->TextChange = [this] { EditField2_TextChange(); };
    EditField2->KeyDown = [this](const tk::String& k) { return EditField2_KeyDown(k); };

    EditField3 = &Add<tk::EditField>("EditField3", 518, 106, 40, 54);
    StyleBox(*EditField3, 5);
    EditField3->TextChange = [this] { EditField3_TextChange(); };
    EditField3->KeyDown = [this](const tk::String& k) { return EditField3_KeyDown(k); };

    EditField4 = &Add<tk::EditField>("EditField4", 562, 106, 39, 54);
    StyleBox(*EditField4, 6);
    EditField4->KeyDown = [this](const tk::String& k) { return EditField4_KeyDown(k); };

    StaticText4 = &Add<tk::StaticText>("StaticText4", 492, 115, 20, 36);
    StaticText4->Text(":");
    StaticText4->TextFont("Charcoal");
    StaticText4->TextSize(36);
    StaticText4->TextColor(tk::HexColor(0x000000));
    StaticText4->TextAlign(1);
    StaticText4->TabIndex(7);

    BevelButton1 = &Add<tk::PushButton>("BevelButton1", 374, 172, 266, 32);
    BevelButton1->Caption("OK");
    BevelButton1->TextFont("Charcoal");
    BevelButton1->TextSize(18);
    BevelButton1->Default(true);
    BevelButton1->Cancel(false);
    BevelButton1->TabIndex(9);
    BevelButton1->Action = [this] { BevelButton1_Action(); };
}

void wArabicClock::Event_Open() {
    mGlobals::bArabicClockIsOpen = true;
    if (mGlobals::sPracticeMode == "Arabic") Title("Standard Clock");
    if (mGlobals::sPracticeMode == "Roman") Title("Clock Face with Roman Numerals");
    if (mGlobals::sPracticeMode == "NoNum") Title("Modern Clock Face");
    StaticText1->Text("Score: " + tk::Str(mGlobals::iScore));
    StaticText2->Text("Questions Remaining: " + tk::Str(mGlobals::iRemainingQuestions));
}

void wArabicClock::Event_Close() { mGlobals::bArabicClockIsOpen = false; }

void wArabicClock::StaticText5_Open() {
    const tk::String& mode = mGlobals::sPracticeMode;
    if (mode == "Arabic") StaticText5->TextColor(tk::RGB(255, 0, 0));
    else if (mode == "Roman") StaticText5->TextColor(tk::RGB(100, 10, 10));
    else if (mode == "NoNum") StaticText5->TextColor(tk::RGB(0, 0, 255));
}

void wArabicClock::Timer1_Action() { mShowNextCard(); }

void wArabicClock::mShowNextCard() {
    mShowNextCardStageA();
    mShowNextCardClearBoxes();
    mShowNextCardSetFocus();
}

void wArabicClock::mShowNextCardStageA() {
    struct Loading {
        bool& flag;
        explicit Loading(bool& f) : flag(f) { flag = true; }
        ~Loading() { flag = false; }
    } loading(bLoadingCard_);
    mGlobals::mGetRandCard();
    mGlobals::mOpenCard();
    mGlobals::mSetCard();
    while (mGlobals::pClockFace.IsNil()) tk::Yield();
    Canvas1->Backdrop(mGlobals::pClockFace);
    Canvas1->Refresh(true);
}

void wArabicClock::mShowNextCardClearBoxes() {
    EditField4->Text("");
    EditField3->Text("");
    EditField2->Text("");
    EditField1->Text("");
}

void wArabicClock::mShowNextCardSetFocus() {
    if (mGlobals::sValue1 == "1") {
        EditField1->Visible(true);
        EditField1->SetFocus();
    } else {
        EditField1->Visible(false);
        EditField2->SetFocus();
    }
}

void wArabicClock::Canvas1_Paint(tk::Graphics&) {
    // Identity, not content: a new load of the same card is a new picture.
    if (!(Canvas1->Backdrop() == mGlobals::pClockFace)) Canvas1->Backdrop(mGlobals::pClockFace);
}

void wArabicClock::EditField1_TextChange() {
    if (!EditField1->Text().empty()) EditField2->SetFocus();
}

void wArabicClock::EditField2_TextChange() {
    if (!EditField2->Text().empty()) EditField3->SetFocus();
}

void wArabicClock::EditField3_TextChange() {
    if (!EditField3->Text().empty()) EditField4->SetFocus();
}

bool wArabicClock::EditField2_KeyDown(const tk::String& key) {
    if (tk::Asc(key) == 8 && EditField2->Text().empty()) EditField1->SetFocus();
    return false;
}

bool wArabicClock::EditField3_KeyDown(const tk::String& key) {
    if (tk::Asc(key) == 8 && EditField3->Text().empty()) EditField2->SetFocus();
    return false;
}

bool wArabicClock::EditField4_KeyDown(const tk::String& key) {
    if (tk::Asc(key) == 8 && EditField4->Text().empty()) EditField3->SetFocus();
    return false;
}

void wArabicClock::BevelButton1_Action() {
    if (bLoadingCard_) return;
    // A hidden hour-tens box always counts as "0".
    const tk::String hourTens = mGlobals::sValue1 == "0" ? tk::String("0") : EditField1->Text();
    const tk::String hourUnits = EditField2->Text();
    const tk::String minuteTens = EditField3->Text();
    const tk::String minuteUnits = EditField4->Text();

    if (hourTens.empty() || hourUnits.empty() || minuteTens.empty() || minuteUnits.empty()) {
        tk::Beep();
        wFillAll::Instance().Show();
        return;
    }

    mGlobals::iRemainingQuestions -= 1;
    StaticText2->Text("Questions Remaining: " + tk::Str(mGlobals::iRemainingQuestions));

    const bool right = hourTens == mGlobals::sValue1 && hourUnits == mGlobals::sValue2 &&
                       minuteTens == mGlobals::sValue3 && minuteUnits == mGlobals::sValue4;
    if (right) {
        mGlobals::iScore += 1;
        StaticText1->Text("Score: " + tk::Str(mGlobals::iScore));
        CorrectAnswer().Play();
        if (mGlobals::iRemainingQuestions <= 0) {
            // The results window's Open closes this window; touch nothing after.
            wResults::Instance().Show();
        } else {
            mShowNextCard();
        }
        return;
    }

    EditField4->Enabled(false);
    EditField3->Enabled(false);
    EditField2->Enabled(false);
    EditField1->Enabled(false);
    BevelButton1->Enabled(false);
    Placard2->Visible(true);
    const tk::String hour = mGlobals::sValue1 != "0" ? mGlobals::sValue1 + mGlobals::sValue2 : mGlobals::sValue2;
    StaticText5->Text("The correct answer was " + hour + ":" + mGlobals::sValue3 + mGlobals::sValue4 + ".");
    StaticText5->Visible(true);
    BevelButton2->Visible(true);
    BevelButton2->Enabled(true);
    WrongAnswer().Play();
}

void wArabicClock::BevelButton2_Action() {
    if (bLoadingCard_) return;
    if (mGlobals::iRemainingQuestions <= 0) {
        wResults::Instance().Show();
        return;
    }
    mShowNextCardStageA();
    myBeep().Play();
    Placard2->Visible(false);
    StaticText5->Visible(false);
    BevelButton2->Visible(false);
    BevelButton2->Enabled(false);
    mShowNextCardClearBoxes();
    EditField4->Enabled(true);
    EditField3->Enabled(true);
    EditField2->Enabled(true);
    EditField1->Enabled(true);
    BevelButton1->Enabled(true);
    mShowNextCardSetFocus();
}

void wArabicClock::AddMenuHandlers() {
    AddMenuHandler("FileEndThisRound", [this] { return _FileEndThisRound_Action(); });
}

void wArabicClock::Event_EnableMenuItems() { FileEndThisRound().Enabled = true; }

bool wArabicClock::_FileEndThisRound_Action() {
    wExSel::Instance().Show();
    Close();
    return false;
}

#include "flow/wExSel.h"

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "shell/BundleMedia.h"
#include "word_problems/wWordProb.h"

namespace {

constexpr tk::Color kTitleRest = tk::RGB(210, 0, 0);
constexpr tk::Color kTitleHover = tk::RGB(255, 0, 0);

void StyleTitle(tk::StaticText& t, const char* text, tk::Color layoutColor, tk::Int32 tabIndex) {
    t.Text(text);
    t.TextFont("Charcoal");
    t.TextSize(16);
    t.TextAlign(1);
    t.Underline(true);
    t.TextColor(layoutColor);
    t.TabIndex(tabIndex);
}

void StyleCaption(tk::StaticText& t, const char* text, tk::Int32 tabIndex) {
    t.Text(text);
    t.TextFont("Charcoal");
    t.TextSize(12);
    t.TextAlign(1);
    t.TextColor(tk::HexColor(0x000000));
    t.TabIndex(tabIndex);
}

void Rest(tk::StaticText& t) {
    t.TextColor(kTitleRest);
    t.TextSize(16);
}

void Hover(tk::StaticText& t) {
    t.TextColor(kTitleHover);
    t.TextSize(18);
}

}  // namespace

void wExSel::Layout() {
    Props() = {.title = "Exercise Selection", .width = 343, .height = 431, .closeButton = false};
}

void wExSel::_CreateControls0() {
    Canvas1 = &Add<tk::Canvas>("Canvas1", 20, 11, 100, 100);
    Canvas1->Backdrop(exSel_Standard());
    Canvas1->TabIndex(0);
    Canvas1->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas1_MouseDown(x, y); };

    Canvas2 = &Add<tk::Canvas>("Canvas2", 17, 111, 115, 100);
    Canvas2->Backdrop(exSel_Roman());
    Canvas2->TabIndex(1);
    Canvas2->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas2_MouseDown(x, y); };

    Canvas4 = &Add<tk::Canvas>("Canvas4", 28, 316, 100, 100);
    Canvas4->Backdrop(pWordProb());
    Canvas4->TabIndex(2);
    Canvas4->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas4_MouseDown(x, y); };

    StaticText1 = &Add<tk::StaticText>("StaticText1", 133, 44, 200, 20);
    StyleTitle(*StaticText1, "Standard Clock Face", tk::HexColor(0xBF0000), 3);
    StaticText1->MouseEnter = [this] { StaticText1_MouseEnter(); };
    StaticText1->MouseExit = [this] { StaticText1_MouseExit(); };
    StaticText1->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText1_MouseDown(x, y); };
    StaticText1->Open = [this] { StaticText1_Open(); };

    StaticText2 = &Add<tk::StaticText>("StaticText2", 133, 145, 200, 20);
    StyleTitle(*StaticText2, "Classic Clock Face", tk::HexColor(0xBF0000), 4);
    StaticText2->MouseExit = [this] { StaticText2_MouseExit(); };
    StaticText2->MouseEnter = [this] { StaticText2_MouseEnter(); };
    StaticText2->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText2_MouseDown(x, y); };
    StaticText2->Open = [this] { StaticText2_Open(); };

    StaticText3 = &Add<tk::StaticText>("StaticText3", 133, 253, 200, 20);
    StyleTitle(*StaticText3, "Modern Clock Face", tk::HexColor(0xBF0000), 5);
    StaticText3->MouseExit = [this] { StaticText3_MouseExit(); };
    StaticText3->MouseEnter = [this] { StaticText3_MouseEnter(); };
    StaticText3->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText3_MouseDown(x, y); };
    StaticText3->Open = [this] { StaticText3_Open(); };

    StaticText4 = &Add<tk::StaticText>("StaticText4", 133, 347, 200, 20);
    StyleTitle(*StaticText4, "Word Problems", tk::HexColor(0xBF0033), 6);
    StaticText4->MouseExit = [this] { StaticText4_MouseExit(); };
    StaticText4->MouseEnter = [this] { StaticText4_MouseEnter(); };
    StaticText4->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText4_MouseDown(x, y); };
    StaticText4->Open = [this] { StaticText4_Open(); };

    StaticText5 = &Add<tk::StaticText>("StaticText5", 153, 66, 167, 20);
    StyleCaption(*StaticText5, "Arabic Numerals", 7);
    StaticText6 = &Add<tk::StaticText>("StaticText6", 153, 167, 167, 20);
    StyleCaption(*StaticText6, "Roman Numerals", 8);
    StaticText7 = &Add<tk::StaticText>("StaticText7", 153, 275, 167, 20);
    StyleCaption(*StaticText7, "No Numbers", 9);

    Canvas3 = &Add<tk::Canvas>("Canvas3", 19, 216, 118, 100);
    Canvas3->Backdrop(exSel_Modern());
    Canvas3->TabIndex(10);
    Canvas3->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return Canvas3_MouseDown(x, y); };
}

void wExSel::Event_Open() {
    mGlobals::iScore = 0;
    mGlobals::sPracticeMode = "";
}

bool wExSel::mChooseMode(const tk::String& mode) {
    if (bChosen_) return false;
    bChosen_ = true;
    mGlobals::sPracticeMode = mode;
    mGlobals::iTotalNumofQuestions = 10;
    mGlobals::iScore = 0;
    mGlobals::iRemainingQuestions = mGlobals::iTotalNumofQuestions;
    shell::ClickWait();
    if (mode == "WordProb")
        wWordProb::Instance().Show();
    else
        wArabicClock::Instance().Show();
    Close();
    return false;
}

bool wExSel::Canvas1_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("Arabic"); }
bool wExSel::Canvas2_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("Roman"); }
bool wExSel::Canvas3_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("NoNum"); }
bool wExSel::Canvas4_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("WordProb"); }
bool wExSel::StaticText1_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("Arabic"); }
bool wExSel::StaticText2_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("Roman"); }
bool wExSel::StaticText3_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("NoNum"); }
bool wExSel::StaticText4_MouseDown(tk::Int32, tk::Int32) { return mChooseMode("WordProb"); }

void wExSel::StaticText1_Open() { StaticText1->TextColor(kTitleRest); }
void wExSel::StaticText2_Open() { StaticText2->TextColor(kTitleRest); }
void wExSel::StaticText3_Open() { StaticText3->TextColor(kTitleRest); }
void wExSel::StaticText4_Open() { StaticText4->TextColor(kTitleRest); }

void wExSel::StaticText1_MouseEnter() { Hover(*StaticText1); }
void wExSel::StaticText2_MouseEnter() { Hover(*StaticText2); }
void wExSel::StaticText3_MouseEnter() { Hover(*StaticText3); }
void wExSel::StaticText4_MouseEnter() { Hover(*StaticText4); }

void wExSel::StaticText1_MouseExit() { Rest(*StaticText1); }
void wExSel::StaticText2_MouseExit() { Rest(*StaticText2); }
void wExSel::StaticText3_MouseExit() { Rest(*StaticText3); }
void wExSel::StaticText4_MouseExit() { Rest(*StaticText4); }

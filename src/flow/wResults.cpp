#include "flow/wResults.h"

#include <memory>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/wExSel.h"
#include "platform/Application.h"
#include "platform/Date.h"
#include "platform/System.h"
#include "shell/BundleMedia.h"
#include "word_problems/wWordProb.h"

namespace {

constexpr tk::Int32 kCollapsedHeight = 187;
constexpr tk::Int32 kExpandedHeight = 306;
constexpr tk::Color kSentenceRed = tk::HexColor(0xED181E);

void StyleButton(tk::BevelButton& b, const char* caption, tk::Int32 tabIndex) {
    b.Caption(caption);
    b.TextFont("Charcoal");
    b.TextSize(12);
    b.TabIndex(tabIndex);
}

void StyleLabel(tk::StaticText& t, tk::Int32 align, tk::Color color, tk::Int32 tabIndex) {
    t.TextFont("Charcoal");
    t.TextSize(18);
    t.TextAlign(align);
    t.TextColor(color);
    t.TabIndex(tabIndex);
}

tk::String ModePhrase(const tk::String& mode) {
    if (mode == "Arabic") return "standard clock face";
    if (mode == "Roman") return "classic clock face";
    if (mode == "NoNum") return "modern clock face";
    if (mode == "WordProb") return "word problems";
    return "";
}

}  // namespace

void wResults::Layout() {
    Props() = {.title = "Results", .width = 498, .height = kExpandedHeight};
}

void wResults::_CreateControls0() {
    Canvas2 = &Add<tk::Canvas>("Canvas2", -123, 125, 354, 197);
    Canvas2->Backdrop(NineRoman());
    Canvas2->TabIndex(0);

    BevelButton1 = &Add<tk::BevelButton>("BevelButton1", 107, 152, 64, 22, Canvas2);
    StyleButton(*BevelButton1, "Print", 0);
    BevelButton1->Action = [this] { BevelButton1_Action(); };

    Canvas1 = &Add<tk::Canvas>("Canvas1", -412, 56, 608, 84);
    Canvas1->Backdrop(tickmoorLogo());
    Canvas1->TabIndex(1);

    StaticText1 = &Add<tk::StaticText>("StaticText1", 171, 81, 322, 24);
    StaticText1->Text("You scored _ out of _");
    StyleLabel(*StaticText1, 1, kSentenceRed, 2);

    StaticText2 = &Add<tk::StaticText>("StaticText2", 171, 105, 322, 40);
    StaticText2->Text("while practicing _.");
    StyleLabel(*StaticText2, 1, kSentenceRed, 3);
    StaticText2->Multiline(true);

    BevelButton2 = &Add<tk::BevelButton>("BevelButton2", 220, 152, 64, 22);
    StyleButton(*BevelButton2, "Again", 4);
    BevelButton2->Action = [this] { BevelButton2_Action(); };

    BevelButton3 = &Add<tk::BevelButton>("BevelButton3", 334, 152, 64, 22);
    StyleButton(*BevelButton3, "Quit", 5);
    BevelButton3->Action = [this] { BevelButton3_Action(); };

    Canvas3 = &Add<tk::Canvas>("Canvas3", 85, 0, 446, 69);
    Canvas3->Backdrop(tickmoorLogo());
    Canvas3->TabIndex(6);

    EditField1 = &Add<tk::EditField>("EditField1", 197, 230, 280, 22);
    EditField1->TextFont("Charcoal");
    EditField1->TextSize(12);
    EditField1->TextColor(tk::HexColor(0x000000));
    EditField1->BackColor(tk::HexColor(0xFFFFFF));
    EditField1->Alignment(2);
    EditField1->Border(true);
    EditField1->LimitText(40);
    EditField1->Enabled(false);
    EditField1->TabIndex(7);

    BevelButton4 = &Add<tk::BevelButton>("BevelButton4", 413, 267, 64, 22);
    StyleButton(*BevelButton4, "OK", 8);
    BevelButton4->Enabled(false);
    BevelButton4->Action = [this] { BevelButton4_Action(); };

    StaticText3 = &Add<tk::StaticText>("StaticText3", 193, 203, 200, 20);
    StaticText3->Text("Your Name:");
    StyleLabel(*StaticText3, 0, tk::HexColor(0x000000), 9);

    StaticText4 = &Add<tk::StaticText>("StaticText4", 193, 267, 200, 20);
    StyleLabel(*StaticText4, 0, tk::HexColor(0x000000), 10);
}

void wResults::Event_Open() {
    // Naming the window inside its own Open gives the instance being built.
    wResults::Instance().Width(498);
    wResults::Instance().Height(kCollapsedHeight);
    iEndOrNoEnd = 0;
    chime().Play();
    if (mGlobals::bArabicClockIsOpen) wArabicClock::Instance().Close();
    if (mGlobals::bWordProbIsOpen) wWordProb::Instance().Close();
    const tk::String phrase = ModePhrase(mGlobals::sPracticeMode);
    StaticText1->Text("You scored " + tk::Str(mGlobals::iScore) + " out of " +
                      tk::Str(mGlobals::iTotalNumofQuestions));
    StaticText2->Text("practicing " + phrase + ".");
}

void wResults::BevelButton1_Action() {
    if (bWaiting_) return;
    const tk::Date now;
    StaticText4->Text(now.ShortDate() + "  " + now.ShortTime());
    myBeep().Play();
    BevelButton1->Enabled(false);
    EditField1->Enabled(true);
    EditField1->SetFocus();
    BevelButton4->Enabled(true);
    Height(kExpandedHeight);
}

void wResults::BevelButton4_Action() {
    if (bWaiting_) return;
    mPrintResults();
}

void wResults::BevelButton2_Action() {
    if (bWaiting_) return;
    bWaiting_ = true;
    iEndOrNoEnd = 1;
    shell::ClickWait();
    wExSel::Instance().Show();
    // This instance, not the name: if the window was closed during the
    // wait, naming it would build a fresh one whose Close quits.
    Close();
}

void wResults::BevelButton3_Action() {
    if (bWaiting_) return;
    iEndOrNoEnd = 0;
    Close();
}

void wResults::Event_Close() {
    if (iEndOrNoEnd == 0) tk::Quit();
}

void wResults::mPrintResults() {
    myBeep().Play();
    // The dialog asks the printing system for its printers with no time
    // limit; a hung one would hold the window for as long as it hangs.
    bWaiting_ = true;
    const bool answers = tk::PrintingSystemAnswers();
    bWaiting_ = false;
    if (IsClosed()) return;
    if (!answers) {
        // The row stays open with the name, ready for another try.
        tk::MsgBox("The printing system is not answering.  Please try again in a moment.");
        return;
    }
    const tk::String cr = tk::Chr(13);
    const tk::String text = EditField1->Text() + cr + cr + StaticText1->Text() + cr +
                            StaticText2->Text() + cr + StaticText4->Text() + cr;
    // Printed when it is let go, as the method ends.
    const std::unique_ptr<tk::Graphics> page = tk::OpenPrinterDialog();
    if (page) {
        page->DrawPicture(pResultsBanner(), 50, 100);
        page->ForeColor(tk::RGB(0, 0, 0));
        page->TextFont("Charcoal");
        page->TextSize(18);
        page->DrawString(text, 50, 200, 0, false);
        if (mGlobals::iScore == mGlobals::iTotalNumofQuestions)
            page->DrawPicture(pAwardStarPrint(), 50, 400);
    }
    // The window itself, not its name: a closed window is not built again.
    Height(kCollapsedHeight);
    EditField1->Enabled(false);
    BevelButton4->Enabled(false);
    BevelButton1->Enabled(true);
}

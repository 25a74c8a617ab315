// The exercise selection window: four practice modes, each a picture and an
// underlined title; a click on either sets up a round of 10 and opens the
// exercise window of that mode. No close box.
#pragma once

#include "platform/Window.h"

class wExSel : public tk::WindowOf<wExSel> {
public:
    tk::Canvas* Canvas1 = nullptr;  // exSel_Standard
    tk::Canvas* Canvas2 = nullptr;  // exSel_Roman
    tk::Canvas* Canvas4 = nullptr;  // pWordProb
    tk::StaticText* StaticText1 = nullptr;  // "Standard Clock Face"
    tk::StaticText* StaticText2 = nullptr;  // "Classic Clock Face"
    tk::StaticText* StaticText3 = nullptr;  // "Modern Clock Face"
    tk::StaticText* StaticText4 = nullptr;  // "Word Problems"
    tk::StaticText* StaticText5 = nullptr;  // "Arabic Numerals"
    tk::StaticText* StaticText6 = nullptr;  // "Roman Numerals"
    tk::StaticText* StaticText7 = nullptr;  // "No Numbers"
    tk::Canvas* Canvas3 = nullptr;  // exSel_Modern

    bool Canvas1_MouseDown(tk::Int32 x, tk::Int32 y);
    bool Canvas2_MouseDown(tk::Int32 x, tk::Int32 y);
    bool Canvas4_MouseDown(tk::Int32 x, tk::Int32 y);
    void StaticText1_MouseEnter();
    void StaticText1_MouseExit();
    bool StaticText1_MouseDown(tk::Int32 x, tk::Int32 y);
    void StaticText1_Open();
    void StaticText2_MouseExit();
    void StaticText2_MouseEnter();
    bool StaticText2_MouseDown(tk::Int32 x, tk::Int32 y);
    void StaticText2_Open();
    void StaticText3_MouseExit();
    void StaticText3_MouseEnter();
    bool StaticText3_MouseDown(tk::Int32 x, tk::Int32 y);
    void StaticText3_Open();
    void StaticText4_MouseExit();
    void StaticText4_MouseEnter();
    bool StaticText4_MouseDown(tk::Int32 x, tk::Int32 y);
    void StaticText4_Open();
    bool Canvas3_MouseDown(tk::Int32 x, tk::Int32 y);

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void Event_Open() override;

private:
    void _CreateControls0();
    // One mode choice: round set up, click wait, exercise window, close.
    bool mChooseMode(const tk::String& mode);
    // Set once a mode has been chosen; later choices are ignored, so the
    // round set up stays as it is and only one exercise window opens.
    bool bChosen_ = false;
};

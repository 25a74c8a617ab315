// The results window: score and mode of the finished round, a printed
// results page under a typed name, "Again" and "Quit".
#pragma once

#include "platform/Window.h"

class wResults : public tk::WindowOf<wResults> {
public:
    // 0: closing the window quits; 1: closing on the way back to selection.
    tk::Int32 iEndOrNoEnd = 0;

    tk::Canvas* Canvas2 = nullptr;            // NineRoman
    tk::BevelButton* BevelButton1 = nullptr;  // "Print", lies on Canvas2
    tk::Canvas* Canvas1 = nullptr;            // logo, mostly left of the window
    tk::StaticText* StaticText1 = nullptr;    // score sentence
    tk::StaticText* StaticText2 = nullptr;    // mode sentence
    tk::BevelButton* BevelButton2 = nullptr;  // "Again"
    tk::BevelButton* BevelButton3 = nullptr;  // "Quit"
    tk::Canvas* Canvas3 = nullptr;            // logo banner across the top
    tk::EditField* EditField1 = nullptr;      // the student's name
    tk::BevelButton* BevelButton4 = nullptr;  // "OK": print
    tk::StaticText* StaticText3 = nullptr;    // "Your Name:"
    tk::StaticText* StaticText4 = nullptr;    // date and time of "Print"

    void BevelButton1_Action();
    void BevelButton2_Action();
    void BevelButton3_Action();
    void BevelButton4_Action();
    // Prints the results page, then collapses the window again; where the
    // printing system does not answer, says so and leaves the window as it is.
    void mPrintResults();

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void Event_Open() override;
    void Event_Close() override;

private:
    void _CreateControls0();
    // Set while "Again" waits for its click sound or "OK" for the printing
    // system; the buttons are ignored.
    bool bWaiting_ = false;
};

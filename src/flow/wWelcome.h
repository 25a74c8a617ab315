// The first window: logo, version and "Begin", which leads to the
// exercise selection window. Closing it any other way ends the program.
#pragma once

#include "platform/Window.h"

class wWelcome : public tk::WindowOf<wWelcome> {
public:
    // 0: closing the window quits; 1: "Begin" was pressed.
    tk::Int32 iEndOrNoEnd = 0;

    tk::Canvas* Canvas2 = nullptr;         // NineRoman, reaching past the edges
    tk::BevelButton* BevelButton1 = nullptr;  // "Begin"
    tk::Line* Line1 = nullptr;             // blue line along the left edge
    tk::StaticText* StaticText4 = nullptr;  // version label
    tk::Timer* Timer1 = nullptr;
    tk::Canvas* Canvas1 = nullptr;         // logo

    void BevelButton1_Action();
    void Timer1_Action();

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void Event_Close() override;
    void Event_Open() override;

private:
    void _CreateControls0();
    // Set while "Begin" waits for its click sound; further presses are ignored.
    bool bWaiting_ = false;
};

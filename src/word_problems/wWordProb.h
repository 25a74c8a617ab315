// The word-problem window: a question in words above three clock cards;
// a click on a card is judged at once.
#pragma once

#include "platform/Window.h"

class wWordProb : public tk::WindowOf<wWordProb> {
public:
    tk::Canvas* Canvas2 = nullptr;  // bottom centre
    tk::Canvas* Canvas1 = nullptr;  // top left
    tk::Canvas* Canvas3 = nullptr;  // top right
    tk::Placard* Placard1 = nullptr;
    tk::StaticText* StaticText3 = nullptr;  // "Questions Remaining: "
    tk::StaticText* StaticText4 = nullptr;  // "Score: "
    tk::StaticText* StaticText2 = nullptr;  // the question
    tk::Timer* Timer2 = nullptr;

    // The answer canvas of the problem shown ("" before the first) and its number.
    tk::String sCAI;
    tk::Int32 iPicked = 0;

    bool Canvas2_MouseDown(tk::Int32 x, tk::Int32 y);
    bool Canvas1_MouseDown(tk::Int32 x, tk::Int32 y);
    bool Canvas3_MouseDown(tk::Int32 x, tk::Int32 y);
    void Timer2_Action();
    bool _FileEndThisRound_Action();
    void mWRandomSelect();
    void mWCheckAnswer(tk::Int32 i);
    // Applies problem n (1..100); other numbers apply nothing.
    void mWSet(tk::Int32 n);

    // True while a problem is being drawn or applied.
    bool Busy() const { return busy_; }

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void AddMenuHandlers() override;
    void Event_EnableMenuItems() override;
    void Event_Close() override;
    void Event_Open() override;

private:
    void _CreateControls0();
    bool busy_ = false;
};

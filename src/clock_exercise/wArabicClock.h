// The clock-reading window of the three clock-face modes: a card, four
// one-character answer boxes, "OK", and after a wrong answer the correct
// time with "CONTINUE".
#pragma once

#include "platform/Window.h"

class wArabicClock : public tk::WindowOf<wArabicClock> {
public:
    tk::Placard* Placard2 = nullptr;
    tk::StaticText* StaticText5 = nullptr;
    tk::PushButton* BevelButton2 = nullptr;  // "CONTINUE"
    tk::Placard* Placard1 = nullptr;
    tk::StaticText* StaticText1 = nullptr;  // "Score: "
    tk::StaticText* StaticText2 = nullptr;  // "Questions Remaining: "
    tk::Canvas* Canvas1 = nullptr;
    tk::Timer* Timer1 = nullptr;
    tk::EditField* EditField1 = nullptr;  // hour tens
    tk::EditField* EditField2 = nullptr;  // hour units
    tk::EditField* EditField3 = nullptr;  // minute tens
    tk::EditField* EditField4 = nullptr;  // minute units
    tk::StaticText* StaticText4 = nullptr;  // ":"
    tk::PushButton* BevelButton1 = nullptr;  // "OK"

    void StaticText5_Open();
    void BevelButton2_Action();
    void Canvas1_Paint(tk::Graphics& g);
    void Timer1_Action();
    void EditField1_TextChange();
    void EditField2_TextChange();
    bool EditField2_KeyDown(const tk::String& key);
    void EditField3_TextChange();
    bool EditField3_KeyDown(const tk::String& key);
    bool EditField4_KeyDown(const tk::String& key);
    void BevelButton1_Action();
    bool _FileEndThisRound_Action();

    // Puts the next card on screen: stage A loads and shows the card, stage
    // B resets the answer boxes.
    void mShowNextCard();
    void mShowNextCardStageA();
    void mShowNextCardClearBoxes();
    void mShowNextCardSetFocus();

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void AddMenuHandlers() override;
    void Event_EnableMenuItems() override;
    void Event_Close() override;
    void Event_Open() override;

private:
    void _CreateControls0();
    // True while a card is drawn and loaded: the draw yields, and a press of
    // "OK" then would judge the old answer a second time.
    bool bLoadingCard_ = false;
};

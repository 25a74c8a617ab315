// The about window: version, a one-line notice and the two contact links.
#pragma once

#include "platform/Window.h"

class wAbout : public tk::WindowOf<wAbout> {
public:
    tk::Canvas* Canvas1 = nullptr;
    tk::StaticText* StaticText1 = nullptr;
    tk::StaticText* StaticText2 = nullptr;
    tk::StaticText* StaticText3 = nullptr;
    tk::StaticText* StaticText4 = nullptr;
    tk::StaticText* StaticText5 = nullptr;
    tk::StaticText* StaticText6 = nullptr;
    tk::Line* Line1 = nullptr;

    bool StaticText4_MouseDown(tk::Int32 X, tk::Int32 Y);
    void StaticText4_MouseEnter();
    void StaticText4_MouseExit();
    void StaticText4_MouseUp(tk::Int32 X, tk::Int32 Y);
    bool StaticText6_MouseDown(tk::Int32 X, tk::Int32 Y);
    void StaticText6_MouseUp(tk::Int32 X, tk::Int32 Y);
    void StaticText6_MouseEnter();
    void StaticText6_MouseExit();

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void Event_Open() override;

private:
    void _CreateControls0();
};

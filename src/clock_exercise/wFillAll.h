// The "All blanks must be filled." notice: not modal, at most one, closed
// only by its own "OK".
#pragma once

#include "platform/Window.h"

class wFillAll : public tk::WindowOf<wFillAll> {
public:
    tk::StaticText* StaticText1 = nullptr;
    tk::PushButton* PushButton1 = nullptr;

    void PushButton1_Action();

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }

private:
    void _CreateControls0();
};

// The help window: the help page from the bundle in a viewer that never
// leaves it, and the two contact links.
#pragma once

#include "platform/Window.h"

class wHelp : public tk::WindowOf<wHelp> {
public:
    tk::Canvas* Canvas1 = nullptr;
    tk::StaticText* StaticText3 = nullptr;
    tk::StaticText* StaticText4 = nullptr;
    tk::StaticText* StaticText5 = nullptr;
    tk::StaticText* StaticText6 = nullptr;
    tk::Line* Line1 = nullptr;
    tk::Separator* Separator1 = nullptr;
    tk::HTMLViewer* HTMLViewer1 = nullptr;
    tk::Line* Line2 = nullptr;

    // Set once the help page has been handed to the viewer; from then on
    // every navigation goes to the system instead.
    bool bOpenNewWindow = false;

    bool StaticText4_MouseDown(tk::Int32 X, tk::Int32 Y);
    void StaticText4_MouseUp(tk::Int32 X, tk::Int32 Y);
    void StaticText4_MouseEnter();
    void StaticText4_MouseExit();
    bool StaticText6_MouseDown(tk::Int32 X, tk::Int32 Y);
    void StaticText6_MouseUp(tk::Int32 X, tk::Int32 Y);
    void StaticText6_MouseEnter();
    void StaticText6_MouseExit();
    void HTMLViewer1_Open();
    bool HTMLViewer1_CancelLoad(const tk::String& URL);

protected:
    void Layout() override;
    void CreateControls() override { _CreateControls0(); }
    void Event_Open() override;

private:
    void _CreateControls0();
};

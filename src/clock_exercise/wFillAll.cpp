#include "clock_exercise/wFillAll.h"

#include "shell/BundleMedia.h"

void wFillAll::Layout() {
    Props() = {.title = "Attention", .width = 382, .height = 90, .frame = 5, .closeButton = false};
}

void wFillAll::_CreateControls0() {
    StaticText1 = &Add<tk::StaticText>("StaticText1", 21, 8, 349, 38);
    StaticText1->Text("All blanks must be filled.");
    StaticText1->TextFont("Charcoal");
    StaticText1->TextSize(24);
    StaticText1->TextColor(tk::HexColor(0xED181E));
    StaticText1->TextAlign(1);
    StaticText1->TabIndex(0);

    PushButton1 = &Add<tk::PushButton>("PushButton1", 50, 50, 288, 27);
    PushButton1->Caption("OK");
    PushButton1->TextFont("Charcoal");
    PushButton1->TextSize(18);
    PushButton1->Default(true);
    PushButton1->TabIndex(1);
    PushButton1->Action = [this] { PushButton1_Action(); };
}

void wFillAll::PushButton1_Action() {
    myBeep().Play();
    Close();
}

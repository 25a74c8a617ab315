#include "clock_exercise/wFillAll.h"

#include "shell/BundleMedia.h"

void wFillAll::Layout() {
    tk::WindowProps& p = Props();
    p.title = "Attention";
    p.width = 382;
    p.height = 90;
    p.frame = 5;
    p.placement = 2;
    p.closeButton = false;
    p.minimizeButton = true;
    p.backColor = tk::HexColor(0xFFFFFF);
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

#include "flow/wWelcome.h"

#include "flow/wExSel.h"
#include "platform/Application.h"
#include "shell/BundleMedia.h"
#include "shell/Menu.h"

void wWelcome::Layout() {
    SetMenuBar(&Menu::Instance());
    Props() = {.title = "Welcome!", .width = 637, .height = 185};
}

void wWelcome::_CreateControls0() {
    Canvas2 = &Add<tk::Canvas>("Canvas2", 455, 55, 289, 200);
    Canvas2->Backdrop(NineRoman());
    Canvas2->TabIndex(0);

    BevelButton1 = &Add<tk::BevelButton>("BevelButton1", 129, 145, 289, 26);
    BevelButton1->Caption("Begin");
    BevelButton1->TextFont("Charcoal");
    BevelButton1->TextSize(12);
    BevelButton1->TabIndex(1);
    BevelButton1->Action = [this] { BevelButton1_Action(); };

    // The stored rect is unused: a line is placed by its end points.
    Line1 = &Add<tk::Line>("Line1", 3, -7, 0, 225);
    Line1->Points(3, -7, 3, 218);
    Line1->LineColor(tk::HexColor(0x5B87F2));
    Line1->BorderWidth(2);
    Line1->Visible(false);
    Line1->TabIndex(2);

    StaticText4 = &Add<tk::StaticText>("StaticText4", 337, 96, 145, 20);
    StaticText4->TextFont("Charcoal");
    StaticText4->TextSize(12);
    StaticText4->TextColor(tk::HexColor(0x000000));
    StaticText4->TextAlign(0);
    StaticText4->TabIndex(3);

    Timer1 = &AddTimer("Timer1", 1, 2);
    Timer1->Action = [this] { Timer1_Action(); };

    Canvas1 = &Add<tk::Canvas>("Canvas1", 8, 5, 618, 84);
    Canvas1->Backdrop(tickmoorLogo());
    Canvas1->TabIndex(4);
}

void wWelcome::Event_Open() {
    iEndOrNoEnd = 0;
    StaticText4->Text("Version 2.0b");
}

void wWelcome::BevelButton1_Action() {
    if (bWaiting_) return;
    bWaiting_ = true;
    iEndOrNoEnd = 1;
    shell::ClickWait();
    wExSel::Instance().Show();
    // This instance, not the name: if the window was closed during the
    // wait, naming it would build a fresh one whose Close quits.
    Close();
}

void wWelcome::Timer1_Action() {
    Line1->BorderWidth(2);
    Line1->Visible(true);
    Line1->Refresh(true);
}

void wWelcome::Event_Close() {
    if (iEndOrNoEnd == 0) tk::Quit();
}

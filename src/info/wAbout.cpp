#include "info/wAbout.h"

#include "info/Contact.h"
#include "info/Labels.h"
#include "platform/System.h"
#include "shell/BundleMedia.h"

namespace {

using info::PlainLabel;

constexpr char kNotice[] = "Tickmoor helps students learn to read an analogue clock.";

}  // namespace

void wAbout::Layout() {
    Props() = {.title = "About", .width = 637, .height = 185};
}

void wAbout::_CreateControls0() {
    const tk::Color black = tk::RGB(0, 0, 0);

    Canvas1 = &Add<tk::Canvas>("Canvas1", 15, 3, 607, 85);
    Canvas1->Backdrop(tickmoorLogo());

    StaticText1 = &Add<tk::StaticText>("StaticText1", 30, 82, 225, 20);
    PlainLabel(*StaticText1, "Version -/-", black);

    StaticText2 = &Add<tk::StaticText>("StaticText2", 30, 101, 600, 20);
    PlainLabel(*StaticText2, "", black);

    StaticText3 = &Add<tk::StaticText>("StaticText3", 29, 121, 188, 20);
    PlainLabel(*StaticText3, "Send questions or comments to", black);

    StaticText4 = &Add<tk::StaticText>("StaticText4", 220, 121, 225, 20);
    PlainLabel(*StaticText4, contact::kSupportMail, contact::kLinkColor);
    StaticText4->Underline(true);
    StaticText4->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText4_MouseDown(x, y); };
    StaticText4->MouseEnter = [this] { StaticText4_MouseEnter(); };
    StaticText4->MouseExit = [this] { StaticText4_MouseExit(); };
    StaticText4->MouseUp = [this](tk::Int32 x, tk::Int32 y) { StaticText4_MouseUp(x, y); };

    StaticText5 = &Add<tk::StaticText>("StaticText5", 29, 141, 300, 20);
    PlainLabel(*StaticText5, "Check for info and updates online at ", black);

    StaticText6 = &Add<tk::StaticText>("StaticText6", 29, 157, 310, 20);
    PlainLabel(*StaticText6, "-", contact::kLinkColor);
    StaticText6->Underline(true);
    StaticText6->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText6_MouseDown(x, y); };
    StaticText6->MouseUp = [this](tk::Int32 x, tk::Int32 y) { StaticText6_MouseUp(x, y); };
    StaticText6->MouseEnter = [this] { StaticText6_MouseEnter(); };
    StaticText6->MouseExit = [this] { StaticText6_MouseExit(); };

    Line1 = &Add<tk::Line>("Line1", 0, 0, 0, 0);
    Line1->Points(9, -4, 9, 192);
    Line1->BorderWidth(2);
    Line1->LineColor(tk::HexColor(0x5B87F2));
}

bool wAbout::StaticText4_MouseDown(tk::Int32, tk::Int32) { return true; }
void wAbout::StaticText4_MouseEnter() { StaticText4->MouseCursor(tk::Cursors::FingerPointer); }
void wAbout::StaticText4_MouseExit() { StaticText4->MouseCursor(tk::Cursors::StandardPointer); }
void wAbout::StaticText4_MouseUp(tk::Int32, tk::Int32) { tk::ShowURL(contact::SupportMailURL()); }

bool wAbout::StaticText6_MouseDown(tk::Int32, tk::Int32) { return true; }
void wAbout::StaticText6_MouseUp(tk::Int32, tk::Int32) { tk::ShowURL(contact::kWebPage); }
void wAbout::StaticText6_MouseEnter() { StaticText6->MouseCursor(tk::Cursors::FingerPointer); }
void wAbout::StaticText6_MouseExit() { StaticText6->MouseCursor(tk::Cursors::StandardPointer); }

void wAbout::Event_Open() {
    StaticText1->Text("version 2.0b");
    StaticText2->Text(kNotice);
    StaticText6->Text(contact::kWebPage);
}

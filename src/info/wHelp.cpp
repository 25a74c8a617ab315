#include "info/wHelp.h"

#include "info/Contact.h"
#include "info/Labels.h"
#include "platform/Application.h"
#include "platform/System.h"
#include "shell/BundleMedia.h"

namespace {

using info::PlainLabel;

void RimLine(tk::Line& l, tk::Int32 x) {
    l.Points(x, -4, x, 600);
    l.BorderWidth(2);
    l.LineColor(tk::HexColor(0x5B87F2));
}

}  // namespace

void wHelp::Layout() {
    Props() = {.title = "Help", .width = 725, .height = 588};
}

void wHelp::_CreateControls0() {
    Canvas1 = &Add<tk::Canvas>("Canvas1", 15, 3, 607, 85);
    Canvas1->Backdrop(tickmoorLogo());

    StaticText3 = &Add<tk::StaticText>("StaticText3", 25, 517, 190, 20);
    PlainLabel(*StaticText3, "Send questions or comments to", tk::RGB(0, 0, 0));

    StaticText4 = &Add<tk::StaticText>("StaticText4", 217, 517, 225, 20);
    PlainLabel(*StaticText4, contact::kSupportMail, contact::kLinkColor);
    StaticText4->Underline(true);
    StaticText4->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText4_MouseDown(x, y); };
    StaticText4->MouseUp = [this](tk::Int32 x, tk::Int32 y) { StaticText4_MouseUp(x, y); };
    StaticText4->MouseEnter = [this] { StaticText4_MouseEnter(); };
    StaticText4->MouseExit = [this] { StaticText4_MouseExit(); };

    StaticText5 = &Add<tk::StaticText>("StaticText5", 25, 544, 300, 20);
    PlainLabel(*StaticText5, "Check for info and updates online at ", tk::RGB(0, 0, 0));

    StaticText6 = &Add<tk::StaticText>("StaticText6", 25, 560, 310, 20);
    PlainLabel(*StaticText6, "-", contact::kLinkColor);
    StaticText6->Underline(true);
    StaticText6->MouseDown = [this](tk::Int32 x, tk::Int32 y) { return StaticText6_MouseDown(x, y); };
    StaticText6->MouseUp = [this](tk::Int32 x, tk::Int32 y) { StaticText6_MouseUp(x, y); };
    StaticText6->MouseEnter = [this] { StaticText6_MouseEnter(); };
    StaticText6->MouseExit = [this] { StaticText6_MouseExit(); };

    Line1 = &Add<tk::Line>("Line1", 0, 0, 0, 0);
    RimLine(*Line1, 9);

    Separator1 = &Add<tk::Separator>("Separator1", 24, 79, 600, 4);

    HTMLViewer1 = &Add<tk::HTMLViewer>("HTMLViewer1", 25, 92, 666, 413);
    HTMLViewer1->Open = [this] { HTMLViewer1_Open(); };
    HTMLViewer1->CancelLoad = [this](const tk::String& url) { return HTMLViewer1_CancelLoad(url); };

    Line2 = &Add<tk::Line>("Line2", 0, 0, 0, 0);
    RimLine(*Line2, 715);
}

bool wHelp::StaticText4_MouseDown(tk::Int32, tk::Int32) { return true; }
void wHelp::StaticText4_MouseUp(tk::Int32, tk::Int32) { tk::ShowURL(contact::SupportMailURL()); }
void wHelp::StaticText4_MouseEnter() { StaticText4->MouseCursor(tk::Cursors::FingerPointer); }
void wHelp::StaticText4_MouseExit() { StaticText4->MouseCursor(tk::Cursors::StandardPointer); }

bool wHelp::StaticText6_MouseDown(tk::Int32, tk::Int32) { return true; }
void wHelp::StaticText6_MouseUp(tk::Int32, tk::Int32) { tk::ShowURL(contact::kWebPage); }
void wHelp::StaticText6_MouseEnter() { StaticText6->MouseCursor(tk::Cursors::FingerPointer); }
void wHelp::StaticText6_MouseExit() { StaticText6->MouseCursor(tk::Cursors::StandardPointer); }

void wHelp::HTMLViewer1_Open() {
    bOpenNewWindow = false;
    // Any missing step leaves the viewer empty, without a word: the links
    // below it still reach us.
    tk::Application* app = tk::CurrentApplication();
    tk::FolderItem page = app ? app->ExecutableFile() : tk::ExecutableFile();
    if (page) page = page.Parent();
    if (page) page = page.Parent();
    if (page) page = page.Child("Resources");
    if (page) page = page.Child("help.htm");
    if (!page || !page.Exists()) return;
    HTMLViewer1->LoadPage(page);
    bOpenNewWindow = true;
}

bool wHelp::HTMLViewer1_CancelLoad(const tk::String& URL) {
    if (!bOpenNewWindow) return false;
    // The viewer shows the help page and nothing else.
    tk::ShowURL(URL);
    return true;
}

void wHelp::Event_Open() { StaticText6->Text(contact::kWebPage); }

// The menu bar: File ("End This Round", "Quit Tickmoor") and Help
// ("Tickmoor Help", "About Tickmoor...").
#pragma once

#include "platform/Menu.h"

class Menu : public tk::MenuBar {
public:
    Menu();
    // The one menu bar of the run, made on first use.
    static Menu& Instance();
    // Lets it go at the end of the run.
    static void Release();

private:
    void Untitled1();
    void Untitled2();
};

// Items looked up by Name anywhere in the application's menu bar; a missing
// item is the nil-object error.
tk::AppleMenuItem& AppleAbout();
tk::MenuItem& TickmoorHelp();
tk::QuitMenuItem& FileQuit();
tk::MenuItem& FileEndThisRound();

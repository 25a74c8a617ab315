// The application object: the version check, the reset of the round state
// and the application's menu handlers.
#pragma once

#include "platform/Application.h"

class App : public tk::Application {
public:
    // The one application object (null before start-up has made it).
    static App* Instance();

    void Event_Open() override;
    void Event_EnableMenuItems() override;
    bool _FileQuit_Action();
    bool _AppleAbout_Action();
    bool _TickmoorHelp_Action();

protected:
    void mSetGlobals();
    void mCheckMacSystemRequirements();
};

namespace shell {

// Start-up, in the order the toolkit runs it.
int _Main(int argc, char** argv);
void _Startup();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _MakeDefaultView();
// What the program still holds when the event loop has returned.
void ReleaseAtExit();
// For test programs only, which run many tests in one process: lets go of
// the application object and the menu bar and forgets the bundle's pictures
// and sounds, so that the next test starts up as a fresh run does. Only once
// no window is open (tk::ResetForTests first): windows hold the menu bar.
void ResetForTests();

}  // namespace shell

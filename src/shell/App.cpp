#include "shell/App.h"

#include <memory>

#include "cards/mGlobals.h"
#include "shell/BundleMedia.h"
#include "shell/Menu.h"
#include "shell/Windows.h"
#include "platform/System.h"

namespace {

std::unique_ptr<App>& Holder() {
    static std::unique_ptr<App> app;
    return app;
}

}  // namespace

App* App::Instance() { return Holder().get(); }

void App::Event_Open() {
    mCheckMacSystemRequirements();
    mSetGlobals();
}

void App::mCheckMacSystemRequirements() {
    tk::Int32 version = 0;
    if (tk::System::Gestalt("sysv", version) && version < 0x1040) {
        tk::MsgBox("This program requires Mac OS X 10.4 or higher.");
        tk::Quit();
    }
}

void App::mSetGlobals() {
    mGlobals::bArabicClockIsOpen = false;
    mGlobals::bWordProbIsOpen = false;
    mGlobals::iScore = 0;
    mGlobals::iTotalNumofQuestions = 0;
    mGlobals::iCardNum = 0;
    mGlobals::iPreviousCard = 0;
}

void App::Event_EnableMenuItems() {
    AppleAbout().Enabled = true;
    FileQuit().Enabled = true;
    TickmoorHelp().Enabled = true;
}

bool App::_FileQuit_Action() {
    tk::Quit();
    return false;
}

bool App::_AppleAbout_Action() {
    shell::ShowAboutWindow();
    return false;
}

bool App::_TickmoorHelp_Action() {
    shell::ShowHelpWindow();
    return false;
}

namespace shell {

int _Main(int argc, char** argv) {
    const int status = tk::RunProgram(argc, argv, _Startup);
    ReleaseAtExit();
    return status;
}

void _Startup() {
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
    _MakeDefaultView();
}

void _NewAppInstance() {
    Holder() = std::make_unique<App>();
    Holder()->SetMenuBar(&Menu::Instance());
    tk::RegisterApplication(Holder().get());
}

void _ApplicationAddMenuHandlers() {
    App* app = App::Instance();
    app->AddMenuHandler("FileQuit", [app] { return app->_FileQuit_Action(); });
    app->AddMenuHandler("AppleAbout", [app] { return app->_AppleAbout_Action(); });
    app->AddMenuHandler("TickmoorHelp", [app] { return app->_TickmoorHelp_Action(); });
}

void _MakeDefaultView() { OpenFirstWindow(); }

void ReleaseAtExit() {
    ReleaseSounds();
    tk::RegisterApplication(nullptr);
    Holder().reset();
    Menu::Release();
    mGlobals::ReleaseAll();
}

void ResetForTests() {
    if (tk::CurrentApplication() == Holder().get()) tk::RegisterApplication(nullptr);
    Holder().reset();
    Menu::Release();
    ForgetMediaForTests();
}

}  // namespace shell

// The real program, started on the bundle, that plays the click and then
// quits from the menu: for the test of quitting while the audio server does
// not answer. It prints "quit" just before it chooses Quit.
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "platform/Application.h"
#include "platform/Services.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"

namespace {

class BundleServices : public tk::Services {
public:
    tk::String ExecutablePath() override { return std::string(TICKMOOR_BUNDLE_DIR) + "/Contents/MacOS/Tickmoor"; }
};

}  // namespace

int main(int argc, char** argv) {
    BundleServices services;
    tk::SetServices(&services);
    const int status = tk::RunProgram(argc, argv, [] {
        shell::_Startup();
        QTimer::singleShot(50, qApp, [] { myBeep().Play(); });
        QTimer::singleShot(300, qApp, [] {
            std::printf("quit\n");
            std::fflush(stdout);
            tk::ChooseMenuItem("FileQuit");
        });
    });
    shell::ReleaseAtExit();
    tk::SetServices(nullptr);
    return status;
}

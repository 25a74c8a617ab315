#include "platform/Application.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/AudioOutput.h"
#include "platform/Internal.h"
#include "platform/Services.h"
#include "platform/Window.h"

namespace tk {
namespace {

Application* g_app = nullptr;
bool g_quitting = false;
int g_exitStatus = 0;

}  // namespace

namespace detail {

int& DispatchDepth() {
    static int depth = 0;
    return depth;
}

}  // namespace detail

Application* CurrentApplication() { return g_app; }
void RegisterApplication(Application* app) { g_app = app; }

void Guard(const std::function<void()>& handler) {
    ++detail::DispatchDepth();
    try {
        handler();
    } catch (const detail::QuitUnwind&) {
        // The program is ending; the waiting handler has nothing left to do.
    } catch (const std::exception& e) {
        ReportUnhandledError(e.what());
    } catch (...) {
        ReportUnhandledError("unknown error");
    }
    // Closed windows go later, from the event loop: the Qt event that
    // brought this handler may still be on the stack.
    if (--detail::DispatchDepth() == 0) detail::ScheduleReap();
}

void ReportUnhandledError(const String& what) {
    g_exitStatus = 1;
    if (g_quitting) {
        // Quit would do nothing, yet the quit under way may be one this error
        // cut short (a window's Close) before it asked the event loop to return.
        QCoreApplication::exit(g_exitStatus);
        return;
    }
    services().MsgBox("An unexpected error has occurred: " + what + ".  Tickmoor must quit now.");
    Quit();
}

void RaiseApplicationOpen() {
    if (g_app) Guard([] { g_app->Event_Open(); });
}

int RunProgram(int argc, char** argv, const std::function<void()>& startup) {
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    detail::EnsureEventFilter();
    Guard(startup);
    RaiseApplicationOpen();
    if (!g_quitting) {
        const int status = qapp.exec();
        if (g_exitStatus == 0) g_exitStatus = status;
    }
    // Windows still open go with the program.
    g_quitting = true;
    for (Window* w : Window::OpenWindows()) Guard([w] { w->Close(); });
    Window::DiscardAll();
    // A hung sound server can hold the audio thread inside Qt, where it can
    // be neither waited for nor torn down under it: the process then ends
    // here, without the rest of the teardown.
    if (!StopAudioOutput(kAudioStopLimitMs)) {
        std::fflush(nullptr);
        std::_Exit(g_exitStatus);
    }
    return g_exitStatus;
}

void Quit() {
    if (g_quitting) return;
    g_quitting = true;
    for (Window* w : Window::OpenWindows()) w->Close();
    detail::ScheduleReap();
    QCoreApplication::exit(g_exitStatus);
}

bool Quitting() { return g_quitting; }
int ExitStatus() { return g_exitStatus; }

void ResetForTests() {
    Window::DiscardAll();
    detail::DispatchDepth() = 0;
    g_quitting = false;
    g_exitStatus = 0;
    g_app = nullptr;
    SetServices(nullptr);
}

void Yield() {
    if (g_quitting) throw detail::QuitUnwind{};
    // A short timer bounds the wait when nothing else is pending.
    static QTimer* wake = [] {
        auto* t = new QTimer(qApp);
        t->setSingleShot(true);
        t->setInterval(4);
        return t;
    }();
    if (!wake->isActive()) wake->start();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (g_quitting) throw detail::QuitUnwind{};
}

}  // namespace tk

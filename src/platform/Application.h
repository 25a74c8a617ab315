// The application object and the program's lifetime: the event loop,
// quitting, the yield every wait uses and the guard that reports errors
// escaping a handler. Choosing a menu item is in Menu.h.
#pragma once

#include <functional>
#include <utility>

#include "platform/FolderItem.h"
#include "platform/Menu.h"
#include "platform/Types.h"

namespace tk {

class Application {
public:
    Application() = default;
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The menu bar every window shows; not owned.
    tk::MenuBar* MenuBar() const { return menuBar_; }
    void SetMenuBar(tk::MenuBar* bar) { menuBar_ = bar; }

    // Binds a handler to a menu item's Name for the whole run.
    void AddMenuHandler(const String& itemName, std::function<bool()> handler) {
        handlers_.Add(itemName, std::move(handler));
    }
    const std::function<bool()>* MenuHandler(const String& itemName) const { return handlers_.Find(itemName); }

    FolderItem ExecutableFile() const { return tk::ExecutableFile(); }

    virtual void Event_Open() {}
    virtual void Event_EnableMenuItems() {}

private:
    tk::MenuBar* menuBar_ = nullptr;
    MenuHandlers handlers_;
};

// The registered application object, or null.
Application* CurrentApplication();
void RegisterApplication(Application* app);

// Runs the program: the toolkit starts, calls startup once, raises the
// application's Open, then runs the event loop until Quit. Returns the
// process exit status.
int RunProgram(int argc, char** argv, const std::function<void()>& startup);

// Raises the application's Open event (guarded); RunProgram does this.
void RaiseApplicationOpen();

// Ends the program: windows still open are closed and the event loop
// returns with the exit status as it stands (0 unless an error has been
// reported). A second request while quitting does nothing.
void Quit();
bool Quitting();
int ExitStatus();

// One pass of the event loop. Waits for the next event or a few
// milliseconds, whichever comes first, so a wait loop never spins a core.
// Once the program is quitting a wait has nothing left to wait for: Yield
// then unwinds the waiting handler back to its event dispatch.
void Yield();

// Runs one event handler under the guard: an error that escapes it is
// reported and ends the program with a non-zero status.
void Guard(const std::function<void()>& handler);

// The unhandled-error report: an alert that names the error (none once the
// program is quitting), then the program ends with status 1.
void ReportUnhandledError(const String& what);

// For test programs only; the program never calls it. The toolkit's state
// is for the whole run (quitting cannot be undone, a window stays until it
// closes), but a test program runs many tests in one process, each of which
// must start from the state a fresh process has. This puts it back: every
// window let go without raising Close (open ones and closed ones still
// waiting to go), no handler running, not quitting, exit status 0, no
// application registered, the real services in force.
void ResetForTests();

}  // namespace tk

#include "platform/Application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/AudioOutput.h"
#include "platform/Internal.h"
#include "platform/QtInternal.h"
#include "platform/Services.h"
#include "platform/Window.h"

namespace tk {
namespace {

// How long quitting waits for the audio thread to let go of its streams.
constexpr int kAudioStopLimitMs = 1000;

Application* g_app = nullptr;
bool g_quitting = false;
int g_exitStatus = 0;

QKeySequence ShortcutOf(const String& shortcut) {
    QString s = Q(shortcut);
    s.replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"));
    return QKeySequence(s);
}

// Return and Enter press the enabled, visible default button of the window
// that has the keyboard; menu shortcuts run their item.
class KeyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::WindowActivate && obj->isWidgetType()) {
            if (Window* w = detail::WindowOfWidget(static_cast<QWidget*>(obj))) Window::BringToFront(w);
            return false;
        }
        if (ev->type() != QEvent::KeyPress || !obj->isWidgetType()) return false;
        auto* key = static_cast<QKeyEvent*>(ev);
        if (MatchShortcut(key)) return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Window* w = detail::WindowOfWidget(static_cast<QWidget*>(obj));
            if (!w || w->IsClosed()) return false;
            for (PushButton* b : w->DefaultButtons()) {
                if (b->Enabled() && b->Visible()) {
                    b->Push();
                    return true;
                }
            }
        }
        return false;
    }

private:
    bool MatchShortcut(QKeyEvent* key) {
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) return false;
        if (!g_app || !g_app->MenuBar()) return false;
        const QKeySequence pressed(key->keyCombination());
        String hit;
        g_app->MenuBar()->ForEach([&](MenuItem& item) {
            if (hit.empty() && !item.KeyboardShortcut.empty() &&
                ShortcutOf(item.KeyboardShortcut).matches(pressed) == QKeySequence::ExactMatch)
                hit = item.Name;
        });
        if (hit.empty()) return false;
        ChooseMenuItem(hit);
        return true;
    }
};

}  // namespace

namespace detail {

int& DispatchDepth() {
    static int depth = 0;
    return depth;
}

void EnsureEventFilter() {
    static KeyFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new KeyFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

}  // namespace detail

void Application::AddMenuHandler(const String& itemName, std::function<bool()> handler) {
    handlers_.emplace_back(itemName, std::move(handler));
}

const std::function<bool()>* Application::MenuHandler(const String& itemName) const {
    for (const auto& [name, fn] : handlers_)
        if (name == itemName) return &fn;
    return nullptr;
}

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
    if (!g_quitting) {
        services().MsgBox("An unexpected error has occurred: " + what +
                          ".  Tickmoor must quit now.");
    }
    Quit();
    g_exitStatus = 1;
    QCoreApplication::exit(1);
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

void RunEnablingPass() {
    if (!g_app || !g_app->MenuBar()) return;
    // Menus themselves stay available; their items follow AutoEnable.
    g_app->MenuBar()->ForEach([](MenuItem& item) {
        if (item.Items().empty()) item.Enabled = item.AutoEnable;
    });
    Guard([] { g_app->Event_EnableMenuItems(); });
    if (Window* front = Window::FrontWindow()) front->Dispatch([front] { front->EnableMenuItems(); });
}

void ChooseMenuItem(const String& name) {
    if (!g_app || !g_app->MenuBar()) return;
    RunEnablingPass();
    MenuItem* item = g_app->MenuBar()->Find(name);
    if (!item || !item->Enabled) return;
    Window* front = Window::FrontWindow();
    if (front) {
        if (const auto* fn = front->MenuHandler(name)) {
            auto handler = *fn;  // the window may close while it runs
            front->Dispatch([handler] { handler(); });
            return;
        }
    }
    if (const auto* fn = g_app->MenuHandler(name)) {
        auto handler = *fn;
        Guard([handler] { handler(); });
    }
}

}  // namespace tk

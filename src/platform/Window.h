// Windows: one implicit instance per window class, built from its stored
// layout on first naming and discarded when it closes.
#pragma once

#include <functional>
#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Types.h"

class QWidget;

namespace tk {

// Stored window properties, set by a window's Layout. The defaults are what
// most windows share: a white document window centred on the screen, with
// close and minimise boxes and the application's menu bar.
struct WindowProps {
    String title;
    Int32 width = 300, height = 200;
    Int32 frame = 0;      // 0 document window, 5 a box without title bar
    Int32 placement = 2;  // 2 centred on the primary screen
    bool closeButton = true;
    bool minimizeButton = true;
    bool maximizeButton = false;
    bool resizeable = false;
    bool hasBackColor = true;
    Color backColor = RGB(255, 255, 255);
    bool menuBarVisible = true;
};

class Window {
public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Brings the window to the front.
    void Show();
    // Raises Close, removes the instance (the next naming builds a fresh
    // one) and lets it go once the running handler has returned.
    void Close();
    bool IsClosed() const { return closed_; }

    void Title(const String& title);
    String Title() const;
    void Width(Int32 w);
    Int32 Width() const;
    void Height(Int32 h);
    Int32 Height() const;
    Color BackColor() const;

    // Binds a handler to a menu item's Name for as long as the window is open.
    void AddMenuHandler(const String& itemName, std::function<bool()> handler) {
        menuHandlers_.Add(itemName, std::move(handler));
    }
    const std::function<bool()>* MenuHandler(const String& itemName) const { return menuHandlers_.Find(itemName); }
    // Runs the window's EnableMenuItems event.
    void EnableMenuItems() { Event_EnableMenuItems(); }

    // The window's default push buttons, for Return and Enter.
    const std::vector<PushButton*>& DefaultButtons() const { return defaultButtons_; }
    Control* ControlNamed(const String& name) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

    // The Qt top-level widget and the content area (tests and the toolkit only).
    QWidget* Widget() const;
    QWidget* Content() const;

    // Runs one event handler of this window under the guard; dropped once
    // the window has closed.
    void Dispatch(const std::function<void()>& handler);

    // Builds, registers and opens a window; used by WindowOf<T>::Instance().
    static void BuildRegistered(std::type_index type, std::unique_ptr<Window> w);
    static Window* Registered(std::type_index type);
    // Open windows, front first.
    static std::vector<Window*> OpenWindows();
    static Window* FrontWindow();
    static void BringToFront(Window* w);
    // Lets every window go without raising Close: the last step before the
    // toolkit itself goes.
    static void DiscardAll();

protected:
    Window();

    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void AddMenuHandlers() {}
    virtual void Event_Open() {}
    virtual void Event_Close() {}
    virtual void Event_EnableMenuItems() {}

    WindowProps& Props() { return props_; }
    void SetMenuBar(MenuBar* bar) { menuBar_ = bar; }

    // Makes a control in window coordinates; a control with a parent lies on
    // it (clipped by it) but is still placed in window coordinates.
    template <class C>
    C& Add(const String& name, Int32 left, Int32 top, Int32 width, Int32 height,
           Control* parent = nullptr) {
        auto owned = std::unique_ptr<C>(new C(*this, name, parent, Rect{left, top, width, height}));
        C& ref = *owned;
        AdoptControl(std::move(owned));
        return ref;
    }
    Timer& AddTimer(const String& name, Int32 mode, Int32 periodMs);

private:
    friend class PushButton;
    void Build();
    void AdoptControl(std::unique_ptr<Control> c);
    void RegisterDefault(PushButton* b) { defaultButtons_.push_back(b); }
    void BuildMenuBar();
    void ApplyTabOrder();

    struct Impl;
    std::unique_ptr<Impl> d_;
    WindowProps props_;
    MenuBar* menuBar_ = nullptr;
    bool closed_ = false;
    bool built_ = false;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<PushButton*> defaultButtons_;
    MenuHandlers menuHandlers_;
};

// The implicit instance of a window class T (derived from WindowOf<T>).
template <class T>
class WindowOf : public Window {
public:
    // The open instance, or a new one built, shown and opened.
    static T& Instance() {
        if (Window* w = Registered(typeid(T))) return static_cast<T&>(*w);
        auto owned = std::unique_ptr<T>(new T());
        T& ref = *owned;
        BuildRegistered(typeid(T), std::move(owned));
        return ref;
    }
    // The open instance without building one (null when none is open).
    static T* IfOpen() { return static_cast<T*>(Registered(typeid(T))); }
};

}  // namespace tk

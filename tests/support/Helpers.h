// Helpers for driving the real widgets with input events.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <string>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace testing_support {

// Runs the event loop until pred holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 3000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
    return true;
}

inline void Pump(int ms = 20) { QTest::qWait(ms); }

inline void Click(const tk::Control& c, QPoint at = QPoint(-1, -1)) {
    QWidget* w = c.Widget();
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.x() < 0 ? w->rect().center() : at);
}

// Types text one character at a time into whatever has the focus in the
// window, as a student at the keyboard does.
inline void Type(tk::Window& win, const std::string& text) {
    for (char ch : text) {
        QWidget* target = win.Widget()->focusWidget();
        if (!target) target = win.Widget();
        QTest::keyClick(target, ch);
    }
}

inline void Key(tk::Window& win, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = win.Widget()->focusWidget();
    if (!target) target = win.Widget();
    QTest::keyClick(target, key, mods);
}

// The mouse as the window system drives it: presses and releases go into a
// window through Qt's window-system interface with timestamps of our own,
// so Qt itself tells the second press of a double-click from a new click,
// by its style hints, as it does for a real mouse. (QTest's widget clicks
// bypass that, and its window clicks keep every two clicks half a second
// apart.)
class SystemMouse {
public:
    // A press at a point of the control (its centre by default), ms after
    // the previous press.
    void Press(const tk::Control& c, int msAfterLastPress, QPoint at = QPoint(-1, -1)) {
        QWidget* w = c.Widget();
        window_ = w->window()->windowHandle();
        global_ = w->mapToGlobal(at.x() < 0 ? w->rect().center() : at);
        lastPress_ += msAfterLastPress;
        Send(Qt::LeftButton, QEvent::MouseButtonPress, lastPress_);
    }
    // A press where the last one was, into whichever of the program's
    // windows is now in front (the last press may have opened it).
    void PressAgain(int msAfterLastPress) {
        ToFront();
        lastPress_ += msAfterLastPress;
        Send(Qt::LeftButton, QEvent::MouseButtonPress, lastPress_);
    }
    // The release, ms after the press, into the window pressed, or the one
    // now in front where the press closed it.
    void Release(int msAfterPress = 10) {
        if (!window_ || !window_->isVisible()) ToFront();
        Send(Qt::NoButton, QEvent::MouseButtonRelease, lastPress_ + msAfterPress);
    }
    void Click(const tk::Control& c, int msAfterLastPress, QPoint at = QPoint(-1, -1)) {
        Press(c, msAfterLastPress, at);
        Release();
    }

private:
    void ToFront() {
        tk::Window* front = tk::Window::FrontWindow();
        window_ = front ? front->Widget()->windowHandle() : nullptr;
    }
    void Send(Qt::MouseButtons buttons, QEvent::Type type, int time) {
        if (!window_) return;
        qt_handleMouseEvent(window_, window_->mapFromGlobal(global_), global_, buttons, Qt::LeftButton, type,
                            Qt::NoModifier, time);
        // QTest's own mouse events come after ours.
        QTest::lastMouseTimestamp = std::max(QTest::lastMouseTimestamp, time + 10000);
        QCoreApplication::processEvents();
    }

    QPointer<QWindow> window_;
    QPoint global_;
    // Far past any press before, so that the first press begins no double-click.
    int lastPress_ = QTest::lastMouseTimestamp + 10000;
};

}  // namespace testing_support

// Helpers for driving the real widgets with input events.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

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

}  // namespace testing_support

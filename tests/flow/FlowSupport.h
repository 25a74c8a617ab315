// Shared pieces of the round-flow tests: counting played sounds, acting
// inside a click wait, and watching a window come on screen.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/Sound.h"
#include "support/FakeServices.h"

namespace flow_test {

inline long TimesPlayed(const testing_support::FakeServices& fakes, const tk::Sound& s) {
    return std::count(fakes.played.begin(), fakes.played.end(), s);
}

// Runs fn on the next pass of the event loop. Queued just before a press
// whose handler starts a click wait, it runs inside that wait.
inline void DuringNextWait(std::function<void()> fn) {
    QTimer::singleShot(0, qApp, std::move(fn));
}

// Calls onShow when the widget that target() names is shown.
class ShowSpy : public QObject {
public:
    ShowSpy(std::function<QWidget*()> target, std::function<void()> onShow)
        : target_(std::move(target)), onShow_(std::move(onShow)) {
        qApp->installEventFilter(this);
    }
    ~ShowSpy() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::Show && obj->isWidgetType()) {
            QWidget* t = target_();
            if (t && obj == t) onShow_();
        }
        return false;
    }

private:
    std::function<QWidget*()> target_;
    std::function<void()> onShow_;
};

// A click at (x, y) of a window's content area, delivered to whatever lies
// there, as the pointer would.
inline void ClickInContent(QWidget* content, int x, int y) {
    QWidget* hit = content->childAt(x, y);
    QWidget* target = hit ? hit : content;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(content, QPoint(x, y)));
}

}  // namespace flow_test

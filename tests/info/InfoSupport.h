// Shared by the help and about window tests: the two windows' link labels,
// real mouse input on labels and on links in the rendered page, and a copy
// of the bundle with parts left out.
#pragma once

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTemporaryDir>

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Window.h"
#include "support/FakeServices.h"

namespace info_test {

// Fakes in place. The windows a test opened go with it (the test main's
// guard, support/ProgramState.h), so the next test builds its own even when
// all run in one process.
class InfoTest : public ::testing::Test {
protected:
    testing_support::FakeServices fakes;
};

inline QPoint Centre(const tk::Control& c) { return c.Widget()->rect().center(); }

inline void Press(const tk::Control& c) {
    QTest::mousePress(c.Widget(), Qt::LeftButton, Qt::NoModifier, Centre(c));
}
inline void Release(const tk::Control& c) {
    QTest::mouseRelease(c.Widget(), Qt::LeftButton, Qt::NoModifier, Centre(c));
}

// What the window system sends when the pointer crosses the label's edge.
inline void Enter(const tk::Control& c) {
    const QPointF local = Centre(c);
    QEnterEvent ev(local, local, c.Widget()->mapToGlobal(local));
    QApplication::sendEvent(c.Widget(), &ev);
}
inline void Leave(const tk::Control& c) {
    QEvent ev(QEvent::Leave);
    QApplication::sendEvent(c.Widget(), &ev);
}

inline QTextBrowser* Browser(const tk::HTMLViewer& v) { return static_cast<QTextBrowser*>(v.Widget()); }

// Scrolls the link with that href into view and gives the point on the
// viewport where it is drawn; nullopt when the page has no such link.
inline std::optional<QPoint> LinkPoint(QTextBrowser* b, const QString& href) {
    QTextDocument* doc = b->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.isValid() || !f.charFormat().isAnchor()) continue;
            if (f.charFormat().anchorHref() != href) continue;
            QTextCursor c(doc);
            c.setPosition(f.position() + f.length() / 2);
            b->setTextCursor(c);
            b->ensureCursorVisible();
            const QRect r = b->cursorRect(c);
            return QPoint(r.center().x() + 1, r.center().y());
        }
    }
    return std::nullopt;
}

// A real click on a link of the page shown, as a student makes it.
inline void ClickLink(const tk::HTMLViewer& v, const QString& href) {
    QTextBrowser* b = Browser(v);
    const auto at = LinkPoint(b, href);
    ASSERT_TRUE(at) << "no link to " << href.toStdString() << " in the page";
    ASSERT_EQ(b->anchorAt(*at), href) << "the point found is not on the link";
    QTest::mouseClick(b->viewport(), Qt::LeftButton, Qt::NoModifier, *at);
}

// A copy of the built bundle in a temporary folder, its executable's path
// handed to the fakes. `drop` names parts (relative to Contents) left out.
class BundleCopy {
public:
    BundleCopy(testing_support::FakeServices& fakes, std::initializer_list<const char*> drop) {
        namespace fs = std::filesystem;
        const fs::path from = fs::path(testing_support::BundleExecutable()).parent_path().parent_path();
        const fs::path to = fs::path(dir_.path().toStdString()) / "Tickmoor.app" / "Contents";
        fs::create_directories(to);
        fs::copy(from, to, fs::copy_options::recursive);
        for (const char* part : drop) fs::remove_all(to / part);
        fakes.executable = (to / "MacOS" / "Tickmoor").string();
    }

private:
    QTemporaryDir dir_;
};

}  // namespace info_test

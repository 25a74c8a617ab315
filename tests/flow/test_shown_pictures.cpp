// The bundle's pictures as the windows show them. A canvas draws its
// picture from its top left and the window's edges and the controls in
// front of it hide the rest, so a drawing that straddles the edge of the
// part shown is seen cut: a sliver of a clock at a window's edge, a clock
// with its top under another control. Every drawing must be wholly in view
// or wholly out of it, in every window and at every height it takes.
#include <gtest/gtest.h>

#include <QWidget>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "flow/wWelcome.h"
#include "info/wAbout.h"
#include "info/wHelp.h"
#include "platform/Window.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

using testing_support::Click;
using testing_support::FakeServices;

namespace {

// The widget painted on top at p (in parent's coordinates): later siblings
// lie in front of earlier ones and children in front of their parent. A
// label counts with its whole box, since its text may fill it.
const QWidget* TopWidgetAt(const QWidget* parent, QPoint p) {
    const QObjectList& kids = parent->children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        const auto* w = qobject_cast<const QWidget*>(*it);
        if (!w || w->isWindow() || w->isHidden() || !w->geometry().contains(p)) continue;
        const QWidget* inner = TopWidgetAt(w, p - w->pos());
        return inner ? inner : w;
    }
    return nullptr;
}

// Which of the picture's pixels the window shows, row by row.
std::vector<bool> ShownPixels(const tk::Window& win, const tk::Canvas& canvas) {
    const tk::Picture& pic = canvas.Backdrop();
    const QWidget* content = win.Content();
    const QRect inWindow = QRect(0, 0, win.Width(), win.Height()) & content->rect();
    std::vector<bool> shown(static_cast<std::size_t>(pic.Width()) * pic.Height(), false);
    for (int y = 0; y < std::min(pic.Height(), canvas.Height()); ++y)
        for (int x = 0; x < std::min(pic.Width(), canvas.Width()); ++x) {
            const QPoint at(canvas.Left() + x, canvas.Top() + y);
            shown[static_cast<std::size_t>(y) * pic.Width() + x] =
                inWindow.contains(at) && TopWidgetAt(content, at) == canvas.Widget();
        }
    return shown;
}

// The picture's drawings: anything not white paper, with ink less than
// kGap pixels apart counted as one drawing (a clock and its shadow, the
// letters of a word).
constexpr int kGap = 5;

struct Drawing {
    std::vector<int> pixels;  // y * width + x
    int left, top, right, bottom;
};

std::vector<Drawing> Drawings(const tk::Picture& pic) {
    const int w = pic.Width(), h = pic.Height();
    std::vector<char> ink(static_cast<std::size_t>(w) * h), seen(ink.size(), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ink[static_cast<std::size_t>(y) * w + x] = (pic.PixelAt(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
    std::vector<Drawing> out;
    for (int start = 0; start < w * h; ++start) {
        if (!ink[start] || seen[start]) continue;
        Drawing d{{start}, w, h, -1, -1};
        seen[start] = 1;
        for (std::size_t i = 0; i < d.pixels.size(); ++i) {
            const int px = d.pixels[i] % w, py = d.pixels[i] / w;
            d.left = std::min(d.left, px);
            d.right = std::max(d.right, px);
            d.top = std::min(d.top, py);
            d.bottom = std::max(d.bottom, py);
            for (int y = std::max(0, py - kGap); y <= std::min(h - 1, py + kGap); ++y)
                for (int x = std::max(0, px - kGap); x <= std::min(w - 1, px + kGap); ++x) {
                    const int n = y * w + x;
                    if (ink[n] && !seen[n]) {
                        seen[n] = 1;
                        d.pixels.push_back(n);
                    }
                }
        }
        out.push_back(std::move(d));
    }
    return out;
}

// One window at one height, and every picture canvas in it.
void ExpectWholeDrawings(const tk::Window& win, const std::string& view) {
    int canvases = 0;
    for (const auto& control : win.Controls()) {
        const auto* canvas = dynamic_cast<const tk::Canvas*>(control.get());
        if (!canvas || canvas->Backdrop().IsNil()) continue;
        ++canvases;
        const std::vector<bool> shown = ShownPixels(win, *canvas);
        if (std::none_of(shown.begin(), shown.end(), [](bool s) { return s; })) continue;
        SCOPED_TRACE(view + ", " + canvas->Name());
        int whole = 0;
        for (const Drawing& d : Drawings(canvas->Backdrop())) {
            const auto inView = static_cast<std::size_t>(
                std::count_if(d.pixels.begin(), d.pixels.end(), [&](int n) { return shown[n]; }));
            EXPECT_TRUE(inView == 0 || inView == d.pixels.size())
                << "the drawing at x " << d.left << ".." << d.right << ", y " << d.top << ".."
                << d.bottom << " of the picture shows " << inView << " of its " << d.pixels.size()
                << " pixels";
            if (inView == d.pixels.size()) ++whole;
        }
        // What a canvas shows is a drawing, not bare paper.
        EXPECT_GT(whole, 0) << "no whole drawing in view";
    }
    EXPECT_GT(canvases, 0) << view << " shows no bundle picture";
}

class ShownPicturesTest : public ::testing::Test {
protected:
    FakeServices fakes;
};

TEST_F(ShownPicturesTest, EveryWindowShowsOnlyWholeDrawingsAtEveryHeight) {
    struct View {
        const char* name;
        int height;
        std::function<tk::Window&()> open;
    };
    const View views[] = {
        {"Welcome", 185, []() -> tk::Window& { return wWelcome::Instance(); }},
        {"Exercise Selection", 431, []() -> tk::Window& { return wExSel::Instance(); }},
        {"Results", 187,
         []() -> tk::Window& {
             mGlobals::sPracticeMode = "Roman";
             mGlobals::iScore = 10;
             mGlobals::iTotalNumofQuestions = 10;
             return wResults::Instance();
         }},
        {"Results after Print", 306,
         []() -> tk::Window& {
             wResults& w = wResults::Instance();
             Click(*w.BevelButton1);
             return w;
         }},
        {"Help", 588, []() -> tk::Window& { return wHelp::Instance(); }},
        {"About", 185, []() -> tk::Window& { return wAbout::Instance(); }},
    };
    for (const View& v : views) {
        const tk::Window& win = v.open();
        ASSERT_EQ(win.Height(), v.height) << v.name;
        ExpectWholeDrawings(win, v.name);
    }
}

}  // namespace

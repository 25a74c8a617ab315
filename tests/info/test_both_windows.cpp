// What the help and about windows share: the link labels, their texts, the
// menu items that bring them up, and standing apart from the round.
#include <QFontMetrics>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "info/Contact.h"
#include "info/wAbout.h"
#include "info/wHelp.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "InfoSupport.h"

using testing_support::FakeServices;
using testing_support::Pump;
using namespace info_test;

namespace {

struct WindowCase {
    const char* name;
    std::function<tk::Window&()> open;
};
const WindowCase kWindows[] = {
    {"wHelp", [] () -> tk::Window& { return wHelp::Instance(); }},
    {"wAbout", [] () -> tk::Window& { return wAbout::Instance(); }},
};

tk::StaticText& Label(tk::Window& w, const char* name) {
    auto* t = dynamic_cast<tk::StaticText*>(w.ControlNamed(name));
    if (!t) throw std::runtime_error(std::string("no label ") + name);
    return *t;
}

struct LinkCase {
    const char* window;
    std::function<tk::Window&()> open;
    const char* label;
    std::string url;
};
const LinkCase kLinks[] = {
    {"wHelp", kWindows[0].open, "StaticText4", contact::SupportMailURL()},
    {"wHelp", kWindows[0].open, "StaticText6", contact::kWebPage},
    {"wAbout", kWindows[1].open, "StaticText4", contact::SupportMailURL()},
    {"wAbout", kWindows[1].open, "StaticText6", contact::kWebPage},
};

using LinkLabels = InfoTest;
using InfoWindows = InfoTest;

TEST_F(LinkLabels, HandTheirAddressToTheSystemOnceOnReleaseOnly) {
    for (const LinkCase& c : kLinks) {
        SCOPED_TRACE(std::string(c.window) + "." + c.label);
        tk::StaticText& label = Label(c.open(), c.label);
        fakes.urls.clear();
        Press(label);
        EXPECT_TRUE(fakes.urls.empty()) << "handed over on the press";
        Release(label);
        EXPECT_EQ(fakes.urls, std::vector<std::string>{c.url});
    }
}

TEST_F(LinkLabels, PointerTurnsToAFingerOverThemAndTheirLookStays) {
    const QColor red(0xED, 0x18, 0x1E);
    auto look = [&](const tk::StaticText& l) {
        const QWidget* w = l.Widget();
        EXPECT_EQ(w->palette().color(QPalette::WindowText), red);
        EXPECT_TRUE(w->font().underline());
        EXPECT_EQ(l.TextColor(), contact::kLinkColor);
    };
    for (const LinkCase& c : kLinks) {
        SCOPED_TRACE(std::string(c.window) + "." + c.label);
        tk::StaticText& label = Label(c.open(), c.label);
        look(label);
        Enter(label);
        EXPECT_EQ(label.MouseCursor(), tk::Cursors::FingerPointer);
        EXPECT_EQ(label.Widget()->cursor().shape(), Qt::PointingHandCursor);
        look(label);
        Leave(label);
        EXPECT_EQ(label.MouseCursor(), tk::Cursors::StandardPointer);
        EXPECT_EQ(label.Widget()->cursor().shape(), Qt::ArrowCursor);
        look(label);
    }
    EXPECT_TRUE(fakes.urls.empty());
}

TEST_F(LinkLabels, ShowTheirAddressesOnceTheWindowIsOpen) {
    struct Case {
        const WindowCase& window;
        const char* label;
        std::string text;
    };
    const Case cases[] = {
        {kWindows[0], "StaticText4", contact::kSupportMail},
        {kWindows[0], "StaticText6", contact::kWebPage},
        {kWindows[1], "StaticText1", "version 2.0b"},
        {kWindows[1], "StaticText4", contact::kSupportMail},
        {kWindows[1], "StaticText6", contact::kWebPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window.name) + "." + c.label);
        EXPECT_EQ(Label(c.window.open(), c.label).Text(), c.text);
    }
}

TEST_F(InfoWindows, EveryLabelFitsOnOneLineAtItsFont) {
    for (const WindowCase& wc : kWindows) {
        tk::Window& w = wc.open();
        int labels = 0;
        for (const auto& c : w.Controls()) {
            auto* t = dynamic_cast<tk::StaticText*>(c.get());
            if (!t) continue;
            ++labels;
            SCOPED_TRACE(std::string(wc.name) + "." + t->Name() + ": " + t->Text());
            const QFont font = t->Widget()->font();
            const QFontMetrics fm(font);
            EXPECT_EQ(font.pixelSize(), 12);
            EXPECT_FALSE(t->Text().empty());
            EXPECT_LE(fm.horizontalAdvance(QString::fromStdString(t->Text())), t->Width());
            EXPECT_LE(fm.height(), t->Height());
        }
        EXPECT_GE(labels, 4) << wc.name;
    }
}

// With the application object and its menu bar, as in the running program.
class InfoMenus : public ::testing::Test {
protected:
    void SetUp() override {
        shell::_NewAppInstance();
        shell::_ApplicationAddMenuHandlers();
    }
    template <class T>
    static int Count() {
        int n = 0;
        for (tk::Window* w : tk::Window::OpenWindows()) n += dynamic_cast<T*>(w) != nullptr;
        return n;
    }
    FakeServices fakes;
};

TEST_F(InfoMenus, ChoosingAnOpenWindowsItemBringsItToTheFrontAndBuildsNoOther) {
    tk::ChooseMenuItem("TickmoorHelp");
    wHelp* help = wHelp::IfOpen();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(tk::Window::FrontWindow(), help);

    tk::ChooseMenuItem("AppleAbout");
    wAbout* about = wAbout::IfOpen();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(tk::Window::FrontWindow(), about);

    QTextBrowser* browser = Browser(*help->HTMLViewer1);
    QTextDocument* doc = browser->document();
    QSignalSpy reloads(doc, &QTextDocument::contentsChanged);
    const int scrolled = browser->verticalScrollBar()->maximum() / 2;
    browser->verticalScrollBar()->setValue(scrolled);

    // Cmd+H from the about window, as a student presses it.
    QTest::keyClick(about->Widget(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(tk::Window::FrontWindow(), help);
    tk::ChooseMenuItem("TickmoorHelp");
    EXPECT_EQ(tk::Window::FrontWindow(), help);
    EXPECT_EQ(wHelp::IfOpen(), help);
    EXPECT_EQ(browser->document(), doc);
    EXPECT_EQ(reloads.count(), 0) << "the page was loaded again";
    EXPECT_EQ(browser->verticalScrollBar()->value(), scrolled);

    tk::ChooseMenuItem("AppleAbout");
    EXPECT_EQ(tk::Window::FrontWindow(), about);
    EXPECT_EQ(wAbout::IfOpen(), about);
    EXPECT_EQ(Count<wHelp>(), 1);
    EXPECT_EQ(Count<wAbout>(), 1);
    EXPECT_TRUE(help->Widget()->isVisible());
    EXPECT_TRUE(about->Widget()->isVisible());
}

struct Round {
    std::string mode, v1, v2, v3, v4;
    int score, remaining, total, card, previous;
    tk::Picture face;
    bool arabicOpen, wordProbOpen;
    friend bool operator==(const Round&, const Round&) = default;

    static Round Now() {
        using namespace mGlobals;
        return {sPracticeMode, sValue1, sValue2, sValue3, sValue4, iScore, iRemainingQuestions,
                iTotalNumofQuestions, iCardNum, iPreviousCard, pClockFace, bArabicClockIsOpen,
                bWordProbIsOpen};
    }
};

TEST_F(InfoMenus, OpeningUsingAndClosingThemLeavesARunningRoundAsItWas) {
    mGlobals::sPracticeMode = "Roman";
    mGlobals::iScore = 3;
    mGlobals::iRemainingQuestions = 6;
    mGlobals::iTotalNumofQuestions = 4;
    mGlobals::iCardNum = 57;
    mGlobals::iPreviousCard = 12;
    mGlobals::sValue1 = "1";
    mGlobals::sValue2 = "0";
    mGlobals::sValue3 = "4";
    mGlobals::sValue4 = "5";
    mGlobals::pClockFace = tk::Picture::FromPixels(1, 1, {0xFF000000u});
    mGlobals::bArabicClockIsOpen = true;
    const Round before = Round::Now();

    tk::ChooseMenuItem("TickmoorHelp");
    wHelp& help = *wHelp::IfOpen();
    ClickLink(*help.HTMLViewer1, "teachers.htm");
    Press(*help.StaticText6);
    Release(*help.StaticText6);
    tk::ChooseMenuItem("AppleAbout");
    wAbout& about = *wAbout::IfOpen();
    Press(*about.StaticText4);
    Release(*about.StaticText4);
    about.Widget()->close();
    help.Widget()->close();
    Pump();
    tk::ChooseMenuItem("AppleAbout");
    wAbout::IfOpen()->Close();
    Pump();

    EXPECT_EQ(fakes.urls.size(), 3u);
    EXPECT_TRUE(Round::Now() == before);
}

}  // namespace

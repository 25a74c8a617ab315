// What the program leans on in the toolkit layer's windows, timers, menus,
// waits and error report.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "platform/Application.h"
#include "platform/Wav.h"
#include "platform/Window.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

using namespace tk;
using testing_support::FakeServices;
using testing_support::WaitUntil;

namespace {

int g_opens = 0;
int g_timerFires = 0;

class wPlain : public WindowOf<wPlain> {
public:
    PushButton* ok = nullptr;
    PushButton* other = nullptr;
    EditField* field = nullptr;
    int okPresses = 0, otherPresses = 0, timerFires = 0;
    wPlain* namedInOpen = nullptr;
    std::function<void()> onOk;

protected:
    void Layout() override {
        Props().title = "Plain";
        Props().width = 200;
        Props().height = 120;
    }
    void CreateControls() override {
        field = &Add<EditField>("EditField1", 10, 10, 80, 24);
        ok = &Add<PushButton>("ok", 10, 50, 80, 24);
        ok->Caption("OK");
        ok->Default(true);
        ok->Action = [this] {
            ++okPresses;
            if (onOk) onOk();
        };
        other = &Add<PushButton>("other", 100, 50, 80, 24);
        other->Default(true);
        other->Enabled(false);
        other->Action = [this] { ++otherPresses; };
        AddTimer("Timer1", 1, 30).Action = [this] {
            ++timerFires;
            ++g_timerFires;
        };
    }
    void Event_Open() override {
        ++g_opens;
        namedInOpen = &wPlain::Instance();
    }
};

// A window whose Open closes wPlain.
class wCloser : public WindowOf<wCloser> {
protected:
    void Event_Open() override {
        if (wPlain* p = wPlain::IfOpen()) p->Close();
    }
};

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override { g_opens = 0; g_timerFires = 0; }
    FakeServices fakes;
};

TEST_F(WindowsTest, NamingBuildsOnceAndOpenSeesTheWindowBeingBuilt) {
    wPlain& a = wPlain::Instance();
    wPlain& b = wPlain::Instance();
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(g_opens, 1);
    EXPECT_EQ(a.namedInOpen, &a);
    EXPECT_TRUE(a.Widget()->isVisible());
    a.Close();
    EXPECT_EQ(wPlain::IfOpen(), nullptr);
    wPlain& c = wPlain::Instance();
    EXPECT_EQ(g_opens, 2);
    EXPECT_EQ(c.okPresses, 0);  // a fresh instance
}

TEST_F(WindowsTest, HandlerThatClosesItsWindowKeepsItsObjectsUntilItReturns) {
    wPlain& w = wPlain::Instance();
    bool stillValid = false;
    w.onOk = [&w, &stillValid] {
        w.Close();
        // Touching the closed window's controls is still safe here.
        stillValid = w.ok->Caption() == "OK" && w.IsClosed();
    };
    testing_support::Click(*w.ok);
    EXPECT_TRUE(stillValid);
    EXPECT_EQ(wPlain::IfOpen(), nullptr);
    EXPECT_NE(&wPlain::Instance(), nullptr);
    EXPECT_EQ(g_opens, 2);
}

TEST_F(WindowsTest, OpeningAWindowWhoseOpenClosesTheCaller) {
    wPlain& w = wPlain::Instance();
    bool sawClosed = false;
    w.onOk = [&w, &sawClosed] {
        wCloser::Instance().Show();
        sawClosed = w.IsClosed() && w.ok->Enabled();
    };
    testing_support::Click(*w.ok);
    EXPECT_TRUE(sawClosed);
    EXPECT_EQ(wPlain::IfOpen(), nullptr);
    EXPECT_NE(wCloser::IfOpen(), nullptr);
    testing_support::Pump();
}

TEST_F(WindowsTest, OneShotTimerFiresOnceAfterItsPeriod) {
    QElapsedTimer clock;
    clock.start();
    wPlain& w = wPlain::Instance();
    ASSERT_TRUE(WaitUntil([&] { return w.timerFires > 0; }));
    EXPECT_GE(clock.elapsed(), 25);
    testing_support::Pump(100);
    EXPECT_EQ(w.timerFires, 1);
}

TEST_F(WindowsTest, TimerNeverFiresAfterItsWindowClosed) {
    g_timerFires = 0;
    wPlain::Instance().Close();
    testing_support::Pump(100);
    EXPECT_EQ(g_timerFires, 0);
    EXPECT_EQ(wPlain::IfOpen(), nullptr);
}

TEST_F(WindowsTest, ReturnPressesTheEnabledDefaultButtonOnly) {
    wPlain& w = wPlain::Instance();
    w.field->SetFocus();
    testing_support::Key(w, Qt::Key_Return);
    EXPECT_EQ(w.okPresses, 1);
    EXPECT_EQ(w.otherPresses, 0);
    w.ok->Enabled(false);
    w.other->Enabled(true);
    testing_support::Key(w, Qt::Key_Enter);
    EXPECT_EQ(w.okPresses, 1);
    EXPECT_EQ(w.otherPresses, 1);
    w.other->Enabled(false);
    testing_support::Key(w, Qt::Key_Return);  // nothing enabled: nothing pressed
    EXPECT_EQ(w.okPresses + w.otherPresses, 2);
}

TEST_F(WindowsTest, YieldLetsAPendingTimerAndAQueuedClickRun) {
    wPlain& w = wPlain::Instance();
    QMetaObject::invokeMethod(w.ok->Widget(), "click", Qt::QueuedConnection);
    QElapsedTimer t;
    t.start();
    while ((w.timerFires == 0 || w.okPresses == 0) && t.elapsed() < 2000) Yield();
    EXPECT_EQ(w.timerFires, 1);
    EXPECT_EQ(w.okPresses, 1);
}

TEST_F(WindowsTest, WindowWithoutCloseBoxIgnoresTheWindowManager) {
    class wNoClose : public WindowOf<wNoClose> {
    protected:
        void Layout() override { Props().closeButton = false; }
    };
    wNoClose& w = wNoClose::Instance();
    w.Widget()->close();  // what the window manager's close request does
    EXPECT_FALSE(w.IsClosed());
    wPlain& p = wPlain::Instance();
    p.Widget()->close();
    EXPECT_TRUE(p.IsClosed());
}

// ---- menus ------------------------------------------------------------------

struct MenuApp : Application {
    int appHandled = 0;
    bool enableAbout = false;
    void Event_EnableMenuItems() override {
        if (enableAbout) Find("About")->Enabled = true;
    }
    MenuItem* Find(const String& n) { return MenuBar()->Find(n); }
};

class wMenuUser : public WindowOf<wMenuUser> {
public:
    int handled = 0;
    bool enableEnd = true;

protected:
    void AddMenuHandlers() override {
        AddMenuHandler("End", [this] {
            ++handled;
            return false;
        });
        AddMenuHandler("Help", [this] {
            ++handled;
            return false;
        });
    }
    void Event_EnableMenuItems() override {
        if (enableEnd) CurrentApplication()->MenuBar()->Find("End")->Enabled = true;
    }
};

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto file = std::make_unique<MenuItem>();
        file->Name = "File";
        file->AutoEnable = false;
        for (auto [name, autoEnable] : {std::pair{"End", false}, {"Help", true}, {"About", false}}) {
            auto item = std::make_unique<MenuItem>();
            item->Name = name;
            item->AutoEnable = autoEnable;
            file->Append(std::move(item));
        }
        bar.Append(std::move(file));
        app.SetMenuBar(&bar);
        app.AddMenuHandler("Help", [this] {
            ++app.appHandled;
            return false;
        });
        app.AddMenuHandler("About", [this] {
            ++app.appHandled;
            return false;
        });
        RegisterApplication(&app);
    }
    void TearDown() override { RegisterApplication(nullptr); }
    FakeServices fakes;
    MenuBar bar;
    MenuApp app;
};

TEST_F(MenusTest, AutoEnableFalseItemsStayDisabledUnlessAHandlerEnablesThem) {
    RunEnablingPass();
    EXPECT_FALSE(app.Find("End")->Enabled);
    EXPECT_FALSE(app.Find("About")->Enabled);
    EXPECT_TRUE(app.Find("Help")->Enabled);
    EXPECT_TRUE(app.Find("File")->Enabled);  // the menu itself stays available
    ChooseMenuItem("About");
    EXPECT_EQ(app.appHandled, 0);

    app.enableAbout = true;
    ChooseMenuItem("About");
    EXPECT_EQ(app.appHandled, 1);

    wMenuUser& w = wMenuUser::Instance();
    RunEnablingPass();
    EXPECT_TRUE(app.Find("End")->Enabled);
    w.enableEnd = false;
    RunEnablingPass();
    EXPECT_FALSE(app.Find("End")->Enabled);
}

TEST_F(MenusTest, FrontWindowsHandlerWinsOverTheApplications) {
    ChooseMenuItem("Help");
    EXPECT_EQ(app.appHandled, 1);
    wMenuUser& w = wMenuUser::Instance();
    ChooseMenuItem("Help");
    EXPECT_EQ(w.handled, 1);
    EXPECT_EQ(app.appHandled, 1);
    w.Close();
    ChooseMenuItem("Help");
    EXPECT_EQ(app.appHandled, 2);
}

TEST_F(MenusTest, ShortcutRunsTheEnablingPassThenTheItem) {
    app.Find("Help")->KeyboardShortcut = "Cmd+H";
    wMenuUser& w = wMenuUser::Instance();
    QTest::keyClick(w.Widget(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(w.handled, 1);
}

// ---- sounds, errors, quitting --------------------------------------------------

TEST(SoundTest, IsPlayingEndsAfterTheSoundsLengthWithoutAnAudioDevice) {
    FakeServices fakes;  // no output at all
    WavData wav;
    wav.channels = 1;
    wav.sampleRate = 8000;
    wav.bitsPerSample = 16;
    wav.blockAlign = 2;
    wav.byteRate = 16000;
    wav.samples.assign(1600 * 2, 0);  // 0.2 s
    Sound s = Sound::FromWav(std::move(wav));
    EXPECT_FALSE(s.IsPlaying());
    QElapsedTimer t;
    t.start();
    s.Play();
    EXPECT_TRUE(s.IsPlaying());
    while (s.IsPlaying() && t.elapsed() < 5000) Yield();
    EXPECT_GE(t.elapsed(), 195);
    EXPECT_LT(t.elapsed(), 2000);
    ASSERT_EQ(fakes.played.size(), 1u);
    Sound nil;
    nil.Play();  // a missing sound does nothing
    EXPECT_FALSE(nil.IsPlaying());
}

TEST_F(WindowsTest, AnErrorThatEscapesAHandlerIsReportedAndEndsTheProgram) {
    wPlain& w = wPlain::Instance();
    w.onOk = [] { throw NilObjectException("Picture"); };
    testing_support::Click(*w.ok);
    ASSERT_EQ(fakes.alerts.size(), 1u);
    EXPECT_NE(fakes.alerts[0].find("NilObjectException"), std::string::npos);
    EXPECT_TRUE(Quitting());
    EXPECT_NE(ExitStatus(), 0);
    EXPECT_EQ(wPlain::IfOpen(), nullptr);
}

TEST_F(WindowsTest, QuitClosesEveryWindowOnceAndUnwindsWaits) {
    int closes = 0;
    class wCounting : public WindowOf<wCounting> {
    public:
        int* closes = nullptr;

    protected:
        void Event_Close() override {
            ++*closes;
            Quit();  // a second request while quitting does nothing more
        }
    };
    wCounting& c = wCounting::Instance();
    c.closes = &closes;
    wPlain& w = wPlain::Instance();
    bool after = false;
    w.onOk = [&] {
        Quit();
        Yield();  // a wait that would go on after quitting
        after = true;
    };
    testing_support::Click(*w.ok);
    EXPECT_FALSE(after);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(Quitting());
    EXPECT_EQ(ExitStatus(), 0);
    EXPECT_TRUE(Window::OpenWindows().empty());
    EXPECT_ANY_THROW(wPlain::Instance());  // nothing new opens while quitting
}

}  // namespace

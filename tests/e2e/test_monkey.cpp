// A monkey at the keyboard and mouse: a seeded stream of random input
// drives the whole program from start-up, and after every event the
// program must still hold together.
#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <typeindex>
#include <vector>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "support/FakeServices.h"
#include "word_problems/wWordProb.h"

using namespace testing_support;

namespace {

int EventsPerSeed() {
    if (const char* n = std::getenv("TICKMOOR_MONKEY_EVENTS")) return std::max(1, std::atoi(n));
    return 5000;
}

// The seeds of the runs; each draws cards and problems of its own.
constexpr unsigned kSeeds[] = {1, 2, 3, 4};

class Monkey {
public:
    // The seed drives both the monkey's input and the program's random
    // source, so a run that fails can be replayed.
    explicit Monkey(unsigned seed) : fakes(seed), rng_(seed) {
        fakes.printAnswer = [this]() -> std::unique_ptr<tk::Graphics> {
            if (Chance(2)) return nullptr;
            return std::make_unique<RecordingGraphics>();
        };
    }

    FakeServices fakes;

    // One random event; returns its description.
    std::string Step() {
        tk::Window* front = tk::Window::FrontWindow();
        if (!front) return "no window";
        const int kind = Pick(100);
        std::ostringstream what;
        if (kind < 55) {
            QWidget* content = front->Content();
            const QPoint p(Pick(content->width()), Pick(content->height()));
            QWidget* target = content->childAt(p);
            if (!target) target = content;
            if (IsQuitButton(front, target)) return "skipped Quit";
            what << "click " << typeid(*front).name() << " at " << p.x() << "," << p.y();
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(content, p));
        } else if (kind < 85) {
            QWidget* target = front->Widget()->focusWidget();
            if (!target) target = front->Widget();
            static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Enter,
                                           Qt::Key_Left, Qt::Key_Space, Qt::Key_Escape};
            if (Chance(3)) {
                const Qt::Key k = keys[Pick(std::size(keys))];
                what << "key " << int(k);
                QTest::keyClick(target, k);
            } else {
                static const char chars[] = "0123456789012345678901234567890123456789abcXYZ:.- ";
                const char c = chars[Pick(sizeof chars - 1)];
                what << "char '" << c << "'";
                QTest::keyClick(target, c);
            }
        } else if (kind < 92) {
            static const char* items[] = {"FileEndThisRound", "FileEndThisRound", "TickmoorHelp", "AppleAbout"};
            const char* item = items[Pick(std::size(items))];
            what << "menu " << item;
            tk::ChooseMenuItem(item);
        } else if (kind < 97) {
            // The pointer passing over a control.
            const auto& controls = front->Controls();
            if (controls.empty()) return "no controls";
            QWidget* w = controls[Pick(controls.size())]->Widget();
            what << "hover " << controls[0]->Name();
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QApplication::sendEvent(w, &enter);
            QEvent leave(QEvent::Leave);
            if (Chance(2)) QApplication::sendEvent(w, &leave);
        } else {
            // The window manager's close box on a window that has one and
            // that does not end the program.
            const std::string name = typeid(*front).name();
            if (name.find("wResults") != std::string::npos || name.find("wWelcome") != std::string::npos)
                return "skipped close";
            what << "close " << name;
            front->Widget()->close();
        }
        QCoreApplication::processEvents();
        return what.str();
    }

    // What must hold after every event; empty when it does.
    std::string Check() {
        std::map<std::type_index, int> count;
        for (tk::Window* w : tk::Window::OpenWindows())
            if (++count[typeid(*w)] > 1) return std::string("two instances of ") + typeid(*w).name();
        const bool clock = wArabicClock::IfOpen() != nullptr;
        const bool words = wWordProb::IfOpen() != nullptr;
        if (clock && words) return "both exercise windows open";
        if (clock != mGlobals::bArabicClockIsOpen) return "clock window flag out of step";
        if (words != mGlobals::bWordProbIsOpen) return "word window flag out of step";

        tk::Window* exercise = clock ? static_cast<tk::Window*>(wArabicClock::IfOpen())
                                     : words ? static_cast<tk::Window*>(wWordProb::IfOpen()) : nullptr;
        if (exercise != lastExercise_) {
            lastExercise_ = exercise;
            wrongBefore_ = WrongPlays();
        }
        if (exercise) {
            const int wrong = WrongPlays() - wrongBefore_;
            if (mGlobals::iScore + wrong + mGlobals::iRemainingQuestions != 10) {
                std::ostringstream s;
                s << "score " << mGlobals::iScore << " + wrong " << wrong << " + remaining "
                  << mGlobals::iRemainingQuestions << " != 10";
                return s.str();
            }
        }
        if (auto* c = wArabicClock::IfOpen())
            if (c->BevelButton1->Enabled() == c->BevelButton2->Enabled())
                return "OK and CONTINUE both enabled or both disabled";
        return "";
    }

private:
    int WrongPlays() const {
        int n = 0;
        const tk::Sound wrong = WrongAnswer();
        for (const auto& s : fakes.played) n += s == wrong;
        return n;
    }
    static bool IsQuitButton(tk::Window* front, QWidget* target) {
        auto* r = dynamic_cast<wResults*>(front);
        return r && target == r->BevelButton3->Widget();
    }
    std::size_t Pick(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_) : 0; }
    bool Chance(int oneIn) { return Pick(oneIn) == 0; }

    std::mt19937 rng_;
    tk::Window* lastExercise_ = nullptr;
    int wrongBefore_ = 0;
};

class MonkeyTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(MonkeyTest, RandomInputNeverBreaksTheProgram) {
    const unsigned seed = GetParam();
    Monkey monkey(seed);
    const FakeServices& fakes = monkey.fakes;
    shell::_Startup();
    tk::RaiseApplicationOpen();
    const int events = EventsPerSeed();
    for (int i = 0; i < events; ++i) {
        QElapsedTimer t;
        t.start();
        const std::string what = monkey.Step();
        const qint64 ms = t.elapsed();
        ASSERT_FALSE(tk::Quitting()) << "seed " << seed << " event " << i << " (" << what << ") ended the program";
        ASSERT_LT(ms, 1000) << "seed " << seed << " event " << i << " (" << what << ") hung";
        const std::string broken = monkey.Check();
        ASSERT_EQ(broken, "") << "seed " << seed << " event " << i << " (" << what << ")";
    }
    EXPECT_TRUE(fakes.alerts.empty()) << fakes.alerts.front();
    // How far the monkey got, so that a run that never leaves the first
    // window does not pass unnoticed.
    int right = 0, wrong = 0, rounds = 0;
    for (const auto& s : fakes.played) {
        right += s == CorrectAnswer();
        wrong += s == WrongAnswer();
        rounds += s == chime();
    }
    std::printf("seed %u: %d events, %d right and %d wrong answers, %d rounds finished\n", seed, events,
                right, wrong, rounds);
    EXPECT_GT(right + wrong, 0);
    tk::ChooseMenuItem("FileQuit");
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_TRUE(tk::Window::OpenWindows().empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, MonkeyTest, ::testing::ValuesIn(kSeeds));

// The cards a round of each face draws under a monkey of that seed.
std::vector<int> CardsDrawn(unsigned seed) {
    const Monkey monkey(seed);
    std::vector<int> cards;
    for (const char* mode : {"Arabic", "Roman", "NoNum"}) {
        mGlobals::sPracticeMode = mode;
        mGlobals::iPreviousCard = 0;
        for (int q = 0; q < 10; ++q) {
            mGlobals::mGetRandCard();
            cards.push_back(mGlobals::iCardNum);
        }
    }
    return cards;
}

TEST(MonkeySeeds, EachSeedDrawsCardsOfItsOwnAndAgainTheSame) {
    std::set<std::vector<int>> rounds;
    for (unsigned seed : kSeeds) rounds.insert(CardsDrawn(seed));
    EXPECT_EQ(rounds.size(), std::size(kSeeds));
    EXPECT_EQ(CardsDrawn(kSeeds[0]), CardsDrawn(kSeeds[0]));
}

}  // namespace

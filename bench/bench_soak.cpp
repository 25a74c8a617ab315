// A long session: 300 whole rounds through input events from start-up
// (welcome, "Begin", a mode, ten answers, results, a printed page, "Again",
// ...), the four modes in turn, offscreen, with the system services faked.
// Resident memory after round 20 is the baseline for the growth up to round
// 300; the time per round of the first rounds is the baseline for the last.
#include <QApplication>
#include <QPixmapCache>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "flow/wWelcome.h"
#include "platform/Application.h"
#include "platform/AudioOutput.h"
#include "shell/App.h"
#include "support/AudioServer.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "word_problems/wWordProb.h"

namespace {

using Clock = std::chrono::steady_clock;
using testing_support::Click;
using testing_support::FakeServices;
using testing_support::RecordingGraphics;
using testing_support::Type;
using testing_support::WaitUntil;

constexpr int kDefaultRounds = 300;
constexpr int kBaselineRound = 20;
// By then the style's pixmap cache has reached its limit: growth from here on
// is what a bounded cache does not explain.
constexpr int kCacheFullRound = 100;
constexpr int kTimeWindow = 20;  // rounds compared at the start and the end

struct Mode {
    const char* name;
    const char* control;  // clicked in the selection window
    const char* sentence;
    bool wordProblems;
};
constexpr Mode kModes[] = {{"Arabic", "Canvas1", "practicing standard clock face.", false},
                           {"Roman", "StaticText2", "practicing classic clock face.", false},
                           {"NoNum", "Canvas3", "practicing modern clock face.", false},
                           {"WordProb", "Canvas4", "practicing word problems.", true}};

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

void Expect(bool ok, const std::string& what) {
    if (!ok) Fail(what);
}

long VmRssKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Bytes the allocator has handed out and not had back: finer than RSS.
double HeapKb() { return static_cast<double>(mallinfo2().uordblks) / 1024.0; }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Lets closed windows be reaped and pending events run.
void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

wExSel& Selection() {
    Expect(WaitUntil([] { return wExSel::IfOpen() != nullptr; }), "no selection window");
    Expect(mGlobals::iScore == 0 && mGlobals::sPracticeMode.empty(), "selection: round state not reset");
    return *wExSel::IfOpen();
}

bool BoxFocused(wArabicClock& w) { return w.EditField1->HasFocus() || w.EditField2->HasFocus(); }

// The time of the card shown, as typed: the hour tens only for 10-12.
std::string Answer(bool right) {
    std::string minuteUnits = mGlobals::sValue4;
    if (!right) minuteUnits = minuteUnits == "0" ? "5" : "0";
    return (mGlobals::sValue1 == "1" ? "1" : "") + mGlobals::sValue2 + mGlobals::sValue3 + minuteUnits;
}

void PlayClockRound(FakeServices& fakes, wExSel& sel, const Mode& mode, int right) {
    int draws = fakes.rndCalls;
    Click(*sel.ControlNamed(mode.control));
    wArabicClock* w = wArabicClock::IfOpen();
    Expect(w != nullptr, "no clock window");
    for (int q = 0; q < 10; ++q) {
        Expect(wArabicClock::IfOpen() == w, "clock window went away at question " + std::to_string(q));
        // Each question's card is a fresh draw; answer it only once it is up.
        Expect(WaitUntil([&] { return fakes.rndCalls > draws && BoxFocused(*w); }),
               "no card at question " + std::to_string(q));
        draws = fakes.rndCalls;
        const bool isRight = q < right;
        Type(*w, Answer(isRight));
        Click(*w->BevelButton1);  // "OK"
        if (!isRight) {
            Expect(w->BevelButton2->Visible(), "no CONTINUE after a wrong answer");
            Click(*w->BevelButton2);
        }
    }
}

tk::Canvas& WordClock(wWordProb& w, const std::string& n) {
    return n == "1" ? *w.Canvas1 : n == "2" ? *w.Canvas2 : *w.Canvas3;
}

void PlayWordRound(wExSel& sel, const Mode& mode, int right) {
    Click(*sel.ControlNamed(mode.control));
    wWordProb* w = wWordProb::IfOpen();
    Expect(w != nullptr, "no word-problem window");
    for (int q = 0; q < 10; ++q) {
        Expect(wWordProb::IfOpen() == w, "word-problem window went away at question " + std::to_string(q));
        Expect(WaitUntil([&] { return !w->Busy() && !w->sCAI.empty(); }),
               "no problem at question " + std::to_string(q));
        const std::string answer = w->sCAI;
        Click(WordClock(*w, q < right ? answer : (answer == "1" ? "2" : "1")));
    }
}

// One round from the selection window to the selection window again.
void PlayRound(FakeServices& fakes, int round) {
    const Mode& mode = kModes[(round - 1) % 4];
    const int right = (round * 7) % 11;  // 0..10, all of them over 11 rounds
    wExSel& sel = Selection();
    if (mode.wordProblems)
        PlayWordRound(sel, mode, right);
    else
        PlayClockRound(fakes, sel, mode, right);

    wResults* results = wResults::IfOpen();
    Expect(results != nullptr, "no results window");
    Expect(results->StaticText1->Text() == "You scored " + std::to_string(right) + " out of 10",
           "score shown: " + results->StaticText1->Text());
    Expect(results->StaticText2->Text() == mode.sentence, "mode shown: " + results->StaticText2->Text());

    const int dialogs = fakes.printDialogs;
    Click(*results->BevelButton1);  // "Print"
    Type(*results, "Ada");
    Click(*results->BevelButton4);  // "OK"
    Expect(fakes.printDialogs == dialogs + 1, "the page was not printed");

    Click(*results->BevelButton2);  // "Again"
    Expect(WaitUntil([] { return wResults::IfOpen() == nullptr && wExSel::IfOpen() != nullptr; }),
           "\"Again\" did not lead back to the selection");
    Expect(fakes.alerts.empty(), "alert: " + (fakes.alerts.empty() ? "" : fakes.alerts.front()));
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    // With --device the sounds also go to a real audio device: a private
    // audio server's null sink.
    const bool device = argc > 1 && std::strcmp(argv[1], "--device") == 0;
    if (device) {
        --argc;
        ++argv;
    }
    std::unique_ptr<testing_support::AudioServer> audio;
    if (device && !(audio = testing_support::UsePrivateAudioServer())) return 1;
    QApplication app(argc, argv);
    // The offscreen platform's notes about raise() would bury the report.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(msg));
    });

    // An optional count of rounds, for a shorter run under a profiler.
    const int rounds = argc > 1 ? std::max(std::atoi(argv[1]), 2 * kTimeWindow) : kDefaultRounds;
    long rssBaseline = 0, rssCacheFull = 0, rssEnd = 0;
    double heapBaseline = 0, heapCacheFull = 0, heapEnd = 0, heapEndNoCache = 0;
    std::vector<double> roundMs;
    int round = 0;
    try {
        FakeServices fakes;
        fakes.realSound = device;
        // A page that records its drawing and is let go at once: it prints.
        fakes.printAnswer = [] { return std::make_unique<RecordingGraphics>(); };

        shell::_Startup();
        tk::RaiseApplicationOpen();
        Expect(WaitUntil([] { return wWelcome::IfOpen() != nullptr; }), "no welcome window");
        Click(*wWelcome::IfOpen()->BevelButton1);  // "Begin"

        for (round = 1; round <= rounds; ++round) {
            const Clock::time_point t0 = Clock::now();
            PlayRound(fakes, round);
            roundMs.push_back(Ms(Clock::now() - t0));
            // The fake's record of sounds is this program's memory, not Tickmoor's.
            fakes.played.clear();
            fakes.played.shrink_to_fit();
            Settle();
            if (round == kBaselineRound) {
                rssBaseline = VmRssKb();
                heapBaseline = HeapKb();
            }
            if (round == kCacheFullRound) {
                rssCacheFull = VmRssKb();
                heapCacheFull = HeapKb();
            }
        }
        rssEnd = VmRssKb();
        heapEnd = HeapKb();
        // What of the heap is the style's pixmap cache: after the figures, so
        // it changes none of them.
        QPixmapCache::clear();
        heapEndNoCache = HeapKb();

        tk::ChooseMenuItem("FileQuit");
        Settle();
        Expect(tk::Quitting() && tk::ExitStatus() == 0, "the program did not quit cleanly");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "round %d: %s\n", round, e.what());
        tk::Window::DiscardAll();
        return 1;
    }
    tk::Window::DiscardAll();

    const std::vector<double> first(roundMs.begin(), roundMs.begin() + kTimeWindow);
    const std::vector<double> last(roundMs.end() - kTimeWindow, roundMs.end());
    const long growth = rssEnd - rssBaseline;
    std::printf("Soak: %d rounds from start-up through input events, four modes in turn, offscreen, %s\n",
                rounds, audio ? ("sounds to a " + audio->Name() + " null sink").c_str() : "sound output faked");
    std::printf("  VmRSS after round %3d            %8ld KB   (baseline)\n", kBaselineRound, rssBaseline);
    std::printf("  VmRSS after round %3d            %8ld KB\n", rounds, rssEnd);
    std::printf("  growth                          %+8ld KB   %.3fx   (target < 1024 KB)\n", growth,
                static_cast<double>(rssEnd) / static_cast<double>(rssBaseline));
    std::printf("  heap in use, round %3d -> %3d   %8.0f -> %.0f KB   (%+.0f KB)\n", kBaselineRound, rounds,
                heapBaseline, heapEnd, heapEnd - heapBaseline);
    std::printf("    of which Qt's pixmap cache    %8.0f KB at round %d (limit %d KB)\n", heapEnd - heapEndNoCache,
                rounds, QPixmapCache::cacheLimit());
    if (rounds > kCacheFullRound) {
        std::printf("  VmRSS, round %3d -> %3d         %8ld -> %ld KB   (%+ld KB)\n", kCacheFullRound, rounds,
                    rssCacheFull, rssEnd, rssEnd - rssCacheFull);
        std::printf("  heap in use, round %3d -> %3d   %8.0f -> %.0f KB   (%+.0f KB)\n", kCacheFullRound, rounds,
                    heapCacheFull, heapEnd, heapEnd - heapCacheFull);
    }
    for (int m = 0; m < 4; ++m) {
        std::vector<double> v;
        for (std::size_t i = static_cast<std::size_t>(m); i < roundMs.size(); i += 4) v.push_back(roundMs[i]);
        std::printf("  time per round, %-9s       median %7.1f ms\n", kModes[m].name, Median(v));
    }
    std::printf("  time per round, all             median %7.1f ms\n", Median(roundMs));
    std::printf("  rounds %d-%d vs %d-%d           median %7.1f vs %7.1f ms   %.2fx   (baseline: the first)\n",
                1, kTimeWindow, rounds - kTimeWindow + 1, rounds, Median(first), Median(last),
                Median(last) / Median(first));
    if (device) {
        const int open = tk::AudioPlaysInFlight();
        const auto until = Clock::now() + std::chrono::seconds(4);  // past the longest sound and its grace
        while (Clock::now() < until) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::printf("  sound streams open at the end     %d, 4 s later %d\n", open, tk::AudioPlaysInFlight());
    }
    return 0;
}

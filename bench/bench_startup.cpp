// Start-up and "Begin", each against a baseline measured in the same run.
//
// (a) Start-up: the time from spawning a process to its first window being
//     exposed, for the program (the real start-up path, RunProgram with
//     _Startup, showing the welcome window with its pictures) and for a bare
//     Qt program that shows one empty window of the same size. Both are
//     separate processes of this same binary, run alternately, so each pays
//     for loading, static set-up and the toolkit's own start the same way;
//     the child reports on its stdout the moment its window is exposed.
// (b) "Begin": in this process, the time from a real click on "Begin" to the
//     selection window being exposed, beside a bare click wait (the click
//     sound played and waited for, nothing else).
//
// Everything runs with the real system services, except that the program
// finds its bundle where the build put it. With --audio-server, (b) plays
// its sounds to a private audio server's null sink (PulseAudio or PipeWire),
// a real device.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "flow/wExSel.h"
#include "flow/wWelcome.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "shell/App.h"
#include "shell/BundleMedia.h"
#include "support/AudioServer.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// The real services, but the bundle is the one the build made.
class BundleServices : public tk::Services {
public:
    tk::String ExecutablePath() override {
        return std::string(TICKMOOR_BUNDLE_DIR) + "/Contents/MacOS/Tickmoor";
    }
};

bool Exposed(QWidget* w) { return w && w->windowHandle() && w->windowHandle()->isExposed(); }

// Reports on stdout once the widget that target() names is exposed, then
// ends the process at once: what comes after is not measured.
void ReportWhenExposed(std::function<QWidget*()> target) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, qApp, [target] {
        if (!Exposed(target())) return;
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        std::_Exit(0);
    });
    poll->start();
}

int BareChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.resize(637, 185);
    w.show();
    ReportWhenExposed([&w] { return &w; });
    return app.exec();
}

int ProgramChild(int argc, char** argv) {
    BundleServices services;
    tk::SetServices(&services);
    return tk::RunProgram(argc, argv, [] {
        shell::_Startup();
        ReportWhenExposed([] { return wWelcome::IfOpen() ? wWelcome::IfOpen()->Widget() : nullptr; });
    });
}

// Spawns this binary in a child mode; milliseconds until it reported, or a
// negative number if it did not within 20 s.
double TimeChild(const char* mode) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    // The platform's chatter would only clutter the report.
    posix_spawn_file_actions_addopen(&fa, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char self[] = "/proc/self/exe";
    std::string modeArg = mode;
    char* args[] = {self, modeArg.data(), nullptr};
    pid_t pid = 0;
    const Clock::time_point t0 = Clock::now();
    const int rc = posix_spawn(&pid, self, &fa, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return -1;
    }
    double result = -1;
    std::string got;
    pollfd p{out[0], POLLIN, 0};
    while (got.find('\n') == std::string::npos && ::poll(&p, 1, 20000) > 0) {
        char buf[64];
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    if (got.rfind("ready", 0) == 0) result = Ms(Clock::now() - t0);
    close(out[0]);
    if (result < 0) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return result;
}

bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (Clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct BeginResult {
    double soundMs = 0;
    std::vector<double> bareWait, begin;
    bool ok = true;
};

// Inside the program's own event loop: N presses of "Begin", each from a
// freshly built welcome window, and N bare click waits in between.
void MeasureBegin(int n, BeginResult& r) {
    r.soundMs = myBeep().Seconds() * 1000.0;
    auto welcomeUp = [] { return Exposed(wWelcome::IfOpen() ? wWelcome::IfOpen()->Widget() : nullptr); };
    auto selectionUp = [] { return Exposed(wExSel::IfOpen() ? wExSel::IfOpen()->Widget() : nullptr); };
    for (int i = 0; i < n && r.ok; ++i) {
        if (!WaitFor(welcomeUp)) {
            r.ok = false;
            break;
        }
        QWidget* begin = wWelcome::IfOpen()->BevelButton1->Widget();
        const Clock::time_point t0 = Clock::now();
        QTest::mouseClick(begin, Qt::LeftButton);
        if (!WaitFor(selectionUp)) {
            r.ok = false;
            break;
        }
        r.begin.push_back(Ms(Clock::now() - t0));

        const Clock::time_point t1 = Clock::now();
        shell::ClickWait();
        r.bareWait.push_back(Ms(Clock::now() - t1));

        wExSel::IfOpen()->Close();
        wWelcome::Instance();
    }
    tk::Quit();
}

int Driver(bool ownAudioServer) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const int warmup = 2, runs = 20;

    // (a) alternately, after a warm-up of each
    for (int i = 0; i < warmup; ++i) {
        TimeChild("--child-bare");
        TimeChild("--child-program");
    }
    std::vector<double> bare, program;
    for (int i = 0; i < runs; ++i) {
        const double b = TimeChild("--child-bare");
        const double p = TimeChild("--child-program");
        if (b < 0 || p < 0) {
            std::fprintf(stderr, "a child did not show its window\n");
            return 1;
        }
        bare.push_back(b);
        program.push_back(p);
    }
    const double ratioA = Median(program) / Median(bare);
    std::printf("Start-up to the first window exposed (%d runs each, alternating; platform %s)\n", runs,
                platform ? platform : "default");
    std::printf("  bare Qt program, one empty window   median %7.1f ms   min %7.1f ms\n", Median(bare),
                Min(bare));
    std::printf("  Tickmoor, welcome window            median %7.1f ms   min %7.1f ms\n", Median(program),
                Min(program));
    std::printf("  ratio Tickmoor / bare               %.2fx   (target <= 1.30x)\n\n", ratioA);

    // (b) in this process, on the program's own start-up and event loop
    std::unique_ptr<testing_support::AudioServer> audio;
    if (ownAudioServer && !(audio = testing_support::UsePrivateAudioServer())) return 1;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    BundleServices services;
    tk::SetServices(&services);
    BeginResult r;
    int argc = 1;
    char name[] = "bench_startup";
    char* argv[] = {name, nullptr};
    tk::RunProgram(argc, argv, [&r] {
        shell::_Startup();
        QTimer::singleShot(0, qApp, [&r] { MeasureBegin(runs, r); });
    });
    tk::SetServices(nullptr);
    if (!r.ok || r.begin.empty()) {
        std::fprintf(stderr, "the selection window did not come up after \"Begin\"\n");
        return 1;
    }
    const std::vector<double> warm(r.begin.begin() + 1, r.begin.end());
    const double target = r.soundMs + 50.0;
    const std::string device = audio ? "a " + audio->Name() + " null sink" : "this machine's default device, if any";
    std::printf("\"Begin\" to the selection window exposed (%d presses; sound to %s)\n", runs, device.c_str());
    std::printf("  click sound length                   %7.1f ms\n", r.soundMs);
    std::printf("  bare click wait                      median %7.1f ms\n", Median(r.bareWait));
    std::printf("  \"Begin\" to selection shown          median %7.1f ms   first press %7.1f ms\n",
                Median(warm.empty() ? r.begin : warm), r.begin.front());
    std::printf("  ratio \"Begin\" / bare click wait      %.2fx\n",
                Median(warm.empty() ? r.begin : warm) / Median(r.bareWait));
    std::printf("  ratio \"Begin\" / (sound + 50 ms)      %.2fx   first press %.2fx   (target <= 1.00x)\n",
                Median(warm.empty() ? r.begin : warm) / target, r.begin.front() / target);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child-bare") == 0) return BareChild(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--child-program") == 0) return ProgramChild(argc, argv);
    return Driver(argc > 1 && std::strcmp(argv[1], "--audio-server") == 0);
}

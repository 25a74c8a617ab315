// How long Play takes while the audio server does not answer (stopped, as a
// hung server is), against Play on the same server while it answers. Both
// on a private server with a null sink, in one run.
//
//   bench_sound_stall [plays]   (default 200 of each)
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/Application.h"
#include "platform/AudioOutput.h"
#include "platform/Sound.h"
#include "support/AudioServer.h"
#include "support/SoundFiles.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double median = 0, max = 0;
};

// Times each Play of the click; the event loop turns between plays, as the
// program's own waits let it.
Figures TimePlays(const tk::Sound& click, int plays) {
    std::vector<double> us;
    for (int i = 0; i < plays; ++i) {
        const auto t = Clock::now();
        click.Play();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
        testing_support::YieldFor(5);
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us.back()};
}

}  // namespace

int main(int argc, char** argv) {
    const int plays = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const auto server = testing_support::UsePrivateAudioServer();
    if (!server) return 1;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const tk::Sound click = tk::Sound::FromWav(testing_support::LoadBundleWav("myBeep.wav"));
    if (click.IsNil()) {
        std::fprintf(stderr, "no click sound in the bundle\n");
        return 1;
    }
    click.Play();  // connected first, as a program that has played before
    testing_support::YieldFor(500);

    const Figures answering = TimePlays(click, plays);
    server->Stall();
    const Figures hung = TimePlays(click, plays);
    server->Resume();
    testing_support::YieldFor(1500);

    std::printf("Play of the click on a %s null sink, %d plays each\n", server->Name().c_str(), plays);
    std::printf("  server answering   median %8.1f us   max %8.1f us\n", answering.median, answering.max);
    std::printf("  server hung        median %8.1f us   max %8.1f us   (target max < 1000 us)\n", hung.median,
                hung.max);
    std::printf("  ratio hung / answering   median %.2fx   max %.2fx\n", hung.median / answering.median,
                hung.max / answering.max);
    return tk::StopAudioOutput(1000) ? 0 : 1;
}

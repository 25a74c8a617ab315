#include "support/SoundFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "platform/Application.h"

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;

bool YieldUntil(int ms, const auto& done) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() >= deadline) return false;
        tk::Yield();
    }
    return true;
}

}  // namespace

tk::WavData LoadBundleWav(const std::string& name) {
    std::ifstream in(std::string(TICKMOOR_BUNDLE_DIR) + "/Contents/Resources/" + name, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    auto wav = tk::ParseWav(bytes);
    return wav ? *wav : tk::WavData{};
}

void YieldFor(int ms) {
    YieldUntil(ms, [] { return false; });
}

bool WaitWhilePlaying(const std::vector<tk::Sound>& sounds, int limitMs) {
    return YieldUntil(limitMs, [&] {
        return std::none_of(sounds.begin(), sounds.end(), [](const tk::Sound& s) { return s.IsPlaying(); });
    });
}

}  // namespace testing_support

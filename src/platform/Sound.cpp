#include "platform/Sound.h"

#include <chrono>
#include <optional>

#include "platform/Services.h"
#include "platform/Wav.h"

namespace tk {

struct Sound::Data {
    WavData wav;
    std::optional<std::chrono::steady_clock::time_point> lastPlay;
};

Sound Sound::FromWav(WavData wav) {
    Sound s;
    s.d_ = std::make_shared<Data>();
    s.d_->wav = std::move(wav);
    return s;
}

void Sound::Play() const {
    if (!d_) return;
    d_->lastPlay = std::chrono::steady_clock::now();
    services().PlaySound(*this);
}

bool Sound::IsPlaying() const {
    if (!d_ || !d_->lastPlay) return false;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - *d_->lastPlay;
    return elapsed.count() < d_->wav.Seconds();
}

double Sound::Seconds() const { return d_ ? d_->wav.Seconds() : 0.0; }
const WavData* Sound::Wav() const { return d_ ? &d_->wav : nullptr; }

}  // namespace tk

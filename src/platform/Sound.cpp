#include "platform/Sound.h"

#include <chrono>
#include <optional>

#include "platform/Services.h"
#include "platform/Wav.h"

namespace tk {

struct Sound::Data {
    WavData wav;
    std::optional<std::chrono::steady_clock::time_point> lastPlay;
    std::shared_ptr<const DevicePlay> onDevice;  // the last Play's, if it reached a device
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
    d_->onDevice = services().PlaySound(*this);
}

bool Sound::IsPlaying() const {
    if (!d_ || !d_->lastPlay) return false;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - *d_->lastPlay;
    const double length = d_->wav.Seconds();
    if (elapsed.count() < length) return true;
    return d_->onDevice && !d_->onDevice->finished && elapsed.count() < length + kDeviceMarginSeconds;
}

double Sound::Seconds() const { return d_ ? d_->wav.Seconds() : 0.0; }
const WavData* Sound::Wav() const { return d_ ? &d_->wav : nullptr; }

}  // namespace tk

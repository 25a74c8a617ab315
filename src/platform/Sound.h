// A sound decoded from a WAV file, shared by reference. A default-made Sound
// is nil; playing a nil sound does nothing and it is never playing.
#pragma once

#include <atomic>
#include <memory>

#include "platform/Types.h"

namespace tk {

struct WavData;

// One play of a sound on the audio device. The output, on its own thread,
// marks it finished once the device has played the last sample, or once it
// has given up on the device or the play.
struct DevicePlay {
    std::atomic<bool> finished = false;
};

class Sound {
public:
    struct Data;

    Sound() = default;
    static Sound FromWav(WavData wav);

    explicit operator bool() const { return d_ != nullptr; }
    bool IsNil() const { return d_ == nullptr; }

    // How long past its own length a sound on a device may keep IsPlaying
    // True while the device has not played it all: a stalled device never
    // holds a wait for longer.
    static constexpr double kDeviceMarginSeconds = 0.25;

    // Starts the sound and returns at once.
    void Play() const;
    // True for the sound's own length after the last Play, on a monotonic
    // clock; where the last Play went to an audio device, also until the
    // device has played it all, within the margin above.
    bool IsPlaying() const;
    double Seconds() const;
    const WavData* Wav() const;

    friend bool operator==(const Sound& a, const Sound& b) { return a.d_ == b.d_; }

private:
    std::shared_ptr<Data> d_;
};

}  // namespace tk

// A sound decoded from a WAV file, shared by reference. A default-made Sound
// is nil; playing a nil sound does nothing and it is never playing.
#pragma once

#include <memory>

#include "platform/Types.h"

namespace tk {

struct WavData;

class Sound {
public:
    struct Data;

    Sound() = default;
    static Sound FromWav(WavData wav);

    explicit operator bool() const { return d_ != nullptr; }
    bool IsNil() const { return d_ == nullptr; }

    // Starts the sound and returns at once.
    void Play() const;
    // True for the sound's own length after the last Play, on a monotonic
    // clock, whether or not an audio device exists.
    bool IsPlaying() const;
    double Seconds() const;
    const WavData* Wav() const;

    friend bool operator==(const Sound& a, const Sound& b) { return a.d_ == b.d_; }

private:
    std::shared_ptr<Data> d_;
};

}  // namespace tk

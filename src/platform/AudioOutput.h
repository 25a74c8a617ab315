// The real sound output: each play of a sound is its own stream on the
// default audio device, kept until the device has played its last sample.
#pragma once

#include <memory>

namespace tk {

class Sound;
struct DevicePlay;

// Starts sound on the default audio device; nothing where there is none or
// it cannot take the sound's format.
std::shared_ptr<const DevicePlay> PlayOnAudioDevice(const Sound& sound);

// How many plays still hold a stream on the device.
int AudioPlaysInFlight();

}  // namespace tk

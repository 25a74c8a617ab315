// The real sound output: each play of a sound is its own stream on the
// default audio device, kept until the device has played its last sample.
// Everything that talks to the audio system runs on a thread of its own, as
// Qt's PulseAudio sink waits for the server with no time limit: a hung
// server costs sounds, never a window.
#pragma once

#include <memory>

namespace tk {

class Sound;
struct DevicePlay;

// Hands the sound to the audio thread and returns at once. The play is
// marked finished at once where there is no device, it cannot take the
// sound's format, or too many plays are already waiting for a held-up
// audio system.
std::shared_ptr<const DevicePlay> PlayOnAudioDevice(const Sound& sound);

// How many plays still hold a stream on the device.
int AudioPlaysInFlight();

// How long the end of a process waits for the audio thread to let go of its
// streams.
inline constexpr int kAudioStopLimitMs = 1000;

// Ends the audio thread, waiting at most limitMs. False when the thread is
// held inside the audio system: it is then left running and must not be
// waited for, so the caller ends the process without the usual teardown.
bool StopAudioOutput(int limitMs);

}  // namespace tk

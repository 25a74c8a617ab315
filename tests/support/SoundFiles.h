// The bundle's sounds, and waiting on them the way the program waits.
#pragma once

#include <string>
#include <vector>

#include "platform/Sound.h"
#include "platform/Wav.h"

namespace testing_support {

// A sound file of the built bundle (TICKMOOR_BUNDLE_DIR); empty data when it
// is missing or not a WAV file the program reads.
tk::WavData LoadBundleWav(const std::string& name);

// Lets the event loop run for ms, as the program's own waits do.
void YieldFor(int ms);

// Lets the event loop run while any of the sounds plays, for at most
// limitMs; whether they all stopped within it.
bool WaitWhilePlaying(const std::vector<tk::Sound>& sounds, int limitMs);

}  // namespace testing_support

// Comparing a sound file with a recording of what a device played.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Wav.h"

namespace testing_support {

// The sound's samples as mono 16-bit (channels averaged, 8-bit centred).
std::vector<std::int16_t> MonoSamples(const tk::WavData& wav);

// Where the file's samples best match in the recording (by the cross-
// correlation of their 1 ms envelopes, then to the sample on the waveform);
// -1 when the recording is silent.
long AlignInRecording(const std::vector<std::int16_t>& file, const std::vector<std::int16_t>& rec);

// Whether the recording holds the file whole from offset on. The file's level
// is scaled by the recording's level at the file's loudest 20 ms window
// (under a quarter of it there is too quiet), and then:
//  - every 20 ms window where the file is above 10% of its peak must carry
//    at least half the scaled level;
//  - from the file's first to its last 20 ms window above 1% of its peak,
//    taken in steps of about 1 ms (so a cut is caught wherever it falls),
//    every window must carry at least a quarter of the scaled level: the
//    quiet head and tail of a sound count too.
// Empty when whole; otherwise what is missing, and where, in ms.
std::string MissingFromRecording(const std::vector<std::int16_t>& file,
                                 const std::vector<std::int16_t>& rec, long offset);

}  // namespace testing_support

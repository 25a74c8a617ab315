// Reading a RIFF WAVE file held in memory. No Qt: also used by the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tk {

struct WavData {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t byteRate = 0;
    int blockAlign = 0;
    std::vector<std::uint8_t> samples;  // the "data" chunk, little-endian PCM

    double Seconds() const {
        return byteRate ? static_cast<double>(samples.size()) / byteRate : 0.0;
    }
};

// PCM (format 1) with 1 or 2 channels of 8 or 16 bits; anything else, or a
// file whose chunks do not fit the bytes present, gives nothing.
std::optional<WavData> ParseWav(std::span<const std::uint8_t> bytes);

}  // namespace tk

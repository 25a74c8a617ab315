// The WAV reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Wav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto wav = tk::ParseWav(std::span<const std::uint8_t>(data, size))) {
        // What a parsed sound promises: whole frames within the input.
        if (wav->samples.size() > size || wav->samples.size() % wav->blockAlign != 0) __builtin_trap();
        (void)wav->Seconds();
    }
    return 0;
}

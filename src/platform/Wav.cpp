#include "platform/Wav.h"

#include <cstring>

namespace tk {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

std::optional<WavData> ParseWav(std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    const std::uint8_t* b = bytes.data();
    if (n < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
        return std::nullopt;
    WavData out;
    bool haveFmt = false, haveData = false;
    std::size_t pos = 12;
    while (pos + 8 <= n && !(haveFmt && haveData)) {
        const std::uint8_t* id = b + pos;
        const std::uint32_t size = Le32(b + pos + 4);
        pos += 8;
        if (size > n - pos) return std::nullopt;  // chunk runs past the end
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (size < 16) return std::nullopt;
            const std::uint8_t* f = b + pos;
            if (Le16(f) != 1) return std::nullopt;  // PCM only
            out.channels = Le16(f + 2);
            out.sampleRate = static_cast<int>(Le32(f + 4));
            out.byteRate = Le32(f + 8);
            out.blockAlign = Le16(f + 12);
            out.bitsPerSample = Le16(f + 14);
            haveFmt = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            out.samples.assign(b + pos, b + pos + size);
            haveData = true;
        }
        pos += size;
        if (size & 1) ++pos;  // pad byte
    }
    if (!haveFmt || !haveData) return std::nullopt;
    if (out.channels < 1 || out.channels > 2) return std::nullopt;
    if (out.bitsPerSample != 8 && out.bitsPerSample != 16) return std::nullopt;
    if (out.sampleRate < 1000 || out.sampleRate > 192000) return std::nullopt;
    const int align = out.channels * out.bitsPerSample / 8;
    if (out.blockAlign != align || out.byteRate != static_cast<std::uint32_t>(align) * out.sampleRate)
        return std::nullopt;
    out.samples.resize(out.samples.size() - out.samples.size() % align);
    return out;
}

}  // namespace tk

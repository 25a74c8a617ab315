#include "platform/ResourceFile.h"

#include <algorithm>

namespace tk {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kMapFixedSize = 28;  // header copy .. name list offset
constexpr std::size_t kTypeItemSize = 8;
constexpr std::size_t kRefItemSize = 12;

std::uint32_t Be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}
std::uint32_t Be24(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
}
std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

// True when [offset, offset + length) lies inside [0, size). No overflow:
// the operands are at most 32 bits wide.
bool Fits(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

bool ByTypeThenId(const ResourceEntry& a, const ResourceEntry& b) {
    return a.type != b.type ? a.type < b.type : a.id < b.id;
}

}  // namespace

std::optional<ResourceFile> ResourceFile::Parse(std::vector<std::uint8_t> bytes) {
    const std::uint8_t* b = bytes.data();
    const std::size_t n = bytes.size();
    if (n < kHeaderSize) return std::nullopt;

    const std::uint32_t dataOffset = Be32(b);
    const std::uint32_t mapOffset = Be32(b + 4);
    const std::uint32_t dataLength = Be32(b + 8);
    const std::uint32_t mapLength = Be32(b + 12);
    if (!Fits(dataOffset, dataLength, n) || !Fits(mapOffset, mapLength, n)) return std::nullopt;
    if (mapLength < kMapFixedSize + 2) return std::nullopt;

    // Everything below is read through the map's own bounds.
    const std::uint8_t* map = b + mapOffset;
    const std::uint16_t typeListOffset = Be16(map + 24);
    if (!Fits(typeListOffset, 2, mapLength)) return std::nullopt;
    const std::uint8_t* typeList = map + typeListOffset;
    const std::size_t typeListRoom = mapLength - typeListOffset;

    // The count is stored minus one; 0xFFFF is an empty map.
    const std::uint16_t typeCountField = Be16(typeList);
    const std::size_t typeCount = typeCountField == 0xFFFF ? 0 : std::size_t{typeCountField} + 1;
    if (!Fits(2, typeCount * kTypeItemSize, typeListRoom)) return std::nullopt;

    // Reference lists of different types could share bytes in a forged map;
    // a real one gives each reference its own 12 bytes, which bounds the
    // total work by the map's size.
    const std::size_t maxRefs = mapLength / kRefItemSize;

    ResourceFile file;
    std::size_t refsSeen = 0;
    for (std::size_t t = 0; t < typeCount; ++t) {
        const std::uint8_t* item = typeList + 2 + t * kTypeItemSize;
        const std::uint32_t type = Be32(item);
        const std::size_t refCount = std::size_t{Be16(item + 4)} + 1;
        const std::uint16_t refListOffset = Be16(item + 6);
        if (!Fits(refListOffset, refCount * kRefItemSize, typeListRoom)) return std::nullopt;
        if (refCount > maxRefs - refsSeen) return std::nullopt;
        refsSeen += refCount;
        const std::uint8_t* refs = typeList + refListOffset;
        for (std::size_t i = 0; i < refCount; ++i) {
            const std::uint8_t* ref = refs + i * kRefItemSize;
            const auto id = static_cast<std::int16_t>(Be16(ref));
            const std::uint32_t at = Be24(ref + 5);  // from the start of the data
            if (!Fits(at, 4, dataLength)) continue;
            const std::uint32_t length = Be32(b + dataOffset + at);
            if (!Fits(std::uint64_t{at} + 4, length, dataLength)) continue;
            file.entries_.push_back({type, id, std::size_t{dataOffset} + at + 4, length});
        }
    }

    std::stable_sort(file.entries_.begin(), file.entries_.end(), ByTypeThenId);
    file.entries_.erase(std::unique(file.entries_.begin(), file.entries_.end(),
                                    [](const ResourceEntry& a, const ResourceEntry& c) {
                                        return a.type == c.type && a.id == c.id;
                                    }),
                        file.entries_.end());
    file.bytes_ = std::move(bytes);
    return file;
}

std::optional<std::span<const std::uint8_t>> ResourceFile::Find(std::uint32_t type,
                                                                 std::int16_t id) const {
    const auto it =
        std::lower_bound(entries_.begin(), entries_.end(), ResourceEntry{type, id, 0, 0}, ByTypeThenId);
    if (it == entries_.end() || it->type != type || it->id != id) return std::nullopt;
    return std::span<const std::uint8_t>(bytes_).subspan(it->offset, it->length);
}

}  // namespace tk

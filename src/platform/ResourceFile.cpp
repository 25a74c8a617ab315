#include "platform/ResourceFile.h"

#include <algorithm>

namespace tk {
namespace {

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

std::optional<ResourceHeader> ParseResourceHeader(std::span<const std::uint8_t> header,
                                                  std::uint64_t fileSize) {
    if (header.size() < kResourceHeaderSize || fileSize < kResourceHeaderSize) return std::nullopt;
    const std::uint8_t* b = header.data();
    ResourceHeader h{Be32(b), Be32(b + 4), Be32(b + 8), Be32(b + 12)};
    if (!Fits(h.dataOffset, h.dataLength, fileSize) || !Fits(h.mapOffset, h.mapLength, fileSize))
        return std::nullopt;
    if (h.mapLength < kMapFixedSize + 2) return std::nullopt;
    return h;
}

std::optional<std::vector<ResourceRef>> ParseResourceMap(std::span<const std::uint8_t> mapBytes) {
    const std::uint8_t* map = mapBytes.data();
    const std::size_t mapLength = mapBytes.size();
    if (mapLength < kMapFixedSize + 2) return std::nullopt;

    // Everything below is read through the map's own bounds.
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

    std::vector<ResourceRef> refs;
    for (std::size_t t = 0; t < typeCount; ++t) {
        const std::uint8_t* item = typeList + 2 + t * kTypeItemSize;
        const std::uint32_t type = Be32(item);
        const std::size_t refCount = std::size_t{Be16(item + 4)} + 1;
        const std::uint16_t refListOffset = Be16(item + 6);
        if (!Fits(refListOffset, refCount * kRefItemSize, typeListRoom)) return std::nullopt;
        if (refCount > maxRefs - refs.size()) return std::nullopt;
        const std::uint8_t* list = typeList + refListOffset;
        for (std::size_t i = 0; i < refCount; ++i) {
            const std::uint8_t* ref = list + i * kRefItemSize;
            refs.push_back({type, static_cast<std::int16_t>(Be16(ref)), Be24(ref + 5)});
        }
    }
    return refs;
}

bool ResourceLengthWordFits(std::uint32_t at, std::uint32_t dataLength) { return Fits(at, 4, dataLength); }

bool ResourceDataFits(std::uint32_t at, std::uint32_t length, std::uint32_t dataLength) {
    return Fits(std::uint64_t{at} + 4, length, dataLength);
}

std::optional<ResourceFile> ResourceFile::Parse(std::vector<std::uint8_t> bytes) {
    const auto header = ParseResourceHeader(bytes, bytes.size());
    if (!header) return std::nullopt;
    const auto refs =
        ParseResourceMap(std::span<const std::uint8_t>(bytes).subspan(header->mapOffset, header->mapLength));
    if (!refs) return std::nullopt;

    ResourceFile file;
    const std::uint8_t* data = bytes.data() + header->dataOffset;
    for (const ResourceRef& ref : *refs) {
        if (!ResourceLengthWordFits(ref.at, header->dataLength)) continue;
        const std::uint32_t length = Be32(data + ref.at);
        if (!ResourceDataFits(ref.at, length, header->dataLength)) continue;
        file.entries_.push_back({ref.type, ref.id, std::size_t{header->dataOffset} + ref.at + 4, length});
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

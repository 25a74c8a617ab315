// The streamed resource reader, which the program opens its card files
// with, against the in-memory one on the same bytes. For every id both give
// the same bytes or neither gives any, and the streamed reader never asks for
// a byte outside the file, nor, once open, for one outside the data area.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "platform/ResourceFile.h"
#include "platform/ResourceFork.h"

namespace {

std::uint64_t Be32(const std::uint8_t* p) {
    return (std::uint64_t{p[0]} << 24) | (std::uint64_t{p[1]} << 16) | (std::uint64_t{p[2]} << 8) | p[3];
}

// The fuzzer's bytes as the streamed reader's source. A read it asks for
// out of bounds traps here rather than failing quietly.
class CheckedSource final : public tk::ResourceSource {
public:
    explicit CheckedSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t Size() const override { return bytes_.size(); }

    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) __builtin_trap();
        if (open_) {
            // The header lies in the file: the reader opened it.
            const std::uint64_t start = Be32(bytes_.data()), length = Be32(bytes_.data() + 8);
            if (offset < start || offset - start > length || out.size() > length - (offset - start))
                __builtin_trap();
        }
        if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
        return true;
    }

    // From here on the reader may read only resources: their length words
    // and their bytes.
    void Opened() { open_ = true; }

private:
    std::span<const std::uint8_t> bytes_;
    bool open_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto inMemory = tk::ResourceFork::FromBytes(std::vector<std::uint8_t>(data, data + size));
    auto source = std::make_unique<CheckedSource>(bytes);
    CheckedSource* const reads = source.get();
    const auto streamed = tk::ResourceFork::OpenSource(std::move(source));
    if (!inMemory != !streamed) __builtin_trap();
    if (!streamed) return 0;
    reads->Opened();

    const std::vector<tk::Int32> ids = inMemory->PictureIds();
    if (streamed->PictureIds() != ids) __builtin_trap();

    // Every id the map names, fitting or not, the one after each, and a few
    // that a small map rarely names or that no 16-bit id can be.
    std::vector<tk::Int32> asked = {-40000, std::numeric_limits<std::int16_t>::min(), -1, 0, 128,
                                    std::numeric_limits<std::int16_t>::max(), 40000};
    const auto header = tk::ParseResourceHeader(bytes, size);
    if (!header) __builtin_trap();  // the streamed reader opened it
    const auto refs = tk::ParseResourceMap(bytes.subspan(header->mapOffset, header->mapLength));
    if (!refs) __builtin_trap();
    for (const tk::ResourceRef& ref : *refs) {
        if (ref.type != tk::kPictType) continue;
        asked.push_back(ref.id);
        asked.push_back(ref.id + 1);
    }
    std::sort(asked.begin(), asked.end());
    asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
    for (const tk::Int32 id : asked)
        if (inMemory->PictureData(id) != streamed->PictureData(id)) __builtin_trap();

    // Closing lets the source go; nothing is read after it.
    streamed->Close();
    if (!streamed->PictureIds().empty()) __builtin_trap();
    for (const tk::Int32 id : ids)
        if (streamed->PictureData(id)) __builtin_trap();
    return 0;
}

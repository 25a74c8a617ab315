// Resource-file parsing, and decoding of every 'PICT' found in the file,
// on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Pict.h"
#include "platform/ResourceFile.h"
#include "platform/ResourceFork.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);

    if (const auto file = tk::ResourceFile::Parse(bytes)) {
        for (const auto& entry : file->Entries()) {
            if (entry.type != tk::kPictType) continue;
            const auto pict = file->Find(entry.type, entry.id);
            if (!pict) __builtin_trap();  // every listed entry must be found
            if (const auto image = tk::DecodePict(*pict)) {
                const auto pixels = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
                if (image->width <= 0 || image->height <= 0 || image->argb.size() != pixels) __builtin_trap();
            }
        }
    }

    // The same through the toolkit's own object, as the program opens it.
    if (auto fork = tk::ResourceFork::FromBytes(std::move(bytes))) {
        for (tk::Int32 id : fork->PictureIds()) (void)fork->GetPicture(id);
        fork->Close();
        if (!fork->GetPicture(128).IsNil()) __builtin_trap();
    }
    return 0;
}

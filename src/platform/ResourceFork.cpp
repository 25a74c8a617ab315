#include "platform/ResourceFork.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>
#include <optional>
#include <span>

#include "platform/Pict.h"
#include "platform/ResourceFile.h"

namespace tk {
namespace {

// The two card files are a few megabytes; anything this large is not one.
constexpr std::uint64_t kMaxResourceFile = 64u << 20;

// A regular file read at given offsets; closed when let go.
class FileSource final : public ResourceSource {
public:
    // Nil unless the path names a regular file. Opened non-blocking, so
    // that a FIFO cannot hold the open up; it is then refused as not a
    // regular file.
    static std::unique_ptr<FileSource> Open(const String& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return nullptr;
        std::unique_ptr<FileSource> source(new FileSource(fd));
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return nullptr;
        source->size_ = static_cast<std::uint64_t>(st.st_size);
        return source;
    }
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t Size() const override { return size_; }

    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        std::size_t done = 0;
        while (done < out.size()) {
            const std::uint64_t at = offset + done;
            if (at > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
            const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    explicit FileSource(int fd) : fd_(fd) {}
    int fd_;
    std::uint64_t size_ = 0;
};

std::uint32_t Be32(const std::array<std::uint8_t, 4>& p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

bool RefBefore(const ResourceRef& a, const ResourceRef& b) {
    return a.type != b.type ? a.type < b.type : a.id < b.id;
}

Picture Decode(std::span<const std::uint8_t> data) {
    auto image = DecodePict(data);
    if (!image) return Picture();
    return Picture::FromPixels(image->width, image->height, std::move(image->argb));
}

}  // namespace

struct ResourceFork::Impl {
    // From bytes in memory: parsed in full up front. Empty once closed.
    std::optional<ResourceFile> bytes;

    // Streamed: only the header and the map are read when it opens; a
    // resource's bytes are read when it is asked for, each offset and
    // length checked against the data area first. Null once closed.
    std::unique_ptr<ResourceSource> source;
    ResourceHeader header;
    std::vector<ResourceRef> refs;  // by type, then id; map order within an id

    struct Place {
        std::uint64_t offset;  // in the source, past the length word
        std::uint32_t length;
    };

    // As the in-memory parse has it: the first reference of that type and id
    // whose data fits the data area counts.
    std::optional<Place> Locate(std::uint32_t type, std::int16_t id) const {
        const auto [first, last] =
            std::equal_range(refs.begin(), refs.end(), ResourceRef{type, id, 0}, RefBefore);
        for (auto it = first; it != last; ++it) {
            if (!ResourceLengthWordFits(it->at, header.dataLength)) continue;
            std::array<std::uint8_t, 4> word{};
            if (!source->ReadAt(std::uint64_t{header.dataOffset} + it->at, word)) return std::nullopt;
            const std::uint32_t length = Be32(word);
            if (!ResourceDataFits(it->at, length, header.dataLength)) continue;
            return Place{std::uint64_t{header.dataOffset} + it->at + 4, length};
        }
        return std::nullopt;
    }
};

ResourceFork::ResourceFork(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ResourceFork::~ResourceFork() = default;

std::unique_ptr<ResourceFork> ResourceFork::FromBytes(std::vector<std::uint8_t> bytes) {
    auto file = ResourceFile::Parse(std::move(bytes));
    if (!file) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(file);
    return std::unique_ptr<ResourceFork>(new ResourceFork(std::move(impl)));
}

std::unique_ptr<ResourceFork> ResourceFork::OpenFile(const String& path) {
    auto source = FileSource::Open(path);
    if (!source) return nullptr;
    return OpenSource(std::move(source));
}

std::unique_ptr<ResourceFork> ResourceFork::OpenSource(std::unique_ptr<ResourceSource> source) {
    if (!source) return nullptr;
    const std::uint64_t size = source->Size();
    if (size > kMaxResourceFile || size < kResourceHeaderSize) return nullptr;

    std::array<std::uint8_t, kResourceHeaderSize> head{};
    if (!source->ReadAt(0, head)) return nullptr;
    const auto header = ParseResourceHeader(head, size);
    if (!header) return nullptr;
    // Bounded by the size, which the header was checked against.
    std::vector<std::uint8_t> map(header->mapLength);
    if (!source->ReadAt(header->mapOffset, map)) return nullptr;
    auto refs = ParseResourceMap(map);
    if (!refs) return nullptr;
    std::stable_sort(refs->begin(), refs->end(), RefBefore);

    auto impl = std::make_unique<Impl>();
    impl->source = std::move(source);
    impl->header = *header;
    impl->refs = std::move(*refs);
    return std::unique_ptr<ResourceFork>(new ResourceFork(std::move(impl)));
}

Picture ResourceFork::GetPicture(Int32 id) const {
    const auto data = PictureData(id);
    return data ? Decode(*data) : Picture();
}

std::optional<std::vector<std::uint8_t>> ResourceFork::PictureData(Int32 id) const {
    if (id < std::numeric_limits<std::int16_t>::min() || id > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    const auto id16 = static_cast<std::int16_t>(id);
    if (impl_->bytes) {
        const auto data = impl_->bytes->Find(kPictType, id16);
        if (!data) return std::nullopt;
        return std::vector<std::uint8_t>(data->begin(), data->end());
    }
    if (!impl_->source) return std::nullopt;
    const auto place = impl_->Locate(kPictType, id16);
    if (!place) return std::nullopt;
    // Never larger than the data area, which lies inside the source.
    std::vector<std::uint8_t> data(place->length);
    if (!impl_->source->ReadAt(place->offset, data)) return std::nullopt;
    return data;
}

std::vector<Int32> ResourceFork::PictureIds() const {
    std::vector<Int32> ids;
    if (impl_->bytes) {
        for (const auto& e : impl_->bytes->Entries())
            if (e.type == kPictType) ids.push_back(e.id);
    } else if (impl_->source) {
        // Each id once: Locate already tries all of its references.
        std::optional<std::int16_t> last;
        for (const auto& r : impl_->refs) {
            if (r.type != kPictType || r.id == last) continue;
            last = r.id;
            if (impl_->Locate(kPictType, r.id)) ids.push_back(r.id);
        }
    }
    return ids;
}

void ResourceFork::Close() {
    impl_->bytes.reset();
    impl_->source.reset();
    impl_->refs.clear();
}

}  // namespace tk

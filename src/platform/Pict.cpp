#include "platform/Pict.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tk {
namespace {

constexpr std::uint16_t kOpNop = 0x0000;
constexpr std::uint16_t kOpClip = 0x0001;
constexpr std::uint16_t kOpVersion = 0x0011;
constexpr std::uint16_t kOpDefHilite = 0x001E;
constexpr std::uint16_t kOpPackBitsRect = 0x0098;
constexpr std::uint16_t kOpDirectBitsRect = 0x009A;
constexpr std::uint16_t kOpEndPic = 0x00FF;
constexpr std::uint16_t kOpHeader = 0x0C00;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// A picture frame is allocated before any pixel data is seen. Beyond this
// many pixels the input must be large enough to describe them: PackBits
// packs at most 128 bytes into 2, so one input byte covers at most 64
// indexed pixels.
constexpr std::size_t kFreePixels = std::size_t{1} << 20;
constexpr std::size_t kPixelsPerInputByte = 64;

// Reads big-endian fields; a read past the end gives zeros and makes the
// reader fail for good, so callers check ok() before acting on a value.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : b_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t pos() const { return pos_; }

    std::span<const std::uint8_t> Bytes(std::size_t n) {
        if (!ok_ || n > b_.size() - pos_) {
            ok_ = false;
            return {};
        }
        auto s = b_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    void Skip(std::size_t n) { Bytes(n); }
    std::uint8_t U8() {
        auto s = Bytes(1);
        return s.empty() ? 0 : s[0];
    }
    std::uint16_t U16() {
        auto s = Bytes(2);
        return s.empty() ? 0 : static_cast<std::uint16_t>((s[0] << 8) | s[1]);
    }
    std::int16_t S16() { return static_cast<std::int16_t>(U16()); }

private:
    std::span<const std::uint8_t> b_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

struct Rect {
    int top = 0, left = 0, bottom = 0, right = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(const Rect& r) const {
        return r.top >= top && r.left >= left && r.bottom <= bottom && r.right <= right;
    }
};

Rect ReadRect(Reader& r) {
    Rect rc;
    rc.top = r.S16();
    rc.left = r.S16();
    rc.bottom = r.S16();
    rc.right = r.S16();
    return rc;
}

Rect Intersect(const Rect& a, const Rect& b) {
    return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right)};
}

bool SaneSize(const Rect& r) {
    return r.Width() > 0 && r.Height() > 0 && r.Width() <= kMaxPictSide && r.Height() <= kMaxPictSide;
}

struct Canvas {
    Rect frame;
    Rect clip;  // in picture coordinates, inside the frame
    std::vector<std::uint32_t>& argb;

    void Put(int x, int y, std::uint32_t pixel) {
        if (y < clip.top || y >= clip.bottom || x < clip.left || x >= clip.right) return;
        const auto at = static_cast<std::size_t>(y - frame.top) * static_cast<std::size_t>(frame.Width()) +
                        static_cast<std::size_t>(x - frame.left);
        argb[at] = pixel;
    }
};

std::uint32_t Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return 0xFF000000u | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

// The pixel map record, the colour table (indexed only), the rectangles and
// the rows of one PackBitsRect / DirectBitsRect.
bool DrawPixMap(Reader& r, bool direct, Canvas& canvas) {
    const std::uint16_t rowBytesField = r.U16();
    const Rect bounds = ReadRect(r);
    r.Skip(2);  // pmVersion
    const std::uint16_t packType = r.U16();
    r.Skip(4 + 4 + 4);  // packSize, hRes, vRes
    const std::uint16_t pixelType = r.U16();
    const std::uint16_t pixelSize = r.U16();
    const std::uint16_t cmpCount = r.U16();
    const std::uint16_t cmpSize = r.U16();
    r.Skip(4 + 4 + 4);  // planeBytes, pmTable, pmReserved
    if (!r.ok() || !(rowBytesField & 0x8000) || !SaneSize(bounds)) return false;
    const std::size_t rowBytes = rowBytesField & 0x3FFF;
    const auto width = static_cast<std::size_t>(bounds.Width());
    const bool unpacked = rowBytes < 8;

    std::array<std::uint32_t, 256> palette;
    palette.fill(Opaque(0, 0, 0));
    if (direct) {
        if (pixelType != 16 || pixelSize != 32 || cmpCount != 3 || cmpSize != 8) return false;
        if (rowBytes < 4 * width) return false;
        if (!unpacked && packType != 4) return false;
        if (unpacked && packType != 0 && packType != 1 && packType != 4) return false;
    } else {
        if (pixelType != 0 || pixelSize != 8 || cmpCount != 1 || cmpSize != 8) return false;
        if (packType != 0 || rowBytes < width) return false;
        r.Skip(4);  // seed
        const std::uint16_t flags = r.U16();
        const std::size_t count = std::size_t{r.U16()} + 1;
        if (!r.ok() || count > palette.size()) return false;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint16_t value = r.U16();
            const std::uint16_t red = r.U16(), green = r.U16(), blue = r.U16();
            // A device table lists its entries in index order.
            const std::size_t index = (flags & 0x8000) ? i : value;
            if (!r.ok() || index >= palette.size()) return false;
            palette[index] = Opaque(static_cast<std::uint8_t>(red >> 8),
                                    static_cast<std::uint8_t>(green >> 8),
                                    static_cast<std::uint8_t>(blue >> 8));
        }
    }
    const Rect src = ReadRect(r);
    const Rect dst = ReadRect(r);
    r.Skip(2);  // transfer mode: drawn as a plain copy
    if (!r.ok()) return false;
    if (src.Width() <= 0 || src.Height() <= 0 || !bounds.Contains(src)) return false;
    if (dst.Width() != src.Width() || dst.Height() != src.Height()) return false;  // no scaling

    // Direct packed rows unpack to three planes of `width` bytes.
    const std::size_t rowLength = direct && !unpacked ? 3 * width : rowBytes;
    std::vector<std::uint8_t> row(rowLength);
    const int dx = dst.left - src.left, dy = dst.top - src.top;

    for (int y = bounds.top; y < bounds.bottom; ++y) {
        if (unpacked) {
            const auto bytes = r.Bytes(rowBytes);
            if (!r.ok()) return false;
            std::copy(bytes.begin(), bytes.end(), row.begin());
        } else {
            const std::size_t packedLength = rowBytes > 250 ? r.U16() : r.U8();
            const auto packed = r.Bytes(packedLength);
            if (!r.ok() || !UnpackBits(packed, row)) return false;
        }
        if (y < src.top || y >= src.bottom) continue;
        for (int x = src.left; x < src.right; ++x) {
            const auto i = static_cast<std::size_t>(x - bounds.left);
            std::uint32_t pixel;
            if (!direct)
                pixel = palette[row[i]];
            else if (unpacked)
                pixel = Opaque(row[4 * i + 1], row[4 * i + 2], row[4 * i + 3]);
            else
                pixel = Opaque(row[i], row[width + i], row[2 * width + i]);
            canvas.Put(x + dx, y + dy, pixel);
        }
    }
    return true;
}

}  // namespace

bool UnpackBits(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    std::size_t i = 0, o = 0;
    while (i < in.size()) {
        const auto n = static_cast<std::int8_t>(in[i++]);
        if (n == -128) continue;
        if (n >= 0) {
            const std::size_t count = static_cast<std::size_t>(n) + 1;
            if (count > in.size() - i || count > out.size() - o) return false;
            std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(i), count,
                        out.begin() + static_cast<std::ptrdiff_t>(o));
            i += count;
            o += count;
        } else {
            const std::size_t count = static_cast<std::size_t>(1 - n);
            if (i >= in.size() || count > out.size() - o) return false;
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(o), count, in[i++]);
            o += count;
        }
    }
    return o == out.size();
}

std::optional<PictImage> DecodePict(std::span<const std::uint8_t> pict) {
    Reader r(pict);
    r.Skip(2);  // picture size: only the low 16 bits of the length, not trusted
    const Rect frame = ReadRect(r);
    if (!r.ok() || !SaneSize(frame)) return std::nullopt;
    const std::size_t pixels = static_cast<std::size_t>(frame.Width()) * static_cast<std::size_t>(frame.Height());
    if (pixels > kFreePixels + kPixelsPerInputByte * pict.size()) return std::nullopt;

    if (r.U16() != kOpVersion || r.U16() != 0x02FF) return std::nullopt;
    if (r.U16() != kOpHeader || r.U16() != 0xFFFE) return std::nullopt;
    r.Skip(22);  // reserved, resolutions, source rectangle, reserved
    if (!r.ok()) return std::nullopt;

    PictImage image;
    image.width = frame.Width();
    image.height = frame.Height();
    image.argb.assign(pixels, kWhite);
    Canvas canvas{frame, frame, image.argb};

    // Every opcode consumes at least its own two bytes, so this ends.
    for (;;) {
        if (r.pos() & 1) r.Skip(1);  // opcodes start at even offsets
        const std::uint16_t op = r.U16();
        if (!r.ok()) return std::nullopt;
        switch (op) {
        case kOpNop:
        case kOpDefHilite:
            break;
        case kOpClip: {
            const std::uint16_t size = r.U16();
            const Rect box = ReadRect(r);
            if (!r.ok() || size < 10) return std::nullopt;
            r.Skip(size - 10u);  // a non-rectangular region is clipped to its box
            canvas.clip = Intersect(frame, box);
            break;
        }
        case kOpPackBitsRect:
            if (!DrawPixMap(r, false, canvas)) return std::nullopt;
            break;
        case kOpDirectBitsRect:
            r.Skip(4);  // base address
            if (!DrawPixMap(r, true, canvas)) return std::nullopt;
            break;
        case kOpEndPic:
            return image;
        default:
            return std::nullopt;
        }
    }
}

}  // namespace tk

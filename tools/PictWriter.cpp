#include "PictWriter.h"

#include <QColor>

#include <algorithm>
#include <fstream>
#include <map>

namespace pictwriter {
namespace {

constexpr int kMaxSide = 4095;  // keeps 32-bit rowBytes inside its 14 bits

class Out {
public:
    void U8(unsigned v) { b_.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) {
        U8(v >> 8);
        U8(v);
    }
    void U24(std::uint32_t v) {
        U8(v >> 16);
        U16(v & 0xFFFF);
    }
    void U32(std::uint32_t v) {
        U16(v >> 16);
        U16(v & 0xFFFF);
    }
    void Rect(int top, int left, int bottom, int right) {
        U16(static_cast<std::uint16_t>(top));
        U16(static_cast<std::uint16_t>(left));
        U16(static_cast<std::uint16_t>(bottom));
        U16(static_cast<std::uint16_t>(right));
    }
    void Append(std::span<const std::uint8_t> bytes) { b_.insert(b_.end(), bytes.begin(), bytes.end()); }
    void Put16At(std::size_t at, unsigned v) {
        b_[at] = static_cast<std::uint8_t>(v >> 8);
        b_[at + 1] = static_cast<std::uint8_t>(v);
    }
    std::size_t size() const { return b_.size(); }
    std::vector<std::uint8_t> Take() { return std::move(b_); }

private:
    std::vector<std::uint8_t> b_;
};

// Everything from rowBytes through hRes/vRes is shared by both pixel maps.
void PixMapRecord(Out& o, unsigned rowBytes, int w, int h, unsigned packType, unsigned pixelType,
                  unsigned pixelSize, unsigned cmpCount) {
    o.U16(0x8000 | rowBytes);
    o.Rect(0, 0, h, w);
    o.U16(0);  // pmVersion
    o.U16(packType);
    o.U32(0);           // packSize
    o.U32(0x00480000);  // 72 dpi
    o.U32(0x00480000);
    o.U16(pixelType);
    o.U16(pixelSize);
    o.U16(cmpCount);
    o.U16(8);  // cmpSize
    o.U32(0);  // planeBytes
    o.U32(0);  // pmTable
    o.U32(0);  // pmReserved
}

void Rows(Out& o, unsigned rowBytes, const std::vector<std::vector<std::uint8_t>>& rows) {
    for (const auto& row : rows) {
        if (rowBytes < 8) {
            o.Append(row);
            continue;
        }
        const auto packed = PackBits(row);
        if (rowBytes > 250)
            o.U16(static_cast<unsigned>(packed.size()));
        else
            o.U8(static_cast<unsigned>(packed.size()));
        o.Append(packed);
    }
}

void SrcDstMode(Out& o, int w, int h) {
    o.Rect(0, 0, h, w);
    o.Rect(0, 0, h, w);
    o.U16(0);  // srcCopy
}

void Indexed(Out& o, const QImage& img, const std::map<QRgb, unsigned>& palette) {
    const int w = img.width(), h = img.height();
    const unsigned rowBytes = static_cast<unsigned>((w + 1) & ~1);
    o.U16(0x0098);
    PixMapRecord(o, rowBytes, w, h, 0, 0, 8, 1);
    o.U32(0);  // seed
    o.U16(0);  // flags
    o.U16(static_cast<unsigned>(palette.size() - 1));
    for (const auto& [rgb, index] : palette) {
        o.U16(index);
        o.U16(static_cast<unsigned>(qRed(rgb)) * 257);
        o.U16(static_cast<unsigned>(qGreen(rgb)) * 257);
        o.U16(static_cast<unsigned>(qBlue(rgb)) * 257);
    }
    SrcDstMode(o, w, h);
    std::vector<std::vector<std::uint8_t>> rows(static_cast<std::size_t>(h),
                                                std::vector<std::uint8_t>(rowBytes, 0));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) rows[y][x] = static_cast<std::uint8_t>(palette.at(line[x] | 0xFF000000u));
    }
    Rows(o, rowBytes, rows);
}

void Direct(Out& o, const QImage& img) {
    const int w = img.width(), h = img.height();
    const unsigned rowBytes = static_cast<unsigned>(4 * w);
    o.U16(0x009A);
    o.U32(0x000000FF);  // base address
    PixMapRecord(o, rowBytes, w, h, 4, 16, 32, 3);
    SrcDstMode(o, w, h);
    std::vector<std::vector<std::uint8_t>> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto& row = rows[y];
        if (rowBytes < 8) {
            // Too short to pack: one xRGB word per pixel.
            for (int x = 0; x < w; ++x)
                row.insert(row.end(), {0, static_cast<std::uint8_t>(qRed(line[x])),
                                       static_cast<std::uint8_t>(qGreen(line[x])),
                                       static_cast<std::uint8_t>(qBlue(line[x]))});
        } else {
            row.resize(3 * static_cast<std::size_t>(w));
            for (int x = 0; x < w; ++x) {
                row[x] = static_cast<std::uint8_t>(qRed(line[x]));
                row[w + x] = static_cast<std::uint8_t>(qGreen(line[x]));
                row[2 * w + x] = static_cast<std::uint8_t>(qBlue(line[x]));
            }
        }
    }
    Rows(o, rowBytes, rows);
}

}  // namespace

std::vector<std::uint8_t> PackBits(std::span<const std::uint8_t> row) {
    std::vector<std::uint8_t> out;
    const std::size_t n = row.size();
    auto runAt = [&](std::size_t i) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
        return run;
    };
    std::size_t i = 0;
    while (i < n) {
        const std::size_t run = runAt(i);
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));  // -(run - 1)
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // A literal stretch, ended by the next run worth packing.
        std::size_t j = i;
        while (j < n && j - i < 128 && runAt(j) < 3) ++j;
        out.push_back(static_cast<std::uint8_t>(j - i - 1));
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                   row.begin() + static_cast<std::ptrdiff_t>(j));
        i = j;
    }
    return out;
}

std::vector<std::uint8_t> EncodePict(const QImage& image, Encoding encoding) {
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide) return {};
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();

    std::map<QRgb, unsigned> palette;
    if (encoding != Encoding::Direct) {
        for (int y = 0; y < h && palette.size() <= 256; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w && palette.size() <= 256; ++x) palette.emplace(line[x] | 0xFF000000u, 0);
        }
        if (palette.size() > 256) {
            if (encoding == Encoding::Indexed) return {};
            encoding = Encoding::Direct;
        } else {
            encoding = Encoding::Indexed;
            unsigned next = 0;
            for (auto& [rgb, index] : palette) index = next++;
        }
    }

    Out o;
    o.U16(0);  // picture size, filled in below
    o.Rect(0, 0, h, w);
    o.U16(0x0011);
    o.U16(0x02FF);
    o.U16(0x0C00);
    o.U16(0xFFFE);
    o.U16(0);
    o.U32(0x00480000);
    o.U32(0x00480000);
    o.Rect(0, 0, h, w);
    o.U32(0);
    o.U16(0x001E);
    o.U16(0x0001);
    o.U16(10);
    o.Rect(0, 0, h, w);
    if (encoding == Encoding::Indexed)
        Indexed(o, img, palette);
    else
        Direct(o, img);
    if (o.size() & 1) o.U8(0);
    o.U16(0x00FF);
    o.Put16At(0, static_cast<unsigned>(o.size() & 0xFFFF));
    return o.Take();
}

std::vector<std::uint8_t> BuildResourceFile(const std::vector<Resource>& resources) {
    // Types in order of first appearance, each with its resources in order.
    std::vector<std::vector<const Resource*>> byType;
    for (const auto& r : resources) {
        auto it = std::find_if(byType.begin(), byType.end(), [&](const auto& group) {
            return std::equal(r.type, r.type + 4, group.front()->type);
        });
        if (it == byType.end())
            byType.push_back({&r});
        else
            it->push_back(&r);
    }

    Out data;
    std::map<const Resource*, std::uint32_t> offsets;
    for (const auto& group : byType)
        for (const Resource* r : group) {
            if (data.size() > 0xFFFFFF) return {};
            offsets[r] = static_cast<std::uint32_t>(data.size());
            data.U32(static_cast<std::uint32_t>(r->data.size()));
            data.Append(r->data);
        }

    constexpr unsigned kTypeListOffset = 28;
    const std::size_t refListsStart = 2 + 8 * byType.size();
    const std::size_t mapLength = kTypeListOffset + refListsStart + 12 * resources.size();
    if (mapLength > 0xFFFF) return {};  // the map's own offsets are 16 bits

    Out map;
    const std::uint32_t dataOffset = 256;
    const auto mapOffset = static_cast<std::uint32_t>(dataOffset + data.size());
    auto header = [&](Out& o) {
        o.U32(dataOffset);
        o.U32(mapOffset);
        o.U32(static_cast<std::uint32_t>(data.size()));
        o.U32(static_cast<std::uint32_t>(mapLength));
    };
    header(map);
    map.U32(0);  // next map handle
    map.U16(0);  // file reference number
    map.U16(0);  // attributes
    map.U16(kTypeListOffset);
    map.U16(static_cast<unsigned>(mapLength));  // name list: empty, at the end
    map.U16(static_cast<unsigned>(byType.size() - 1) & 0xFFFF);
    std::size_t refList = refListsStart;
    for (const auto& group : byType) {
        const char* t = group.front()->type;
        for (int k = 0; k < 4; ++k) map.U8(static_cast<unsigned char>(t[k]));
        map.U16(static_cast<unsigned>(group.size() - 1));
        map.U16(static_cast<unsigned>(refList));
        refList += 12 * group.size();
    }
    for (const auto& group : byType)
        for (const Resource* r : group) {
            map.U16(static_cast<std::uint16_t>(r->id));
            map.U16(0xFFFF);  // no name
            map.U8(0);        // attributes
            map.U24(offsets[r]);
            map.U32(0);
        }

    Out file;
    header(file);
    while (file.size() < dataOffset) file.U8(0);
    auto d = data.Take();
    file.Append(d);
    auto m = map.Take();
    file.Append(m);
    return file.Take();
}

bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace pictwriter

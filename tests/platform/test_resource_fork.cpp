// Resource files and their PICT pictures: round trips through the card
// generator's writer, and damaged inputs that must give nil, never a crash.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "PictWriter.h"
#include "platform/FolderItem.h"
#include "platform/Pict.h"
#include "platform/ResourceFork.h"

using namespace tk;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Colour k of a small set, for images that must stay indexed.
QRgb Swatch(int k) {
    static const QRgb kSwatches[] = {0xFFFFFFFF, 0xFF000000, 0xFF1B2A5C, 0xFFB3261E, 0xFFFFF9E0,
                                     0xFF2F6BD8, 0xFF808080, 0xFF00FF7F};
    return kSwatches[k % 8];
}

// Runs, pairs and single pixels, so rows pack into both kinds of PackBits run.
QImage FewColours(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, Swatch(x < w / 2 ? (x / 5 + y) : (x * x + y)));
    return img;
}

QImage ManyColours(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, x % 7 < 3 ? qRgb(200, 10, 30) : qRgb(rng() & 255, rng() & 255, rng() & 255));
    return img;
}

QImage AllGreys() {  // exactly 256 colours: the most an indexed picture holds
    QImage img(16, 16, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i) img.setPixel(i % 16, i / 16, qRgb(i, i, i));
    return img;
}

Bytes OneFile(std::int16_t id, Bytes pict) {
    return pictwriter::BuildResourceFile({{{'P', 'I', 'C', 'T'}, id, std::move(pict)}});
}

void ExpectSamePixels(const Picture& pic, const QImage& img) {
    ASSERT_FALSE(pic.IsNil());
    ASSERT_EQ(pic.Width(), img.width());
    ASSERT_EQ(pic.Height(), img.height());
    int wrong = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pic.PixelAt(x, y) != (img.pixel(x, y) | 0xFF000000u) && ++wrong < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": " << pic.PixelAt(x, y)
                              << " != " << img.pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

// Offset of the bitmap opcode in the writer's pictures: size, frame, version,
// header, DefHilite and a rectangular clip come first.
constexpr std::size_t kBitmapOpcodeAt = 2 + 8 + 4 + 26 + 2 + 12;

std::uint16_t Be16At(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]); }
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
std::uint32_t Be32At(const Bytes& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
void Put24(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 3; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (16 - 8 * i));
}

// Where the writer puts the map's parts of a file with one type, counted
// from the map's start.
constexpr std::size_t kTypeList = 28, kTypeItem = kTypeList + 2, kRef = kTypeItem + 8;

struct Read {
    std::uint64_t offset, size;
};

// A file's bytes held in memory for the streamed reader, every read logged.
class LoggingSource final : public ResourceSource {
public:
    LoggingSource(Bytes bytes, std::vector<Read>& log) : bytes_(std::move(bytes)), log_(log) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        log_.push_back({offset, out.size()});
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    }

private:
    Bytes bytes_;
    std::vector<Read>& log_;
};

// Copies of a good file, each damaged one way and opened as the program
// opens its cards (from a file), streamed from memory with its reads logged,
// and parsed in memory.
class DamagedCopies {
public:
    explicit DamagedCopies(Bytes good) : good_(std::move(good)) {}

    // Hands check each of the three forks, nil where its reader refused the
    // damaged bytes. Once open, the streamed reader must read resources
    // only: length words and bytes inside the data area its header gives.
    // It allocates what it reads, so that also bounds what a forged length
    // can make it allocate.
    void Check(const std::function<void(Bytes&)>& damage, const std::function<void(const ResourceFork*)>& check) {
        ASSERT_TRUE(dir_.isValid());
        Bytes bytes = good_;
        damage(bytes);
        const std::string path = dir_.filePath(QStringLiteral("cards")).toStdString();
        ASSERT_TRUE(pictwriter::WriteFile(path, bytes));
        std::vector<Read> reads;
        const auto streamed = ResourceFork::OpenSource(std::make_unique<LoggingSource>(bytes, reads));
        reads.clear();
        const std::pair<const char*, std::unique_ptr<ResourceFork>> forks[] = {
            {"from a file", ResourceFork::OpenFile(path)},
            {"in memory", ResourceFork::FromBytes(bytes)},
        };
        for (const auto& [how, fork] : forks) {
            SCOPED_TRACE(how);
            check(fork.get());
        }
        {
            SCOPED_TRACE("streamed");
            check(streamed.get());
        }
        const std::uint64_t start = Be32At(bytes, 0), length = Be32At(bytes, 8);
        for (const Read& r : reads)
            EXPECT_TRUE(r.offset >= start && r.offset - start <= length && r.size <= length - (r.offset - start))
                << "read of " << r.size << " at " << r.offset << ", data " << length << " at " << start;
    }

private:
    Bytes good_;
    QTemporaryDir dir_;
};

}  // namespace

TEST(ResourceFork, RoundTripsThroughTheWriter) {
    using pictwriter::Encoding;
    struct Case {
        const char* name;
        QImage image;
        Encoding encoding;
        std::uint16_t opcode;
    };
    const Case cases[] = {
        {"indexed, rows too short to pack", FewColours(3, 4), Encoding::Auto, 0x0098},
        {"indexed, 1-byte row lengths", FewColours(41, 6), Encoding::Auto, 0x0098},
        {"indexed, 2-byte row lengths", FewColours(300, 3), Encoding::Auto, 0x0098},
        {"indexed, 256 colours", AllGreys(), Encoding::Auto, 0x0098},
        {"direct, one pixel wide (unpacked)", ManyColours(1, 5), Encoding::Direct, 0x009A},
        {"direct, two pixels wide (packed)", ManyColours(2, 3), Encoding::Direct, 0x009A},
        {"direct, 2-byte row lengths", ManyColours(70, 4), Encoding::Direct, 0x009A},
        {"over 256 colours goes direct", ManyColours(61, 9), Encoding::Auto, 0x009A},
        {"few colours forced direct", FewColours(64, 5), Encoding::Direct, 0x009A},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes pict = pictwriter::EncodePict(c.image, c.encoding);
        ASSERT_GT(pict.size(), kBitmapOpcodeAt + 2);
        EXPECT_EQ(Be16At(pict, kBitmapOpcodeAt), c.opcode);
        auto fork = ResourceFork::FromBytes(OneFile(1000, std::move(pict)));
        ASSERT_NE(fork, nullptr);
        ExpectSamePixels(fork->GetPicture(1000), c.image);
    }
    EXPECT_TRUE(pictwriter::EncodePict(ManyColours(40, 20), Encoding::Indexed).empty());
}

TEST(ResourceFork, FindsPicturesByIdAndTypeOnly) {
    const QImage a = FewColours(12, 3), b = ManyColours(9, 2);
    const Bytes file = pictwriter::BuildResourceFile({
        {{'P', 'I', 'C', 'T'}, 367, pictwriter::EncodePict(a)},
        {{'s', 'n', 'd', ' '}, 200, pictwriter::EncodePict(a)},  // a picture, but not a 'PICT'
        {{'P', 'I', 'C', 'T'}, -3, pictwriter::EncodePict(b)},
        {{'P', 'I', 'C', 'T'}, 5, Bytes{'n', 'o', 't', ' ', 'a', ' ', 'P', 'I', 'C', 'T'}},
    });
    auto fork = ResourceFork::FromBytes(file);
    ASSERT_NE(fork, nullptr);
    EXPECT_EQ(fork->PictureIds(), (std::vector<Int32>{-3, 5, 367}));
    ExpectSamePixels(fork->GetPicture(367), a);
    ExpectSamePixels(fork->GetPicture(-3), b);
    for (Int32 id : {5, 200, 366, 0, 367 + 65536}) EXPECT_TRUE(fork->GetPicture(id).IsNil()) << id;

    fork->Close();
    EXPECT_TRUE(fork->GetPicture(367).IsNil());
    EXPECT_TRUE(fork->PictureIds().empty());
}

TEST(ResourceFork, OpensFilesAndNothingElse) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("cards")).toStdString();
    const QImage img = FewColours(20, 4);
    ASSERT_TRUE(pictwriter::WriteFile(path, OneFile(128, pictwriter::EncodePict(img))));

    auto fork = ResourceFork::OpenFile(path);
    ASSERT_NE(fork, nullptr);
    ExpectSamePixels(fork->GetPicture(128), img);
    EXPECT_NE(FolderItem(path).OpenResourceFork(), nullptr);

    EXPECT_EQ(ResourceFork::OpenFile(path + ".missing"), nullptr);
    EXPECT_EQ(ResourceFork::OpenFile(dir.path().toStdString()), nullptr);
    const std::string text = dir.filePath(QStringLiteral("text")).toStdString();
    const std::string words = "This is not a resource file, only some words in a file.";
    ASSERT_TRUE(pictwriter::WriteFile(text, Bytes(words.begin(), words.end())));
    EXPECT_EQ(ResourceFork::OpenFile(text), nullptr);
}

TEST(ResourceFork, DamagedFilesGiveNilNeverARead) {
    // One picture at id 128; the map follows the data.
    const QImage img = FewColours(16, 3);
    const Bytes good = OneFile(128, pictwriter::EncodePict(img));
    const std::uint32_t dataLength = Be32At(good, 8), mapOffset = Be32At(good, 4);
    ASSERT_EQ(mapOffset, 256 + dataLength);

    // NotAPicture: the resource's bytes are read, and do not decode.
    enum Result { NoFile, NoResource, NotAPicture };
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        Result result;
    };
    const Case cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }, NoFile},
        {"shorter than a header", [](Bytes& b) { b.resize(15); }, NoFile},
        {"not a resource file", [](Bytes& b) { std::memset(b.data(), 'x', 16); }, NoFile},
        {"truncated in the data", [&](Bytes& b) { b.resize(256 + dataLength / 2); }, NoFile},
        {"truncated by one byte", [](Bytes& b) { b.pop_back(); }, NoFile},
        {"map offset beyond the end", [](Bytes& b) { Put32(b, 4, static_cast<std::uint32_t>(b.size() + 10)); }, NoFile},
        {"map offset wraps round", [](Bytes& b) { Put32(b, 4, 0xFFFFFFF0u); }, NoFile},
        {"map length beyond the end", [](Bytes& b) { Put32(b, 12, Be32At(b, 12) + 1); }, NoFile},
        {"map too short for its fields", [](Bytes& b) { Put32(b, 12, 20); }, NoFile},
        {"data length beyond the end", [](Bytes& b) { Put32(b, 8, static_cast<std::uint32_t>(b.size())); }, NoFile},
        {"type list beyond the map", [&](Bytes& b) { b[mapOffset + 24] = 0x7F; }, NoFile},
        {"more types than the map holds", [&](Bytes& b) { b[mapOffset + kTypeList] = 0x40; }, NoFile},
        {"more references than the map holds", [&](Bytes& b) { b[mapOffset + kTypeItem + 4] = 0x12; }, NoFile},
        {"reference list beyond the map", [&](Bytes& b) { b[mapOffset + kTypeItem + 6] = 0x7F; }, NoFile},
        {"resource offset beyond the data", [&](Bytes& b) { b[mapOffset + kRef + 5] = 0xFF; }, NoResource},
        // The length word itself past the data: in the map that follows it,
        // or half in, half out.
        {"length word in the map", [&](Bytes& b) { Put24(b, mapOffset + kRef + 5, dataLength); }, NoResource},
        {"length word across the data's end", [&](Bytes& b) { Put24(b, mapOffset + kRef + 5, dataLength - 2); },
         NoResource},
        {"resource length beyond the data", [](Bytes& b) { Put32(b, 256, 0x7FFFFFFFu); }, NoResource},
        {"resource length one byte into the map", [&](Bytes& b) { Put32(b, 256, dataLength - 3); }, NoResource},
        {"resource length one byte past the file",
         [](Bytes& b) { Put32(b, 256, static_cast<std::uint32_t>(b.size() - 256 - 4 + 1)); }, NoResource},
        // The whole picture is still in the file, but not in the data area.
        {"data area ends a byte short of the picture", [&](Bytes& b) { Put32(b, 8, dataLength - 1); }, NoResource},
        {"picture cut short", [&](Bytes& b) { Put32(b, 256, dataLength / 2); }, NotAPicture},
        {"missing id", [&](Bytes& b) { b[mapOffset + kRef + 1] = 129; }, NoResource},
        {"not a 'PICT'", [&](Bytes& b) { b[mapOffset + kTypeItem] = 'p'; }, NoResource},
    };
    DamagedCopies copies(good);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        copies.Check(c.damage, [&](const ResourceFork* fork) {
            if (c.result == NoFile) {
                EXPECT_EQ(fork, nullptr);
                return;
            }
            ASSERT_NE(fork, nullptr);
            EXPECT_TRUE(fork->GetPicture(128).IsNil());
            const bool read = c.result == NotAPicture;
            EXPECT_EQ(fork->PictureData(128).has_value(), read);
            const auto ids = fork->PictureIds();
            EXPECT_EQ(std::count(ids.begin(), ids.end(), 128), read ? 1 : 0);
        });
    }
    // Sanity: the undamaged file reads.
    copies.Check([](Bytes&) {}, [&](const ResourceFork* fork) {
        ASSERT_NE(fork, nullptr);
        ExpectSamePixels(fork->GetPicture(128), img);
    });
}

TEST(ResourceFork, ARepeatedIdIsItsFirstReferenceThatFits) {
    const QImage first = FewColours(12, 3), second = ManyColours(9, 2);
    const Bytes good = pictwriter::BuildResourceFile({
        {{'P', 'I', 'C', 'T'}, 128, pictwriter::EncodePict(first)},
        {{'P', 'I', 'C', 'T'}, 128, pictwriter::EncodePict(second)},
    });
    const std::uint32_t dataLength = Be32At(good, 8), mapOffset = Be32At(good, 4);
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        const QImage* picture;  // null: none
    };
    const Case cases[] = {
        {"both fit", [](Bytes&) {}, &first},
        {"the first's length past the data", [](Bytes& b) { Put32(b, 256, 0x00FFFFFFu); }, &second},
        {"the first's length word past the data", [&](Bytes& b) { Put24(b, mapOffset + kRef + 5, dataLength); },
         &second},
        // It fits, so it counts, though it is no picture.
        {"the first no picture", [](Bytes& b) { b[256 + 4 + 11] = 0x1E; }, nullptr},
        {"the second's length past the data", [](Bytes& b) { Put32(b, 256 + Be32At(b, 256) + 4, 0x00FFFFFFu); },
         &first},
    };
    DamagedCopies copies(good);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        copies.Check(c.damage, [&](const ResourceFork* fork) {
            ASSERT_NE(fork, nullptr);
            EXPECT_EQ(fork->PictureIds(), std::vector<Int32>{128});
            if (c.picture)
                ExpectSamePixels(fork->GetPicture(128), *c.picture);
            else
                EXPECT_TRUE(fork->GetPicture(128).IsNil());
        });
    }
}

TEST(ResourceFork, MapsAtTheLimits) {
    EXPECT_TRUE(ResourceFork::FromBytes(pictwriter::BuildResourceFile({}))->PictureIds().empty());

    // A forged map whose 8 types all point at one list of 4 references must
    // not count as 32 resources read from a map of far fewer bytes.
    Bytes b(256 + 28 + 2 + 8 * 8 + 12 * 4, 0);
    const std::uint32_t map = 256;
    Put32(b, 0, 256);
    Put32(b, 4, map);
    Put32(b, 8, 0);
    Put32(b, 12, static_cast<std::uint32_t>(b.size() - map));
    b[map + 25] = 28;
    b[map + 29] = 7;  // 8 types
    for (int t = 0; t < 8; ++t) {
        std::memcpy(&b[map + 30 + 8 * t], "PICT", 4);
        b[map + 30 + 8 * t + 5] = 3;           // 4 references
        b[map + 30 + 8 * t + 7] = 2 + 8 * 8;   // the same list for all
    }
    EXPECT_EQ(ResourceFork::FromBytes(std::move(b)), nullptr);
}

TEST(PictResource, UnpackBits) {
    struct Case {
        const char* name;
        Bytes in;
        std::size_t outSize;
        bool ok;
        Bytes out;
    };
    Bytes mixed = {1, 1, 2};
    mixed.resize(131, 3);
    const Case cases[] = {
        {"literal", {2, 'a', 'b', 'c'}, 3, true, {'a', 'b', 'c'}},
        {"repeat", {0xFD, 'z'}, 4, true, {'z', 'z', 'z', 'z'}},
        {"-128 is skipped", {0x80, 0x00, 'q', 0x80}, 1, true, {'q'}},
        {"mixed", {0xFF, 1, 0, 2, 0x81, 3}, 131, true, mixed},
        {"empty", {}, 0, true, {}},
        {"literal past the output", {3, 'a', 'b', 'c', 'd'}, 3, false, {}},
        {"repeat past the output", {0xFC, 'z'}, 4, false, {}},
        {"literal past the input", {5, 'a', 'b'}, 6, false, {}},
        {"repeat without its byte", {0xFD}, 4, false, {}},
        {"short of the output", {1, 'a', 'b'}, 3, false, {}},
        {"more after the output is full", {0, 'a', 0, 'b'}, 1, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A guard byte past the row shows any write beyond it.
        Bytes out(c.outSize + 1, 0xEE);
        EXPECT_EQ(UnpackBits(c.in, std::span(out).first(c.outSize)), c.ok);
        EXPECT_EQ(out.back(), 0xEE);
        if (c.ok) {
            EXPECT_EQ(Bytes(out.begin(), out.end() - 1), c.out);
        }
    }
}

TEST(PictResource, WritersPackBitsUnpacks) {
    std::mt19937 rng(3);
    std::vector<Bytes> rows = {{}, {9}, {1, 1}, {1, 1, 1}, Bytes(128, 4), Bytes(129, 4), Bytes(300, 0)};
    Bytes noisy(1000);
    for (auto& v : noisy) v = static_cast<std::uint8_t>(rng() % 3 == 0 ? rng() : 0);
    rows.push_back(noisy);
    Bytes literal(400);
    for (std::size_t i = 0; i < literal.size(); ++i) literal[i] = static_cast<std::uint8_t>(i);
    rows.push_back(literal);
    for (const auto& row : rows) {
        const Bytes packed = pictwriter::PackBits(row);
        Bytes out(row.size());
        EXPECT_TRUE(UnpackBits(packed, out)) << row.size();
        EXPECT_EQ(out, row);
        EXPECT_LE(packed.size(), row.size() + (row.size() + 127) / 128);
    }
}

namespace {

// A hand-made picture: a 16 x 2 indexed pixel map, packed rows, each field
// open to damage.
struct PictSpec {
    std::int16_t frame[4] = {0, 0, 2, 16};
    std::uint16_t versionOp = 0x0011, version = 0x02FF, headerOp = 0x0C00, headerVersion = 0xFFFE;
    std::vector<std::uint16_t> leadingOps = {0x001E, 0x0000};
    std::int16_t clip[4] = {0, 0, 2, 16};
    std::uint16_t rowBytes = 0x8000 | 16;
    std::int16_t bounds[4] = {0, 0, 2, 16};
    std::uint16_t packType = 0, pixelType = 0, pixelSize = 8, cmpCount = 1;
    std::uint16_t ctFlags = 0;
    std::vector<std::uint16_t> ctValues = {0, 1};
    std::int16_t src[4] = {0, 0, 2, 16};
    std::int16_t dst[4] = {0, 0, 2, 16};
    std::vector<Bytes> rows = {{1, 0, 0, 0xF3, 1}, {0xF1, 1}};  // "0 0 1 x14", "1 x16"
    bool end = true;
};

constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

Bytes BuildPict(const PictSpec& s) {
    Bytes b;
    auto u8 = [&](unsigned v) { b.push_back(static_cast<std::uint8_t>(v)); };
    auto u16 = [&](unsigned v) { u8(v >> 8); u8(v); };
    auto u32 = [&](std::uint32_t v) { u16(v >> 16); u16(v & 0xFFFF); };
    auto rect = [&](const std::int16_t (&r)[4]) { for (auto v : r) u16(static_cast<std::uint16_t>(v)); };
    u16(0);
    rect(s.frame);
    u16(s.versionOp);
    u16(s.version);
    u16(s.headerOp);
    u16(s.headerVersion);
    u16(0);
    u32(0x00480000);
    u32(0x00480000);
    rect(s.frame);
    u32(0);
    for (auto op : s.leadingOps) u16(op);
    u16(0x0001);
    u16(10);
    rect(s.clip);
    u16(0x0098);
    u16(s.rowBytes);
    rect(s.bounds);
    u16(0);
    u16(s.packType);
    u32(0);
    u32(0x00480000);
    u32(0x00480000);
    u16(s.pixelType);
    u16(s.pixelSize);
    u16(s.cmpCount);
    u16(8);
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    u16(s.ctFlags);
    u16(static_cast<unsigned>(s.ctValues.size() - 1));
    for (std::size_t i = 0; i < s.ctValues.size(); ++i) {
        u16(s.ctValues[i]);
        const std::uint32_t c = i == 0 ? kRed : kBlue;
        u16(((c >> 16) & 0xFF) * 257);
        u16(((c >> 8) & 0xFF) * 257);
        u16((c & 0xFF) * 257);
    }
    rect(s.src);
    rect(s.dst);
    u16(0);
    for (const auto& row : s.rows) {
        u8(static_cast<unsigned>(row.size()));
        b.insert(b.end(), row.begin(), row.end());
    }
    if (b.size() & 1) u8(0);
    if (s.end) u16(0x00FF);
    return b;
}

void SetRect(std::int16_t (&r)[4], int top, int left, int bottom, int right) {
    r[0] = static_cast<std::int16_t>(top);
    r[1] = static_cast<std::int16_t>(left);
    r[2] = static_cast<std::int16_t>(bottom);
    r[3] = static_cast<std::int16_t>(right);
}

}  // namespace

TEST(PictResource, DecodesTheHandMadePicture) {
    struct Case {
        const char* name;
        std::function<void(PictSpec&)> change;
        // Expected rows: 'r' red, 'b' blue, 'w' white.
        const char* row0;
        const char* row1;
    };
    const Case cases[] = {
        {"as made", [](PictSpec&) {}, "rrbbbbbbbbbbbbbb", "bbbbbbbbbbbbbbbb"},
        {"clipped to the first row", [](PictSpec& s) { SetRect(s.clip, 0, 0, 1, 16); },
         "rrbbbbbbbbbbbbbb", "wwwwwwwwwwwwwwww"},
        {"part of the map, moved", [](PictSpec& s) { SetRect(s.src, 0, 0, 1, 4); SetRect(s.dst, 1, 12, 2, 16); },
         "wwwwwwwwwwwwwwww", "wwwwwwwwwwwwrrbb"},
        {"frame away from the origin",
         [](PictSpec& s) {
             SetRect(s.frame, -5, 100, -3, 116);
             SetRect(s.clip, -5, 100, -3, 116);
             SetRect(s.dst, -5, 100, -3, 116);
         },
         "rrbbbbbbbbbbbbbb", "bbbbbbbbbbbbbbbb"},
        {"device colour table ignores values", [](PictSpec& s) { s.ctFlags = 0x8000; s.ctValues = {9, 9}; },
         "rrbbbbbbbbbbbbbb", "bbbbbbbbbbbbbbbb"},
        {"colour values pick the index", [](PictSpec& s) { s.ctValues = {1, 0}; },
         "bbrrrrrrrrrrrrrr", "rrrrrrrrrrrrrrrr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictSpec spec;
        c.change(spec);
        const auto img = DecodePict(BuildPict(spec));
        ASSERT_TRUE(img.has_value());
        ASSERT_EQ(img->width, 16);
        ASSERT_EQ(img->height, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 16; ++x) {
                const char want = (y == 0 ? c.row0 : c.row1)[x];
                EXPECT_EQ(img->argb[y * 16 + x], want == 'r' ? kRed : want == 'b' ? kBlue : kWhite)
                    << x << "," << y;
            }
    }
}

TEST(PictResource, RejectsWhatItCannotDraw) {
    struct Case {
        const char* name;
        std::function<void(PictSpec&)> damage;
    };
    const Case cases[] = {
        {"version 1", [](PictSpec& s) { s.version = 0x0101; }},
        {"no version opcode", [](PictSpec& s) { s.versionOp = 0x001E; }},
        {"no header opcode", [](PictSpec& s) { s.headerOp = 0x0000; }},
        {"extended header", [](PictSpec& s) { s.headerVersion = 0xFFFF; }},
        {"unknown opcode", [](PictSpec& s) { s.leadingOps = {0x001E, 0x00A1}; }},
        {"empty frame", [](PictSpec& s) { SetRect(s.frame, 0, 0, 0, 16); }},
        {"inverted frame", [](PictSpec& s) { SetRect(s.frame, 0, 16, 2, 0); }},
        {"absurd frame", [](PictSpec& s) { SetRect(s.frame, 0, 0, 5000, 16); }},
        {"frame far larger than the input", [](PictSpec& s) { SetRect(s.frame, 0, 0, 4000, 4000); }},
        {"no end opcode", [](PictSpec& s) { s.end = false; }},
        {"a row that overruns", [](PictSpec& s) { s.rows[1] = {0xF0, 1}; }},
        {"a literal that overruns", [](PictSpec& s) { s.rows[0] = Bytes(18, 0); s.rows[0][0] = 16; }},
        {"a row that falls short", [](PictSpec& s) { s.rows[1] = {0xF2, 1}; }},
        {"a literal past its packed bytes", [](PictSpec& s) { s.rows[1] = {0x0F, 1, 1}; }},
        {"rows missing", [](PictSpec& s) { s.rows.pop_back(); }},
        {"a bitmap, not a pixel map", [](PictSpec& s) { s.rowBytes = 16; }},
        {"rowBytes shorter than the width", [](PictSpec& s) { s.rowBytes = 0x8000 | 14; }},
        {"16-bit pixels", [](PictSpec& s) { s.pixelSize = 16; }},
        {"direct pixel type in an indexed map", [](PictSpec& s) { s.pixelType = 16; }},
        {"unknown packing", [](PictSpec& s) { s.packType = 3; }},
        {"absurd bounds", [](PictSpec& s) { SetRect(s.bounds, 0, 0, 2, 5000); }},
        {"source outside the bounds", [](PictSpec& s) { SetRect(s.src, 0, 0, 3, 16); }},
        {"scaled", [](PictSpec& s) { SetRect(s.dst, 0, 0, 2, 8); }},
        {"colour index out of range", [](PictSpec& s) { s.ctValues = {0, 256}; }},
        {"colour table over 256 entries", [](PictSpec& s) { s.ctValues.assign(257, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictSpec spec;
        c.damage(spec);
        EXPECT_FALSE(DecodePict(BuildPict(spec)).has_value());
    }

    // Every prefix of a good picture is a truncated one.
    const Bytes good = BuildPict(PictSpec{});
    ASSERT_TRUE(DecodePict(good).has_value());
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodePict(std::span(good).first(n)).has_value()) << n;
}

TEST(PictResource, RejectsDirectPixelMapsOutsideTheSubset) {
    // Fields of the writer's DirectBitsRect, counted from its opcode.
    constexpr std::size_t kMap = kBitmapOpcodeAt + 2 + 4;
    constexpr std::size_t kPackType = kMap + 12, kPixelSize = kMap + 28, kCmpCount = kMap + 30;
    const Bytes good = pictwriter::EncodePict(ManyColours(8, 3), pictwriter::Encoding::Direct);
    ASSERT_EQ(Be16At(good, kBitmapOpcodeAt), 0x009A);
    ASSERT_TRUE(DecodePict(good).has_value());
    struct Case {
        const char* name;
        std::size_t at;
        std::uint16_t value;
    };
    const Case cases[] = {
        {"unpacked rows of a wide map", kPackType, 0},
        {"packType 2", kPackType, 2},
        {"8-bit pixels", kPixelSize, 8},
        {"four components", kCmpCount, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b = good;
        b[c.at] = static_cast<std::uint8_t>(c.value >> 8);
        b[c.at + 1] = static_cast<std::uint8_t>(c.value);
        EXPECT_FALSE(DecodePict(b).has_value());
    }
}

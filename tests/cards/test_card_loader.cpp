// Loading a card's picture from the bundle, and the loader's five failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cards/mGlobals.h"
#include "platform/Application.h"
#include "platform/ResourceFork.h"
#include "support/FakeServices.h"
#include "support/FixtureBundle.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t Be32(const std::string& b, std::size_t at) {
    return (std::uint32_t(std::uint8_t(b[at])) << 24) | (std::uint8_t(b[at + 1]) << 16) |
           (std::uint8_t(b[at + 2]) << 8) | std::uint8_t(b[at + 3]);
}
std::uint16_t Be16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>((std::uint8_t(b[at]) << 8) | std::uint8_t(b[at + 1]));
}
void PutBe32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

// The offsets of every reference-list entry of the file's 'PICT' type.
std::vector<std::size_t> ReferenceEntries(const std::string& b) {
    const std::size_t map = Be32(b, 4);
    const std::size_t types = map + Be16(b, map + 24);
    const int typeCount = Be16(b, types) + 1;
    std::vector<std::size_t> out;
    for (int t = 0; t < typeCount; ++t) {
        const std::size_t item = types + 2 + 8 * t;
        if (b.compare(item, 4, "PICT") != 0) continue;
        const int count = Be16(b, item + 4) + 1;
        const std::size_t refs = types + Be16(b, item + 6);
        for (int i = 0; i < count; ++i) out.push_back(refs + 12 * i);
    }
    return out;
}

class CardLoader : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.executable = bundle.Executable();
        bundle.Copy({"ProgramResources1", "ProgramResources2"});
    }
    void Load(int card) {
        mGlobals::iCardNum = card;
        mGlobals::mOpenCard();
    }
    void ExpectFailure(int card, const char* message) {
        mGlobals::pClockFace = tk::Picture::FromPixels(1, 1, {0xFF000000u});
        Load(card);
        ASSERT_EQ(fakes.alerts.size(), 1u) << message;
        EXPECT_EQ(fakes.alerts[0], message);
        EXPECT_TRUE(tk::Quitting());
        EXPECT_TRUE(mGlobals::pClockFace.IsNil());
    }
    FixtureBundle bundle;
    FakeServices fakes;
};

TEST_F(CardLoader, CardsComeFromTheirFileAndId) {
    struct Case { int card; const char* file; int id; };
    const Case cases[] = {{1, "ProgramResources1", 128}, {240, "ProgramResources1", 367},
                          {241, "ProgramResources2", 128}, {276, "ProgramResources2", 163}};
    for (const auto& c : cases) {
        Load(c.card);
        ASSERT_FALSE(mGlobals::pClockFace.IsNil()) << c.card;
        auto fork = tk::ResourceFork::OpenFile((bundle.Resources() / c.file).string());
        ASSERT_TRUE(fork);
        const tk::Picture expected = fork->GetPicture(c.id);
        ASSERT_FALSE(expected.IsNil());
        EXPECT_EQ(mGlobals::pClockFace.Width(), expected.Width());
        for (int y = 0; y < expected.Height(); y += 7)
            for (int x = 0; x < expected.Width(); x += 7)
                ASSERT_EQ(mGlobals::pClockFace.PixelAt(x, y), expected.PixelAt(x, y)) << c.card;
    }
    EXPECT_TRUE(fakes.alerts.empty());
}

TEST_F(CardLoader, EveryLoadReadsAFreshPictureAndStartsFromNil) {
    Load(30);
    const tk::Picture first = mGlobals::pClockFace;
    Load(30);
    ASSERT_FALSE(mGlobals::pClockFace.IsNil());
    EXPECT_FALSE(mGlobals::pClockFace == first);  // read again, a new picture
    // A load that fails leaves nil: the old picture was let go at the start.
    bundle.Remove("ProgramResources1");
    Load(30);
    EXPECT_TRUE(mGlobals::pClockFace.IsNil());
}

TEST(CardLoaderBundle, ARenamedBundleIsReportedAtTheFirstCard) {
    FixtureBundle renamed("Tickclock.app");
    renamed.Copy({"ProgramResources1"});
    FakeServices fakes;
    fakes.executable = renamed.Executable();
    mGlobals::iCardNum = 5;
    mGlobals::mOpenCard();
    ASSERT_EQ(fakes.alerts.size(), 1u);
    EXPECT_EQ(fakes.alerts[0], "Program has been renamed.  Error.  [100]");
    EXPECT_TRUE(tk::Quitting());
    EXPECT_TRUE(mGlobals::pClockFace.IsNil());
}

TEST_F(CardLoader, NoContentsFolder) {
    fs::remove_all(bundle.Bundle() / "Contents");
    ExpectFailure(5, "Program resources damaged. [200]");
}

TEST_F(CardLoader, NoResourcesFolder) {
    fs::remove_all(bundle.Resources());
    ExpectFailure(5, "Program resources damaged. [300]");
}

TEST_F(CardLoader, NoCardFile) {
    bundle.Remove("ProgramResources2");
    Load(5);  // file 1 is still there
    EXPECT_TRUE(fakes.alerts.empty());
    ExpectFailure(250, "Resource File Not Found.  [401]");
}

TEST_F(CardLoader, DamagedCardFiles) {
    const std::string good = ReadAll(bundle.Resources() / "ProgramResources1");
    std::string mapBeyondEnd = good;
    PutBe32(mapBeyondEnd, 4, static_cast<std::uint32_t>(good.size() + 100));
    std::string idsGone = good;
    for (std::size_t ref : ReferenceEntries(idsGone)) idsGone[ref] = static_cast<char>(0x70);
    std::string badPicture = good;
    for (std::size_t ref : ReferenceEntries(badPicture)) {
        const std::size_t data = Be32(good, 0) + (Be32(good, ref + 4) & 0xFFFFFF);
        badPicture[data + 4 + 10] = 0x7F;  // the version opcode
    }
    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"not a resource file", "This is not a resource file at all."},
        {"empty", ""},
        {"truncated", good.substr(0, good.size() / 2)},
        {"map beyond the end", mapBeyondEnd},
        {"picture id missing", idsGone},
        {"picture not decodable", badPicture},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                bundle.Write("ProgramResources1", c.bytes);
                ExpectFailure(5, "Resource File Damaged.  [400]");
                std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
            },
            ::testing::ExitedWithCode(0), "")
            << c.name;
    }
}

}  // namespace

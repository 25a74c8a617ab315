// Loading a card's picture from the bundle, and the loader's five failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards/mGlobals.h"
#include "platform/Application.h"
#include "platform/ResourceFork.h"
#include "support/FakeServices.h"
#include "support/FixtureBundle.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

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
    const std::string good = bundle.Read("ProgramResources1");
    std::string mapBeyondEnd = good;
    const auto beyond = static_cast<std::uint32_t>(good.size() + 100);
    for (int i = 0; i < 4; ++i) mapBeyondEnd[4 + i] = static_cast<char>(beyond >> (24 - 8 * i));
    std::string idsGone = good;
    for (std::size_t ref : PictureReferences(idsGone)) idsGone[ref] = static_cast<char>(0x70);
    std::string badPicture = good;
    for (std::size_t ref : PictureReferences(badPicture))
        badPicture[PictureDataOffset(good, ref) + 4 + 10] = 0x7F;  // the version opcode
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

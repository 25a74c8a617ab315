// The 276 card pictures in the built bundle, read as the program reads them:
// the right ids in each file, the card size, the margin the card window
// hides, and hands that show each card's time.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cards/CardTable.h"
#include "platform/ResourceFork.h"

using namespace tk;

namespace {

using cards::CardFile;
using cards::kCardFiles;
using cards::kLastCard;

constexpr int kWidth = 369, kHeight = 314;
constexpr int kHiddenColumns = 10;  // the card window shows the card from x = 10
constexpr std::uint32_t kBackground = 0xFFFFFFFFu;

// The dial's centre. Measured from it, the hour hand is at least 10 pixels
// broad out to 56 and ends before 76; the minute hand is at most 8 broad and
// reaches past 88; nothing else is drawn between the hub and 90.
constexpr double kCentreX = 189.5, kCentreY = 157.5;

std::unique_ptr<ResourceFork> Open(const CardFile& f) {
    return ResourceFork::OpenFile(std::string(TICKMOOR_BUNDLE_DIR "/Contents/Resources/") + f.name);
}

// All 276 cards, read once per test program.
const std::vector<Picture>& Cards() {
    static const std::vector<Picture> cards = [] {
        std::vector<Picture> all;
        for (const auto& f : kCardFiles) {
            auto fork = Open(f);
            for (int card = f.firstCard; card <= f.lastCard; ++card)
                all.push_back(fork ? fork->GetPicture(cards::PictureOfCard(card).id) : Picture());
        }
        return all;
    }();
    return cards;
}

bool Dark(const Picture& p, double x, double y) {
    const std::uint32_t c = p.PixelAt(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
    const int lum = (299 * ((c >> 16) & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * (c & 0xFF)) / 1000;
    return lum < 128;
}

// Dark at `radius` along `degrees` (clockwise from 12), `side` pixels off the line.
bool DarkAt(const Picture& p, double degrees, double radius, double side) {
    const double a = degrees * std::numbers::pi / 180.0;
    return Dark(p, kCentreX + radius * std::sin(a) + side * std::cos(a),
                kCentreY - radius * std::cos(a) + side * std::sin(a));
}

double AngleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

// What is wrong with the hands of a card showing h:m, or "".
std::string HandFault(const Picture& p, int hour, int minute) {
    const double minuteDeg = 6.0 * minute;
    const double hourDeg = 30.0 * (hour % 12) + 0.5 * minute;
    for (double r : {78.0, 82.0, 86.0, 89.0})
        if (!DarkAt(p, minuteDeg, r, 0)) return "no minute hand at radius " + std::to_string(r);
    for (double side : {-6.0, 6.0})
        if (DarkAt(p, minuteDeg, 84, side)) return "minute hand too broad";
    for (double r : {24.0, 32.0, 40.0, 48.0, 56.0})
        for (double side : {-5.0, 0.0, 5.0})
            if (!DarkAt(p, hourDeg, r, side))
                return "no broad hour hand at radius " + std::to_string(r) + ", side " + std::to_string(side);
    if (AngleBetween(hourDeg, minuteDeg) > 12)
        for (double r : {80.0, 86.0})
            if (DarkAt(p, hourDeg, r, 0)) return "hour hand as long as the minute hand";
    return "";
}

}  // namespace

TEST(CardPictures, EachFileHoldsExactlyItsCardIds) {
    for (const auto& f : kCardFiles) {
        SCOPED_TRACE(f.name);
        auto fork = Open(f);
        ASSERT_NE(fork, nullptr);
        std::vector<Int32> want;
        for (int card = f.firstCard; card <= f.lastCard; ++card) {
            ASSERT_EQ(cards::PictureOfCard(card).file, &f) << "card " << card;
            want.push_back(cards::PictureOfCard(card).id);
        }
        EXPECT_EQ(fork->PictureIds(), want);
    }
}

TEST(CardPictures, EveryCardIsCardSizedWithAnEmptyHiddenMargin) {
    ASSERT_EQ(Cards().size(), 276u);
    for (int card = 1; card <= kLastCard; ++card) {
        const Picture& p = Cards()[card - 1];
        ASSERT_FALSE(p.IsNil()) << "card " << card;
        EXPECT_EQ(p.Width(), kWidth) << "card " << card;
        EXPECT_EQ(p.Height(), kHeight) << "card " << card;
        int drawn = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kHiddenColumns; ++x) drawn += p.PixelAt(x, y) != kBackground;
        EXPECT_EQ(drawn, 0) << "card " << card << " draws into the hidden columns";
    }
}

TEST(CardPictures, HandsShowEachCardsTime) {
    ASSERT_EQ(Cards().size(), 276u);
    for (int card = 1; card <= kLastCard; ++card) {
        const auto t = cards::kCardTimes[card - 1];
        EXPECT_EQ(HandFault(Cards()[card - 1], t.hour, t.minute), "")
            << "card " << card << " (" << int{t.hour} << ":" << int{t.minute} << ")";
    }
}

TEST(CardPictures, OneDialPerFaceAndThreeDifferentFaces) {
    // Beyond the minute hand's reach a card is all dial.
    auto dialOnly = [](int x, int y) { return std::hypot(x + 0.5 - kCentreX, y + 0.5 - kCentreY) > 120; };
    auto differing = [&](const Picture& a, const Picture& b) {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) n += dialOnly(x, y) && a.PixelAt(x, y) != b.PixelAt(x, y);
        return n;
    };
    ASSERT_EQ(Cards().size(), 276u);
    constexpr auto& faces = cards::kFaceRanges;
    for (std::size_t f = 0; f < std::size(faces); ++f) {
        const Picture& first = Cards()[faces[f].firstCard - 1];
        for (int card = faces[f].firstCard + 1; card <= faces[f].lastCard; ++card)
            EXPECT_EQ(differing(first, Cards()[card - 1]), 0) << "card " << card;
        const Picture& nextFace = Cards()[faces[(f + 1) % std::size(faces)].firstCard - 1];
        // The ring beyond 120 covers some 25000 pixels inside the rim.
        EXPECT_GT(differing(first, nextFace), 5000) << "faces " << f << " and " << (f + 1) % std::size(faces);
    }
}

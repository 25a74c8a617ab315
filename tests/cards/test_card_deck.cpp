// The card-to-time table behind the expected answer, and the card draw.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cards/CardTable.h"
#include "cards/mGlobals.h"
#include "support/FakeServices.h"

using testing_support::FakeServices;

namespace {

std::string Answer() {
    return mGlobals::sValue1 + mGlobals::sValue2 + mGlobals::sValue3 + mGlobals::sValue4;
}

std::string AnswerOf(int card) {
    mGlobals::iCardNum = card;
    mGlobals::mSetCard();
    return Answer();
}

TEST(CardTable, CardsAtTheEdgesAndAcrossLookupBorders) {
    struct Case { int card; const char* digits; };
    const Case cases[] = {
        {1, "0400"}, {92, "0805"}, {93, "0810"}, {276, "0200"}, {46, "1205"}, {148, "1000"},
        {20, "0730"}, {21, "0745"}, {182, "0255"}, {183, "0205"}, {262, "1245"}, {263, "1250"},
        {122, "0400"}, {210, "0400"},
    };
    for (const auto& c : cases) EXPECT_EQ(AnswerOf(c.card), c.digits) << "card " << c.card;
}

TEST(CardTable, CardsWithoutARowLeaveTheAnswerAsItWas) {
    AnswerOf(46);
    for (int card : {0, -1, 277, 278, 280, 282, 283, 100000}) {
        EXPECT_EQ(AnswerOf(card), "1205") << "card " << card;
    }
}

TEST(CardTable, EveryCardHasFourDigitsAndNoTimeRepeatsWithinAFace) {
    std::set<std::pair<int, std::string>> seen;  // (face, time)
    for (int card = cards::kFirstCard; card <= cards::kLastCard; ++card) {
        const std::string a = AnswerOf(card);
        ASSERT_EQ(a.size(), 4u) << card;
        const int hour = (a[0] - '0') * 10 + (a[1] - '0');
        const int minute = (a[2] - '0') * 10 + (a[3] - '0');
        EXPECT_TRUE(a[0] == '0' || a[0] == '1') << card;
        EXPECT_GE(hour, 1) << card;
        EXPECT_LE(hour, 12) << card;
        EXPECT_EQ(minute % 5, 0) << card;
        EXPECT_LE(minute, 55) << card;
        const int face = static_cast<int>(cards::FaceOfCard(card));
        EXPECT_TRUE(seen.insert({face, a}).second) << "card " << card << " repeats " << a;
    }
    EXPECT_EQ(seen.size(), 276u);
}

// The one numbering that the draw, the loader, the card generator and the
// other tests take their ranges and files from, written out by hand here so
// that a slip in it cannot pass unseen.
TEST(CardTable, FaceRangesAndCardFilesWrittenOutInFull) {
    struct FaceCase { cards::Face face; const char* mode; int first, last; };
    const FaceCase faces[] = {{cards::Face::Standard, "Arabic", 1, 92},
                              {cards::Face::Roman, "Roman", 93, 184},
                              {cards::Face::Modern, "NoNum", 185, 276}};
    ASSERT_EQ(std::size(cards::kFaceRanges), std::size(faces));
    for (std::size_t i = 0; i < std::size(faces); ++i) {
        const cards::FaceRange& r = cards::kFaceRanges[i];
        EXPECT_EQ(r.face, faces[i].face) << i;
        EXPECT_STREQ(r.mode, faces[i].mode) << i;
        EXPECT_EQ(r.firstCard, faces[i].first) << i;
        EXPECT_EQ(r.lastCard, faces[i].last) << i;
        EXPECT_EQ(&cards::RangeOfFace(faces[i].face), &r) << i;
        for (int card = faces[i].first; card <= faces[i].last; ++card)
            EXPECT_EQ(cards::FaceOfCard(card), faces[i].face) << "card " << card;
    }
    EXPECT_EQ(cards::kFirstCard, 1);
    EXPECT_EQ(cards::kLastCard, 276);

    ASSERT_EQ(std::size(cards::kCardFiles), 2u);
    EXPECT_STREQ(cards::kCardFiles[0].name, "ProgramResources1");
    EXPECT_STREQ(cards::kCardFiles[1].name, "ProgramResources2");
    EXPECT_EQ(cards::kCardFiles[0].firstCard, 1);
    EXPECT_EQ(cards::kCardFiles[0].lastCard, 240);
    EXPECT_EQ(cards::kCardFiles[1].firstCard, 241);
    EXPECT_EQ(cards::kCardFiles[1].lastCard, 276);
    // The loader's rule, for every number it may be given: the key is the
    // id below 368; from there on 240 less, in the second file.
    for (int card = -300; card <= 600; ++card) {
        int id = card + 127;
        const char* file = "ProgramResources1";
        if (id >= 368) {
            id -= 240;
            file = "ProgramResources2";
        }
        EXPECT_EQ(cards::KeyOfCard(card), card + 127) << "card " << card;
        EXPECT_STREQ(cards::PictureOfCard(card).file->name, file) << "card " << card;
        EXPECT_EQ(cards::PictureOfCard(card).id, id) << "card " << card;
    }
}

// ---- the draw, with a scripted Rnd ----------------------------------------

class CardDraw : public ::testing::Test {
protected:
    void SetUp() override {
        mGlobals::iCardNum = 0;
        mGlobals::iPreviousCard = 0;
    }
    // The Rnd that makes the draw give card c for a face whose highest card is hi.
    static double For(int c, int hi) { return (c - 1 + 0.5) / hi; }
    FakeServices fakes;
};

TEST_F(CardDraw, FirstDrawMayGiveTheLowestAndTheHighestCard) {
    struct Case { const char* mode; int lo, hi; };
    for (const Case c : {Case{"Arabic", 1, 92}, Case{"Roman", 93, 184}, Case{"NoNum", 185, 276}}) {
        mGlobals::sPracticeMode = c.mode;
        for (int card : {c.lo, c.hi}) {
            mGlobals::iPreviousCard = 0;
            fakes.rnd = {For(card, c.hi)};
            mGlobals::mGetRandCard();
            EXPECT_EQ(mGlobals::iCardNum, card) << c.mode;
            EXPECT_EQ(mGlobals::iPreviousCard, card) << c.mode;
        }
    }
    // The scale is the highest card: just below 1 gives it, 0 gives card 1.
    mGlobals::sPracticeMode = "Arabic";
    mGlobals::iPreviousCard = 0;
    fakes.rnd = {0.0};
    mGlobals::mGetRandCard();
    EXPECT_EQ(mGlobals::iCardNum, 1);
    fakes.rnd = {0.9999999};
    mGlobals::mGetRandCard();
    EXPECT_EQ(mGlobals::iCardNum, 92);
}

TEST_F(CardDraw, RejectsThePreviousCardAndCardsBelowTheFaceYieldingOncePerRedraw) {
    mGlobals::sPracticeMode = "Roman";
    mGlobals::iPreviousCard = 100;
    // 5 (below the face), 100 (the previous card), then 150.
    fakes.rnd = {For(5, 184), For(100, 184), For(150, 184)};
    mGlobals::mGetRandCard();
    EXPECT_EQ(mGlobals::iCardNum, 150);
    EXPECT_EQ(mGlobals::iPreviousCard, 150);
    EXPECT_EQ(fakes.rndCalls, 3);

    // A card may come back after one other: 5, 17, 5.
    mGlobals::sPracticeMode = "Arabic";
    for (int card : {5, 17, 5}) {
        fakes.rnd = {For(card, 92)};
        mGlobals::mGetRandCard();
        EXPECT_EQ(mGlobals::iCardNum, card);
    }
}

TEST_F(CardDraw, APreviousCardOfAnotherFaceRestrictsNothing) {
    mGlobals::sPracticeMode = "NoNum";
    mGlobals::iPreviousCard = 50;  // a standard-face card
    fakes.rnd = {For(185, 276)};
    mGlobals::mGetRandCard();
    EXPECT_EQ(mGlobals::iCardNum, 185);
    EXPECT_EQ(fakes.rndCalls, 1);
}

TEST_F(CardDraw, AnUnknownModeDrawsNothing) {
    for (const char* mode : {"", "WordProb", "arabic"}) {
        mGlobals::sPracticeMode = mode;
        mGlobals::iCardNum = 42;
        mGlobals::iPreviousCard = 7;
        mGlobals::mGetRandCard();
        EXPECT_EQ(mGlobals::iCardNum, 42);
        EXPECT_EQ(mGlobals::iPreviousCard, 42);
    }
    EXPECT_EQ(fakes.rndCalls, 0);
}

TEST_F(CardDraw, TwoDrawsInARowNeverGiveTheSameCard) {
    for (const char* mode : {"Arabic", "Roman", "NoNum"}) {
        mGlobals::sPracticeMode = mode;
        int last = 0;
        for (int i = 0; i < 200; ++i) {
            mGlobals::mGetRandCard();
            ASSERT_NE(mGlobals::iCardNum, last) << mode;
            last = mGlobals::iCardNum;
        }
    }
}

}  // namespace

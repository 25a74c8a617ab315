// The numbering of the 276 clock cards: the time each card shows, which
// cards belong to which clock face, and in which card picture file and under
// which picture id each card lies. Fixed data, the one copy of it, read by
// the card draw, the expected-answer lookup, the card loader, the card
// picture generator and the tests. Plain C++, nothing of Qt.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cards {

struct CardTime {
    std::int8_t hour;    // 1..12
    std::int8_t minute;  // 0..55, multiple of 5
};

inline constexpr int kFirstCard = 1;
inline constexpr int kLastCard = 276;

// kCardTimes[n - 1] is the time of card n.
inline constexpr std::array<CardTime, kLastCard> kCardTimes = {{
    { 4,  0}, { 4, 55}, { 9, 10}, { 9, 15}, { 4, 45}, { 9, 30}, { 9, 45}, { 9, 55},  // 1-8
    { 9,  0}, { 1, 10}, { 1, 15}, { 1, 25}, { 1, 30}, { 1, 45}, { 1, 50}, { 1,  0},  // 9-16
    { 7, 10}, { 7, 15}, { 7, 20}, { 7, 30}, { 7, 45}, { 7, 50}, { 7,  0}, { 6,  5},  // 17-24
    { 6, 15}, { 6, 30}, { 6, 40}, { 6, 45}, { 6,  0}, {10,  5}, {10, 15}, {10, 25},  // 25-32
    {10, 30}, {10, 35}, {10, 40}, {10, 45}, {10,  0}, { 3, 10}, { 3, 15}, { 3, 20},  // 33-40
    { 3, 30}, { 3, 35}, { 3, 45}, { 3, 50}, { 3,  0}, {12,  5}, {12, 15}, {12, 20},  // 41-48
    {12, 30}, {12, 40}, {12, 45}, {12, 55}, {12,  0}, { 2,  5}, { 2, 15}, { 2, 25},  // 49-56
    { 2, 30}, { 2, 40}, { 2, 45}, { 2, 55}, { 2,  0}, { 4, 30}, { 4, 15}, { 4,  5},  // 57-64
    { 5,  0}, { 5, 55}, { 5, 50}, { 5, 45}, { 5, 40}, { 5, 35}, { 5, 30}, { 5, 25},  // 65-72
    { 5, 15}, { 5, 10}, {11,  0}, {11, 50}, {11, 45}, {11, 35}, {11, 30}, {11, 20},  // 73-80
    {11, 15}, {11, 10}, { 8,  0}, { 8, 55}, { 8, 50}, { 8, 45}, { 8, 40}, { 8, 35},  // 81-88
    { 8, 30}, { 8, 25}, { 8, 15}, { 8,  5}, { 8, 10}, { 8, 20}, { 8, 25}, { 8, 30},  // 89-96
    { 8, 35}, { 8, 40}, { 8, 45}, { 8, 50}, { 8, 55}, { 8,  5}, { 8,  0}, {11, 10},  // 97-104
    {11, 15}, {11, 25}, {11, 30}, {11, 35}, {11, 40}, {11, 50}, {11, 45}, {11, 55},  // 105-112
    {11,  5}, {11,  0}, { 5, 15}, { 5,  0}, { 4, 10}, { 4, 30}, { 4, 45}, { 4, 50},  // 113-120
    { 4,  5}, { 4,  0}, { 9, 15}, { 9, 25}, { 9, 45}, { 9,  0}, { 9,  5}, { 1, 10},  // 121-128
    { 1, 15}, { 1, 20}, { 1, 25}, { 1, 30}, { 1, 35}, { 1, 40}, { 1, 45}, { 1, 50},  // 129-136
    { 1, 55}, { 1,  5}, { 1,  0}, { 7, 15}, { 7, 30}, { 7, 45}, { 7,  0}, { 6, 30},  // 137-144
    { 6,  0}, {10, 30}, {10, 45}, {10,  0}, { 3, 10}, { 3, 15}, { 3, 20}, { 3, 25},  // 145-152
    { 3, 30}, { 3, 35}, { 3, 40}, { 3, 45}, { 3, 50}, { 3, 55}, { 3,  5}, { 3,  0},  // 153-160
    {12, 10}, {12, 15}, {12, 20}, {12, 25}, {12, 30}, {12, 35}, {12, 40}, {12, 45},  // 161-168
    {12, 50}, {12, 55}, {12,  5}, {12,  0}, { 2, 10}, { 2, 15}, { 2, 20}, { 2, 25},  // 169-176
    { 2, 30}, { 2, 35}, { 2, 40}, { 2, 45}, { 2, 50}, { 2, 55}, { 2,  5}, { 2,  0},  // 177-184
    { 8, 20}, { 8, 30}, { 8, 35}, { 8, 40}, { 8, 50}, { 8, 55}, { 8,  0}, {11, 20},  // 185-192
    {11, 35}, {11, 45}, { 5, 15}, { 5, 20}, { 5, 30}, { 5, 40}, { 5, 45}, { 5, 55},  // 193-200
    { 5,  5}, { 5,  0}, { 4, 15}, { 4, 25}, { 4, 35}, { 4, 45}, { 4, 50}, { 4, 55},  // 201-208
    { 4,  5}, { 4,  0}, { 9, 10}, { 9, 15}, { 9, 20}, { 9, 30}, { 9, 40}, { 9, 50},  // 209-216
    { 9,  5}, { 9,  0}, { 1, 10}, { 1, 15}, { 1, 20}, { 1, 25}, { 1, 30}, { 1, 35},  // 217-224
    { 1, 40}, { 1, 45}, { 1, 50}, { 1, 55}, { 1,  0}, { 7, 10}, { 7, 15}, { 7, 25},  // 225-232
    { 7, 45}, { 7, 55}, { 7,  5}, { 6, 15}, { 6, 20}, { 6, 30}, { 6, 35}, { 6, 45},  // 233-240
    { 6, 50}, { 6,  0}, {10, 25}, {10, 40}, {10, 55}, { 3, 10}, { 3, 20}, { 3, 25},  // 241-248
    { 3, 30}, { 3, 35}, { 3, 40}, { 3, 50}, { 3,  5}, { 3,  0}, {12, 10}, {12, 15},  // 249-256
    {12, 20}, {12, 25}, {12, 30}, {12, 35}, {12, 40}, {12, 45}, {12, 50}, {12, 55},  // 257-264
    {12,  5}, { 2, 15}, { 2, 20}, { 2, 25}, { 2, 30}, { 2, 35}, { 2, 40}, { 2, 45},  // 265-272
    { 2, 50}, { 2, 55}, { 2,  5}, { 2,  0},  // 273-276
}};

// ---- clock faces ----------------------------------------------------------

enum class Face { Standard, Roman, Modern };

// The cards of each face, in card order, and the practice mode that shows
// them. The highest card of a face is also the scale of the card draw.
struct FaceRange {
    Face face;
    const char* mode;  // sPracticeMode
    int firstCard;
    int lastCard;
};
inline constexpr FaceRange kFaceRanges[] = {
    {Face::Standard, "Arabic", 1, 92},   // standard face, Arabic numerals
    {Face::Roman, "Roman", 93, 184},     // classic face, Roman numerals
    {Face::Modern, "NoNum", 185, 276},   // modern face, no numbers
};

constexpr const FaceRange& RangeOfFace(Face face) {
    for (const FaceRange& r : kFaceRanges)
        if (r.face == face) return r;
    return kFaceRanges[0];
}

// The face of a card; numbers below the first card count as the first face,
// numbers above the last card as the last face.
constexpr Face FaceOfCard(int card) {
    for (const FaceRange& r : kFaceRanges)
        if (card <= r.lastCard) return r.face;
    return kFaceRanges[std::size(kFaceRanges) - 1].face;
}

constexpr bool IsCard(int card) { return card >= kFirstCard && card <= kLastCard; }

// ---- card picture files ---------------------------------------------------

// A card's key is its number plus 127: the key of the card-to-time table and
// the card's picture id in the first card file.
inline constexpr int kKeyOffset = 127;

constexpr int KeyOfCard(int card) { return card + kKeyOffset; }

// The cards of each card picture file in the bundle's "Resources" folder.
// The second file numbers its pictures from the same first id as the first:
// its ids are the keys less the number of cards in the first file.
struct CardFile {
    const char* name;
    int firstCard;
    int lastCard;
};
inline constexpr CardFile kCardFiles[] = {
    {"ProgramResources1", 1, 240},
    {"ProgramResources2", 241, 276},
};

struct CardPicture {
    const CardFile* file;
    int id;
};

// Where the picture of a card lies. Every number has an answer, as the
// loader reads it: up to the last card of the first file, the first file
// with the key as id; above it, the second file with the key less the
// first file's cards.
constexpr CardPicture PictureOfCard(int card) {
    const CardFile& first = kCardFiles[0];
    if (card <= first.lastCard) return {&first, KeyOfCard(card)};
    return {&kCardFiles[1], KeyOfCard(card) - first.lastCard};
}

// ---- the pieces fit together ----------------------------------------------

constexpr bool FacesFollowOneAnother() {
    int next = kFirstCard;
    for (const FaceRange& r : kFaceRanges) {
        if (r.firstCard != next || r.lastCard < r.firstCard) return false;
        next = r.lastCard + 1;
    }
    return next == kLastCard + 1;
}
static_assert(FacesFollowOneAnother(), "the faces cover cards 1 to 276 in order");
static_assert(std::size(kCardFiles) == 2 && kCardFiles[0].firstCard == kFirstCard &&
                  kCardFiles[1].firstCard == kCardFiles[0].lastCard + 1 &&
                  kCardFiles[1].lastCard == kLastCard,
              "the two card files cover cards 1 to 276 in order");
static_assert(PictureOfCard(kFirstCard).id == PictureOfCard(kCardFiles[1].firstCard).id,
              "both card files number their pictures from the same first id");
static_assert(PictureOfCard(kCardFiles[0].lastCard).id <= INT16_MAX, "picture ids are 16-bit");

}  // namespace cards

// Card draw and expected answer.
#include "cards/CardTable.h"
#include "cards/mGlobals.h"
#include "platform/Application.h"
#include "platform/Services.h"

namespace mGlobals {
namespace {

// The draw is scaled by the highest card, not by the number of cards: values
// below the face's range are drawn like any other and rejected.
Int32 Draw(Int32 hi) {
    return tk::CInt32(tk::services().Rnd() * static_cast<double>(hi) + 1.0);
}

String Digit(int d) { return String(1, static_cast<char>('0' + d)); }

}  // namespace

void mGetRandCard() {
    for (const cards::FaceRange& r : cards::kFaceRanges) {
        if (sPracticeMode != r.mode) continue;
        iCardNum = Draw(r.lastCard);
        while (iCardNum < r.firstCard || iCardNum > r.lastCard || iCardNum == iPreviousCard) {
            iCardNum = Draw(r.lastCard);
            tk::Yield();
        }
        break;
    }
    iPreviousCard = iCardNum;
}

void mSetCard() {
    if (!cards::IsCard(iCardNum)) return;
    const cards::CardTime t = cards::kCardTimes[static_cast<std::size_t>(iCardNum - 1)];
    sValue1 = Digit(t.hour / 10);
    sValue2 = Digit(t.hour % 10);
    sValue3 = Digit(t.minute / 10);
    sValue4 = Digit(t.minute % 10);
}

void ReleaseAll() {
    sPracticeMode.clear();
    sValue1.clear();
    sValue2.clear();
    sValue3.clear();
    sValue4.clear();
    pClockFace = tk::Picture();
}

}  // namespace mGlobals

// The state a round shares between windows, and the routines of the card
// deck that work on it. One copy of each global for the whole run. (The
// test programs put every global back after each test, from the list in
// tests/support/ProgramState.cpp: a global added here belongs there too.)
#pragma once

#include "platform/Picture.h"
#include "platform/Types.h"

namespace mGlobals {

using tk::Int32;
using tk::String;

// Practice mode: "Arabic", "Roman", "NoNum", "WordProb"; "" while the
// selection window is open.
inline String sPracticeMode;
inline Int32 iScore = 0;
inline Int32 iRemainingQuestions = 0;
inline Int32 iTotalNumofQuestions = 0;
inline Int32 iCardNum = 0;
inline Int32 iPreviousCard = 0;
// Expected answer: hour tens, hour units, minute tens, minute units.
inline String sValue1, sValue2, sValue3, sValue4;
// Picture of the card loaded last; nil while a load is under way or failed.
inline tk::Picture pClockFace;
inline bool bArabicClockIsOpen = false;
inline bool bWordProbIsOpen = false;

// Draws the next card of the current clock face, never the card drawn last.
void mGetRandCard();
// Sets sValue1..sValue4 from the time of iCardNum; other cards change nothing.
void mSetCard();
// Loads the picture of iCardNum into pClockFace from the bundle's card files.
void mOpenCard();

// Lets go of the strings and the picture at the end of the run.
void ReleaseAll();

}  // namespace mGlobals

// The bundle's pictures and sounds, each loaded from the Resources folder on
// first use and kept for the run, and the click wait of window switches.
#pragma once

#include "platform/Picture.h"
#include "platform/Sound.h"

tk::Picture tickmoorLogo();
tk::Picture NineRoman();
tk::Picture exSel_Standard();
tk::Picture exSel_Roman();
tk::Picture exSel_Modern();
tk::Picture pWordProb();
tk::Picture pResultsBanner();
tk::Picture pAwardStarPrint();

tk::Sound CorrectAnswer();
tk::Sound WrongAnswer();
tk::Sound myBeep();
tk::Sound chime();

namespace shell {

// Plays the click sound and yields until it has finished.
void ClickWait();
// Lets the four sounds go at the end of the run.
void ReleaseSounds();
// For test programs only (see ResetForTests in App.h): forgets every picture
// and sound, loaded or failed, so each is looked up again at its next use as
// in a fresh run.
void ForgetMediaForTests();

}  // namespace shell

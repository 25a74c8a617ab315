// The bundle's four sounds, synthesised sample by sample. No Qt, so the
// synthesis stays plain arithmetic and gives the same bytes on every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

inline constexpr int kSampleRate = 44100;

// Mono samples in -1..1.
using Signal = std::vector<double>;

Signal Click();          // window switch, ~80 ms
Signal CorrectFigure();  // bright rising arpeggio
Signal WrongFigure();    // soft low falling pair
Signal Chime();          // a small bell

// Scales the signal so its largest magnitude is peak (0 < peak < 1).
void Normalise(Signal& s, double peak);

// RIFF/WAVE, PCM 16-bit mono at kSampleRate.
std::vector<std::uint8_t> EncodeWav(const Signal& s);
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace media

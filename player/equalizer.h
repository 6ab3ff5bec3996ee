// The ten equalizer bands of `equalizer.txt` (0..30 each, 15 flat; the gain in dB is
// 15 - value), read at start-up and applied to each new stream.
#pragma once

#include <array>
#include <string>

extern std::array<int, 10> EqualizerBands;

// Reads the ten band values from the file of that name in the program folder.
void LoadEqualizerFile(const std::string& FileName);

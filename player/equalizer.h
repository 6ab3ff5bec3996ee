// The ten equalizer bands: their values in `EqualizerBands` (0..30 each, 15 flat; the gain in
// dB is 15 - value), the files that hold them (`equalizer.txt` and the presets of the folder
// `Equalizer`), and the gains of the bands on the stream that plays now.
//
//   LoadEqualizerFile("equalizer.txt");          // start-up
//   SetBandGain(0, BandGain(value));             // band 1 of the current stream
//   SaveEqualizerFile(values);                   // the settings dialog's OK
#pragma once

#include <array>
#include <string>

#include "player/stream_effects.h"

// A band's value at which it neither raises nor lowers its frequencies.
inline constexpr int kFlatBandValue = 15;

using TEqualizerValues = std::array<int, kBandCount>;

// The gain in dB of a band's value.
inline float BandGain(int value) { return static_cast<float>(kFlatBandValue - value); }

// Applied by the stream-open thread to every new stream while the equalizer is on.
extern TEqualizerValues EqualizerBands;

// The ten values of a band file (one decimal per line). A file that is missing, shorter than
// ten lines or not made of numbers raises its error and changes nothing.
TEqualizerValues ReadEqualizerFile(const std::string& Path);
// Reads the file of that name in the program folder into `EqualizerBands`.
void LoadEqualizerFile(const std::string& FileName);
// Writes `equalizer.txt` in the program folder and takes the values into `EqualizerBands`.
void SaveEqualizerFile(const TEqualizerValues& Values);

// Sets the gain (dB) of band `Band` (0 = band 1) of the stream that plays now; without a
// stream there is nothing to change.
void SetBandGain(int Band, float GainDb);

// The equalizer and reverb on a stream: ten peaking bands and a reverb whose mix is all the
// way down, installed on each new stream and at start-up. The settings dialog changes the
// band gains of the current stream through the published handles.
//
//   TEffectHandles fx = CreateEffects(channel, kStreamBands);
//   SetBandGains(fx, EqualizerBands);     // gain 15 - value dB per band
//   PublishEffects(fx);
#pragma once

#include <windows.h>

#include <array>
#include <atomic>

inline constexpr int kBandCount = 10;

// Where the ten bands sit and how wide they are.
struct TBandLayout {
  std::array<float, kBandCount> Centres;  // Hz
  float Bandwidth;                        // semitones
};

// The bands of every stream the stream-open thread opens.
inline constexpr TBandLayout kStreamBands{
    {80, 170, 310, 600, 1000, 3000, 7000, 12000, 14000, 16000}, 3};
// The bands installed at start-up, on whatever stream there is then (normally none).
inline constexpr TBandLayout kStartupBands{
    {60, 170, 310, 600, 1000, 3000, 6000, 12000, 14000, 16000}, 18};

struct TEffectHandles {
  std::array<DWORD, kBandCount> Bands{};
  DWORD Reverb = 0;
};

// The current stream's effects (0 where the audio library refused), for the settings dialog.
extern std::array<std::atomic<DWORD>, kBandCount> EqualizerFx;
extern std::atomic<DWORD> ReverbFx;
extern std::atomic<bool> EffectsInstalled;

// Installs the bands flat (0 dB) and the reverb silent on the channel; without a stream the
// audio library refuses and the handles are 0.
TEffectHandles CreateEffects(DWORD channel, const TBandLayout& layout);
// Band i gets 15 - bands[i] dB, as the equalizer settings hold them (0..30, 15 flat).
void SetBandGains(const TEffectHandles& effects, const std::array<int, kBandCount>& bands);
void PublishEffects(const TEffectHandles& effects);

#include "player/stream_effects.h"

#include "audio/audio.h"

std::array<std::atomic<DWORD>, kBandCount> EqualizerFx{};
std::atomic<DWORD> ReverbFx{0};
std::atomic<bool> EffectsInstalled{false};

namespace {

constexpr int kEffectPriority = 1;
// The equalizer settings' value of a flat band.
constexpr int kFlatBand = 15;

}  // namespace

TEffectHandles CreateEffects(DWORD channel, const TBandLayout& layout) {
  TEffectHandles effects;
  for (DWORD& band : effects.Bands) band = BASS_ChannelSetFX(channel, audio::FxEqualizer, kEffectPriority);
  effects.Reverb = BASS_ChannelSetFX(channel, audio::FxReverb, kEffectPriority);

  for (int i = 0; i < kBandCount; ++i) {
    audio::EqualizerParams band{layout.Centres[i], layout.Bandwidth, 0};
    BASS_FXSetParameters(effects.Bands[i], &band);
  }
  // Kept for the sound of the station, never heard: the mix is at the bottom of its range.
  audio::ReverbParams reverb{};
  BASS_FXGetParameters(effects.Reverb, &reverb);
  reverb.mix = -96;
  reverb.time = 1500;
  reverb.highFreqRatio = 0.1f;
  BASS_FXSetParameters(effects.Reverb, &reverb);
  return effects;
}

void SetBandGains(const TEffectHandles& effects, const std::array<int, kBandCount>& bands) {
  for (int i = 0; i < kBandCount; ++i) {
    audio::EqualizerParams band{};
    BASS_FXGetParameters(effects.Bands[i], &band);
    band.gain = static_cast<float>(kFlatBand - bands[i]);
    BASS_FXSetParameters(effects.Bands[i], &band);
  }
}

void PublishEffects(const TEffectHandles& effects) {
  for (int i = 0; i < kBandCount; ++i) EqualizerFx[i] = effects.Bands[i];
  ReverbFx = effects.Reverb;
  EffectsInstalled = true;
}

// The effects a stream's sound passes through: peaking equalizer bands and a reverb, on
// interleaved stereo float samples, each with the parameter record of audio.h.
//
//   auto band = makeEffect(audio::FxEqualizer, 44100);
//   band->setParams(&eq);        // false when a value is out of range
//   band->process(samples, frames);
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "audio/audio.h"

namespace audio {

class Effect {
 public:
  virtual ~Effect() = default;
  virtual bool setParams(const void* params) = 0;
  virtual void getParams(void* params) const = 0;
  virtual void process(float* stereo, std::size_t frames) = 0;
};

// The effects of one stream in the order they run. Equalizer bands that follow one another run
// as one bank, each block of frames through every band before the next block: the sound is
// exactly what the bands give one after the other.
//
//   EffectChain chain;
//   chain.assign({&band1, ..., &band10, &reverb});   // the chain only points at the effects
//   chain.process(samples, frames);
class EffectChain {
 public:
  void assign(std::vector<Effect*> effects);
  void process(float* stereo, std::size_t frames);

 private:
  std::vector<Effect*> effects_;
};

// An effect of kind FxEqualizer or FxReverb at the given rate, with its defaults; null for
// another kind.
std::unique_ptr<Effect> makeEffect(DWORD kind, double rate);

void applyVolume(float* samples, std::size_t count, float volume);

}  // namespace audio

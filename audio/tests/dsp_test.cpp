// The effects on samples made here: the reverb's tail follows its time and mix.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/dsp.h"

namespace {

// The energy of the left side from `from` to `to` seconds after a unit impulse.
double tailEnergy(audio::Effect& effect, double from, double to) {
  const double rate = 44100;
  std::vector<float> stereo(static_cast<std::size_t>(rate * to) * 2, 0.0f);
  stereo[0] = stereo[1] = 1.0f;
  effect.process(stereo.data(), stereo.size() / 2);
  double energy = 0;
  for (std::size_t i = static_cast<std::size_t>(rate * from) * 2; i < stereo.size(); i += 2) energy += stereo[i] * stereo[i];
  return energy;
}

std::unique_ptr<audio::Effect> reverb(float mix, float timeMs) {
  auto effect = audio::makeEffect(audio::FxReverb, 44100);
  audio::ReverbParams params{0, mix, timeMs, 0.5f};
  EXPECT_TRUE(effect->setParams(&params));
  return effect;
}

TEST(Reverb, TailLastsLongerWithALongerTimeAndVanishesAtTheLowestMix) {
  EXPECT_GT(tailEnergy(*reverb(0, 3000), 0.5, 1.0), 10 * tailEnergy(*reverb(0, 300), 0.5, 1.0));
  EXPECT_GT(tailEnergy(*reverb(0, 1000), 0.05, 0.3), 1e-3);
  EXPECT_EQ(tailEnergy(*reverb(-96, 3000), 0.001, 1.0), 0.0);  // the player's "off"
}

TEST(Effects, UnknownKindsAreNotMade) {
  EXPECT_EQ(audio::makeEffect(9, 44100), nullptr);
  audio::ReverbParams defaults{};
  audio::makeEffect(audio::FxReverb, 44100)->getParams(&defaults);
  EXPECT_EQ(defaults.inputGain, 0);
}

}  // namespace

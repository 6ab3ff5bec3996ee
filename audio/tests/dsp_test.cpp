// The effects on samples made here: the reverb's tail follows its time and mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

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

// The effects work on blocks of frames and carry their state from call to call: sound handed
// over in uneven pieces must come out as it does in one piece (but for float rounding: a
// lost or misplaced state differs by tenths).
TEST(Effects, SoundInUnevenPiecesComesOutAsInOnePiece) {
  std::vector<float> noise(44100 * 2);
  unsigned seed = 1;
  for (float& s : noise) s = static_cast<float>((seed = seed * 1103515245 + 12345) >> 16 & 0x7fff) / 32768 - 0.5f;
  audio::EqualizerParams low{80, 3, 12}, high{12000, 1, -15};
  audio::ReverbParams room{-3, -6, 1200, 0.3f};
  struct Case {
    const char* name;
    DWORD kind;
    const void* params;
  } cases[] = {{"low band", audio::FxEqualizer, &low}, {"high band", audio::FxEqualizer, &high},
               {"reverb", audio::FxReverb, &room}};
  for (const Case& c : cases) {
    auto whole = audio::makeEffect(c.kind, 44100), pieces = audio::makeEffect(c.kind, 44100);
    ASSERT_TRUE(whole->setParams(c.params) && pieces->setParams(c.params)) << c.name;
    std::vector<float> once = noise, split = noise;
    whole->process(once.data(), once.size() / 2);
    for (std::size_t at = 0, n = 1; at < split.size() / 2; at += n, n = n % 37 + 3)
      pieces->process(split.data() + at * 2, std::min(n, split.size() / 2 - at));
    double worst = 0;
    for (std::size_t i = 0; i < once.size(); ++i) worst = std::max(worst, double(std::fabs(once[i] - split[i])));
    EXPECT_LT(worst, 1e-4) << c.name;
  }
}

TEST(Effects, UnknownKindsAreNotMade) {
  EXPECT_EQ(audio::makeEffect(9, 44100), nullptr);
  audio::ReverbParams defaults{};
  audio::makeEffect(audio::FxReverb, 44100)->getParams(&defaults);
  EXPECT_EQ(defaults.inputGain, 0);
}

}  // namespace

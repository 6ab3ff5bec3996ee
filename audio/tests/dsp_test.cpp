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

std::vector<float> noise(std::size_t frames) {
  std::vector<float> samples(frames * 2);
  unsigned seed = 7;
  for (float& s : samples) s = static_cast<float>((seed = seed * 1103515245 + 12345) >> 16 & 0x7fff) / 32768 - 0.5f;
  return samples;
}

double worstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  double worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, double(std::fabs(a[i] - b[i])));
  return worst;
}

// The chain runs neighbouring bands side by side; the sound must be what the bands give one
// after the other, whatever the number of bands, flat ones among them, the other effects
// between them and the pieces the sound comes in.
TEST(EffectChain, SoundsAsTheEffectsOneAfterAnother) {
  const float centres[] = {80, 170, 310, 600, 1000, 3000, 7000, 12000, 14000, 16000};
  const float preset[] = {6, 4, 2, 0, -2, -3, 2, 4, 5, 6};
  const float extremes[] = {15, -15, 15, -15, 15, -15, 15, -15, 15, -15};
  struct Case {
    const char* name;
    const float* gains;
    int bands;
    int reverbAfter;  // bands before the reverb; -1: no reverb
    float bandwidth;
  } cases[] = {{"ten bands of a preset", preset, 10, -1, 3},   {"extreme gains", extremes, 10, -1, 3},
               {"wide bands", preset, 10, -1, 18},             {"three bands", preset, 3, -1, 3},
               {"two bands", extremes, 2, -1, 3},              {"one band", preset, 1, -1, 3},
               {"bands, reverb, bands", preset, 10, 4, 3},     {"bands then reverb", preset, 10, 10, 3}};
  const std::vector<float> input = noise(44100);
  for (const Case& c : cases) {
    std::vector<std::unique_ptr<audio::Effect>> alone, together;
    for (auto* effects : {&alone, &together}) {
      for (int i = 0; i <= c.bands; ++i) {
        if (i == c.reverbAfter) {
          effects->push_back(audio::makeEffect(audio::FxReverb, 44100));
          audio::ReverbParams room{-3, -6, 1200, 0.3f};
          ASSERT_TRUE(effects->back()->setParams(&room));
        }
        if (i == c.bands) break;
        effects->push_back(audio::makeEffect(audio::FxEqualizer, 44100));
        audio::EqualizerParams band{centres[i], c.bandwidth, c.gains[i]};
        ASSERT_TRUE(effects->back()->setParams(&band));
      }
    }
    audio::EffectChain chain;
    std::vector<audio::Effect*> order;
    for (auto& effect : together) order.push_back(effect.get());
    chain.assign(order);
    std::vector<float> expected = input, got = input;
    for (std::size_t at = 0, n = 1; at < got.size() / 2; at += n, n = n * 3 % 2000 + 1) {
      n = std::min(n, got.size() / 2 - at);
      for (auto& effect : alone) effect->process(expected.data() + at * 2, n);
      chain.process(got.data() + at * 2, n);
    }
    EXPECT_LT(worstDifference(expected, got), 1e-5) << c.name;
    EXPECT_GT(worstDifference(input, got), 0.01) << c.name;
  }
}

TEST(Effects, UnknownKindsAreNotMade) {
  EXPECT_EQ(audio::makeEffect(9, 44100), nullptr);
  audio::ReverbParams defaults{};
  audio::makeEffect(audio::FxReverb, 44100)->getParams(&defaults);
  EXPECT_EQ(defaults.inputGain, 0);
}

}  // namespace

#include "audio/dsp.h"

#include <array>
#include <cmath>
#include <vector>

namespace audio {
namespace {

double dbToGain(double db) { return std::pow(10.0, db / 20.0); }

// A peaking biquad (the audio equalizer cookbook form), one state per side.
class PeakingBand : public Effect {
 public:
  explicit PeakingBand(double rate) : rate_(rate) { design(); }

  bool setParams(const void* params) override {
    const auto& p = *static_cast<const EqualizerParams*>(params);
    if (!(p.centre > 0 && p.centre < rate_ / 2) || !(p.bandwidth >= 1 && p.bandwidth <= 36) ||
        !(p.gain >= -15 && p.gain <= 15))
      return false;
    params_ = p;
    design();
    return true;
  }

  void getParams(void* params) const override {
    *static_cast<EqualizerParams*>(params) = params_;
  }

  void process(float* stereo, std::size_t frames) override {
    if (params_.gain == 0) return;  // flat: leave the samples exactly as they are
    for (int side = 0; side < 2; ++side) {
      State z = state_[side];
      for (float* s = stereo + side; s < stereo + frames * 2; s += 2) {
        double x = *s;
        double y = b0_ * x + b1_ * z.x1 + b2_ * z.x2 - a1_ * z.y1 - a2_ * z.y2;
        z.x2 = z.x1;
        z.x1 = x;
        z.y2 = z.y1;
        z.y1 = y;
        *s = static_cast<float>(y);
      }
      state_[side] = z;
    }
  }

 private:
  struct State {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  };

  void design() {
    double a = std::pow(10.0, params_.gain / 40.0);
    double w0 = 2 * M_PI * params_.centre / rate_;
    double octaves = params_.bandwidth / 12.0;
    double alpha = std::sin(w0) * std::sinh(std::log(2.0) / 2 * octaves * w0 / std::sin(w0));
    double a0 = 1 + alpha / a;
    b0_ = (1 + alpha * a) / a0;
    b1_ = -2 * std::cos(w0) / a0;
    b2_ = (1 - alpha * a) / a0;
    a1_ = b1_;
    a2_ = (1 - alpha / a) / a0;
  }

  double rate_;
  EqualizerParams params_{1000, 12, 0};
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  std::array<State, 2> state_{};
};

// A Schroeder-style room: four damped feedback combs in parallel, then two all-passes, per
// side with slightly different lengths so that the sides do not sound alike.
class Reverb : public Effect {
 public:
  explicit Reverb(double rate) : rate_(rate) {
    static constexpr double combMs[4] = {29.7, 37.1, 41.1, 43.7};
    static constexpr double allpassMs[2] = {5.0, 1.7};
    for (int side = 0; side < 2; ++side) {
      double spread = side * 0.52;  // ms
      for (int i = 0; i < 4; ++i) sides_[side].combs[i].line.assign(samples(combMs[i] + spread), 0);
      for (int i = 0; i < 2; ++i)
        sides_[side].allpasses[i].line.assign(samples(allpassMs[i] + spread), 0);
    }
    design();
  }

  bool setParams(const void* params) override {
    const auto& p = *static_cast<const ReverbParams*>(params);
    if (!(p.inputGain >= -96 && p.inputGain <= 0) || !(p.mix >= -96 && p.mix <= 0) ||
        !(p.time >= 1 && p.time <= 3000) || !(p.highFreqRatio >= 0.001f && p.highFreqRatio <= 0.999f))
      return false;
    params_ = p;
    design();
    return true;
  }

  void getParams(void* params) const override { *static_cast<ReverbParams*>(params) = params_; }

  void process(float* stereo, std::size_t frames) override {
    if (wet_ == 0) {
      // At the lowest mix nothing of the room is heard: only the input gain applies.
      applyVolume(stereo, frames * 2, static_cast<float>(input_));
      return;
    }
    for (std::size_t i = 0; i < frames; ++i)
      for (int side = 0; side < 2; ++side) {
        float& s = stereo[i * 2 + side];
        double in = s * input_;
        s = static_cast<float>(in + wet_ * room(sides_[side], in));
      }
  }

 private:
  struct Comb {
    std::vector<float> line;
    std::size_t pos = 0;
    double feedback = 0, damp = 0, low = 0;
  };
  struct Allpass {
    std::vector<float> line;
    std::size_t pos = 0;
  };
  struct Side {
    std::array<Comb, 4> combs;
    std::array<Allpass, 2> allpasses;
  };

  std::size_t samples(double ms) const { return static_cast<std::size_t>(ms * rate_ / 1000) + 1; }

  void design() {
    input_ = dbToGain(params_.inputGain);
    wet_ = params_.mix <= -96 ? 0.0 : dbToGain(params_.mix) / 4;
    double time = params_.time / 1000.0;
    for (Side& side : sides_)
      for (Comb& comb : side.combs) {
        // Each pass through the loop falls by its share of 60 dB over the reverb time; high
        // frequencies fall over time * ratio, through a one-pole low-pass in the loop.
        double delay = comb.line.size() / rate_;
        comb.feedback = std::pow(10.0, -3 * delay / time);
        double high = std::pow(10.0, -3 * delay / (time * params_.highFreqRatio));
        double r = high / comb.feedback;
        comb.damp = (1 - r) / (1 + r);
      }
  }

  double room(Side& side, double in) {
    double sum = 0;
    for (Comb& comb : side.combs) {
      double out = comb.line[comb.pos];
      comb.low = out * (1 - comb.damp) + comb.low * comb.damp;
      comb.line[comb.pos] = static_cast<float>(in + comb.low * comb.feedback);
      if (++comb.pos == comb.line.size()) comb.pos = 0;
      sum += out;
    }
    for (Allpass& pass : side.allpasses) {
      double delayed = pass.line[pass.pos];
      double out = delayed - 0.7 * sum;
      pass.line[pass.pos] = static_cast<float>(sum + 0.7 * out);
      if (++pass.pos == pass.line.size()) pass.pos = 0;
      sum = out;
    }
    return sum;
  }

  double rate_;
  ReverbParams params_{0, 0, 1000, 0.5f};
  double input_ = 1, wet_ = 0;
  std::array<Side, 2> sides_;
};

}  // namespace

std::unique_ptr<Effect> makeEffect(DWORD kind, double rate) {
  if (kind == FxEqualizer) return std::make_unique<PeakingBand>(rate);
  if (kind == FxReverb) return std::make_unique<Reverb>(rate);
  return nullptr;
}

void applyVolume(float* samples, std::size_t count, float volume) {
  if (volume == 1.0f) return;
  for (std::size_t i = 0; i < count; ++i) samples[i] *= volume;
}

}  // namespace audio

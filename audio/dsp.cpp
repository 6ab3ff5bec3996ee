#include "audio/dsp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace audio {
namespace {

// Every stream runs up to ten bands and the reverb on every sample, so these loops decide
// whether effects cost next to nothing beside decoding. They work in float on four lanes at a
// time (one SSE register; plain scalar code where there is none) and keep each recursion's
// chain from one step to the next as short as the filter allows.
using Lanes = float __attribute__((vector_size(16)));
using LaneOrder = int __attribute__((vector_size(16)));

Lanes load(const float* p) {
  Lanes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void store(float* p, Lanes v) { std::memcpy(p, &v, sizeof v); }

// Two interleaved stereo frames [L0 R0 L1 R1] the other way round: [L1 R1 L0 R0].
Lanes swapFrames(Lanes v) { return __builtin_shuffle(v, LaneOrder{2, 3, 0, 1}); }

// Values this small only decay further; as denormals they would cost a hundred times more.
Lanes flushTiny(Lanes v) {
  for (int i = 0; i < 4; ++i)
    if (std::fabs(v[i]) < 1e-20f) v[i] = 0;
  return v;
}

double dbToGain(double db) { return std::pow(10.0, db / 20.0); }

// A peaking band of the audio equalizer cookbook, written as the input plus a resonance of the
// same poles, which is the same filter:
//   r[n] = g (x[n] - x[n-2]) - a1 r[n-1] - a2 r[n-2],   y[n] = x[n] + r[n]
// It runs four frames at a time: each pair of frames comes straight from the block's inputs
// and the last two r, with coefficients worked out once per parameter change, so one block
// waits on the previous one for a single multiply and two adds instead of a chain through
// every sample.
class PeakingBand : public Effect {
 public:
  explicit PeakingBand(double rate) : rate_(rate) { design(); }

  bool flat() const { return params_.gain == 0; }

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
    PeakingBand* self = this;
    processBands(&self, 1, stereo, frames);
  }

  // Runs the bands one after the other on the samples, the sounding ones in banks of up to
  // four (their state then stays in registers): a bank takes four frames at a time through
  // each of its bands before the next four, so that the bands' recursions can overlap instead
  // of each waiting on its own blocks in turn. Every band computes exactly what it computes
  // alone. (Measured against one band after the other the gain is small: a band's block
  // already keeps SSE's arithmetic busy; halving it would take fused multiply-adds.)
  static void processBands(PeakingBand* const* bands, std::size_t count, float* stereo, std::size_t frames) {
    std::array<PeakingBand*, 4> bank;
    std::size_t held = 0;
    auto run = [&] {
      switch (held) {
        case 1: runBank<1>(bank.data(), stereo, frames); break;
        case 2: runBank<2>(bank.data(), stereo, frames); break;
        case 3: runBank<3>(bank.data(), stereo, frames); break;
        case 4: runBank<4>(bank.data(), stereo, frames); break;
      }
      held = 0;
    };
    for (std::size_t i = 0; i < count; ++i) {
      if (bands[i]->flat()) continue;  // a flat band leaves the samples exactly as they are
      bank[held++] = bands[i];
      if (held == bank.size()) run();
    }
    run();
  }

  static constexpr std::size_t kMostBands = 16;

 private:
  template <int kBands>
  static void runBank(PeakingBand* const* bands, float* stereo, std::size_t frames) {
    // Local copies, kept in registers: stores through `stereo` could otherwise alias them.
    std::array<History, kBands> h;
    for (int b = 0; b < kBands; ++b) h[b] = bands[b]->history_;
    float* end = stereo + frames * 2;
    float* s = stereo;
    for (; end - s >= 8; s += 8)
      for (int b = 0; b < kBands; ++b) bands[b]->processBlock(h[b], s);
    for (int b = 0; b < kBands; ++b)
      for (float* t = s; t < end; t += 2) bands[b]->processFrame(h[b], t);
    for (int b = 0; b < kBands; ++b) bands[b]->history_ = {h[b].input, flushTiny(h[b].resonance)};
  }

  // Every value here is a pair of frames, both sides: [L R L R]. The block's r come from three
  // such pairs, the r of the two frames before the block and the block's two pairs of
  // x[n] - x[n-2]; each pair counts as it stands (`held`) and with its frames swapped.
  static constexpr int kSources = 3;
  struct Terms {
    std::array<Lanes, kSources> held, swapped;
  };
  // The two frames before the next one, the later one second.
  struct History {
    Lanes input, resonance;
  };

  [[gnu::always_inline]] void processBlock(History& h, float* s) const {
    Lanes x01 = load(s), x23 = load(s + 4);
    std::array<Lanes, kSources> held = {h.resonance, x01 - h.input, x23 - x01}, swapped;
    for (int i = 0; i < kSources; ++i) swapped[i] = swapFrames(held[i]);
    // The r before the block come in last: they alone wait on the previous block.
    auto pair = [&](const Terms& c, int sources) {
      Lanes sum = c.held[1] * held[1] + c.swapped[1] * swapped[1];
      for (int i = 2; i < sources; ++i) sum += c.held[i] * held[i] + c.swapped[i] * swapped[i];
      return (sum + c.held[0] * held[0]) + c.swapped[0] * swapped[0];
    };
    Lanes r01 = pair(early_, 2), r23 = pair(late_, 3);
    store(s, x01 + r01);
    store(s + 4, x23 + r23);
    h = {x23, r23};
  }

  // One frame at a time, for what is left over after the blocks.
  [[gnu::always_inline]] void processFrame(History& h, float* s) const {
    Lanes x = {h.input[2], h.input[3], s[0], s[1]}, r = h.resonance;
    for (int side = 0; side < 2; ++side) {
      r[side] = r[side + 2];
      r[side + 2] = g_ * (s[side] - h.input[side]) - a1_ * r[side] - a2_ * h.resonance[side];
      s[side] += r[side + 2];
    }
    h = {x, r};
  }

  void design() {
    double a = std::pow(10.0, params_.gain / 40.0);
    double w0 = 2 * M_PI * params_.centre / rate_;
    double octaves = params_.bandwidth / 12.0;
    double alpha = std::sin(w0) * std::sinh(std::log(2.0) / 2 * octaves * w0 / std::sin(w0));
    double a0 = 1 + alpha / a;
    double g = alpha * (a - 1 / a) / a0, a1 = -2 * std::cos(w0) / a0, a2 = (1 - alpha / a) / a0;
    g_ = static_cast<float>(g);
    a1_ = static_cast<float>(a1);
    a2_ = static_cast<float>(a2);
    // r over the block when frame `from` of the sources alone is 1: frames 0 and 1 are the r
    // before the block, 2 to 5 the block's x[n] - x[n-2].
    auto response = [&](int from) {
      double last = from == 1, beforeLast = from == 0;
      std::array<double, 4> r{};
      for (int n = 0; n < 4; ++n) {
        r[n] = (n == from - 2 ? g : 0) - a1 * last - a2 * beforeLast;
        beforeLast = last;
        last = r[n];
      }
      return r;
    };
    for (int source = 0; source < kSources; ++source) {
      auto first = response(source * 2), second = response(source * 2 + 1);
      auto lanes = [](double one, double other) { return Lanes{float(one), float(one), float(other), float(other)}; };
      for (int pair = 0; pair < 2; ++pair) {
        Terms& c = pair ? late_ : early_;
        int n = pair * 2;
        c.held[source] = lanes(first[n], second[n + 1]);
        c.swapped[source] = lanes(second[n], first[n + 1]);
      }
    }
  }

  double rate_;
  EqualizerParams params_{1000, 12, 0};
  float g_ = 0, a1_ = 0, a2_ = 0;
  Terms early_{}, late_{};  // frames 0 and 1 of a block, 2 and 3
  History history_{};
};

// A Schroeder-style room: four damped feedback combs in parallel, then two all-passes, per
// side with slightly different lengths so that the sides do not sound alike.
//
// The four combs of a side share one ring, each slot holding what each of them wrote at that
// moment, and each comb reads its own distance back: one step writes all four at once and
// keeps their four low-pass recursions side by side in one register.
class Reverb : public Effect {
 public:
  explicit Reverb(double rate) : rate_(rate) {
    static constexpr double combMs[4] = {29.7, 37.1, 41.1, 43.7};
    static constexpr double allpassMs[2] = {5.0, 1.7};
    std::size_t longest = 0;
    for (int side = 0; side < 2; ++side) {
      double spread = side * 0.52;  // ms
      for (int i = 0; i < 4; ++i) {
        delays_[side][i] = samples(combMs[i] + spread);
        longest = std::max(longest, delays_[side][i]);
      }
      for (int i = 0; i < 2; ++i) allpasses_[side][i].line.assign(samples(allpassMs[i] + spread), 0);
    }
    for (auto& ring : rings_) ring.assign(longest + 1, Lanes{});
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
      applyVolume(stereo, frames * 2, input_);
      return;
    }
    for (std::size_t done = 0; done < frames; done += kChunk)
      processChunk(stereo + done * 2, std::min(kChunk, frames - done));
  }

 private:
  static constexpr std::size_t kChunk = 1024;  // frames, as the mixer hands them over
  static constexpr float kFloor = 1e-18f;

  struct Allpass {
    std::vector<float> line;
    std::size_t pos = 0;
  };

  std::size_t samples(double ms) const { return static_cast<std::size_t>(ms * rate_ / 1000) + 1; }

  void design() {
    input_ = static_cast<float>(dbToGain(params_.inputGain));
    wet_ = params_.mix <= -96 ? 0.0f : static_cast<float>(dbToGain(params_.mix) / 4);
    double time = params_.time / 1000.0;
    for (int side = 0; side < 2; ++side)
      for (int i = 0; i < 4; ++i) {
        // Each pass through the loop falls by its share of 60 dB over the reverb time; high
        // frequencies fall over time * ratio, through a one-pole low-pass in the loop.
        double delay = delays_[side][i] / rate_;
        double feedback = std::pow(10.0, -3 * delay / time);
        double high = std::pow(10.0, -3 * delay / (time * params_.highFreqRatio));
        double r = high / feedback;
        double damp = (1 - r) / (1 + r);
        feedback_[side][i] = static_cast<float>(feedback);
        damp_[side][i] = static_cast<float>(damp);
        keep_[side][i] = static_cast<float>(1 - damp);
      }
  }

  void processChunk(float* stereo, std::size_t frames) {
    // What enters the combs, each side on its own; the floor keeps their decaying tails out of
    // the denormal range, and stays far below hearing.
    float in[2][kChunk], room[2][kChunk];
    for (std::size_t n = 0; n < frames; ++n)
      for (int side = 0; side < 2; ++side) in[side][n] = stereo[n * 2 + side] * input_ + kFloor;
    for (std::size_t done = 0; done < frames;) done += combs(in, room, done, frames - done);
    for (int side = 0; side < 2; ++side)
      for (Allpass& pass : allpasses_[side]) allpass(pass, room[side], frames);
    for (std::size_t n = 0; n < frames; ++n)
      for (int side = 0; side < 2; ++side)
        stereo[n * 2 + side] = stereo[n * 2 + side] * input_ + wet_ * room[side][n];
  }

  // Runs the combs from frame `from` of the chunk for as long as no position wraps, at most
  // `frames`; returns how far it got.
  std::size_t combs(const float (*in)[kChunk], float (*room)[kChunk], std::size_t from, std::size_t frames) {
    const std::size_t size = rings_[0].size();
    std::array<std::array<std::size_t, 4>, 2> read;
    std::size_t run = std::min(frames, size - write_);
    for (int side = 0; side < 2; ++side)
      for (int i = 0; i < 4; ++i) {
        read[side][i] = (write_ + size - delays_[side][i]) % size;
        run = std::min(run, size - read[side][i]);
      }
    // Local copies, kept in registers: the ring's stores could alias the members.
    std::array<Lanes, 2> low = low_, keep = keep_, damp = damp_, feedback = feedback_;
    for (std::size_t n = 0; n < run; ++n) {
      for (int side = 0; side < 2; ++side) {
        const Lanes* ring = rings_[side].data();
        const auto& at = read[side];
        Lanes out = {ring[at[0] + n][0], ring[at[1] + n][1], ring[at[2] + n][2], ring[at[3] + n][3]};
        low[side] = out * keep[side] + low[side] * damp[side];
        rings_[side][write_ + n] = in[side][from + n] + low[side] * feedback[side];
        room[side][from + n] = (out[0] + out[1]) + (out[2] + out[3]);
      }
    }
    low_ = low;
    write_ = (write_ + run) % size;
    return run;
  }

  // Nothing written here is read again before the line's length has passed, so a stretch up
  // to the end of the line runs as one plain loop.
  static void allpass(Allpass& pass, float* sound, std::size_t frames) {
    for (std::size_t done = 0; done < frames;) {
      std::size_t run = std::min(frames - done, pass.line.size() - pass.pos);
      float* line = pass.line.data() + pass.pos;
      float* x = sound + done;
      for (std::size_t n = 0; n < run; ++n) {
        float out = line[n] - 0.7f * x[n];
        line[n] = x[n] + 0.7f * out;
        x[n] = out;
      }
      done += run;
      pass.pos = (pass.pos + run) % pass.line.size();
    }
  }

  double rate_;
  ReverbParams params_{0, 0, 1000, 0.5f};
  float input_ = 1, wet_ = 0;
  std::array<std::array<std::size_t, 4>, 2> delays_{};  // per side, per comb, in frames
  std::array<Lanes, 2> feedback_{}, damp_{}, keep_{}, low_{};
  std::array<std::vector<Lanes>, 2> rings_;  // per side: what each comb wrote
  std::size_t write_ = 0;
  std::array<std::array<Allpass, 2>, 2> allpasses_;
};

}  // namespace

void EffectChain::assign(std::vector<Effect*> effects) { effects_ = std::move(effects); }

void EffectChain::process(float* stereo, std::size_t frames) {
  std::array<PeakingBand*, PeakingBand::kMostBands> bands;
  std::size_t held = 0;
  for (Effect* effect : effects_) {
    auto* band = dynamic_cast<PeakingBand*>(effect);
    if (band && held < bands.size()) {
      bands[held++] = band;
      continue;
    }
    PeakingBand::processBands(bands.data(), held, stereo, frames);
    held = 0;
    if (band) bands[held++] = band;
    else effect->process(stereo, frames);
  }
  PeakingBand::processBands(bands.data(), held, stereo, frames);
}

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

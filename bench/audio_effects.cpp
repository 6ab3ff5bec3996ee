// How fast the audio library turns MP3 into sound: decoding alone, and decoding followed by
// what the player runs on every stream (ten equalizer bands, the reverb, the volume); then
// what each effect costs on its own, to show where the time goes.
//
//   bench_audio_effects.exe [FILE.mp3] [SECONDS]
//
// FILE defaults to the build's music fixture (5 s, stereo, 128 kbit/s: as heavy to decode as a
// real station); it is decoded again and again until SECONDS of sound (default 120) have been
// made, in five rounds that alternate the setups, and the best round of each counts: the
// machine is shared, so compare the ratios of one run rather than figures across runs. Prints
// the real-time factors (seconds of sound per second of work) and their ratios.
//
// The aim is decoding plus effects within 1.2 times decoding alone. On the fixture it is not
// met: about 1.26 with the reverb off and 1.44 with it on, where decoding takes about 1.05 ms
// per second of sound, the nine sounding bands 0.27 ms and the reverb 0.18 ms. Each band is a
// recursion that must finish one block of frames before the next can start, and the player
// hands the bands to the library one by one, so no band can overlap another; with only the
// SSE2 every x86-64 processor has, that is about ten cycles per four frames per band. Running
// the ten bands as one effect, bands side by side in a register, would roughly halve their
// cost (about 1.14 with the reverb off); with it on, 1.2 would also need a reverb at a third
// of its cost.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "audio/decoder.h"
#include "audio/dsp.h"

namespace {

constexpr long kRate = 44100;
constexpr std::size_t kBlock = 1024;  // frames, as the mixer takes them
constexpr int kRounds = 5;
constexpr float kVolume = 0.8f;

using Chain = std::vector<std::unique_ptr<audio::Effect>>;

void addBand(Chain& chain, float centre, float gain) {
  auto band = audio::makeEffect(audio::FxEqualizer, kRate);
  audio::EqualizerParams params{centre, 3, gain};
  band->setParams(&params);
  chain.push_back(std::move(band));
}

void addReverb(Chain& chain, float mix) {
  auto reverb = audio::makeEffect(audio::FxReverb, kRate);
  audio::ReverbParams params{0, mix, 1500, 0.1f};
  reverb->setParams(&params);
  chain.push_back(std::move(reverb));
}

// A typical preset: one band flat, the others not.
void addPresetBands(Chain& chain) {
  const float centres[] = {80, 170, 310, 600, 1000, 3000, 7000, 12000, 14000, 16000};
  const float gains[] = {6, 4, 2, 0, -2, -3, 2, 4, 5, 6};
  for (int i = 0; i < 10; ++i) addBand(chain, centres[i], gains[i]);
}

constexpr float kReverbOff = -96;  // the player's reverb when the listener has not turned it up
constexpr float kReverbOn = -10;

struct Setup {
  const char* name;
  std::function<void(Chain&)> make;
  bool volume;
};

const Setup kSetups[] = {
    {"decode alone", [](Chain&) {}, false},
    {"decode + 10 bands + reverb off + volume",
     [](Chain& c) { addPresetBands(c), addReverb(c, kReverbOff); }, true},
    {"decode + 10 bands + reverb on + volume",
     [](Chain& c) { addPresetBands(c), addReverb(c, kReverbOn); }, true},
};

// What each part costs on decoded sound, without the decoder; every pass first copies the
// decoded samples, so the first line is what the others include for that.
const Setup kParts[] = {
    {"nothing (the copy)", [](Chain&) {}, false},
    {"one band (1 kHz, -2 dB)", [](Chain& c) { addBand(c, 1000, -2); }, false},
    {"one flat band", [](Chain& c) { addBand(c, 1000, 0); }, false},
    {"10 bands of the preset", addPresetBands, false},
    {"reverb off", [](Chain& c) { addReverb(c, kReverbOff); }, false},
    {"reverb on", [](Chain& c) { addReverb(c, kReverbOn); }, false},
    {"volume", [](Chain&) {}, true},
};

void process(Chain& chain, bool volume, std::vector<float>& pcm) {
  for (std::size_t at = 0; at < pcm.size() / 2; at += kBlock) {
    std::size_t n = std::min(kBlock, pcm.size() / 2 - at);
    for (auto& effect : chain) effect->process(pcm.data() + at * 2, n);
    if (volume) audio::applyVolume(pcm.data() + at * 2, n * 2, kVolume);
  }
}

std::vector<float> decode(const std::string& mp3) {
  audio::Mp3Decoder decoder(kRate);
  decoder.feed(reinterpret_cast<const std::uint8_t*>(mp3.data()), mp3.size());
  std::vector<float> pcm;
  decoder.decode(pcm);
  return pcm;
}

// Calls `pass` (which makes some frames of sound and returns how many) until `seconds` of
// sound; returns the real-time factor.
double realTime(double seconds, const std::function<std::size_t()>& pass) {
  std::size_t frames = 0, target = static_cast<std::size_t>(seconds * kRate);
  auto started = std::chrono::steady_clock::now();
  while (frames < target) frames += pass();
  std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
  return frames / double(kRate) / spent.count();
}

// The best real-time factor of each setup over the rounds; `pass` runs one setup once.
std::vector<double> bestOfRounds(std::size_t setups, double seconds,
                                 const std::function<std::size_t(std::size_t)>& pass) {
  std::vector<double> best(setups, 0);
  for (int round = 0; round < kRounds; ++round)
    for (std::size_t s = 0; s < setups; ++s)
      best[s] = std::max(best[s], realTime(seconds / kRounds, [&] { return pass(s); }));
  return best;
}

std::string defaultFile() {
  const char* build = std::getenv("EFIR_BUILD_DIR");
  return std::string(build ? build : "build/x86_64") + "/fixtures/music.mp3";
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : defaultFile();
  double seconds = argc > 2 ? std::atof(argv[2]) : 120;
  std::ifstream in(path, std::ios::binary);
  std::string mp3((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<float> decoded = decode(mp3);
  if (decoded.empty()) {
    std::fprintf(stderr, "%s cannot be read or does not decode as MP3\n", path.c_str());
    return 1;
  }

  std::vector<Chain> chains(std::size(kSetups));
  for (std::size_t s = 0; s < chains.size(); ++s) kSetups[s].make(chains[s]);
  std::vector<double> whole = bestOfRounds(chains.size(), seconds, [&](std::size_t s) {
    std::vector<float> pcm = decode(mp3);
    process(chains[s], kSetups[s].volume, pcm);
    return pcm.size() / 2;
  });
  std::printf("file: %s, %.0f s of sound per setup, best of %d rounds\n", path.c_str(), seconds, kRounds);
  for (std::size_t s = 0; s < chains.size(); ++s)
    std::printf("%-42s %8.1f x real time, ratio to decoding %5.2f\n", kSetups[s].name, whole[s],
                whole[0] / whole[s]);

  std::vector<Chain> parts(std::size(kParts));
  for (std::size_t p = 0; p < parts.size(); ++p) kParts[p].make(parts[p]);
  std::vector<float> pcm;
  std::vector<double> alone = bestOfRounds(parts.size(), seconds, [&](std::size_t p) {
    pcm = decoded;
    process(parts[p], kParts[p].volume, pcm);
    return pcm.size() / 2;
  });
  std::printf("\nper second of sound: decoding %.0f us; then\n", 1e6 / whole[0]);
  for (std::size_t p = 0; p < parts.size(); ++p) std::printf("  %-28s %7.0f us\n", kParts[p].name, 1e6 / alone[p]);
  return 0;
}

// How fast the audio library turns MP3 into sound: decoding alone, and decoding followed by
// what the player runs on every stream (ten equalizer bands, the reverb, the volume).
//
//   bench_audio_effects.exe [FILE.mp3] [SECONDS]
//
// FILE defaults to the build's tone fixture; it is decoded again and again until SECONDS of
// sound (default 120) have been made. Prints the real-time factors (seconds of sound per
// second of work) and their ratio.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/decoder.h"
#include "audio/dsp.h"

namespace {

constexpr long kRate = 44100;
constexpr std::size_t kBlock = 1024;  // frames, as the mixer takes them

std::vector<std::unique_ptr<audio::Effect>> playerEffects() {
  std::vector<std::unique_ptr<audio::Effect>> effects;
  const float centres[] = {80, 170, 310, 600, 1000, 3000, 7000, 12000, 14000, 16000};
  const float gains[] = {6, 4, 2, 0, -2, -3, 2, 4, 5, 6};  // a typical preset: no band is flat
  for (int i = 0; i < 10; ++i) {
    auto band = audio::makeEffect(audio::FxEqualizer, kRate);
    audio::EqualizerParams params{centres[i], 3, gains[i]};
    band->setParams(&params);
    effects.push_back(std::move(band));
  }
  auto reverb = audio::makeEffect(audio::FxReverb, kRate);
  audio::ReverbParams params{0, -96, 1500, 0.1f};
  reverb->setParams(&params);
  effects.push_back(std::move(reverb));
  return effects;
}

// Decodes `mp3` repeatedly until `seconds` of sound; with effects, runs them block by block.
// Returns the real-time factor.
double run(const std::string& mp3, double seconds, bool withEffects) {
  auto effects = playerEffects();
  std::vector<float> pcm;
  std::size_t frames = 0, target = static_cast<std::size_t>(seconds * kRate);
  auto started = std::chrono::steady_clock::now();
  while (frames < target) {
    audio::Mp3Decoder decoder(kRate);
    decoder.feed(reinterpret_cast<const std::uint8_t*>(mp3.data()), mp3.size());
    pcm.clear();
    decoder.decode(pcm);
    if (pcm.empty()) return 0;
    if (withEffects)
      for (std::size_t at = 0; at < pcm.size() / 2; at += kBlock) {
        std::size_t n = std::min(kBlock, pcm.size() / 2 - at);
        for (auto& effect : effects) effect->process(pcm.data() + at * 2, n);
        audio::applyVolume(pcm.data() + at * 2, n * 2, 0.8f);
      }
    frames += pcm.size() / 2;
  }
  std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
  return frames / double(kRate) / spent.count();
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : "";
  if (path.empty()) {
    const char* build = std::getenv("EFIR_BUILD_DIR");
    path = std::string(build ? build : "build/x86_64") + "/fixtures/tone.mp3";
  }
  double seconds = argc > 2 ? std::atof(argv[2]) : 120;
  std::ifstream in(path, std::ios::binary);
  std::string mp3((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (mp3.empty()) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 1;
  }
  double decode = run(mp3, seconds, false);
  double full = run(mp3, seconds, true);
  if (decode <= 0 || full <= 0) {
    std::fprintf(stderr, "%s does not decode as MP3\n", path.c_str());
    return 1;
  }
  std::printf("file: %s, %.0f s of sound each\n", path.c_str(), seconds);
  std::printf("decode alone:                       %8.1f x real time\n", decode);
  std::printf("decode + 10 bands + reverb + volume: %7.1f x real time\n", full);
  std::printf("ratio (decode alone / with effects): %7.2f\n", decode / full);
  return 0;
}

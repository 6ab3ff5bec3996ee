// Equalizer bands, reverb and volume, heard end to end: a 440 Hz sine streamed from the
// loopback server, processed, and measured in the WAV file.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "audio/audio.h"
#include "audio/tests/support.h"

using namespace efir::test;

namespace {

void CALLBACK countEnd(DWORD, DWORD, DWORD, void* user) { ++*static_cast<std::atomic<int>*>(user); }

// Plays 2 s of the stream to its end, with `prepare` applied to the stream first, and returns
// the level of the sound after its first half second.
double levelWith(const std::function<void(DWORD)>& prepare) {
  AudioSession session;
  if (!session.ok()) return -1;
  std::atomic<int> ends{0};
  DWORD stream = BASS_StreamCreateURL(streamUrl("drop/16000.mp3?speed=20").c_str(), 0, 0, nullptr, nullptr);
  if (!stream) return -1;
  BASS_ChannelSetSync(stream, audio::SyncEnd, 0, countEnd, &ends);
  prepare(stream);
  BASS_ChannelPlay(stream, FALSE);
  if (!waitUntil([&] { return ends > 0; })) return -1;
  return rms(session.finish(), 22050);
}

std::function<void(DWORD)> band(float centre, float gain, float volume) {
  return [=](DWORD stream) {
    DWORD fx = BASS_ChannelSetFX(stream, audio::FxEqualizer, 1);
    audio::EqualizerParams params{centre, 3, gain};
    EXPECT_TRUE(BASS_FXSetParameters(fx, &params));
    EXPECT_TRUE(BASS_ChannelSetAttribute(stream, audio::AttribVolume, volume));
  };
}

// What the player installs on every stream: ten flat bands and a reverb turned down.
void playerEffects(DWORD stream) {
  for (float centre : {80, 170, 310, 600, 1000, 3000, 7000, 12000, 14000, 16000}) {
    DWORD fx = BASS_ChannelSetFX(stream, audio::FxEqualizer, 1);
    audio::EqualizerParams params{centre, 3, 0};
    EXPECT_TRUE(BASS_FXSetParameters(fx, &params));
  }
  DWORD reverb = BASS_ChannelSetFX(stream, audio::FxReverb, 1);
  audio::ReverbParams params{};
  EXPECT_TRUE(BASS_FXGetParameters(reverb, &params));
  params.mix = -96;
  params.time = 1500;
  params.highFreqRatio = 0.1f;
  EXPECT_TRUE(BASS_FXSetParameters(reverb, &params));
}

TEST(Effects, ChangeTheLevelAsTheirParametersSay) {
  double flat = levelWith([](DWORD) {});
  ASSERT_GT(flat, 1000);
  struct Case {
    const char* name;
    std::function<void(DWORD)> prepare;
    double ratio;  // to the flat level
  } cases[] = {
      {"volume 0.5", [](DWORD s) { BASS_ChannelSetAttribute(s, audio::AttribVolume, 0.5f); }, 0.5},
      // Turned down to a tenth so that +15 dB (x 5.62) does not clip.
      {"+15 dB at the sine", band(440, 15, 0.1f), 0.562},
      {"-15 dB at the sine", band(440, -15, 1), 0.178},
      {"+15 dB far from the sine", band(3000, 15, 0.1f), 0.1},
      {"the player's flat bands and silent reverb", playerEffects, 1.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(levelWith(c.prepare) / flat, c.ratio, c.ratio * 0.03) << c.name;
}

}  // namespace

// What the player plays, heard in its WAV output: the decoded stream at its length and level,
// the volume, mute, and an equalizer band raising the sound at its centre and not elsewhere.
#include <gtest/gtest.h>

#include <algorithm>

#include "player/tests/playback_fixture.h"

namespace {

using playback_test::KiloToneUrl;
using playback_test::PlaybackTest;
using playback_test::Sound;
using playback_test::ToneUrl;

// The level of the tone the servers play (both tones have the same amplitude).
double ToneLevel() {
  std::ifstream in(efir::test::fixturePath("tone.wav"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  double sum = 0;
  size_t count = (bytes.size() - 44) / 2;
  for (size_t i = 0; i < count; ++i) {
    std::int16_t v;
    std::memcpy(&v, bytes.data() + 44 + 2 * i, 2);
    sum += double(v) * v;
  }
  return std::sqrt(sum / count);
}

class PlayerSound : public PlaybackTest {
 protected:
  // Seconds since the station was selected.
  double Elapsed() const { return (GetTickCount() - started_) / 1000.0; }
  void Select(int station) {
    started_ = GetTickCount();
    SelectStation(station);
  }

 private:
  DWORD started_ = 0;
};

TEST_F(PlayerSound, TheWavHoldsTheDecodedStream) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}});
  Select(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  efir::test::pumpFor(2000);
  double played = Elapsed();
  Sound sound = EndPlayer();

  // Sound starts once the pre-buffer is held, then follows the stream as it arrives.
  EXPECT_GT(sound.Seconds(), played - 1.25);
  EXPECT_LT(sound.Seconds(), played);
  EXPECT_NEAR(sound.Level(0.5, sound.Seconds() - 0.3), ToneLevel(), ToneLevel() * 0.1);
  // The pitch of most quarter seconds (the looped fixture has a short gap at each turn).
  std::vector<double> pitches;
  for (double t = 0.25; t + 0.5 < sound.Seconds(); t += 0.25) pitches.push_back(sound.Frequency(t, t + 0.25));
  ASSERT_GE(pitches.size(), 3u);
  std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
  EXPECT_NEAR(pitches[pitches.size() / 2], 440, 440 * 0.02);
}

TEST_F(PlayerSound, HalfVolumeHalvesMuteSilencesAndTheSliderBringsTheSoundBack) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}}, 50);
  Select(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  efir::test::pumpFor(1500);
  double muted = Elapsed();
  Form1->Image2Click(Form1->Image2);
  EXPECT_EQ(Form1->Image2->Hint(), "Включить звук");
  efir::test::pumpFor(2000);
  double raised = Elapsed();
  Form1->sTrackBar1->SetPosition(20);
  EXPECT_FALSE(Muted);
  EXPECT_EQ(Form1->Image2->Hint(), "Выключить звук");
  efir::test::pumpFor(2000);
  double ended = Elapsed();
  Sound sound = EndPlayer();

  // Half a second around each change is left out: the output runs a little ahead of the clock.
  EXPECT_NEAR(sound.Level(0.3, muted - 0.5), ToneLevel() * 0.5, ToneLevel() * 0.05);
  EXPECT_LT(sound.Level(muted + 0.5, raised - 0.5), 30);
  EXPECT_NEAR(sound.Level(raised + 0.5, ended - 0.5), ToneLevel() * 0.2, ToneLevel() * 0.03);
}

class Equalizer : public PlaybackTest {
 protected:
  // Plays the stream until it has ended once (and reconnected), with band 5 (1 kHz) at +15 dB
  // when the equalizer is on, at a tenth of the volume so that nothing clips.
  double Level(const std::string& url, int equalizer) {
    statuses.clear();
    StartPlayer({{url, "Тон"}}, 10, equalizer, {15, 15, 15, 15, 0, 15, 15, 15, 15, 15});
    SelectStation(1);
    EXPECT_TRUE(WaitFor([&] { return Count(ssConnecting) >= 2; }));
    return EndPlayer().Level(0.3, 1.8);
  }
};

TEST_F(Equalizer, BandRaisesTheToneAtItsCentreAndNotOneFarFromIt) {
  const std::string atCentre = KiloToneUrl("drop/16000.mp3?speed=20");
  const std::string farAway = ToneUrl("drop/16000.mp3?speed=20");  // 440 Hz, 14 semitones off

  double flatCentre = Level(atCentre, 0);
  double raisedCentre = Level(atCentre, 1);
  EXPECT_NEAR(flatCentre, ToneLevel() * 0.1, ToneLevel() * 0.01);
  EXPECT_GT(raisedCentre, flatCentre * 4);  // +15 dB is 5.6 times

  double flatFar = Level(farAway, 0);
  double raisedFar = Level(farAway, 1);
  EXPECT_NEAR(raisedFar / flatFar, 1.0, 0.15);
}

}  // namespace

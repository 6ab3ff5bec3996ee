// What the playback tests share: the player started on a program folder of its own with its
// sound going to a WAV file and the fake media-player control, the loopback stream servers'
// addresses, a record of every status message as the main window showed it (and of every
// caption the status label was given), and the WAV file read back once the player has ended.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mediaplayer/fake_media_player.h"
#include "player/equalizer.h"
#include "player/playback.h"
#include "player/station_status.h"
#include "player/tests/player_fixture.h"
#include "tests/support/window.h"

namespace playback_test {

// http://127.0.0.1:PORT/PATH of the stream server playing a 440 Hz tone, or of the one playing
// a 1 kHz tone.
inline std::string Url(const char* portVariable, const std::string& path) {
  const char* port = std::getenv(portVariable);
  return "http://127.0.0.1:" + std::string(port ? port : "0") + "/" + path;
}
inline std::string ToneUrl(const std::string& path) { return Url("EFIR_STREAM_PORT", path); }
inline std::string KiloToneUrl(const std::string& path) { return Url("EFIR_TONE_PORT", path); }

// One WM_STATION_STATUS as the main window left things after handling it.
struct Shown {
  WPARAM code;
  std::string status;    // RxLabel7
  std::string title;     // the application's title
  bool playEnabled;
};

// Stands in for the status label and remembers every caption it is given.
class RecordingLabel : public TRxLabel {
 public:
  using TRxLabel::TRxLabel;
  std::vector<std::string> Captions;

 protected:
  void TextChanged() override {
    Captions.push_back(Caption());
    TRxLabel::TextChanged();
  }
};

struct Station {
  std::string url;
  std::string name;
  std::string mode = "0";
};

// Interleaved 16-bit stereo at 44100 Hz.
struct Sound {
  std::vector<std::int16_t> samples;

  double Seconds() const { return samples.size() / 2 / 44100.0; }
  // Root mean square of the left side between two times (to the end when `to` is 0).
  double Level(double from, double to = 0) const {
    size_t first = static_cast<size_t>(from * 44100), last = samples.size() / 2;
    if (to > 0) last = std::min(last, static_cast<size_t>(to * 44100));
    double sum = 0;
    for (size_t i = first; i < last; ++i) sum += double(samples[2 * i]) * samples[2 * i];
    return last > first ? std::sqrt(sum / (last - first)) : 0;
  }
  // Cycles a second of the left side between two times: rises from below -threshold to above
  // +threshold, so that noise around zero counts for nothing.
  double Frequency(double from, double to, int threshold = 500) const {
    size_t first = static_cast<size_t>(from * 44100);
    size_t last = std::min(samples.size() / 2, static_cast<size_t>(to * 44100));
    int rises = 0;
    bool low = false;
    for (size_t i = first; i < last; ++i) {
      if (samples[2 * i] < -threshold) low = true;
      if (low && samples[2 * i] > threshold) {
        ++rises;
        low = false;
      }
    }
    return last > first ? rises / ((last - first) / 44100.0) : 0;
  }
};

class PlaybackTest : public player_test::PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    wav_ = folder_.file("output.wav");
    SetEnvironmentVariableA("EFIR_AUDIO_WAV", wav_.c_str());
    SetMediaPlayerFactoryForTests([this] {
      auto player = std::make_unique<efir::FakeMediaPlayer>();
      mediaPlayer = player.get();
      return player;
    });
  }

  void TearDown() override {
    PlayerTest::TearDown();
    SetMediaPlayerFactoryForTests(nullptr);
    SetEnvironmentVariableA("EFIR_AUDIO_WAV", nullptr);
    spied = nullptr;
  }

  // Starts the player with these stations (1, 2, ...), start volume, equalizer switch and band
  // values, and a network buffer of one second; with a last station, open_last plays it.
  void StartPlayer(const std::vector<Station>& stations, int volume = 100, int equalizer = 0,
                   std::array<int, 10> bands = {15, 15, 15, 15, 15, 15, 15, 15, 15, 15},
                   int lastStation = -1) {
    std::vector<std::string> config =
        player_test::ConfigLines(0, lastStation > 0 ? 1 : 0, volume, lastStation);
    config[11] = "1";  // buffer, seconds
    config[13] = std::to_string(equalizer);
    player_test::WriteLines(Config(), config);
    std::vector<std::string> bandLines;
    for (int band : bands) bandLines.push_back(std::to_string(band));
    player_test::WriteLines(folder_.file("equalizer.txt"), bandLines);
    for (size_t i = 0; i < stations.size(); ++i)
      player_test::WriteLines(folder_.file("Stations\\play" + std::to_string(i + 1) + ".txt"),
                              {stations[i].url, stations[i].name, stations[i].mode});
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();

    label = new RecordingLabel(Form1);
    Form1->RxLabel7 = label;
    spied = this;
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Form1->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Spy)));
  }

  static bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
    return efir::test::pumpUntil(done, ms);
  }

  int Count(WPARAM code) const {
    int n = 0;
    for (const Shown& s : statuses) n += s.code == code;
    return n;
  }
  bool HasTitle() const { return Count(ssTitle) > 0; }

  // Ends the program as its close command does and reads what it played.
  Sound EndPlayer() {
    Form1->Close();
    RunToEnd();
    std::ifstream in(wav_, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Sound sound;
    // A plain 44-byte header: 16-bit stereo PCM.
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0) return sound;
    sound.samples.resize((bytes.size() - 44) / 2);
    std::memcpy(sound.samples.data(), bytes.data() + 44, sound.samples.size() * 2);
    return sound;
  }

  std::vector<Shown> statuses;
  RecordingLabel* label = nullptr;
  efir::FakeMediaPlayer* mediaPlayer = nullptr;

 private:
  static LRESULT CALLBACK Spy(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    PlaybackTest* test = spied;
    LRESULT result = CallWindowProcW(test->original_, window, msg, wp, lp);
    if (msg == WM_STATION_STATUS && wp <= ssTitle && Form1)
      test->statuses.push_back(
          {wp, Form1->RxLabel7->Caption(), Application.Title(), Form1->sBitBtn2->Enabled()});
    return result;
  }

  static inline PlaybackTest* spied = nullptr;
  WNDPROC original_ = nullptr;
  std::string wav_;
};

}  // namespace playback_test

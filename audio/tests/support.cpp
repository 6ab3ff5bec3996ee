#include "audio/tests/support.h"

#include <windows.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "tests/support/paths.h"

namespace efir::test {

std::string streamUrl(const std::string& path) {
  const char* port = std::getenv("EFIR_STREAM_PORT");
  return "http://127.0.0.1:" + std::string(port ? port : "0") + "/" + path;
}

AudioSession::AudioSession(Sink sink) {
  static int counter = 0;
  if (sink == Sink::Wav) {
    wav_ = "out" + std::to_string(++counter) + ".wav";
    SetEnvironmentVariableA("EFIR_AUDIO_WAV", wav_.c_str());
  } else {
    SetEnvironmentVariableA("EFIR_AUDIO_WAV", nullptr);
  }
  BASS_SetConfig(audio::ConfigNetTimeout, 5000);
  BASS_SetConfig(audio::ConfigNetBuffer, 1000);
  BASS_SetConfig(audio::ConfigNetPrebuffer, 100);
  BASS_SetConfig(audio::ConfigNetPlaylist, 0);
  BASS_SetConfigPtr(audio::ConfigNetAgent, nullptr);
  BASS_SetConfigPtr(audio::ConfigNetProxy, nullptr);
  ok_ = BASS_Init(-1, 44100, 0, nullptr, nullptr) != FALSE;
}

AudioSession::~AudioSession() {
  if (!freed_) BASS_Free();
  SetEnvironmentVariableA("EFIR_AUDIO_WAV", nullptr);
}

std::vector<std::int16_t> AudioSession::finish() {
  BASS_Free();
  freed_ = true;
  std::ifstream in(wav_, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The library writes a plain 44-byte header: 16-bit stereo PCM.
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0) return {};
  std::vector<std::int16_t> samples((bytes.size() - 44) / 2);
  std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
  return samples;
}

bool waitUntil(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

double rms(const std::vector<std::int16_t>& stereo, std::size_t from, int side) {
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = from * 2 + side; i < stereo.size(); i += 2, ++count) sum += double(stereo[i]) * stereo[i];
  return count ? std::sqrt(sum / count) : 0;
}

std::string loopedStreamBytes(std::size_t size, const std::string& fixture) {
  std::ifstream in(fixturePath(fixture), std::ios::binary);
  std::string mp3((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string out;
  while (!mp3.empty() && out.size() < size) out += mp3;
  out.resize(std::min(out.size(), size));
  return out;
}

}  // namespace efir::test

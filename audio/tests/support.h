// What the audio tests share: the loopback stream server's addresses, a library session that
// writes a WAV file, reading that file back, signal levels, and bounded waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/audio.h"

namespace efir::test {

// http://127.0.0.1:EFIR_STREAM_PORT/PATH
std::string streamUrl(const std::string& path);

// The library initialised with its output going to a new WAV file (or to the sound device),
// and the settings the tests rely on; freed at the end of the scope.
class AudioSession {
 public:
  enum class Sink { Wav, Device };
  explicit AudioSession(Sink sink = Sink::Wav);
  ~AudioSession();
  bool ok() const { return ok_; }
  // Frees the library (completing the file) and returns the interleaved stereo samples.
  std::vector<std::int16_t> finish();

 private:
  std::string wav_;
  bool ok_ = false;
  bool freed_ = false;
};

// Polls every 10 ms until `done` holds or `ms` have passed; returns whether it holds.
bool waitUntil(const std::function<bool()>& done, int ms = 20000);

// Root mean square of one side of interleaved stereo samples, from frame `from` on.
double rms(const std::vector<std::int16_t>& stereo, std::size_t from = 0, int side = 0);

// The stream's bytes: the looped fixture the server plays (its MP3, or its AAC), cut to `size`.
std::string loopedStreamBytes(std::size_t size, const std::string& fixture = "stream.mp3");

}  // namespace efir::test

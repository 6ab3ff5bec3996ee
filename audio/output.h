// Where the mixed sound goes: the default waveOut device, or a WAV file when the environment
// variable EFIR_AUDIO_WAV names one. Both take 16-bit stereo frames at the output rate.
//
//   std::unique_ptr<Output> out = openOutput(44100, 500);   // null when nothing opens
//   out->write(frames, count);    // blocks while the device's queue is full
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace audio {

class Output {
 public:
  virtual ~Output() = default;
  virtual bool write(const std::int16_t* stereo, std::size_t frames) = 0;
};

// queueMs: how much sound the device holds ahead (the WAV file is written unpaced).
std::unique_ptr<Output> openOutput(DWORD rate, DWORD queueMs);

}  // namespace audio

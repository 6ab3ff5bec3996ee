// MP3 decoding for a stream that arrives piece by piece: bytes go in as they come, and
// interleaved stereo float samples at the output rate come out (mono is doubled, other rates
// are resampled), whatever the stream's own format.
//
//   Mp3Decoder decoder(44100);
//   decoder.feed(bytes, size);
//   std::size_t got = decoder.read(stereo, frames);   // fewer when the bytes fed run out
//
// read() writes straight into the caller's memory: the only copy is the one out of the
// library's frame buffer, as the library's own reading makes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct mpg123_handle_struct;

namespace audio {

class Mp3Decoder {
 public:
  explicit Mp3Decoder(long rate);
  ~Mp3Decoder();
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  void feed(const std::uint8_t* data, std::size_t size);
  // Up to `frames` stereo frames (left, right, left, ...) into `stereo`; returns how many.
  std::size_t read(float* stereo, std::size_t frames);
  // Appends every frame the bytes fed so far complete.
  void readAll(std::vector<float>& samples);
  // Decodes ahead as far as the first frame, so that the format shows; false on a decoder
  // failure (the bytes are not MP3 the library can follow).
  bool probe();
  // True once a frame has been found: the bytes are an MP3 stream.
  bool formatKnown() const { return formatKnown_; }
  // The library's name for the code that decodes (it picks the fastest the processor has).
  const char* decoderName() const;

 private:
  enum class Next { Frame, NeedMore, Failed };
  Next decodeFrame();

  mpg123_handle_struct* handle_ = nullptr;
  bool formatKnown_ = false;
  // The decoded frame not yet read, inside the library's buffer.
  const float* pending_ = nullptr;
  std::size_t pendingFrames_ = 0;
};

}  // namespace audio

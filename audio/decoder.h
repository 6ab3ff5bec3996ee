// MP3 decoding for a stream that arrives piece by piece: bytes go in as they come, and
// interleaved stereo float samples at the output rate come out (mono is doubled, other rates
// are resampled), whatever the stream's own format.
//
//   Mp3Decoder decoder(44100);
//   decoder.feed(bytes, size);
//   decoder.decode(samples);   // appends what the bytes fed so far complete
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
  // Appends the decoded stereo frames (left, right, left, ...); false on a decoder failure.
  bool decode(std::vector<float>& samples);
  // True once a frame has been found: the bytes are an MP3 stream.
  bool formatKnown() const { return formatKnown_; }

 private:
  mpg123_handle_struct* handle_ = nullptr;
  bool formatKnown_ = false;
};

}  // namespace audio

// Decoding for a stream that arrives piece by piece: bytes go in as they come, and
// interleaved stereo float samples at the output rate come out (mono is doubled, other rates
// are resampled), whatever the stream's own format.
//
//   auto decoder = makeDecoder(StreamFormat::Aac, 44100);
//   decoder->feed(bytes, size);
//   std::size_t got = decoder->read(stereo, frames);   // fewer when the bytes fed run out
//
// MP3 goes through libmpg123 (Mp3Decoder, below); AAC and WMA through FFmpeg
// (audio/ffmpeg_decoder.h). A damaged frame is skipped; only bytes the decoder cannot follow
// at all make probe() fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/stream_format.h"

struct mpg123_handle_struct;

namespace audio {

class Decoder {
 public:
  virtual ~Decoder() = default;

  virtual void feed(const std::uint8_t* data, std::size_t size) = 0;
  // Up to `frames` stereo frames (left, right, left, ...) into `stereo`; returns how many.
  virtual std::size_t read(float* stereo, std::size_t frames) = 0;
  // Decodes ahead as far as the first frame, so that the format shows; false on a decoder
  // failure (the bytes are not a stream the decoder can follow).
  virtual bool probe() = 0;
  // True once a frame has been found: the bytes are a stream of the decoder's format.
  virtual bool formatKnown() const = 0;
  // No more bytes will come: what is held decodes to its end.
  virtual void endOfInput() {}
  // The title the stream's own tags give ("artist - title"), empty when they give none.
  virtual std::string title() const { return {}; }

  // Appends every frame the bytes fed so far complete.
  void readAll(std::vector<float>& samples);
};

// The decoder of a format, for output at `rate`.
std::unique_ptr<Decoder> makeDecoder(StreamFormat format, long rate);

class Mp3Decoder final : public Decoder {
 public:
  explicit Mp3Decoder(long rate);
  ~Mp3Decoder() override;
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  void feed(const std::uint8_t* data, std::size_t size) override;
  // read() writes straight into the caller's memory: the only copy is the one out of the
  // library's frame buffer, as the library's own reading makes it.
  std::size_t read(float* stereo, std::size_t frames) override;
  bool probe() override;
  bool formatKnown() const override { return formatKnown_; }
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

#include "audio/decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "audio/ffmpeg_decoder.h"

namespace audio {

void Decoder::readAll(std::vector<float>& samples) {
  constexpr std::size_t kBlock = 4096;
  for (;;) {
    std::size_t at = samples.size();
    samples.resize(at + kBlock * 2);
    std::size_t got = read(samples.data() + at, kBlock);
    samples.resize(at + got * 2);
    if (got == 0) return;
  }
}

std::unique_ptr<Decoder> makeDecoder(StreamFormat format, long rate) {
  switch (format) {
    case StreamFormat::Aac:
      return std::make_unique<FfmpegDecoder>(FfmpegDecoder::Container::Adts, rate);
    case StreamFormat::Wma:
      return std::make_unique<FfmpegDecoder>(FfmpegDecoder::Container::Asf, rate);
    default:
      return std::make_unique<Mp3Decoder>(rate);
  }
}

Mp3Decoder::Mp3Decoder(long rate) {
  int error = MPG123_OK;
  handle_ = mpg123_new(nullptr, &error);
  if (!handle_) throw std::runtime_error("the MP3 decoder cannot start");
  // One output format for every stream: the mixer then needs no conversion.
  mpg123_param(handle_, MPG123_ADD_FLAGS,
               MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_FORCE_FLOAT, 0.0);
  mpg123_param(handle_, MPG123_FORCE_RATE, rate, 0.0);
  mpg123_format_none(handle_);
  mpg123_format(handle_, rate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
  if (mpg123_open_feed(handle_) != MPG123_OK) {
    mpg123_delete(handle_);
    throw std::runtime_error("the MP3 decoder cannot start");
  }
}

Mp3Decoder::~Mp3Decoder() { mpg123_delete(handle_); }

void Mp3Decoder::feed(const std::uint8_t* data, std::size_t size) {
  if (size) mpg123_feed(handle_, data, size);
}

Mp3Decoder::Next Mp3Decoder::decodeFrame() {
  for (;;) {
    off_t frame = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    int rc = mpg123_decode_frame(handle_, &frame, &audio, &bytes);
    if (rc == MPG123_NEW_FORMAT) {
      formatKnown_ = true;
      continue;
    }
    if (rc == MPG123_OK) {
      pending_ = reinterpret_cast<const float*>(audio);
      pendingFrames_ = bytes / (2 * sizeof(float));
      if (pendingFrames_ == 0) continue;
      return Next::Frame;
    }
    // A damaged frame is skipped (the library goes on with the next one); only a failure of
    // the library itself stops decoding.
    return rc == MPG123_ERR ? Next::Failed : Next::NeedMore;
  }
}

std::size_t Mp3Decoder::read(float* stereo, std::size_t frames) {
  std::size_t done = 0;
  while (done < frames) {
    if (pendingFrames_ == 0 && decodeFrame() != Next::Frame) break;
    std::size_t n = std::min(frames - done, pendingFrames_);
    std::memcpy(stereo + done * 2, pending_, n * 2 * sizeof(float));
    pending_ += n * 2;
    pendingFrames_ -= n;
    done += n;
  }
  return done;
}

bool Mp3Decoder::probe() { return pendingFrames_ > 0 || decodeFrame() != Next::Failed; }

const char* Mp3Decoder::decoderName() const { return mpg123_current_decoder(handle_); }

}  // namespace audio

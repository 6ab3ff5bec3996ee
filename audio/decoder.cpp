#include "audio/decoder.h"

#include <mpg123.h>

#include <stdexcept>

namespace audio {

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

bool Mp3Decoder::decode(std::vector<float>& samples) {
  for (;;) {
    off_t frame = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    int rc = mpg123_decode_frame(handle_, &frame, &audio, &bytes);
    if (rc == MPG123_NEW_FORMAT) {
      formatKnown_ = true;
      continue;
    }
    if (rc == MPG123_NEED_MORE || rc == MPG123_DONE) return true;
    if (rc != MPG123_OK) return rc != MPG123_ERR;
    const float* out = reinterpret_cast<const float*>(audio);
    samples.insert(samples.end(), out, out + bytes / sizeof(float));
  }
}

}  // namespace audio

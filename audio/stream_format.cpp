#include "audio/stream_format.h"

#include <algorithm>
#include <cstring>

namespace audio {
namespace {

constexpr std::uint8_t kAsfHeaderId[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                           0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr std::size_t kHeaderBytes = 7;  // enough for either kind of frame header

bool isSync(const std::uint8_t* p) { return p[0] == 0xFF && (p[1] & 0xE0) == 0xE0; }
// A 12-bit sync with layer 0: ADTS. MPEG audio has no layer 0.
bool isAdts(const std::uint8_t* p) { return p[0] == 0xFF && (p[1] & 0xF6) == 0xF0; }

std::size_t adtsFrameBytes(const std::uint8_t* p) {
  if (((p[2] >> 2) & 0x0F) > 12) return 0;  // no such sample rate
  std::size_t bytes = (std::size_t(p[3] & 3) << 11) | (std::size_t(p[4]) << 3) | (p[5] >> 5);
  return bytes >= kHeaderBytes ? bytes : 0;
}

// The length of the MPEG audio frame a header starts; 0 for a header no frame has (or a free
// bit rate, whose length no header says).
std::size_t mpegFrameBytes(const std::uint8_t* p) {
  static const int kKbps[5][15] = {
      {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG 1 layer I
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG 1 layer II
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG 1 layer III
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG 2 layer I
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG 2 layers II, III
  };
  static const int kRates[3] = {44100, 48000, 32000};
  int version = (p[1] >> 3) & 3;  // 0: 2.5, 1: none, 2: 2, 3: 1
  int layer = 4 - ((p[1] >> 1) & 3);  // 4: none
  int bitrate = p[2] >> 4, rate = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (version == 1 || layer == 4 || bitrate == 0 || bitrate == 15 || rate == 3) return 0;
  bool mpeg1 = version == 3;
  int table = mpeg1 ? layer - 1 : layer == 1 ? 3 : 4;
  long bps = kKbps[table][bitrate] * 1000L;
  long hz = kRates[rate] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  if (layer == 1) return std::size_t((12 * bps / hz + padding) * 4);
  return std::size_t((layer == 3 && !mpeg1 ? 72 : 144) * bps / hz + padding);
}

// The bytes of an ID3v2 tag at the start, which its header counts (without itself).
std::size_t id3Bytes(const std::uint8_t* p) {
  std::size_t size = (std::size_t(p[6] & 0x7F) << 21) | (std::size_t(p[7] & 0x7F) << 14) |
                     (std::size_t(p[8] & 0x7F) << 7) | (p[9] & 0x7F);
  return 10 + size + ((p[5] & 0x10) ? 10 : 0);  // the footer, when it has one
}

}  // namespace

std::optional<StreamFormat> sniffFormat(const std::uint8_t* data, std::size_t size, bool final) {
  const std::optional<StreamFormat> undecided =
      final ? std::optional(StreamFormat::Mp3) : std::nullopt;
  if (std::memcmp(data, kAsfHeaderId, std::min(size, sizeof kAsfHeaderId)) == 0)
    return size >= sizeof kAsfHeaderId ? std::optional(StreamFormat::Wma) : undecided;
  std::size_t at = 0;
  if (size >= 3 && std::memcmp(data, "ID3", 3) == 0) {
    if (size < 10) return undecided;
    at = id3Bytes(data);
  }
  for (; at + 1 < size; ++at) {
    if (!isSync(data + at)) continue;
    if (at + kHeaderBytes > size) return undecided;
    bool adts = isAdts(data + at);
    std::size_t next = at + (adts ? adtsFrameBytes(data + at) : mpegFrameBytes(data + at));
    if (next == at) continue;
    if (next + 2 > size) return undecided;
    if (isSync(data + next) && isAdts(data + next) == adts) return adts ? StreamFormat::Aac : StreamFormat::Mp3;
  }
  return undecided;
}

}  // namespace audio

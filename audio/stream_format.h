// Which decoder a stream needs, told from its first bytes: an ASF header is WMA; two MPEG
// audio frames in a row are MP3, two ADTS frames in a row AAC. Two frames, because a stream
// joined in the middle of a frame may hold anything before its first header.
//
//   std::optional<StreamFormat> format = sniffFormat(bytes, size, size >= limit);
//   if (!format) ...   // wait for more bytes
//
// With `final` set the answer is never empty: bytes that show no format are left to the MP3
// decoder, which fails on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace audio {

// Bits, so that a set of formats fits in one value (StreamFormats).
enum class StreamFormat : unsigned { Mp3 = 1, Aac = 2, Wma = 4 };
using StreamFormats = unsigned;

constexpr StreamFormats formatBit(StreamFormat format) { return static_cast<StreamFormats>(format); }

std::optional<StreamFormat> sniffFormat(const std::uint8_t* data, std::size_t size, bool final);

}  // namespace audio

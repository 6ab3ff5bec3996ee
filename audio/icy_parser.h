// Reading an internet radio server's ICY answer: the metadata blocks the server interleaves
// with the audio when asked with "Icy-MetaData: 1", and the header lines that announce them.
//
//   IcySplitter split(interval);   // the "icy-metaint" value; 0 = no metadata in the stream
//   split.feed(bytes, size, onAudio, onMeta);   // pieces of any size, as they arrive
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace audio {

// Every `interval` audio bytes the server sends one length byte L and then L * 16 bytes of
// metadata text padded with zeros. Empty blocks (L = 0) mean "unchanged" and are dropped.
class IcySplitter {
 public:
  using AudioFn = std::function<void(const std::uint8_t* data, std::size_t size)>;
  using MetaFn = std::function<void(std::string text)>;

  explicit IcySplitter(std::size_t interval);
  void feed(const std::uint8_t* data, std::size_t size, const AudioFn& onAudio,
            const MetaFn& onMeta);

 private:
  std::size_t interval_;
  std::size_t audioLeft_;  // audio bytes until the next length byte
  std::size_t metaLeft_ = 0;
  std::string meta_;
};

// The value of a header line "Name: value" when its name is `name` (any case), trimmed.
std::optional<std::string> headerValue(std::string_view line, std::string_view name);

}  // namespace audio

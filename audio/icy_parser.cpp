#include "audio/icy_parser.h"

#include <algorithm>
#include <cctype>

namespace audio {

IcySplitter::IcySplitter(std::size_t interval) : interval_(interval), audioLeft_(interval) {}

void IcySplitter::feed(const std::uint8_t* data, std::size_t size, const AudioFn& onAudio,
                       const MetaFn& onMeta) {
  if (interval_ == 0) {
    if (size) onAudio(data, size);
    return;
  }
  while (size > 0) {
    if (audioLeft_ > 0) {
      std::size_t n = std::min(audioLeft_, size);
      onAudio(data, n);
      audioLeft_ -= n;
      data += n;
      size -= n;
    } else if (metaLeft_ == 0 && meta_.empty()) {
      // The length byte.
      metaLeft_ = static_cast<std::size_t>(*data) * 16;
      ++data;
      --size;
      if (metaLeft_ == 0) audioLeft_ = interval_;
    } else {
      std::size_t n = std::min(metaLeft_, size);
      meta_.append(reinterpret_cast<const char*>(data), n);
      metaLeft_ -= n;
      data += n;
      size -= n;
      if (metaLeft_ == 0) {
        std::string text = meta_.substr(0, meta_.find('\0'));
        meta_.clear();
        audioLeft_ = interval_;
        if (!text.empty()) onMeta(std::move(text));
      }
    }
  }
}

std::optional<std::string> headerValue(std::string_view line, std::string_view name) {
  auto colon = line.find(':');
  if (colon == std::string_view::npos || colon != name.size()) return std::nullopt;
  for (std::size_t i = 0; i < colon; ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) !=
        std::tolower(static_cast<unsigned char>(name[i])))
      return std::nullopt;
  std::string_view value = line.substr(colon + 1);
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!value.empty() && isSpace(value.front())) value.remove_prefix(1);
  while (!value.empty() && isSpace(value.back())) value.remove_suffix(1);
  return std::string(value);
}

}  // namespace audio

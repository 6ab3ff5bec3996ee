#include "audio/playlist.h"

#include <cctype>

namespace audio {
namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string_view trim(std::string_view text) {
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool isStreamAddress(std::string_view text) {
  std::string head = lower(text.substr(0, 8));
  return head.starts_with("http://") || head.starts_with("https://");
}

}  // namespace

bool isPlaylist(std::string_view url, std::string_view contentType, std::string_view body) {
  std::string type = lower(contentType.substr(0, contentType.find(';')));
  type = std::string(trim(type));
  if (type == "audio/mpeg" || type == "audio/mp3") return false;
  if (type == "audio/x-scpls" || type == "audio/scpls" || type == "application/pls+xml" ||
      type == "audio/x-mpegurl" || type == "audio/mpegurl" ||
      type == "application/x-mpegurl" || type == "application/vnd.apple.mpegurl")
    return true;
  std::string path = lower(url.substr(0, url.find_first_of("?#")));
  if (endsWith(path, ".pls") || endsWith(path, ".m3u") || endsWith(path, ".m3u8")) return true;
  std::string start = lower(trim(body.substr(0, 64)));
  return start.starts_with("[playlist]") || start.starts_with("#extm3u");
}

std::vector<std::string> playlistEntries(std::string_view body) {
  std::vector<std::string> entries;
  while (!body.empty()) {
    auto end = body.find('\n');
    std::string_view line = trim(body.substr(0, end));
    body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    // A .pls line "File1=address"; an .m3u line is the address itself.
    if (lower(line.substr(0, 4)) == "file") {
      auto eq = line.find('=');
      if (eq != std::string_view::npos) line = trim(line.substr(eq + 1));
    }
    if (isStreamAddress(line)) entries.emplace_back(line);
  }
  return entries;
}

}  // namespace audio

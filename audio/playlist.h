// Playlist addresses: a radio's "listen" link often names a .pls or .m3u file that lists
// the stream addresses instead of the stream itself.
//
//   if (isPlaylist(url, contentType, firstBytes)) for (auto& entry : playlistEntries(body)) ...
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace audio {

// Judged by the content type, the address's extension, or the first bytes of the body.
bool isPlaylist(std::string_view url, std::string_view contentType, std::string_view body);

// The http(s) addresses a .pls ("FileN=address") or .m3u (one address a line, "#" comments)
// lists, in their order.
std::vector<std::string> playlistEntries(std::string_view body);

}  // namespace audio

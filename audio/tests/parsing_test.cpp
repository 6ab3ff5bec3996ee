// The ICY metadata splitter, header lines and playlists, on bytes made here.
#include <gtest/gtest.h>

#include "audio/icy_parser.h"
#include "audio/playlist.h"

namespace {

using audio::IcySplitter;

std::string metaBlock(const std::string& text) {
  std::size_t units = (text.size() + 15) / 16;
  std::string block(1, static_cast<char>(units));
  return block + text + std::string(units * 16 - text.size(), '\0');
}

TEST(IcySplitter, SeparatesAudioAndTitlesWhateverThePieces) {
  // Interval 5: audio, a title, audio, an empty block, audio, a title with bytes >= 0x80.
  const std::string title1 = "StreamTitle='One';", title2 = "StreamTitle='\xC0\xE1';";
  const std::string wire = "aaaaa" + metaBlock(title1) + "bbbbb" + std::string(1, '\0') + "ccccc" +
                           metaBlock(title2) + "dd";
  for (std::size_t piece : {1u, 2u, 7u, 16u, 1000u}) {
    IcySplitter split(5);
    std::string audio;
    std::vector<std::string> titles;
    for (std::size_t at = 0; at < wire.size(); at += piece) {
      std::string part = wire.substr(at, piece);
      split.feed(reinterpret_cast<const std::uint8_t*>(part.data()), part.size(),
                 [&](const std::uint8_t* d, std::size_t n) { audio.append(reinterpret_cast<const char*>(d), n); },
                 [&](std::string t) { titles.push_back(t); });
    }
    EXPECT_EQ(audio, "aaaaabbbbbcccccdd") << piece;
    EXPECT_EQ(titles, (std::vector<std::string>{title1, title2})) << piece;
  }
}

TEST(IcySplitter, WithoutAnIntervalEverythingIsAudio) {
  IcySplitter split(0);
  std::string audio;
  const std::string wire = std::string("\x03StreamTitle", 12);
  split.feed(reinterpret_cast<const std::uint8_t*>(wire.data()), wire.size(),
             [&](const std::uint8_t* d, std::size_t n) { audio.append(reinterpret_cast<const char*>(d), n); },
             [&](std::string) { ADD_FAILURE(); });
  EXPECT_EQ(audio, wire);
}

TEST(HeaderValue, MatchesTheNameInAnyCaseAndTrimsTheValue) {
  EXPECT_EQ(audio::headerValue("icy-metaint: 8192", "icy-metaint"), "8192");
  EXPECT_EQ(audio::headerValue("ICY-MetaInt:16000  \r", "icy-metaint"), "16000");
  EXPECT_EQ(audio::headerValue("icy-metaintx: 1", "icy-metaint"), std::nullopt);
  EXPECT_EQ(audio::headerValue("Content-Type audio/mpeg", "Content-Type"), std::nullopt);
}

TEST(Playlist, ListsTheStreamAddressesOfPlsAndM3u) {
  const char* pls =
      "[playlist]\r\nNumberOfEntries=2\r\nFile1=http://a.example/1\r\nTitle1=One\r\n"
      "File2=https://b.example:8000/live\r\nLength1=-1\r\nVersion=2\r\n";
  EXPECT_EQ(audio::playlistEntries(pls),
            (std::vector<std::string>{"http://a.example/1", "https://b.example:8000/live"}));
  const char* m3u = "#EXTM3U\n#EXTINF:-1,Radio\nhttp://a.example/stream.mp3\n\nrelative.mp3\nHTTP://C.EXAMPLE/x\n";
  EXPECT_EQ(audio::playlistEntries(m3u),
            (std::vector<std::string>{"http://a.example/stream.mp3", "HTTP://C.EXAMPLE/x"}));
}

TEST(Playlist, IsRecognisedByTypeAddressOrContent) {
  struct Case {
    const char* url;
    const char* type;
    const char* body;
    bool playlist;
  } cases[] = {
      {"http://h/listen", "audio/x-scpls", "", true},
      {"http://h/listen", "audio/x-mpegurl; charset=utf-8", "", true},
      {"http://h/playlist/radio.m3u?station=5", "", "", true},
      {"http://h/radio.PLS", "text/plain", "", true},
      {"http://h/listen", "text/plain", "[playlist]\nFile1=http://x/", true},
      {"http://h/listen", "", "#EXTM3U\n", true},
      {"http://h/radio.m3u", "audio/mpeg", "", false},  // the server knows better
      {"http://h/live", "audio/mpeg", "\xFF\xFB", false},
  };
  for (const Case& c : cases) EXPECT_EQ(audio::isPlaylist(c.url, c.type, c.body), c.playlist) << c.url << " " << c.type;
}

}  // namespace

// End to end against the loopback stream server, with the output going to a WAV file: what
// plays, what the callbacks see, and how opening fails.
#include <algorithm>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <mutex>

#include "audio/audio.h"
#include "audio/decoder.h"
#include "audio/tests/support.h"
#include "tests/support/paths.h"

using namespace efir::test;

namespace {

// What the callbacks of one stream saw. The library calls them on its own threads.
struct Seen {
  std::mutex m;
  std::vector<std::string> titles;
  std::vector<char> kinds;  // 'h' header block, 'd' data, 'e' the final call
  std::string headers;
  std::string data;
  int ends = 0;
  DWORD freeOnFirstData = 0;  // a stream the download callback frees, as a recorder does
  int opened = 0;

  // The final download calls come after a stream is freed, on the library's thread: this
  // must outlive them.
  ~Seen() { waitUntil([&] { return count('e') >= opened; }, 5000); }

  int count(char kind) {
    std::lock_guard lock(m);
    return static_cast<int>(std::count(kinds.begin(), kinds.end(), kind));
  }
  std::size_t titleCount() {
    std::lock_guard lock(m);
    return titles.size();
  }
  int endCount() {
    std::lock_guard lock(m);
    return ends;
  }
};

void CALLBACK onDownload(const void* buffer, DWORD length, void* user) {
  auto& seen = *static_cast<Seen*>(user);
  DWORD freeNow = 0;
  {
    std::lock_guard lock(seen.m);
    const char* bytes = static_cast<const char*>(buffer);
    if (!buffer) {
      seen.kinds.push_back('e');
    } else if (length == 0) {
      seen.kinds.push_back('h');
      for (const char* line = bytes; *line; line += std::strlen(line) + 1) seen.headers += std::string(line) + "\n";
    } else {
      seen.kinds.push_back('d');
      seen.data.append(bytes, length);
      std::swap(freeNow, seen.freeOnFirstData);
    }
  }
  if (freeNow) BASS_StreamFree(freeNow);
}

void CALLBACK onMeta(DWORD, DWORD channel, DWORD, void* user) {
  auto& seen = *static_cast<Seen*>(user);
  const char* tags = BASS_ChannelGetTags(channel, audio::TagMeta);
  std::lock_guard lock(seen.m);
  seen.titles.push_back(tags ? tags : "(none)");
}

void CALLBACK onEnd(DWORD, DWORD, DWORD, void* user) {
  auto& seen = *static_cast<Seen*>(user);
  std::lock_guard lock(seen.m);
  ++seen.ends;
}

DWORD open(const std::string& path, Seen* seen = nullptr, DWORD flags = audio::StreamHeadersToProc) {
  if (seen) ++seen->opened;
  DWORD stream = BASS_StreamCreateURL(streamUrl(path).c_str(), 0, flags, seen ? onDownload : nullptr, seen);
  if (stream && seen) {
    BASS_ChannelSetSync(stream, audio::SyncMeta, 0, onMeta, seen);
    BASS_ChannelSetSync(stream, audio::SyncEnd, 0, onEnd, seen);
  }
  return stream;
}

std::vector<float> decodeReference(const std::string& mp3) {
  audio::Mp3Decoder decoder(44100);
  std::vector<float> samples;
  decoder.feed(reinterpret_cast<const std::uint8_t*>(mp3.data()), mp3.size());
  decoder.readAll(samples);
  return samples;
}

std::int16_t toPcm16(float sample) {
  return static_cast<std::int16_t>(std::clamp(std::round(sample * 32767.0f), -32768.0f, 32767.0f));
}

class Stream : public testing::Test {
 protected:
  Seen seen;  // outlives the session, whose end frees the streams
  AudioSession session;
};

TEST_F(Stream, PlaysTheDecodedStreamIntoTheWavFileAndEndsWithTheSync) {
  ASSERT_TRUE(session.ok());
  const std::size_t sent = 24000;  // about 3 s at 64 kbit/s; the server then drops the line
  DWORD stream = open("drop/" + std::to_string(sent) + ".mp3?speed=20&metaint=3000", &seen);
  ASSERT_NE(stream, 0u) << int(audio::lastError());
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(waitUntil([&] { return seen.endCount() > 0; }));
  EXPECT_EQ(audio::channelState(stream), audio::ChannelState::Stopped);
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, audio::PositionEnd), ~std::uint64_t{0});
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, audio::PositionDownload), sent);
  auto wav = session.finish();

  // Exactly the decoded stream: same length, same samples, at the tone's level.
  std::vector<float> reference = decodeReference(loopedStreamBytes(sent));
  ASSERT_EQ(wav.size(), reference.size());
  int worst = 0;
  for (std::size_t i = 0; i < wav.size(); ++i) worst = std::max(worst, std::abs(wav[i] - toPcm16(reference[i])));
  EXPECT_LE(worst, 1);
  EXPECT_NEAR(wav.size() / 2 / 44100.0, 2.9, 0.15);
  EXPECT_NEAR(rms(wav, 4410), 12000 / std::sqrt(2.0), 600);  // the fixture's sine amplitude
  EXPECT_NEAR(rms(wav, 4410, 1), rms(wav, 4410, 0), 1);       // mono on both sides
  EXPECT_EQ(seen.endCount(), 1);
}

TEST_F(Stream, MetadataSyncDeliversEveryTitleAsTheServerSentIt) {
  DWORD stream = open("live.mp3?speed=20&metaint=2000", &seen);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(waitUntil([&] { return seen.titleCount() >= 6; }));
  BASS_StreamFree(stream);
  std::lock_guard lock(seen.m);
  const std::vector<std::string> sent = {
      "StreamTitle='Artist - \"Song\"';StreamUrl='http://127.0.0.1/song';",
      "StreamTitle='Artist - Song; two 'quoted'';",
      "StreamTitle='\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0 - "
      "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F';",               // UTF-8
      "StreamTitle='\xC3\xF0\xF3\xEF\xEF\xE0 - \xCF\xE5\xF1\xED\xFF';",  // Windows-1251
      "StreamTitle='Server status: online';",
  };
  ASSERT_GE(seen.titles.size(), 6u);
  // The first block may pass before the sync is set (the stream reads on while it opens), so
  // the run may start at any title; from there on every title must arrive, in order, as sent.
  auto first = std::find(sent.begin(), sent.end(), seen.titles[0]);
  ASSERT_NE(first, sent.end()) << seen.titles[0];
  std::size_t offset = static_cast<std::size_t>(first - sent.begin());
  for (std::size_t i = 0; i < 6; ++i)
    EXPECT_EQ(seen.titles[i], sent[(offset + i) % sent.size()]) << i;
}

TEST_F(Stream, DownloadCallbackGetsTheHeadersThenTheAudioThenTheEnd) {
  const std::size_t sent = 20000;
  DWORD stream = open("drop/" + std::to_string(sent) + ".mp3?speed=20&metaint=3000", &seen);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));  // else the download waits once the buffer is full
  ASSERT_TRUE(waitUntil([&] { return seen.count('e') > 0; }));
  std::lock_guard lock(seen.m);
  ASSERT_GE(seen.kinds.size(), 3u);
  EXPECT_EQ(seen.kinds.front(), 'h');
  EXPECT_EQ(seen.kinds.back(), 'e');
  EXPECT_EQ(std::count(seen.kinds.begin(), seen.kinds.end(), 'h'), 1);
  EXPECT_EQ(std::count(seen.kinds.begin(), seen.kinds.end(), 'e'), 1);
  EXPECT_NE(seen.headers.find("ICY 200 OK\n"), std::string::npos) << seen.headers;
  EXPECT_NE(seen.headers.find("icy-metaint: 3000\n"), std::string::npos) << seen.headers;
  // The audio as the server sent it, without the metadata: a playable recording.
  EXPECT_TRUE(seen.data == loopedStreamBytes(sent));
}

TEST_F(Stream, FreeingEndsTheDownloadWithTheFinalCallEvenFromTheCallback) {
  for (bool fromCallback : {false, true}) {
    Seen local;
    DWORD stream = open("live.mp3?speed=2", &local);
    ASSERT_NE(stream, 0u);
    if (fromCallback) {
      std::lock_guard lock(local.m);
      local.freeOnFirstData = stream;
      BASS_ChannelPlay(stream, FALSE);  // keeps the data coming
    }
    if (!fromCallback) {
      EXPECT_TRUE(BASS_StreamFree(stream));
    }
    EXPECT_TRUE(waitUntil([&] { return local.count('e') == 1; })) << fromCallback;
    EXPECT_FALSE(BASS_StreamFree(stream));
    EXPECT_EQ(audio::lastError(), audio::Error::BadHandle);
    Sleep(100);
    EXPECT_EQ(local.count('e'), 1);
    EXPECT_EQ(local.endCount(), 0);  // a freed stream has no end of stream
  }
}

TEST_F(Stream, StalledStreamEndsWithTheEndSyncAfterTheTimeout) {
  BASS_SetConfig(audio::ConfigNetTimeout, 1000);
  DWORD stream = open("stall/12000.mp3?speed=20", &seen);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(waitUntil([&] { return seen.endCount() > 0; }));
  EXPECT_EQ(seen.count('e'), 1);
  EXPECT_NEAR(rms(session.finish(), 4410), 12000 / std::sqrt(2.0), 600);
}

TEST_F(Stream, OpenFailsCleanlyWithAnErrorCode) {
  BASS_SetConfig(audio::ConfigNetTimeout, 1000);
  struct Case {
    std::string url;
    audio::Error error;
  } cases[] = {
      {streamUrl("missing.mp3"), audio::Error::Connect},
      {"http://127.0.0.1:1/dead.mp3", audio::Error::Connect},
      {streamUrl("stall/0.mp3"), audio::Error::Timeout},
      {streamUrl("page.html"), audio::Error::Format},
      {streamUrl("list.pls"), audio::Error::Format},  // playlists are off
      {"not an address", audio::Error::Connect},
  };
  for (const Case& c : cases) {
    Seen local;
    ++local.opened;
    EXPECT_EQ(BASS_StreamCreateURL(c.url.c_str(), 0, audio::StreamHeadersToProc, onDownload, &local), 0u) << c.url;
    EXPECT_EQ(audio::lastError(), c.error) << c.url;
    EXPECT_TRUE(waitUntil([&] { return local.count('e') == 1; }, 5000)) << c.url;
  }
}

TEST_F(Stream, OpensRedirectsPlaylistsHttpAnswersAndUsesAgentAndProxy) {
  static char agent[] = "EfirTest/1.0";
  static char proxy[200] = {};
  std::snprintf(proxy, sizeof proxy, "127.0.0.1:%s", std::getenv("EFIR_STREAM_PORT"));
  struct Case {
    std::string url;
    bool playlists;
    const char* agent;
    const char* proxy;
    std::string title;
  } cases[] = {
      {streamUrl("redirect/live.mp3?speed=20&metaint=1000"), false, nullptr, nullptr, "Artist"},
      {streamUrl("http.mp3?speed=20&metaint=1000"), false, nullptr, nullptr, "Artist"},
      {streamUrl("list.pls?speed=20&metaint=1000"), true, nullptr, nullptr, "Artist"},
      {streamUrl("list.m3u?speed=20&metaint=1000"), true, nullptr, nullptr, "Artist"},
      {streamUrl("agent.mp3?speed=20&metaint=1000"), false, agent, nullptr, "EfirTest/1.0"},
      {"http://192.0.2.1/live.mp3?speed=20&metaint=1000", false, nullptr, proxy, "via proxy"},
  };
  for (const Case& c : cases) {
    Seen local;
    BASS_SetConfig(audio::ConfigNetPlaylist, c.playlists);
    BASS_SetConfigPtr(audio::ConfigNetAgent, c.agent);
    BASS_SetConfigPtr(audio::ConfigNetProxy, c.proxy);
    ++local.opened;
    DWORD stream = BASS_StreamCreateURL(c.url.c_str(), 0, 0, onDownload, &local);
    ASSERT_NE(stream, 0u) << c.url << " " << int(audio::lastError());
    BASS_ChannelPlay(stream, FALSE);
    EXPECT_TRUE(waitUntil([&] {
      const char* tags = BASS_ChannelGetTags(stream, audio::TagMeta);
      return tags && std::string(tags).find(c.title) != std::string::npos;
    }, 10000)) << c.url;
    EXPECT_TRUE(BASS_StreamFree(stream));
  }
}

TEST_F(Stream, PositionsOfALiveStreamFillTheBufferAndEndAtFree) {
  DWORD stream = open("live.mp3?speed=4");
  ASSERT_NE(stream, 0u);
  // As the player waits: the share of the buffer held ahead, until it is over 75 %.
  std::uint64_t end = 0;
  ASSERT_TRUE(waitUntil([&] {
    end = BASS_StreamGetFilePosition(stream, audio::PositionEnd);
    std::uint64_t ahead = BASS_StreamGetFilePosition(stream, audio::PositionDownload) -
                          BASS_StreamGetFilePosition(stream, audio::PositionCurrent);
    return end > 0 && end != ~std::uint64_t{0} && ahead * 100 / end > 75;
  }));
  EXPECT_EQ(end, 8000u);  // 1000 ms at the 64 kbit/s the server announces
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, 3), ~std::uint64_t{0});
  EXPECT_EQ(audio::lastError(), audio::Error::BadParameter);
  const char* headers = BASS_ChannelGetTags(stream, audio::TagHeaders);
  ASSERT_NE(headers, nullptr);
  EXPECT_STREQ(headers, "ICY 200 OK");
  BASS_StreamFree(stream);
  for (DWORD mode : {audio::PositionCurrent, audio::PositionDownload, audio::PositionEnd})
    EXPECT_EQ(BASS_StreamGetFilePosition(stream, mode), ~std::uint64_t{0});
}

TEST_F(Stream, SoundStartsOnceThePrebufferIsHeld) {
  BASS_SetConfig(audio::ConfigNetBuffer, 2000);  // 16000 bytes at 64 kbit/s
  for (DWORD percent : {100u, 0u}) {
    BASS_SetConfig(audio::ConfigNetPrebuffer, percent);
    DWORD stream = open("live.mp3");  // in real time: 8000 bytes a second
    ASSERT_NE(stream, 0u);
    std::uint64_t probed = BASS_StreamGetFilePosition(stream, audio::PositionCurrent);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    // The decoder takes more only once the sound has started.
    ASSERT_TRUE(waitUntil([&] { return BASS_StreamGetFilePosition(stream, audio::PositionCurrent) > probed; }, 10000));
    std::uint64_t held = BASS_StreamGetFilePosition(stream, audio::PositionDownload) - probed;
    if (percent == 100) {
      EXPECT_GE(held, 16000u);
    } else {
      EXPECT_LT(held, 8000u);
    }
    BASS_StreamFree(stream);
  }
}

// As the player loads them at start-up; they stay loaded for the process.
void loadPlugins() {
  EXPECT_NE(BASS_PluginLoad("C:\\Program Files\\Efir\\bass_aac.dll", 0), 0u);
  EXPECT_NE(BASS_PluginLoad("C:\\Program Files\\Efir\\basswma.dll", 0), 0u);
}

TEST(Plugins, AreKnownByTheirFileNameInAnyFolderAndCase) {
  struct Case {
    const char* file;
    bool loads;
  } cases[] = {
      {"C:\\Efir\\bass_aac.dll", true}, {"BASSWMA.DLL", true},         {"/efir/Bass_Aac.dll", true},
      {"C:\\Efir\\bass_fx.dll", false}, {"bass_aac.dll.off", false}, {"", false},
      {nullptr, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BASS_PluginLoad(c.file, 0) != 0, c.loads) << (c.file ? c.file : "null");
    EXPECT_EQ(audio::lastError(), c.loads ? audio::Error::None : audio::Error::NotAvailable);
  }
  DWORD aac = BASS_PluginLoad("bass_aac.dll", 0), wma = BASS_PluginLoad("basswma.dll", 0);
  EXPECT_NE(aac, wma);
  EXPECT_EQ(BASS_PluginLoad("D:\\other\\BASS_AAC.DLL", 0), aac);
}

TEST_F(Stream, AacStationPlaysTheToneWithItsTitlesAndHandsOverItsBytesUnchanged) {
  loadPlugins();
  const std::size_t sent = 25000;  // about 3 s at 66 kbit/s
  DWORD stream = open("drop/" + std::to_string(sent) + ".aac?speed=20&metaint=2000", &seen);
  ASSERT_NE(stream, 0u) << int(audio::lastError());
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(waitUntil([&] { return seen.endCount() > 0; }));
  auto wav = session.finish();

  EXPECT_NEAR(wav.size() / 2 / 44100.0, 3.0, 0.3);
  EXPECT_NEAR(rms(wav, 4410), 12000 / std::sqrt(2.0), 1200);
  EXPECT_NEAR(rms(wav, 4410, 1), rms(wav, 4410, 0), 1);
  std::lock_guard lock(seen.m);
  EXPECT_GE(seen.titles.size(), 4u);
  EXPECT_EQ(std::count(seen.titles.begin(), seen.titles.end(), "StreamTitle='Server status: online';"), 1);
  EXPECT_TRUE(seen.data == loopedStreamBytes(sent, "tone.aac"));  // what a recording keeps
}

TEST_F(Stream, WmaStationPlaysWithTheTitleOfItsOwnTags) {
  loadPlugins();
  DWORD stream = open("live.wma?speed=20", &seen);
  ASSERT_NE(stream, 0u) << int(audio::lastError());
  // There from the start, as the player reads it before setting its metadata sync.
  const char* tags = BASS_ChannelGetTags(stream, audio::TagMeta);
  ASSERT_NE(tags, nullptr);
  EXPECT_STREQ(tags, "StreamTitle='\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0 - "
                     "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F';");  // UTF-8
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(waitUntil([&] { return seen.endCount() > 0; }));
  auto wav = session.finish();

  EXPECT_NEAR(wav.size() / 2 / 44100.0, 4.0, 0.3);
  EXPECT_NEAR(rms(wav, 4410), 12000 / std::sqrt(2.0), 1200);
  std::ifstream in(efir::test::fixturePath("tone.wma"), std::ios::binary);
  std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::lock_guard lock(seen.m);
  EXPECT_TRUE(seen.data == file);
}

TEST(Device, PlaysAStreamThroughTheSoundDevice) {
  AudioSession session(AudioSession::Sink::Device);
  ASSERT_TRUE(session.ok()) << int(audio::lastError());
  Seen seen;
  DWORD stream = open("drop/8000.mp3?speed=20", &seen);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  EXPECT_TRUE(waitUntil([&] { return seen.endCount() == 1; }));
}

}  // namespace

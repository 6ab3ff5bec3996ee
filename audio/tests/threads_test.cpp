// Calls from several threads at once, as the player's overlapping connects make them, the
// library freed while a connect still waits, and a connect aborted from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "audio/audio.h"
#include "audio/open_abort.h"
#include "audio/tests/support.h"
#include "tests/support/silent_server.h"

using namespace efir::test;

namespace {

void CALLBACK noteHeaders(const void* buffer, DWORD length, void* user) {
  if (buffer && length == 0) *static_cast<std::atomic<bool>*>(user) = true;
}

TEST(Threads, OverlappingConnectsEffectsPlaysAndFrees) {
  AudioSession session;
  ASSERT_TRUE(session.ok());
  std::atomic<int> opened{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 5; ++i) {
        DWORD stream = BASS_StreamCreateURL(streamUrl("live.mp3?speed=8").c_str(), 0, 0, nullptr, nullptr);
        if (!stream) continue;
        ++opened;
        for (int band = 0; band < 10; ++band) BASS_ChannelSetFX(stream, audio::FxEqualizer, 1);
        BASS_ChannelPlay(stream, FALSE);
        Sleep(20);
        BASS_StreamFree(stream);
      }
    });
  for (auto& thread : threads) thread.join();  // each connect is bounded by the time-out
  EXPECT_EQ(opened, 20);
}

TEST(Threads, FreeingTheLibraryEndsAConnectInProgress) {
  AudioSession session;
  ASSERT_TRUE(session.ok());
  BASS_SetConfig(audio::ConfigNetTimeout, 10000);
  std::atomic<bool> connected{false}, done{false};
  DWORD result = 1;
  audio::Error error = audio::Error::None;
  std::thread connect([&] {
    // The server answers, then sends nothing: the connect waits for the first frame.
    result = BASS_StreamCreateURL(streamUrl("stall/0.mp3").c_str(), 0, audio::StreamHeadersToProc,
                                  noteHeaders, &connected);
    error = audio::lastError();
    done = true;
  });
  ASSERT_TRUE(waitUntil([&] { return connected.load(); }));
  session.finish();
  EXPECT_TRUE(waitUntil([&] { return done.load(); }, 5000));  // long before the time-out
  connect.join();
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(error, audio::Error::Ended);
}

}  // namespace

TEST(Threads, AnAbortedOpenEndsAtOnceWhateverTheServerDoes) {
  AudioSession session;
  ASSERT_TRUE(session.ok());
  BASS_SetConfig(audio::ConfigNetTimeout, 60000);  // far beyond any wait below
  SilentServer server;
  ASSERT_TRUE(server.ok());
  for (bool beforeTheCall : {true, false}) {
    SCOPED_TRACE(beforeTheCall ? "aborted before the call" : "aborted while it waits");
    audio::OpenAbort abort;
    if (beforeTheCall) abort.trigger();
    const int connectionsBefore = server.connections();
    std::atomic<bool> done{false};
    DWORD result = 1;
    audio::Error error = audio::Error::None;
    std::thread connect([&] {
      result = audio::streamCreateUrl(server.url("live.mp3").c_str(), 0, nullptr, nullptr, abort);
      error = audio::lastError();
      done = true;
    });
    if (!beforeTheCall) {
      // The server holds the connection and says nothing.
      EXPECT_TRUE(waitUntil([&] { return server.connections() > connectionsBefore; }));
      EXPECT_FALSE(done);
      abort.trigger();
    }
    EXPECT_TRUE(waitUntil([&] { return done.load(); }, 5000));
    connect.join();
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(error, audio::Error::Ended);
    if (beforeTheCall) {
      EXPECT_EQ(server.connections(), connectionsBefore);  // never connected
    }
  }
  // The library goes on: the next open plays.
  DWORD stream = BASS_StreamCreateURL(streamUrl("live.mp3").c_str(), 0, 0, nullptr, nullptr);
  EXPECT_NE(stream, 0u);
  BASS_StreamFree(stream);
}

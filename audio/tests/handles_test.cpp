// Calls with handles that are not (or no longer) the right kind, and the library's own
// life cycle: each fails with its error code and nothing crashes.
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "audio/tests/support.h"

using namespace efir::test;

namespace {

constexpr std::uint64_t kNone = ~std::uint64_t{0};

void CALLBACK ignore(DWORD, DWORD, DWORD, void*) {}

// Every call that takes a stream, with `stream`; each must fail with Error::BadHandle.
void expectRefused(DWORD stream, const char* what) {
  SCOPED_TRACE(what);
  auto refused = [](bool failed) {
    EXPECT_TRUE(failed);
    EXPECT_EQ(audio::lastError(), audio::Error::BadHandle);
  };
  refused(!BASS_ChannelPlay(stream, FALSE));
  refused(!BASS_ChannelStop(stream));
  refused(!BASS_ChannelSetAttribute(stream, audio::AttribVolume, 0.5f));
  refused(!BASS_ChannelGetTags(stream, audio::TagMeta));
  refused(!BASS_ChannelSetSync(stream, audio::SyncMeta, 0, ignore, nullptr));
  refused(!BASS_ChannelSetFX(stream, audio::FxEqualizer, 1));
  refused(BASS_StreamGetFilePosition(stream, audio::PositionDownload) == kNone);
  refused(audio::channelState(stream) == audio::ChannelState::Stopped);
  refused(!BASS_StreamFree(stream));
}

TEST(Handles, ZeroFreedAndWrongKindHandlesAreRefused) {
  AudioSession session;
  ASSERT_TRUE(session.ok());
  DWORD stream = BASS_StreamCreateURL(streamUrl("live.mp3?speed=4").c_str(), 0, 0, nullptr, nullptr);
  ASSERT_NE(stream, 0u);
  DWORD fx = BASS_ChannelSetFX(stream, audio::FxEqualizer, 1);
  ASSERT_NE(fx, 0u);
  audio::EqualizerParams params{};

  expectRefused(0, "handle 0");
  expectRefused(fx, "an effect's handle");
  EXPECT_FALSE(BASS_FXGetParameters(stream, &params));
  EXPECT_EQ(audio::lastError(), audio::Error::BadHandle);
  EXPECT_FALSE(BASS_FXSetParameters(0, &params));
  EXPECT_EQ(audio::lastError(), audio::Error::BadHandle);

  ASSERT_TRUE(BASS_StreamFree(stream));
  expectRefused(stream, "a freed stream");
  EXPECT_FALSE(BASS_FXGetParameters(fx, &params));
  EXPECT_EQ(audio::lastError(), audio::Error::BadHandle);
}

TEST(Handles, ParametersOutOfRangeAreRefused) {
  AudioSession session;
  ASSERT_TRUE(session.ok());
  DWORD stream = BASS_StreamCreateURL(streamUrl("live.mp3?speed=4").c_str(), 0, 0, nullptr, nullptr);
  ASSERT_NE(stream, 0u);
  DWORD band = BASS_ChannelSetFX(stream, audio::FxEqualizer, 1);
  DWORD reverb = BASS_ChannelSetFX(stream, audio::FxReverb, 1);
  audio::EqualizerParams bands[] = {{0, 3, 0}, {22050, 3, 0}, {1000, 0.5f, 0}, {1000, 37, 0}, {1000, 3, 15.5f}};
  for (const auto& p : bands) {
    EXPECT_FALSE(BASS_FXSetParameters(band, &p)) << p.centre << " " << p.bandwidth << " " << p.gain;
    EXPECT_EQ(audio::lastError(), audio::Error::BadParameter);
  }
  audio::EqualizerParams kept{};
  ASSERT_TRUE(BASS_FXGetParameters(band, &kept));
  EXPECT_EQ(kept.gain, 0);  // a refused record changes nothing
  audio::ReverbParams rooms[] = {{1, 0, 1000, 0.5f}, {0, -97, 1000, 0.5f}, {0, 0, 0, 0.5f}, {0, 0, 1000, 1}};
  for (const auto& p : rooms) EXPECT_FALSE(BASS_FXSetParameters(reverb, &p));

  EXPECT_FALSE(BASS_ChannelSetFX(stream, 9, 1));
  EXPECT_FALSE(BASS_ChannelSetAttribute(stream, 1, 0.5f));
  EXPECT_FALSE(BASS_ChannelSetSync(stream, 3, 0, ignore, nullptr));
  EXPECT_FALSE(BASS_ChannelGetTags(stream, 2));
  EXPECT_FALSE(BASS_SetConfig(99, 1));
  EXPECT_FALSE(BASS_SetConfigPtr(99, nullptr));
  EXPECT_EQ(audio::lastError(), audio::Error::BadParameter);
  EXPECT_EQ(BASS_StreamCreateURL(streamUrl("live.mp3").c_str(), 10, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(audio::lastError(), audio::Error::BadParameter);
}

TEST(Handles, TheLibraryCanBeFreedAndInitialisedAgain) {
  EXPECT_FALSE(BASS_Free());
  EXPECT_EQ(audio::lastError(), audio::Error::NotInitialised);
  EXPECT_EQ(BASS_StreamCreateURL(streamUrl("live.mp3").c_str(), 0, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(audio::lastError(), audio::Error::NotInitialised);
  // Plug-ins are accepted and ignored: the program goes on.
  EXPECT_EQ(BASS_PluginLoad("C:\\program\\plugin.dll", 0), 0u);
  EXPECT_TRUE(BASS_RecordFree());

  for (int round = 0; round < 2; ++round) {
    AudioSession session;
    ASSERT_TRUE(session.ok());
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(audio::lastError(), audio::Error::AlreadyInitialised);
    DWORD stream = BASS_StreamCreateURL(streamUrl("live.mp3?speed=4").c_str(), 0, 0, nullptr, nullptr);
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_ChannelStop(stream));  // freed with the library
    EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
  }
  EXPECT_FALSE(BASS_Init(3, 44100, 0, nullptr, nullptr));
  EXPECT_EQ(audio::lastError(), audio::Error::NoDevice);
}

}  // namespace

// The decoder on whole fixture files: every stream comes out as stereo at the output rate.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "audio/decoder.h"
#include "tests/support/paths.h"

namespace {

std::string readFixture(const std::string& name) {
  std::ifstream in(efir::test::fixturePath(name), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Decodes a fixture file at 44100 Hz.
std::vector<float> decodeFile(const std::string& name) {
  std::string mp3 = readFixture(name);
  audio::Mp3Decoder decoder(44100);
  decoder.feed(reinterpret_cast<const std::uint8_t*>(mp3.data()), mp3.size());
  std::vector<float> samples;
  decoder.readAll(samples);
  EXPECT_TRUE(decoder.formatKnown());
  return samples;
}

// The frequency of a sine from its rising zero crossings, on one side, between 0.1 and 0.9 s.
double frequency(const std::vector<float>& stereo, int side) {
  int rising = 0;
  for (std::size_t i = 4410; i < 39690; ++i)
    if (stereo[(i - 1) * 2 + side] < 0 && stereo[i * 2 + side] >= 0) ++rising;
  return rising / 0.8;
}

TEST(Decoder, GivesStereoAtTheOutputRateWhateverTheFilesRate) {
  for (const char* name : {"tone.mp3", "tone48k.mp3"}) {
    std::vector<float> samples = decodeFile(name);
    EXPECT_NEAR(samples.size() / 2 / 44100.0, 1.0, 0.06) << name;
    ASSERT_GT(samples.size(), 39690u * 2) << name;
    EXPECT_NEAR(frequency(samples, 0), 440, 3) << name;
    EXPECT_NEAR(frequency(samples, 1), 440, 3) << name;
  }
}

// The stream takes sound in the mixer's blocks, which do not match the MP3 frames: a frame
// read in parts must come out whole and in order, as the bytes keep arriving in steps.
TEST(Decoder, ReadingInPiecesGivesTheSameSamplesAsReadingAll) {
  std::string mp3 = readFixture("music.mp3");
  std::vector<float> whole = decodeFile("music.mp3");
  audio::Mp3Decoder decoder(44100);
  std::vector<float> pieces(whole.size() + 4096);
  std::size_t got = 0, fed = 0;
  for (std::size_t n = 1; got < whole.size() / 2; n = n % 1500 + 7) {
    std::size_t read = decoder.read(pieces.data() + got * 2, std::min(n, whole.size() / 2 - got));
    got += read;
    if (read == 0 && fed == mp3.size()) break;
    if (read == 0) {
      std::size_t step = std::min<std::size_t>(4096, mp3.size() - fed);
      decoder.feed(reinterpret_cast<const std::uint8_t*>(mp3.data()) + fed, step);
      fed += step;
    }
  }
  ASSERT_EQ(got, whole.size() / 2);
  pieces.resize(got * 2);
  EXPECT_TRUE(pieces == whole);
}

TEST(Decoder, FindsNoFormatInBytesThatAreNotMp3) {
  audio::Mp3Decoder decoder(44100);
  std::string page(20000, 'x');
  decoder.feed(reinterpret_cast<const std::uint8_t*>(page.data()), page.size());
  std::vector<float> samples;
  decoder.readAll(samples);
  EXPECT_FALSE(decoder.formatKnown());
  EXPECT_TRUE(samples.empty());
}

}  // namespace

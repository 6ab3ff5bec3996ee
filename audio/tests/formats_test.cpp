// AAC and WMA: telling the format from a stream's first bytes, the FFmpeg decoder on the
// fixture files fed as a stream feeds them, and a stream that plays only the formats loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>

#include "audio/channel.h"
#include "audio/decoder.h"
#include "audio/ffmpeg_decoder.h"
#include "audio/stream_format.h"
#include "tests/support/paths.h"

namespace {

using audio::StreamFormat;
using Bytes = std::vector<std::uint8_t>;

Bytes readFixture(const std::string& name) {
  std::ifstream in(efir::test::fixturePath(name), std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t size) {
  from = std::min(from, bytes.size());
  return Bytes(bytes.begin() + from, bytes.begin() + std::min(bytes.size(), from + size));
}

TEST(StreamFormat, TellsTheFormatFromTwoFramesOrTheAsfHeader) {
  const Bytes mp3 = readFixture("stream.mp3"), aac = readFixture("tone.aac"), wma = readFixture("tone.wma");
  Bytes tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 20};  // an ID3v2 tag of 20 bytes, all 0xFF
  tagged.insert(tagged.end(), 20, 0xFF);
  tagged.insert(tagged.end(), mp3.begin(), mp3.begin() + 4000);
  const Bytes text(5000, 'x');
  struct Case {
    const char* name;
    Bytes bytes;
    bool final;
    std::optional<StreamFormat> format;
  } cases[] = {
      {"MP3", slice(mp3, 0, 4000), false, StreamFormat::Mp3},
      {"MP3 joined inside a frame", slice(mp3, 1001, 4000), false, StreamFormat::Mp3},
      {"MP3 after an ID3 tag full of syncs", tagged, false, StreamFormat::Mp3},
      {"AAC", slice(aac, 0, 4000), false, StreamFormat::Aac},
      {"AAC joined inside a frame", slice(aac, 1001, 4000), false, StreamFormat::Aac},
      {"AAC with only its first frame so far", slice(aac, 0, 20), false, std::nullopt},
      {"WMA", slice(wma, 0, 16), false, StreamFormat::Wma},
      {"the start of an ASF header", slice(wma, 0, 10), false, std::nullopt},
      {"text", text, false, std::nullopt},
      {"text, and no more will be waited for", text, true, StreamFormat::Mp3},
      {"nothing yet", {}, false, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(audio::sniffFormat(c.bytes.data(), c.bytes.size(), c.final), c.format) << c.name;
}

// Feeds the file in steps of `step` bytes, reading between them in blocks of varying size, as
// the stream does, then marks the end and reads what is left: stereo at 44100 Hz.
std::vector<float> decodeInSteps(audio::Decoder& decoder, const Bytes& file, std::size_t step) {
  std::vector<float> out;
  std::vector<float> block(2 * 1500);
  std::size_t fed = 0, size = 1;
  for (;;) {
    std::size_t got = decoder.read(block.data(), size);
    out.insert(out.end(), block.begin(), block.begin() + got * 2);
    size = size % 1499 + 7;
    if (got > 0) continue;
    if (fed == file.size()) break;
    std::size_t n = std::min(step, file.size() - fed);
    decoder.feed(file.data() + fed, n);
    fed += n;
  }
  decoder.endOfInput();
  decoder.readAll(out);
  return out;
}

double level(const std::vector<float>& stereo, std::size_t from, std::size_t to, int side) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(stereo[i * 2 + side]) * stereo[i * 2 + side];
  return std::sqrt(sum / double(to - from));
}

int risingCrossings(const std::vector<float>& stereo, std::size_t from, std::size_t to, int side) {
  int rising = 0;
  for (std::size_t i = from + 1; i < to; ++i) rising += stereo[(i - 1) * 2 + side] < 0 && stereo[i * 2 + side] >= 0;
  return rising;
}

TEST(FfmpegDecoder, DecodesEachFixtureAlikeInAnyStepsToTheToneAtTheOutputRate) {
  struct Case {
    const char* file;
    audio::FfmpegDecoder::Container container;
    double seconds;
    double level;  // of the tone in the file, on each side
  } cases[] = {
      {"tone.aac", audio::FfmpegDecoder::Container::Adts, 1, 1},  // mono 44.1 kHz
      // Stereo 48 kHz: the encoder spread the mono tone over both sides at -3 dB.
      {"tone48k.aac", audio::FfmpegDecoder::Container::Adts, 1, std::sqrt(0.5)},
      {"tone.wma", audio::FfmpegDecoder::Container::Asf, 4, 1},  // WMA 2
      {"tone1.wma", audio::FfmpegDecoder::Container::Asf, 1, 1},  // WMA 1
  };
  for (const Case& c : cases) {
    const Bytes file = readFixture(c.file);
    ASSERT_FALSE(file.empty()) << c.file;
    audio::FfmpegDecoder whole(c.container, 44100);
    std::vector<float> reference = decodeInSteps(whole, file, file.size());
    EXPECT_TRUE(whole.formatKnown()) << c.file;
    // Encoders add a frame or two of delay and padding at either end.
    EXPECT_NEAR(reference.size() / 2 / 44100.0, c.seconds, 0.1) << c.file;
    ASSERT_GT(reference.size() / 2, std::size_t(44100 * c.seconds * 0.9)) << c.file;
    std::size_t from = 4410, to = std::size_t(44100 * c.seconds * 0.9);
    for (int side : {0, 1}) {
      EXPECT_NEAR(level(reference, from, to, side), c.level * 12000 / 32768.0 / std::sqrt(2.0), 0.02) << c.file << side;
      EXPECT_NEAR(risingCrossings(reference, from, to, side) / ((to - from) / 44100.0), 440, 3) << c.file << side;
    }
    for (std::size_t step : {1000u, 333u}) {
      audio::FfmpegDecoder pieces(c.container, 44100);
      EXPECT_TRUE(decodeInSteps(pieces, file, step) == reference) << c.file << " in steps of " << step;
    }
  }
}

TEST(FfmpegDecoder, ReadsTheAsfTitleAndRefusesADamagedHeader) {
  const Bytes wma = readFixture("tone.wma");
  audio::FfmpegDecoder decoder(audio::FfmpegDecoder::Container::Asf, 44100);
  decoder.feed(wma.data(), 3000);
  EXPECT_TRUE(decoder.probe());
  EXPECT_FALSE(decoder.formatKnown());  // the header has come, no whole packet yet
  decoder.feed(wma.data() + 3000, 20000);
  EXPECT_TRUE(decoder.probe());
  EXPECT_TRUE(decoder.formatKnown());
  EXPECT_EQ(decoder.title(), "\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0 - \xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F");

  Bytes damaged = slice(wma, 0, 6000);
  damaged[16] = 0xFF;  // the header's size, now far beyond any radio stream's
  damaged[20] = 0x7F;
  audio::FfmpegDecoder refusing(audio::FfmpegDecoder::Container::Asf, 44100);
  refusing.feed(damaged.data(), damaged.size());
  EXPECT_FALSE(refusing.probe());

  audio::FfmpegDecoder adts(audio::FfmpegDecoder::Container::Adts, 44100);
  const Bytes aac = readFixture("tone.aac");
  adts.feed(aac.data(), aac.size());
  EXPECT_TRUE(adts.probe());
  EXPECT_TRUE(adts.formatKnown());
  EXPECT_EQ(adts.title(), "");
}

// A forged header may state any sample rate: one far below any codec's would have each
// frame resampled into tens of megabytes of output.
TEST(FfmpegDecoder, RefusesAnAsfHeaderStatingASampleRateNoCodecHas) {
  Bytes wma = readFixture("tone.wma");
  const Bytes streamProperties = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                  0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
  auto object = std::search(wma.begin(), wma.end(), streamProperties.begin(), streamProperties.end());
  ASSERT_NE(object, wma.end());
  // Its wave format: the rate at 4 bytes in, the bytes a second at 8 (kept low, or the
  // decoder itself would refuse the rate).
  const auto format = object + 78;
  for (int i = 0; i < 4; ++i) {
    format[4 + i] = i == 0 ? 1 : 0;
    format[8 + i] = i == 0 ? 1 : 0;
  }
  audio::FfmpegDecoder decoder(audio::FfmpegDecoder::Container::Asf, 44100);
  std::vector<float> out;
  decoder.feed(wma.data(), wma.size());
  decoder.endOfInput();
  EXPECT_FALSE(decoder.probe());
  decoder.readAll(out);
  EXPECT_TRUE(out.empty()) << out.size() / 2 << " frames";
}

// A stream fed the bytes as its download would: it plays a format only once it may.
TEST(FfmpegDecoder, StreamPlaysAacAndWmaOnlyWhenTheirPluginIsLoaded) {
  struct Case {
    const char* file;
    audio::StreamFormats formats;
    bool plays;
  } cases[] = {
      {"tone.aac", audio::formatBit(StreamFormat::Mp3), false},
      {"tone.aac", audio::formatBit(StreamFormat::Mp3) | audio::formatBit(StreamFormat::Aac), true},
      {"tone.wma", audio::formatBit(StreamFormat::Mp3) | audio::formatBit(StreamFormat::Aac), false},
      {"tone.wma", audio::formatBit(StreamFormat::Mp3) | audio::formatBit(StreamFormat::Wma), true},
  };
  for (const Case& c : cases) {
    const Bytes file = readFixture(c.file);
    audio::ChannelSetup setup;
    setup.formats = c.formats;
    setup.prebufferPercent = 0;
    auto stream = std::make_shared<audio::Channel>(setup);
    audio::Receiver& download = *stream;
    for (std::size_t at = 0; at < file.size() && !download.cancelled(); at += 4096)
      download.audio(file.data() + at, std::min<std::size_t>(4096, file.size() - at));
    EXPECT_EQ(download.cancelled(), !c.plays) << c.file << " " << c.formats;
    stream->play();
    std::vector<float> block(2 * 8192);
    std::size_t frames = stream->render(block.data(), 8192);
    EXPECT_EQ(frames > 0, c.plays) << c.file << " " << c.formats;
    stream->free();
  }
}

}  // namespace

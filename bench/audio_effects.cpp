// How close the audio library's decode path and effects come to libmpg123's own speed, its
// AAC path to FFmpeg's, and what each effect costs.
//
//   bench_audio_effects.exe          (no arguments; from the repository root after a build)
//
// The sound is the build's music fixture (5 s, stereo, 128 kbit/s: as heavy to decode as a real
// station) played 24 times over as one stream of 120 s. Five setups decode it:
//   (a) libmpg123 alone, reading the bytes from memory into one reused buffer, in the format
//       it picks itself: the limit;
//   (b) our decode path: a stream fed the bytes as its download hands them over and rendered
//       in the mixer's blocks, as the player plays;
//   (c) (b) with the ten bands of a typical preset, (d) and the reverb on, (e) and the volume.
// The setups take turns over five rounds and the best round of each counts; the machine is
// shared, so compare the ratios of one run rather than figures across runs. Prints each as a
// real-time factor (seconds of sound per second of work) and as a ratio to (a), then
//   decode path / libmpg123: R      (b to a; the aim is at most 1.3)
//   chain / libmpg123: R            (e to a; the aim is at most 1.8)
// then the same music as AAC (ADTS, 128 kbit/s), 120 s decoded by (f) FFmpeg's parser and
// decoder alone, in the format the decoder gives, and (g) our decode path, as (b):
//   aac decode path / decoder: R    (g to f; the aim is at most 1.3)
// and the cost of each effect alone on decoded sound, in microseconds per second of sound.
#include <mpg123.h>
#include <windows.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio/channel.h"
#include "audio/decoder.h"
#include "audio/dsp.h"

namespace {

constexpr long kRate = 44100;
constexpr std::size_t kBlock = 1024;     // frames, as the mixer takes them
constexpr std::size_t kDownload = 16384;  // bytes, as libcurl hands them over at most
constexpr int kRepeats = 24;
constexpr int kRounds = 5;
constexpr float kVolume = 0.8f;
constexpr float kReverbOff = -96;  // the player's reverb until the listener turns it up
constexpr float kReverbOn = -10;

using Bytes = std::vector<std::uint8_t>;

// --- (a): libmpg123 alone ------------------------------------------------------------------

// The bytes as a file the library reads through its own reader calls.
struct MemoryFile {
  const Bytes* bytes;
  std::size_t at = 0;
};

mpg123_ssize_t readMemory(void* handle, void* buffer, size_t size) {
  auto* file = static_cast<MemoryFile*>(handle);
  std::size_t n = std::min(size, file->bytes->size() - file->at);
  std::memcpy(buffer, file->bytes->data() + file->at, n);
  file->at += n;
  return static_cast<mpg123_ssize_t>(n);
}

off_t seekMemory(void* handle, off_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(handle);
  off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? off_t(file->at) : off_t(file->bytes->size());
  if (base + offset < 0 || std::size_t(base + offset) > file->bytes->size()) return -1;
  file->at = std::size_t(base + offset);
  return off_t(file->at);
}

struct LibraryRun {
  std::size_t frames = 0;
  std::string decoder, format;
};

LibraryRun decodeWithLibrary(const Bytes& mp3) {
  static std::vector<unsigned char> buffer(64 * 1024);
  LibraryRun run;
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
  mpg123_replace_reader_handle(handle, readMemory, seekMemory, nullptr);
  MemoryFile file{&mp3};
  if (mpg123_open_handle(handle, &file) == MPG123_OK) {
    long rate = 0;
    int channels = 0, encoding = 0;
    mpg123_getformat(handle, &rate, &channels, &encoding);
    std::size_t frameBytes = std::size_t(mpg123_encsize(encoding)) * channels;
    for (;;) {
      size_t done = 0;
      int rc = mpg123_read(handle, buffer.data(), buffer.size(), &done);
      run.frames += done / frameBytes;
      if (rc != MPG123_OK) break;
    }
    run.decoder = mpg123_current_decoder(handle);
    run.format = std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels, " +
                 (encoding == MPG123_ENC_SIGNED_16 ? "16-bit" : "encoding " + std::to_string(encoding));
  }
  mpg123_delete(handle);
  return run;
}

// --- (f): FFmpeg alone -------------------------------------------------------------------------

// Frames of sound FFmpeg's AAC parser and decoder make of ADTS bytes (padded as FFmpeg asks).
std::size_t decodeAacWithLibrary(const Bytes& aac) {
  const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_AAC);
  AVCodecContext* context = avcodec_alloc_context3(codec);
  AVCodecParserContext* parser = av_parser_init(AV_CODEC_ID_AAC);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  std::size_t frames = 0;
  if (avcodec_open2(context, codec, nullptr) == 0) {
    auto send = [&] {
      avcodec_send_packet(context, packet);
      while (avcodec_receive_frame(context, frame) == 0) {
        frames += std::size_t(frame->nb_samples);
        av_frame_unref(frame);
      }
    };
    const std::size_t size = aac.size() - AV_INPUT_BUFFER_PADDING_SIZE;
    for (std::size_t at = 0; at < size;) {
      at += std::size_t(av_parser_parse2(parser, context, &packet->data, &packet->size, aac.data() + at,
                                         int(size - at), AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0));
      if (packet->size) send();
    }
    av_parser_parse2(parser, context, &packet->data, &packet->size, nullptr, 0, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
    if (packet->size) send();
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  av_parser_close(parser);
  avcodec_free_context(&context);
  return frames;
}

// --- (b) to (e), (g): a stream as the player plays it ----------------------------------------------

struct StreamSetup {
  const char* name;
  int bands;  // of the preset, 0 or 10
  bool reverb;
  bool volume;
};

const StreamSetup kStreamSetups[] = {
    {"(b) our decode path", 0, false, false},
    {"(c) + ten bands of a preset", 10, false, false},
    {"(d) + reverb", 10, true, false},
    {"(e) + volume: the chain", 10, true, true},
};

// A typical preset: one band flat, the others not.
constexpr float kCentres[] = {80, 170, 310, 600, 1000, 3000, 7000, 12000, 14000, 16000};
constexpr float kGains[] = {6, 4, 2, 0, -2, -3, 2, 4, 5, 6};

audio::EqualizerParams band(int i) { return {kCentres[i], 3, kGains[i]}; }
audio::ReverbParams room(float mix) { return {0, mix, 1500, 0.1f}; }

std::size_t playStream(const Bytes& bytes, const StreamSetup& setup) {
  static std::vector<float> block(kBlock * 2);
  audio::ChannelSetup channelSetup;
  channelSetup.rate = kRate;
  channelSetup.formats = audio::formatBit(audio::StreamFormat::Mp3) | audio::formatBit(audio::StreamFormat::Aac);
  auto stream = std::make_shared<audio::Channel>(channelSetup);
  DWORD fx = 1;
  for (int i = 0; i < setup.bands; ++i, ++fx) {
    audio::EqualizerParams params = band(i);
    stream->addEffect(fx, audio::FxEqualizer, 1);
    stream->setEffectParams(fx, &params);
  }
  if (setup.reverb) {
    audio::ReverbParams params = room(kReverbOn);
    stream->addEffect(fx, audio::FxReverb, 1);
    stream->setEffectParams(fx, &params);
  }
  if (setup.volume) stream->setVolume(kVolume);
  // What the download does: hand over bytes while the stream wants more.
  audio::Receiver& download = *stream;
  std::size_t sent = 0, frames = 0;
  auto sendWhileWanted = [&] {
    while (sent < bytes.size() && download.wantsMore()) {
      std::size_t n = std::min(kDownload, bytes.size() - sent);
      download.audio(bytes.data() + sent, n);
      sent += n;
    }
  };
  sendWhileWanted();
  stream->play();
  for (;;) {
    std::size_t n = stream->render(block.data(), kBlock);
    if (n == 0) break;
    frames += n;
    sendWhileWanted();
  }
  stream->free();
  return frames;
}

// --- each effect alone ----------------------------------------------------------------------

using Effects = std::vector<std::unique_ptr<audio::Effect>>;

struct Part {
  const char* name;
  std::function<void(Effects&)> make;
  bool volume = false;
  bool oneByOne = false;  // each effect on its own, as a chain without the bank would run them
};

void addBands(Effects& effects, int from, int to) {
  for (int i = from; i < to; ++i) {
    auto effect = audio::makeEffect(audio::FxEqualizer, kRate);
    audio::EqualizerParams params = band(i);
    effect->setParams(&params);
    effects.push_back(std::move(effect));
  }
}

void addReverb(Effects& effects, float mix) {
  auto effect = audio::makeEffect(audio::FxReverb, kRate);
  audio::ReverbParams params = room(mix);
  effect->setParams(&params);
  effects.push_back(std::move(effect));
}

const Part kParts[] = {
    {"nothing (the copy)", [](Effects&) {}},
    {"one band (1 kHz, -2 dB)", [](Effects& e) { addBands(e, 4, 5); }},
    {"one flat band", [](Effects& e) { addBands(e, 3, 4); }},
    {"10 bands of the preset", [](Effects& e) { addBands(e, 0, 10); }},
    {"10 bands one after another", [](Effects& e) { addBands(e, 0, 10); }, false, true},
    {"reverb off", [](Effects& e) { addReverb(e, kReverbOff); }},
    {"reverb on", [](Effects& e) { addReverb(e, kReverbOn); }},
    {"volume", [](Effects&) {}, true},
};

// --- timing ---------------------------------------------------------------------------------

// Runs `pass` (which makes some frames of sound and returns how many) once; the real-time
// factor.
double realTime(const std::function<std::size_t()>& pass) {
  auto started = std::chrono::steady_clock::now();
  std::size_t frames = pass();
  std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
  return frames / double(kRate) / spent.count();
}

// The best real-time factor of each setup over the rounds; `pass` runs one setup once.
std::vector<double> bestOfRounds(std::size_t setups, const std::function<std::size_t(std::size_t)>& pass) {
  std::vector<double> best(setups, 0);
  for (int round = 0; round < kRounds; ++round)
    for (std::size_t s = 0; s < setups; ++s) best[s] = std::max(best[s], realTime([&] { return pass(s); }));
  return best;
}

std::string fixturePath(const char* name) {
  const char* build = std::getenv("EFIR_BUILD_DIR");
  return std::string(build ? build : "build/x86_64") + "/fixtures/" + name;
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes repeated(const Bytes& once) {
  Bytes bytes;
  for (int i = 0; i < kRepeats; ++i) bytes.insert(bytes.end(), once.begin(), once.end());
  return bytes;
}

// (f) and (g) on the music as AAC; false when the fixture does not decode.
bool compareAac() {
  std::string path = fixturePath("music.aac");
  Bytes aac = repeated(readFile(path));
  aac.insert(aac.end(), AV_INPUT_BUFFER_PADDING_SIZE, 0);
  std::size_t frames = decodeAacWithLibrary(aac);
  if (frames == 0) {
    std::fprintf(stderr, "%s cannot be read or does not decode as AAC\n", path.c_str());
    return false;
  }
  const Bytes stream(aac.begin(), aac.end() - AV_INPUT_BUFFER_PADDING_SIZE);
  std::vector<double> best = bestOfRounds(2, [&](std::size_t s) {
    return s == 0 ? decodeAacWithLibrary(aac) : playStream(stream, kStreamSetups[0]);
  });
  std::printf("\n%s %d times over: %.0f s of sound\n", path.c_str(), kRepeats, frames / double(kRate));
  std::printf("%-32s %8.1f x real time\n", "(f) FFmpeg alone", best[0]);
  std::printf("%-32s %8.1f x real time, %5.2f x (f)\n", "(g) our decode path", best[1], best[0] / best[1]);
  std::printf("\naac decode path / decoder: %.2f\n", best[0] / best[1]);
  return true;
}

}  // namespace

int main() {
  std::string path = fixturePath("music.mp3");
  Bytes once = readFile(path);
  Bytes mp3 = repeated(once);
  LibraryRun library = decodeWithLibrary(mp3);
  if (library.frames == 0) {
    std::fprintf(stderr, "%s cannot be read or does not decode as MP3 (set EFIR_BUILD_DIR)\n", path.c_str());
    return 1;
  }
  audio::Mp3Decoder ours(kRate);
  ours.feed(once.data(), once.size());
  ours.probe();

  const std::size_t setups = std::size(kStreamSetups) + 1;
  std::vector<double> whole = bestOfRounds(setups, [&](std::size_t s) {
    return s == 0 ? decodeWithLibrary(mp3).frames : playStream(mp3, kStreamSetups[s - 1]);
  });
  std::printf("%s %d times over: %.0f s of sound, best of %d rounds\n", path.c_str(), kRepeats,
              library.frames / double(kRate), kRounds);
  std::printf("libmpg123 decodes with \"%s\" into %s; our decoder with \"%s\" into float\n\n",
              library.decoder.c_str(), library.format.c_str(), ours.decoderName());
  std::printf("%-32s %8.1f x real time\n", "(a) libmpg123 alone", whole[0]);
  for (std::size_t s = 1; s < setups; ++s)
    std::printf("%-32s %8.1f x real time, %5.2f x (a)\n", kStreamSetups[s - 1].name, whole[s], whole[0] / whole[s]);
  std::printf("\ndecode path / libmpg123: %.2f\nchain / libmpg123: %.2f\n", whole[0] / whole[1],
              whole[0] / whole[setups - 1]);
  if (!compareAac()) return 1;

  std::vector<float> decoded;
  audio::Mp3Decoder decoder(kRate);
  decoder.feed(mp3.data(), mp3.size());
  decoder.readAll(decoded);
  std::vector<Effects> parts(std::size(kParts));
  std::vector<audio::EffectChain> chains(parts.size());
  for (std::size_t p = 0; p < parts.size(); ++p) {
    kParts[p].make(parts[p]);
    std::vector<audio::Effect*> order;
    for (auto& effect : parts[p]) order.push_back(effect.get());
    chains[p].assign(order);
  }
  std::vector<float> pcm(decoded.size());
  std::vector<double> alone = bestOfRounds(parts.size(), [&](std::size_t p) {
    pcm = decoded;
    for (std::size_t at = 0; at < pcm.size() / 2; at += kBlock) {
      float* block = pcm.data() + at * 2;
      std::size_t n = std::min(kBlock, pcm.size() / 2 - at);
      if (kParts[p].oneByOne)
        for (auto& effect : parts[p]) effect->process(block, n);
      else
        chains[p].process(block, n);
      if (kParts[p].volume) audio::applyVolume(block, n * 2, kVolume);
    }
    return pcm.size() / 2;
  });
  std::printf("\nper second of sound: (a) %.0f us, (b) %.0f us; each effect alone on decoded sound:\n",
              1e6 / whole[0], 1e6 / whole[1]);
  for (std::size_t p = 0; p < parts.size(); ++p) std::printf("  %-32s %7.0f us\n", kParts[p].name, 1e6 / alone[p]);
  return 0;
}

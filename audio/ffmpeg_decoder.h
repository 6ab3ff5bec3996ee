// AAC (ADTS; with SBR and parametric stereo, so HE-AAC v1 and v2 too) and WMA (versions 1 and
// 2, in ASF) through FFmpeg, for a stream that arrives piece by piece (see audio/decoder.h).
//
//   FfmpegDecoder decoder(FfmpegDecoder::Container::Asf, 44100);
//   decoder.feed(bytes, size);
//   if (!decoder.probe()) ...                 // not a stream FFmpeg can follow
//   std::size_t got = decoder.read(stereo, frames);
//
// ADTS frames say their own length: FFmpeg's AAC parser cuts them out of whatever has been fed.
// ASF needs FFmpeg's demuxer, which pulls its bytes and cannot wait for more in the middle of
// what it reads. So it is opened only once the whole header has been fed, and asked for a
// frame only while every packet the frame may reach has been fed (a few kilobytes, held back
// until endOfInput()); it is handed bytes up to packet boundaries, so that a frame longer than
// the header promised makes it run out between packets, where it resyncs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/decoder.h"

struct AVCodecContext;
struct AVCodecParameters;
struct AVCodecParserContext;
struct AVFormatContext;
struct AVIOContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

namespace audio {

class FfmpegDecoder final : public Decoder {
 public:
  enum class Container { Adts, Asf };

  FfmpegDecoder(Container container, long rate);
  ~FfmpegDecoder() override;

  void feed(const std::uint8_t* data, std::size_t size) override;
  std::size_t read(float* stereo, std::size_t frames) override;
  bool probe() override;
  bool formatKnown() const override { return formatKnown_; }
  void endOfInput() override { ended_ = true; }
  // From the ASF header's title and author; ADTS carries no tags.
  std::string title() const override { return title_; }

 private:
  struct Free {
    void operator()(AVCodecContext* codec) const;
    void operator()(AVCodecParserContext* parser) const;
    void operator()(AVFormatContext* format) const;
    void operator()(AVIOContext* io) const;
    void operator()(AVPacket* packet) const;
    void operator()(AVFrame* frame) const;
    void operator()(SwrContext* resampler) const;
  };
  template <typename T>
  using Owned = std::unique_ptr<T, Free>;

  enum class Next { Frame, NeedMore, Failed };
  Next decodeNext();
  Next nextPacket();
  Next nextAdtsPacket();
  Next nextAsfPacket();
  bool openAsf();
  // parameters null: AAC, as each ADTS frame's header describes it.
  bool openCodec(const AVCodecParameters* parameters);
  bool convert(const AVFrame& frame);
  Next fail();
  static int readForDemuxer(void* self, std::uint8_t* buffer, int size);
  std::uint64_t fed() const { return handedOver_ + (input_.size() - inputHead_); }
  void compactInput();

  const Container container_;
  const long rate_;
  // Bytes fed and not yet handed to FFmpeg, from inputHead_; handedOver_ counts the others.
  std::vector<std::uint8_t> input_;
  std::size_t inputHead_ = 0;
  std::uint64_t handedOver_ = 0;

  Owned<AVCodecContext> codec_;
  Owned<AVCodecParserContext> parser_;  // ADTS
  Owned<AVIOContext> io_;               // ASF: the demuxer reads through it; outlives format_
  Owned<AVFormatContext> format_;       // ASF
  int audioStream_ = -1;
  std::uint64_t firstPacket_ = 0;       // where the ASF packets start, in the stream
  std::uint64_t packetBytes_ = 0;       // their size; 0: unknown
  std::uint64_t leadBytes_ = 0;         // fed ahead of the demuxer before it may read
  bool headerRead_ = false;
  Owned<AVPacket> packet_;
  Owned<AVFrame> frame_;

  Owned<SwrContext> resampler_;  // to float stereo (or mono, doubled on the way out) at rate_
  int resampledChannels_ = 0, resampledRate_ = 0, resampledFormat_ = -1;  // what it takes
  std::vector<float> mono_;
  // Converted stereo frames not yet read, from outputHead_.
  std::vector<float> output_;
  std::size_t outputHead_ = 0;

  std::string title_;
  bool formatKnown_ = false;
  bool failed_ = false;
  bool ended_ = false;
  bool flushed_ = false;  // ADTS: the parser has handed out its last frame
};

}  // namespace audio

#include "audio/ffmpeg_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace audio {
namespace {

// The header object starts with its identifier and its size; the data object's header
// follows it, then the packets.
constexpr std::size_t kAsfSizeEnd = 24;
constexpr std::size_t kAsfDataHeaderBytes = 50;
constexpr std::uint64_t kAsfHeaderLimit = 1 << 20;  // a longer header is no radio stream's
constexpr int kDemuxerBufferBytes = 4096;
constexpr std::uint64_t kAsfUnknownLead = 64 * 1024;  // packets whose size the header does not say
// Below the least rate of these codecs (AAC's is 7350 Hz): a rate a forged header states
// lower would have each frame resampled into tens of megabytes.
constexpr int kMinSampleRate = 4000;

void quietLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

std::uint64_t littleEndian64(const std::uint8_t* p) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

std::string tag(const AVDictionary* tags, const char* key) {
  const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
  return entry && entry->value ? entry->value : "";
}

}  // namespace

void FfmpegDecoder::Free::operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
void FfmpegDecoder::Free::operator()(AVCodecParserContext* parser) const { av_parser_close(parser); }
void FfmpegDecoder::Free::operator()(AVFormatContext* format) const { avformat_close_input(&format); }
void FfmpegDecoder::Free::operator()(AVIOContext* io) const {
  av_freep(&io->buffer);
  avio_context_free(&io);
}
void FfmpegDecoder::Free::operator()(AVPacket* packet) const { av_packet_free(&packet); }
void FfmpegDecoder::Free::operator()(AVFrame* frame) const { av_frame_free(&frame); }
void FfmpegDecoder::Free::operator()(SwrContext* resampler) const { swr_free(&resampler); }

FfmpegDecoder::FfmpegDecoder(Container container, long rate) : container_(container), rate_(rate) {
  quietLibraries();
  packet_.reset(av_packet_alloc());
  frame_.reset(av_frame_alloc());
  if (!packet_ || !frame_) throw std::bad_alloc();
  if (container_ == Container::Adts) {
    parser_.reset(av_parser_init(AV_CODEC_ID_AAC));
    if (!parser_ || !openCodec(nullptr)) throw std::runtime_error("the AAC decoder cannot start");
  }
}

FfmpegDecoder::~FfmpegDecoder() = default;

bool FfmpegDecoder::openCodec(const AVCodecParameters* parameters) {
  const AVCodec* codec = avcodec_find_decoder(parameters ? parameters->codec_id : AV_CODEC_ID_AAC);
  if (!codec) return false;
  codec_.reset(avcodec_alloc_context3(codec));
  if (!codec_) return false;
  if (parameters && avcodec_parameters_to_context(codec_.get(), parameters) < 0) return false;
  return avcodec_open2(codec_.get(), codec, nullptr) == 0;
}

void FfmpegDecoder::feed(const std::uint8_t* data, std::size_t size) {
  input_.insert(input_.end(), data, data + size);
}

void FfmpegDecoder::compactInput() {
  if (inputHead_ > 0 && inputHead_ >= input_.size() / 2) {
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(inputHead_));
    inputHead_ = 0;
  }
}

FfmpegDecoder::Next FfmpegDecoder::fail() {
  failed_ = true;
  return Next::Failed;
}

bool FfmpegDecoder::probe() { return formatKnown_ || decodeNext() != Next::Failed; }

// False while the header has not all arrived, and (with failed_ set) when the bytes are no
// ASF stream of a WMA the decoders know.
bool FfmpegDecoder::openAsf() {
  auto refuse = [this] {
    failed_ = true;
    return false;
  };
  const std::uint8_t* head = input_.data() + inputHead_;
  std::size_t held = input_.size() - inputHead_;
  if (held < kAsfSizeEnd) return false;
  std::uint64_t headerBytes = littleEndian64(head + 16);
  if (headerBytes < kAsfSizeEnd || headerBytes > kAsfHeaderLimit) return refuse();
  if (held < headerBytes + kAsfDataHeaderBytes) return false;

  headerRead_ = true;  // whatever follows, the header is not read twice
  auto* buffer = static_cast<std::uint8_t*>(av_malloc(kDemuxerBufferBytes));
  if (!buffer) return refuse();
  io_.reset(avio_alloc_context(buffer, kDemuxerBufferBytes, 0, this, &readForDemuxer, nullptr, nullptr));
  if (!io_) {
    av_free(buffer);
    return refuse();
  }
  AVFormatContext* format = avformat_alloc_context();
  if (!format) return refuse();
  format->pb = io_.get();
  format->flags |= AVFMT_FLAG_CUSTOM_IO;
  // On failure the call frees the context itself.
  if (avformat_open_input(&format, nullptr, av_find_input_format("asf"), nullptr) < 0) return refuse();
  format_.reset(format);

  for (unsigned i = 0; i < format->nb_streams; ++i) {
    AVStream* stream = format->streams[i];
    if (audioStream_ < 0 && stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
      audioStream_ = static_cast<int>(i);
    else
      stream->discard = AVDISCARD_ALL;
  }
  if (audioStream_ < 0 || !openCodec(format->streams[audioStream_]->codecpar)) return refuse();
  firstPacket_ = static_cast<std::uint64_t>(avio_tell(io_.get()));
  packetBytes_ = format->packet_size;
  // A frame that spans packets makes the demuxer read on into the next ones: it runs only
  // with all the packets the longest frame can touch fed, so that it never runs out inside one.
  int blockAlign = format->streams[audioStream_]->codecpar->block_align;
  std::uint64_t frameBytes = static_cast<std::uint64_t>(std::max(blockAlign, 0));
  leadBytes_ = packetBytes_ > 0 ? (frameBytes / packetBytes_ + 2) * packetBytes_ : kAsfUnknownLead;
  // The demuxer names the header's author "artist".
  std::string author = tag(format->metadata, "artist"), title = tag(format->metadata, "title");
  title_ = author.empty() ? title : title.empty() ? author : author + " - " + title;
  return true;
}

int FfmpegDecoder::readForDemuxer(void* opaque, std::uint8_t* buffer, int size) {
  auto& self = *static_cast<FfmpegDecoder*>(opaque);
  std::uint64_t limit = self.fed();
  // Once the header is read, only up to the end of the last whole packet.
  if (self.format_ && self.packetBytes_ > 0 && !self.ended_)
    limit = self.firstPacket_ + (limit - self.firstPacket_) / self.packetBytes_ * self.packetBytes_;
  if (limit <= self.handedOver_) return self.ended_ ? AVERROR_EOF : AVERROR(EAGAIN);
  std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, limit - self.handedOver_));
  std::memcpy(buffer, self.input_.data() + self.inputHead_, n);
  self.inputHead_ += n;
  self.handedOver_ += n;
  return static_cast<int>(n);
}

FfmpegDecoder::Next FfmpegDecoder::nextAdtsPacket() {
  while (inputHead_ < input_.size() || (ended_ && !flushed_)) {
    // With no bytes left after the end, the parser hands out what it still holds.
    bool flush = inputHead_ == input_.size();
    flushed_ = flush;
    std::uint8_t* frame = nullptr;
    int frameBytes = 0;
    int held = static_cast<int>(std::min<std::size_t>(input_.size() - inputHead_, INT_MAX / 2));
    int used = av_parser_parse2(parser_.get(), codec_.get(), &frame, &frameBytes,
                                flush ? nullptr : input_.data() + inputHead_, held, AV_NOPTS_VALUE,
                                AV_NOPTS_VALUE, 0);
    if (used < 0) return fail();
    inputHead_ += static_cast<std::size_t>(used);
    handedOver_ += static_cast<std::size_t>(used);
    if (frameBytes > 0) {
      // Not reference-counted: sending it copies the bytes out of the parser's or our buffer.
      packet_->data = frame;
      packet_->size = frameBytes;
      return Next::Frame;
    }
  }
  compactInput();
  return Next::NeedMore;
}

FfmpegDecoder::Next FfmpegDecoder::nextAsfPacket() {
  if (!format_) return Next::NeedMore;
  for (;;) {
    std::uint64_t reached = static_cast<std::uint64_t>(avio_tell(io_.get()));
    if (!ended_ && fed() - reached < leadBytes_) break;
    if (!ended_) {
      // A pause for more bytes left the reader marked as ended.
      io_->eof_reached = 0;
      io_->error = 0;
    }
    int rc = av_read_frame(format_.get(), packet_.get());
    if (rc == AVERROR(ENOMEM)) return fail();
    // Anything else ends this turn: out of bytes, or past the data's end.
    if (rc < 0) break;
    if (packet_->stream_index == audioStream_) return Next::Frame;
    av_packet_unref(packet_.get());
  }
  compactInput();
  return Next::NeedMore;
}

FfmpegDecoder::Next FfmpegDecoder::nextPacket() {
  return container_ == Container::Adts ? nextAdtsPacket() : nextAsfPacket();
}

FfmpegDecoder::Next FfmpegDecoder::decodeNext() {
  if (failed_) return Next::Failed;
  if (container_ == Container::Asf && !headerRead_ && !openAsf()) return failed_ ? Next::Failed : Next::NeedMore;
  for (;;) {
    int rc = avcodec_receive_frame(codec_.get(), frame_.get());
    if (rc == 0) {
      bool converted = convert(*frame_);
      av_frame_unref(frame_.get());
      if (!converted) return fail();
      formatKnown_ = true;
      if (outputHead_ < output_.size()) return Next::Frame;
      continue;
    }
    if (rc == AVERROR(ENOMEM)) return fail();
    // The decoder wants a packet (or dropped a damaged one): on with the next.
    Next next = nextPacket();
    if (next != Next::Frame) return next;
    rc = avcodec_send_packet(codec_.get(), packet_.get());
    av_packet_unref(packet_.get());
    if (rc == AVERROR(ENOMEM)) return fail();
  }
}

bool FfmpegDecoder::convert(const AVFrame& frame) {
  int channels = frame.ch_layout.nb_channels;
  if (channels < 1 || frame.sample_rate <= 0) return true;  // nothing to hear
  if (frame.sample_rate < kMinSampleRate) return false;
  if (!resampler_ || channels != resampledChannels_ || frame.sample_rate != resampledRate_ ||
      frame.format != resampledFormat_) {
    AVChannelLayout in{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
      av_channel_layout_default(&in, channels);
    else if (av_channel_layout_copy(&in, &frame.ch_layout) < 0)
      return false;
    // Mono stays mono (and is doubled below): a downmix to stereo would lower its level.
    AVChannelLayout out{};
    av_channel_layout_default(&out, channels == 1 ? 1 : 2);
    SwrContext* resampler = nullptr;
    int rc = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_FLT, static_cast<int>(rate_), &in,
                                 static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    resampler_.reset(resampler);
    if (rc < 0 || swr_init(resampler) < 0) {
      resampler_.reset();
      return false;
    }
    resampledChannels_ = channels;
    resampledRate_ = frame.sample_rate;
    resampledFormat_ = frame.format;
  }
  int capacity = swr_get_out_samples(resampler_.get(), frame.nb_samples);
  if (capacity <= 0) return true;
  if (outputHead_ == output_.size()) {
    output_.clear();
    outputHead_ = 0;
  }
  std::size_t at = output_.size();
  output_.resize(at + std::size_t(capacity) * 2);
  bool mono = channels == 1;
  if (mono) mono_.resize(static_cast<std::size_t>(capacity));
  std::uint8_t* out = reinterpret_cast<std::uint8_t*>(mono ? mono_.data() : output_.data() + at);
  int made = swr_convert(resampler_.get(), &out, capacity, const_cast<const std::uint8_t**>(frame.extended_data),
                         frame.nb_samples);
  if (made < 0) return false;
  if (mono)
    for (int i = 0; i < made; ++i) output_[at + 2 * i] = output_[at + 2 * i + 1] = mono_[i];
  output_.resize(at + std::size_t(made) * 2);
  return true;
}

std::size_t FfmpegDecoder::read(float* stereo, std::size_t frames) {
  std::size_t done = 0;
  while (done < frames) {
    if (outputHead_ == output_.size() && decodeNext() != Next::Frame) break;
    std::size_t n = std::min(frames - done, (output_.size() - outputHead_) / 2);
    std::memcpy(stereo + done * 2, output_.data() + outputHead_, n * 2 * sizeof(float));
    outputHead_ += n * 2;
    done += n;
  }
  return done;
}

}  // namespace audio

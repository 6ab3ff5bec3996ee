// One internet stream: its download thread, the bytes held ahead, the decoder, the effects,
// the volume, the syncs and tags, and what the mixer takes from it.
//
//   auto stream = std::make_shared<Channel>(setup);
//   Error why = stream->open(url);    // blocks until the format is known or the open fails
//   stream->play();  ...  stream->render(samples, frames);   // on the mixer's thread
//   stream->free();
//
// The download thread owns a reference: it ends after the final download call, once the
// stream is freed or has played to its end (then it runs the end syncs). No lock is held
// while a callback runs.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/decoder.h"
#include "audio/dsp.h"
#include "audio/stream_source.h"

namespace audio {

struct ChannelSetup {
  DWORD handle = 0;
  DWORD rate = 44100;
  NetSettings net;
  DWORD bufferMs = 5000;
  DWORD prebufferPercent = 100;
  DownloadProc proc = nullptr;
  void* user = nullptr;
  bool headersToProc = false;
  StreamFormats formats = formatBit(StreamFormat::Mp3);  // MP3, and the plug-ins' formats
};

class Channel : public Receiver, public std::enable_shared_from_this<Channel> {
 public:
  explicit Channel(ChannelSetup setup);

  DWORD handle() const { return setup_.handle; }
  Error open(const std::string& url);
  void free();

  // -1 when the mode is unknown, and for PositionEnd once the download has ended.
  std::uint64_t position(DWORD mode) const;
  const char* tags(DWORD kind) const;
  void addSync(DWORD sync, DWORD type, SyncProc proc, void* user);
  bool addEffect(DWORD fx, DWORD kind, int priority);
  bool setEffectParams(DWORD fx, const void* params);
  bool getEffectParams(DWORD fx, void* params) const;
  void setVolume(float volume);

  void play();
  void stop();
  ChannelState state() const;

  // The mixer's side: up to `frames` processed stereo frames; fewer when the network is
  // behind, none while stopped or re-filling the pre-buffer.
  std::size_t render(float* stereo, std::size_t frames);

 private:
  struct Sync {
    DWORD handle;
    DWORD type;
    SyncProc proc;
    void* user;
  };
  struct Fx {
    DWORD handle;
    int priority;
    std::unique_ptr<Effect> effect;
  };

  // Receiver, on the download thread.
  void headers(const std::vector<std::string>& lines) override;
  void audio(const std::uint8_t* data, std::size_t size) override;
  void meta(std::string text) override;
  bool wantsMore() override;
  bool cancelled() override;

  void run(std::string url);
  void probeLocked();
  // Picks the decoder once the first bytes tell the format; false while they do not yet, and
  // when the format is not one the stream may play (then failure_ is set).
  bool chooseDecoderLocked();
  // Decodes up to `frames` into `stereo`, feeding the decoder from the queue as it needs.
  std::size_t decodeLocked(float* stereo, std::size_t frames);
  std::size_t bufferedLocked() const { return queue_.size() - queueHead_; }
  std::size_t prebufferLocked() const;
  void runSyncs(DWORD type);
  void callProc(const void* buffer, DWORD length);
  const Fx* findFxLocked(DWORD fx) const;

  const ChannelSetup setup_;
  mutable std::mutex m_;
  std::condition_variable changed_;

  // Guarded by m_.
  std::vector<std::uint8_t> queue_;  // downloaded audio not yet decoded, from queueHead_
  std::size_t queueHead_ = 0;
  std::uint64_t downloaded_ = 0;
  std::uint64_t decoded_ = 0;        // bytes handed to the decoder
  std::size_t capacity_;             // the network buffer in bytes
  std::unique_ptr<Decoder> decoder_;  // chosen by the first bytes
  std::vector<Fx> effects_;          // in the order they run
  EffectChain chain_;                // runs effects_
  float volume_ = 1.0f;
  std::string headerTag_;
  std::deque<std::string> metaTags_;  // every title seen, so that a returned pointer lives on
  std::vector<Sync> syncs_;
  bool ready_ = false;
  Error failure_ = Error::None;
  bool downloadEnded_ = false;
  bool playing_ = false;
  bool refilling_ = true;
  bool playedOut_ = false;
  bool freed_ = false;
  std::atomic<bool> cancel_{false};
};

}  // namespace audio

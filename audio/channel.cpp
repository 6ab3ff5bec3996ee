#include "audio/channel.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "audio/icy_parser.h"

namespace audio {
namespace {

constexpr std::size_t kProbeLimit = 64 * 1024;  // bytes without a frame: not a stream we play
constexpr std::size_t kProbeStep = 1024;
constexpr std::size_t kDecodeStep = 4096;
constexpr DWORD kMinBufferMs = 500;   // a buffer of 0 ms would never let sound start
constexpr DWORD kAssumedKbps = 128;   // until the server says "icy-br"

std::size_t bufferBytes(DWORD ms, DWORD kbps) {
  return std::size_t{std::max(ms, kMinBufferMs)} * std::max<DWORD>(kbps, 8) / 8;
}

// Drops the consumed front of a buffer once it is the larger part.
template <typename T>
void compact(std::vector<T>& items, std::size_t& head) {
  if (head > 0 && head >= items.size() / 2) {
    items.erase(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(head));
    head = 0;
  }
}

}  // namespace

Channel::Channel(ChannelSetup setup)
    : setup_(std::move(setup)),
      capacity_(bufferBytes(setup_.bufferMs, kAssumedKbps)) {}

Error Channel::open(const std::string& url) {
  std::thread([self = shared_from_this(), url] {
    try {
      self->run(url);
    } catch (...) {
      // No exception may leave a thread; run() has already ended the download.
    }
  }).detach();

  std::unique_lock lock(m_);
  // Each step of the download is bounded by the time-out; this bounds them all together,
  // against a server that trickles bytes that never make a frame.
  auto limit = std::chrono::milliseconds(std::uint64_t{setup_.net.timeoutMs} * 3);
  bool settled = changed_.wait_for(lock, limit, [&] { return ready_ || downloadEnded_ || freed_; });
  if (ready_ && !freed_) return Error::None;
  Error why = !settled ? Error::Timeout : freed_ ? Error::Ended : failure_;
  lock.unlock();
  free();
  return why == Error::None ? Error::Format : why;
}

void Channel::free() {
  {
    std::lock_guard lock(m_);
    freed_ = true;
    playing_ = false;
  }
  cancel_ = true;
  changed_.notify_all();
}

void Channel::run(std::string url) {
  Error why = Error::Unknown;
  try {
    why = download(url, setup_.net, *this);
  } catch (...) {
    // Out of memory: the download has ended all the same.
  }
  {
    std::lock_guard lock(m_);
    downloadEnded_ = true;
    if (!ready_ && failure_ == Error::None) failure_ = why == Error::None ? Error::Format : why;
  }
  changed_.notify_all();
  callProc(nullptr, 0);
  {
    std::unique_lock lock(m_);
    changed_.wait(lock, [&] { return freed_ || playedOut_; });
    if (freed_) return;
  }
  runSyncs(SyncEnd);
}

void Channel::headers(const std::vector<std::string>& lines) {
  std::string block;
  DWORD kbps = kAssumedKbps;
  for (const std::string& line : lines) {
    block += line;
    block += '\0';
    if (auto rate = headerValue(line, "icy-br")) kbps = std::strtoul(rate->c_str(), nullptr, 10);
  }
  {
    std::lock_guard lock(m_);
    headerTag_ = block;
    capacity_ = bufferBytes(setup_.bufferMs, kbps);
  }
  // The block ends with an empty line: c_str() adds the second zero.
  if (setup_.headersToProc) callProc(block.c_str(), 0);
}

void Channel::audio(const std::uint8_t* data, std::size_t size) {
  bool becameReady = false;
  {
    std::lock_guard lock(m_);
    queue_.insert(queue_.end(), data, data + size);
    downloaded_ += size;
    if (!ready_) {
      probeLocked();
      becameReady = ready_;
      // A title of the stream's own is there from the start, in the form the servers'
      // metadata has: the player reads both alike.
      std::string title = becameReady ? decoder_->title() : std::string();
      if (!title.empty()) metaTags_.push_back("StreamTitle='" + title + "';");
    }
  }
  if (becameReady) changed_.notify_all();
  callProc(data, static_cast<DWORD>(size));
}

bool Channel::chooseDecoderLocked() {
  auto format = sniffFormat(queue_.data() + queueHead_, bufferedLocked(), bufferedLocked() >= kProbeLimit);
  if (!format) return false;
  if (!(setup_.formats & formatBit(*format))) {
    failure_ = Error::Format;
    cancel_ = true;
    return false;
  }
  decoder_ = makeDecoder(*format, static_cast<long>(setup_.rate));
  return true;
}

void Channel::probeLocked() {
  if (!decoder_ && !chooseDecoderLocked()) return;
  while (!decoder_->formatKnown() && bufferedLocked() > 0 && failure_ == Error::None) {
    std::size_t n = std::min(kProbeStep, bufferedLocked());
    decoder_->feed(queue_.data() + queueHead_, n);
    queueHead_ += n;
    decoded_ += n;
    if (!decoder_->probe() || (!decoder_->formatKnown() && decoded_ >= kProbeLimit)) {
      failure_ = Error::Format;
      cancel_ = true;
    }
  }
  compact(queue_, queueHead_);
  ready_ = decoder_->formatKnown();
}

void Channel::meta(std::string text) {
  {
    std::lock_guard lock(m_);
    if (!metaTags_.empty() && metaTags_.back() == text) return;
    metaTags_.push_back(std::move(text));
  }
  runSyncs(SyncMeta);
}

bool Channel::wantsMore() {
  std::lock_guard lock(m_);
  return !ready_ || bufferedLocked() < capacity_;
}

bool Channel::cancelled() { return cancel_; }

void Channel::runSyncs(DWORD type) {
  std::vector<Sync> due;
  {
    std::lock_guard lock(m_);
    if (freed_) return;
    for (const Sync& sync : syncs_)
      if (sync.type == type) due.push_back(sync);
  }
  for (const Sync& sync : due) {
    try {
      sync.proc(sync.handle, setup_.handle, 0, sync.user);
    } catch (...) {
      // A failing callback must not end the stream's thread.
    }
  }
}

void Channel::callProc(const void* buffer, DWORD length) {
  if (!setup_.proc) return;
  try {
    setup_.proc(buffer, length, setup_.user);
  } catch (...) {
    // A failing callback must not end the stream's thread.
  }
}

std::uint64_t Channel::position(DWORD mode) const {
  std::lock_guard lock(m_);
  switch (mode) {
    case PositionCurrent:
      return decoded_;
    case PositionDownload:
      return downloaded_;
    case PositionEnd:
      return downloadEnded_ ? ~std::uint64_t{0} : capacity_;
    default:
      return ~std::uint64_t{0};
  }
}

const char* Channel::tags(DWORD kind) const {
  std::lock_guard lock(m_);
  if (kind == TagMeta) return metaTags_.empty() ? nullptr : metaTags_.back().c_str();
  if (kind == TagHeaders) return headerTag_.empty() ? nullptr : headerTag_.c_str();
  return nullptr;
}

void Channel::addSync(DWORD sync, DWORD type, SyncProc proc, void* user) {
  std::lock_guard lock(m_);
  syncs_.push_back({sync, type, proc, user});
}

bool Channel::addEffect(DWORD fx, DWORD kind, int priority) {
  auto effect = makeEffect(kind, setup_.rate);
  if (!effect) return false;
  std::lock_guard lock(m_);
  auto at = std::find_if(effects_.begin(), effects_.end(),
                         [&](const Fx& other) { return other.priority < priority; });
  effects_.insert(at, Fx{fx, priority, std::move(effect)});
  std::vector<Effect*> order;
  for (Fx& item : effects_) order.push_back(item.effect.get());
  chain_.assign(std::move(order));
  return true;
}

const Channel::Fx* Channel::findFxLocked(DWORD fx) const {
  for (const Fx& item : effects_)
    if (item.handle == fx) return &item;
  return nullptr;
}

bool Channel::setEffectParams(DWORD fx, const void* params) {
  std::lock_guard lock(m_);
  const Fx* item = findFxLocked(fx);
  return item && item->effect->setParams(params);
}

bool Channel::getEffectParams(DWORD fx, void* params) const {
  std::lock_guard lock(m_);
  const Fx* item = findFxLocked(fx);
  if (item) item->effect->getParams(params);
  return item != nullptr;
}

void Channel::setVolume(float volume) {
  std::lock_guard lock(m_);
  volume_ = volume;
}

void Channel::play() {
  std::lock_guard lock(m_);
  if (playing_ || freed_) return;
  playing_ = true;
  refilling_ = true;
}

void Channel::stop() {
  std::lock_guard lock(m_);
  playing_ = false;
}

ChannelState Channel::state() const {
  std::lock_guard lock(m_);
  if (!playing_) return ChannelState::Stopped;
  return refilling_ ? ChannelState::Stalled : ChannelState::Playing;
}

std::size_t Channel::prebufferLocked() const {
  std::size_t bytes = capacity_ * std::min<DWORD>(setup_.prebufferPercent, 100) / 100;
  return std::max<std::size_t>(bytes, 1);
}

std::size_t Channel::decodeLocked(float* stereo, std::size_t frames) {
  std::size_t done = decoder_->read(stereo, frames);
  while (done < frames && bufferedLocked() > 0) {
    std::size_t n = std::min(kDecodeStep, bufferedLocked());
    decoder_->feed(queue_.data() + queueHead_, n);
    queueHead_ += n;
    decoded_ += n;
    done += decoder_->read(stereo + done * 2, frames - done);  // damaged frames are skipped
  }
  if (done < frames && downloadEnded_) {
    decoder_->endOfInput();
    done += decoder_->read(stereo + done * 2, frames - done);
  }
  compact(queue_, queueHead_);
  return done;
}

std::size_t Channel::render(float* stereo, std::size_t frames) {
  std::lock_guard lock(m_);
  if (!playing_ || !decoder_) return 0;
  if (refilling_) {
    if (!downloadEnded_ && bufferedLocked() < prebufferLocked()) return 0;
    refilling_ = false;
  }
  std::size_t n = decodeLocked(stereo, frames);
  if (n == 0) {
    if (downloadEnded_) {
      playing_ = false;
      playedOut_ = true;
      changed_.notify_all();
    } else {
      refilling_ = true;
    }
    return 0;
  }
  chain_.process(stereo, n);
  applyVolume(stereo, n * 2, volume_);
  return n;
}

}  // namespace audio

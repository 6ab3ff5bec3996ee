#include "audio/mixer.h"

#include <cmath>

namespace audio {
namespace {

constexpr std::size_t kBlockFrames = 1024;
constexpr DWORD kIdleMs = 5;  // how long to wait when no stream has sound ready

std::int16_t toPcm16(float sample) {
  float scaled = std::round(sample * 32767.0f);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

Mixer::Mixer(std::unique_ptr<Output> output) : output_(std::move(output)) {
  thread_ = std::thread([this] {
    try {
      run();
    } catch (...) {
      // Out of memory: the device falls silent rather than ending the program.
    }
  });
}

Mixer::~Mixer() {
  stop_ = true;
  thread_.join();
}

void Mixer::add(std::shared_ptr<Channel> channel) {
  std::lock_guard lock(m_);
  if (std::find(playing_.begin(), playing_.end(), channel) == playing_.end())
    playing_.push_back(std::move(channel));
}

std::size_t Mixer::mixOnce(std::vector<float>& sum, std::vector<float>& part) {
  std::vector<std::shared_ptr<Channel>> playing;
  {
    std::lock_guard lock(m_);
    playing = playing_;
  }
  std::fill(sum.begin(), sum.end(), 0.0f);
  std::size_t frames = 0;
  for (const auto& channel : playing) {
    std::size_t n = channel->render(part.data(), kBlockFrames);
    for (std::size_t i = 0; i < n * 2; ++i) sum[i] += part[i];
    frames = std::max(frames, n);
    if (n == 0) {
      // Under the lock: a stream played again meanwhile is either still listed or re-added.
      std::lock_guard lock(m_);
      if (channel->state() == ChannelState::Stopped) std::erase(playing_, channel);
    }
  }
  return frames;
}

void Mixer::run() {
  std::vector<float> sum(kBlockFrames * 2), part(kBlockFrames * 2);
  std::vector<std::int16_t> pcm(kBlockFrames * 2);
  while (!stop_) {
    std::size_t frames = mixOnce(sum, part);
    if (frames == 0) {
      Sleep(kIdleMs);
      continue;
    }
    std::transform(sum.begin(), sum.begin() + static_cast<std::ptrdiff_t>(frames * 2), pcm.begin(), toPcm16);
    if (!output_->write(pcm.data(), frames)) Sleep(kIdleMs);
  }
}

}  // namespace audio

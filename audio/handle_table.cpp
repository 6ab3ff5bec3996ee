#include "audio/handle_table.h"

namespace audio {

DWORD HandleTable::reserve() {
  std::lock_guard lock(m_);
  if (++next_ == 0) ++next_;
  return next_;
}

void HandleTable::addPending(std::shared_ptr<Channel> channel) {
  std::lock_guard lock(m_);
  DWORD handle = channel->handle();
  streams_[handle] = Entry{std::move(channel), false};
}

bool HandleTable::publish(DWORD handle) {
  std::lock_guard lock(m_);
  auto it = streams_.find(handle);
  if (it == streams_.end()) return false;
  it->second.published = true;
  return true;
}

std::shared_ptr<Channel> HandleTable::stream(DWORD handle) const {
  std::lock_guard lock(m_);
  auto it = streams_.find(handle);
  return it != streams_.end() && it->second.published ? it->second.channel : nullptr;
}

std::shared_ptr<Channel> HandleTable::remove(DWORD handle) {
  std::lock_guard lock(m_);
  auto it = streams_.find(handle);
  if (it == streams_.end()) return nullptr;
  auto channel = std::move(it->second.channel);
  bool published = it->second.published;
  streams_.erase(it);
  std::erase_if(effects_, [&](const auto& item) { return item.second == handle; });
  return published ? channel : nullptr;
}

std::vector<std::shared_ptr<Channel>> HandleTable::removeAll() {
  std::lock_guard lock(m_);
  std::vector<std::shared_ptr<Channel>> all;
  for (auto& [handle, entry] : streams_) all.push_back(std::move(entry.channel));
  streams_.clear();
  effects_.clear();
  return all;
}

void HandleTable::addEffect(DWORD fx, DWORD stream) {
  std::lock_guard lock(m_);
  effects_[fx] = stream;
}

std::shared_ptr<Channel> HandleTable::effectOwner(DWORD fx) const {
  std::lock_guard lock(m_);
  auto it = effects_.find(fx);
  if (it == effects_.end()) return nullptr;
  auto owner = streams_.find(it->second);
  return owner != streams_.end() ? owner->second.channel : nullptr;
}

}  // namespace audio

// The numbers the library's callers hold: streams (visible once opened), the effects set on
// them, and sync numbers. A number is never given out twice in a process, so a stale number
// finds nothing instead of someone else's stream.
//
//   DWORD h = handles.reserve();  handles.addPending(stream);  ...  handles.publish(h);
//   if (auto stream = handles.stream(h)) ...
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/channel.h"

namespace audio {

class HandleTable {
 public:
  DWORD reserve();
  // A stream being opened: not found by stream() yet, but freed by removeAll().
  void addPending(std::shared_ptr<Channel> channel);
  // False when the stream was removed meanwhile.
  bool publish(DWORD handle);
  std::shared_ptr<Channel> stream(DWORD handle) const;
  std::shared_ptr<Channel> remove(DWORD handle);
  std::vector<std::shared_ptr<Channel>> removeAll();

  void addEffect(DWORD fx, DWORD stream);
  // The stream an effect was set on, while that stream lives.
  std::shared_ptr<Channel> effectOwner(DWORD fx) const;

 private:
  struct Entry {
    std::shared_ptr<Channel> channel;
    bool published = false;
  };

  mutable std::mutex m_;
  DWORD next_ = 0;
  std::map<DWORD, Entry> streams_;
  std::map<DWORD, DWORD> effects_;  // effect -> stream
};

}  // namespace audio

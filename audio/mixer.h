// The output thread: takes what each playing stream has ready, adds the streams together and
// writes the sum to the output. It never calls user code.
//
//   Mixer mixer(std::move(output));
//   mixer.add(stream);   // after stream->play(); a stream that stops drops out by itself
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/channel.h"
#include "audio/output.h"

namespace audio {

class Mixer {
 public:
  explicit Mixer(std::unique_ptr<Output> output);
  ~Mixer();  // ends and joins the thread
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  void add(std::shared_ptr<Channel> channel);

 private:
  void run();
  std::size_t mixOnce(std::vector<float>& sum, std::vector<float>& part);

  std::unique_ptr<Output> output_;
  std::mutex m_;
  std::vector<std::shared_ptr<Channel>> playing_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace audio

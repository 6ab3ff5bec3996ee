// A stand-in for the media-player control in tests: it records what it is told, and the test
// decides the play state and status it reports and when the status-change event fires.
//
//   efir::FakeMediaPlayer player;
//   ... code under test calls player.Stop(), player.SetURL(u), player.Play() ...
//   EXPECT_EQ(player.Calls(), (std::vector<std::string>{"stop", "URL " + u, "play"}));
//   player.ChangeStatus(3, "Playing");   // raises OnStatusChange
#pragma once

#include <string>
#include <vector>

#include "mediaplayer/media_player.h"

namespace efir {

class FakeMediaPlayer : public IMediaPlayer {
 public:
  void SetURL(const std::string& url) override;
  void Play() override;
  void Stop() override;
  void SetVolume(int volume) override;
  int Volume() override { return volume_; }
  int PlayState() override { return playState_; }
  std::string Status() override { return status_; }

  // Takes the new state and status, then raises OnStatusChange as the control would.
  void ChangeStatus(int playState, const std::string& status);

  // Every command so far, in order: "URL <address>", "play", "stop", "volume <n>".
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
  int volume_ = 50;
  int playState_ = 0;
  std::string status_;
};

}  // namespace efir

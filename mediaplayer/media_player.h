// The media-player control as the player uses it: give it an address, play, stop, set the
// volume, and read its play state and status text when it reports a status change.
// MediaPlayerControl (media_player_control.h) drives the real control; FakeMediaPlayer
// (fake_media_player.h) stands in for it in tests.
//
//   player.OnStatusChange = [&] { if (player.PlayState() != efir::kPlayStateStopped) ... };
//   player.SetURL(address);
//   player.Play();
//
// Texts are Windows-1251. A failing call raises EAutomationError naming the member.
#pragma once

#include <functional>
#include <string>

namespace efir {

// The play state the control reports when nothing plays.
constexpr int kPlayStateStopped = 1;

class IMediaPlayer {
 public:
  virtual ~IMediaPlayer() = default;

  virtual void SetURL(const std::string& url) = 0;
  virtual void Play() = 0;  // controls.play
  virtual void Stop() = 0;  // controls.stop
  virtual void SetVolume(int volume) = 0;  // settings.volume, 0..100
  virtual int Volume() = 0;
  virtual int PlayState() = 0;
  virtual std::string Status() = 0;

  // Raised on the GUI thread whenever the control's status text changes.
  std::function<void()> OnStatusChange;

 protected:
  void StatusChanged() {
    if (OnStatusChange) OnStatusChange();
  }
};

}  // namespace efir

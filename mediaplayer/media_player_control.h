// The real media-player control, created by its class identifier, embedded in a hidden window
// and driven late-bound: members are found by name in the control's type information
// ("controls.play", "settings.volume"); its status-change event arrives through a connection
// point. The program keeps one for the stations that play through it.
//
//   efir::MediaPlayerControl player(hiddenPanel);   // throws EAutomationError when missing
//   player.OnStatusChange = [&] { label = player.Status(); };
//   player.SetVolume(25);
//
// An address plays when Play is called, not when it is set (the control's own start is
// switched off). Everything runs on the thread that created it (a GUI thread; OLE is
// initialised for it).
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "mediaplayer/media_player.h"

namespace efir {

class MediaPlayerControl : public IMediaPlayer {
 public:
  // Embeds the control in a hidden child window of `parent`, or in a hidden top-level window
  // when `parent` is null.
  explicit MediaPlayerControl(HWND parent = nullptr);
  ~MediaPlayerControl() override;
  MediaPlayerControl(const MediaPlayerControl&) = delete;
  MediaPlayerControl& operator=(const MediaPlayerControl&) = delete;

  void SetURL(const std::string& url) override;
  void Play() override;
  void Stop() override;
  void SetVolume(int volume) override;
  int Volume() override;
  int PlayState() override;
  std::string Status() override;

  // The status-change event is a call from the control: an exception thrown by the handler
  // must not travel back into it, so it is handed here (the program gives it to the
  // application's handler of uncaught errors). Unset, such an exception is dropped.
  std::function<void(std::exception_ptr)> OnEventError;

  // The hidden window the control is embedded in.
  HWND HostWindow() const;

 private:
  struct State;
  void RaiseStatusChange() noexcept;

  std::unique_ptr<State> state_;
  bool playFailed_ = false;
};

}  // namespace efir

#include "mediaplayer/fake_media_player.h"

namespace efir {

void FakeMediaPlayer::SetURL(const std::string& url) { calls_.push_back("URL " + url); }

void FakeMediaPlayer::Play() { calls_.push_back("play"); }

void FakeMediaPlayer::Stop() { calls_.push_back("stop"); }

void FakeMediaPlayer::SetVolume(int volume) {
  volume_ = volume;
  calls_.push_back("volume " + std::to_string(volume));
}

void FakeMediaPlayer::ChangeStatus(int playState, const std::string& status) {
  playState_ = playState;
  status_ = status;
  StatusChanged();
}

}  // namespace efir

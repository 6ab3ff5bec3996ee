#include "mediaplayer/fake_media_player.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(FakeMediaPlayer, RecordsCommandsInOrder) {
  efir::FakeMediaPlayer player;
  player.Stop();
  player.SetURL("http://127.0.0.1/a");
  player.Play();
  player.SetVolume(30);
  EXPECT_EQ(player.Calls(),
            (std::vector<std::string>{"stop", "URL http://127.0.0.1/a", "play", "volume 30"}));
  EXPECT_EQ(player.Volume(), 30);
  player.ClearCalls();
  EXPECT_TRUE(player.Calls().empty());
}

TEST(FakeMediaPlayer, DrivesAStatusSequenceThroughTheEvent) {
  efir::FakeMediaPlayer player;
  std::vector<std::pair<int, std::string>> seen;
  player.OnStatusChange = [&] { seen.emplace_back(player.PlayState(), player.Status()); };
  const std::vector<std::pair<int, std::string>> sequence = {
      {9, "Подключение..."}, {6, "Буферизация: 40%"}, {3, "Воспроизведение: 128 Кбит/с"},
      {efir::kPlayStateStopped, "Остановлено"}};
  for (const auto& [state, status] : sequence) player.ChangeStatus(state, status);
  EXPECT_EQ(seen, sequence);

  player.OnStatusChange = nullptr;
  player.ChangeStatus(3, "quiet");  // no handler: nothing happens
  EXPECT_EQ(seen.size(), sequence.size());
}

}  // namespace

// The real control under the test display. Wine's control cannot play network addresses: its
// plays fail.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/exceptions.h"
#include "mediaplayer/media_player_control.h"
#include "tests/support/window.h"

namespace {

TEST(MediaPlayerControl, IsEmbeddedInAHiddenWindowInsideItsParentOrOnItsOwn) {
  efir::test::TestWindow parent(200, 100, nullptr);
  for (HWND owner : {parent.handle(), HWND{}}) {
    efir::MediaPlayerControl player(owner);
    HWND host = player.HostWindow();
    ASSERT_TRUE(IsWindow(host));
    if (owner)
      EXPECT_EQ(GetParent(host), owner);
    else
      EXPECT_EQ(GetWindowLongPtrW(host, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_FALSE(IsWindowVisible(host));
    // The control made its own window inside the host when it was activated in place.
    EXPECT_NE(GetWindow(host, GW_CHILD), nullptr);
  }
}

TEST(MediaPlayerControl, KeepsTheVolumeItIsGiven) {
  efir::MediaPlayerControl player;
  for (int volume : {0, 37, 100, 25}) {
    player.SetVolume(volume);
    EXPECT_EQ(player.Volume(), volume);
  }
}

TEST(MediaPlayerControl, TakesStopAndAnEmptyAddress) {
  efir::MediaPlayerControl player;
  player.Stop();
  player.SetURL("");
  player.Stop();
  efir::test::pumpFor(100);
}

// Wine's control leaves these two members unimplemented; wherever a call fails, the error
// names the member.
TEST(MediaPlayerControl, AFailingMemberIsNamedInTheError) {
  efir::MediaPlayerControl player;
  struct Case {
    const char* member;
    void (*read)(efir::MediaPlayerControl&);
  };
  for (const Case& c : {Case{"playState", [](efir::MediaPlayerControl& p) { p.PlayState(); }},
                        Case{"status", [](efir::MediaPlayerControl& p) { p.Status(); }}}) {
    try {
      c.read(player);
    } catch (const EAutomationError& e) {
      EXPECT_EQ(e.Message().rfind(std::string(c.member) + ": ", 0), 0u) << e.Message();
    }
  }
}

// Setting the address must not play it already (that play and the one after it would be
// two), and a play that failed must not leave the control to crash on the next one.
TEST(MediaPlayerControl, PlaysThatFailCostNothingMore) {
  efir::MediaPlayerControl player;
  auto play = [&] {
    try {
      player.Play();
    } catch (const EAutomationError& e) {
      EXPECT_EQ(e.Message().rfind("controls.play: ", 0), 0u) << e.Message();
    }
  };
  player.SetURL("http://127.0.0.1:9/stream.mp3");
  play();
  play();
  player.SetVolume(30);
  play();
  player.SetURL("http://127.0.0.1:9/other.mp3");
  play();
  player.Stop();
  efir::test::pumpFor(200);
  EXPECT_EQ(player.Volume(), 30);
}

}  // namespace

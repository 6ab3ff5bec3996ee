// Stations of the media-player mode: what the control is told, the status texts it reports,
// its volume and mute (from the speaker and from the volume slider), and a station of an unknown
// mode.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "grid/data_grid.h"
#include "player/tests/playback_fixture.h"

namespace {

using playback_test::PlaybackTest;

using MediaPlayerMode = PlaybackTest;

const std::string kAddress = "http://radio.example/stream.asx";

TEST_F(MediaPlayerMode, SelectAndConnectDriveTheControl) {
  StartPlayer({{kAddress, "Через плеер", "1"}, {kAddress, "Неизвестно", "2"}});
  mediaPlayer->ClearCalls();
  SelectStation(1);
  EXPECT_EQ(mediaPlayer->Calls(),
            (std::vector<std::string>{"stop", "URL " + kAddress, "play"}));
  EXPECT_EQ(Application.Title(), "Через плеер");
  EXPECT_EQ(Form1->RxLabel6->Caption(), "Через плеер");

  mediaPlayer->ClearCalls();
  Application.SetTitle("другое");
  Form1->sBitBtn2Click(Form1->sBitBtn2);
  EXPECT_EQ(mediaPlayer->Calls(), (std::vector<std::string>{"URL " + kAddress, "play"}));
  EXPECT_EQ(Application.Title(), "другое");

  // A mode the player does not know stops what plays and plays nothing.
  mediaPlayer->ClearCalls();
  SelectStation(2);
  EXPECT_EQ(mediaPlayer->Calls(), (std::vector<std::string>{"stop"}));
  efir::test::pumpFor(300);
  EXPECT_TRUE(statuses.empty());
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(MediaPlayerMode, StatusChangesShowInTheStatusLabel) {
  StartPlayer({{kAddress, "Через плеер", "1"}});
  SelectStation(1);
  struct Case {
    int playState;
    std::string status;
    std::string shown;      // RxLabel7 afterwards
    std::string stationHint;  // RxLabel6's hint afterwards
  };
  const Case cases[] = {
      {3, "Подключение к мультимедиа...", "Подключение к мультимедиа...", ""},
      // A bit-rate report leaves only the rate, also as the station label's hint.
      {3, "Воспроизведение: 128 Кбит/с", "128 Кбит/с", "128 Кбит/с"},
      // Stopped: the label keeps what it showed.
      {1, "Остановлено", "128 Кбит/с", "128 Кбит/с"},
      {3, "Буферизация: 50%", "Буферизация: 50%", "128 Кбит/с"},
  };
  for (const Case& c : cases) {
    mediaPlayer->ChangeStatus(c.playState, c.status);
    EXPECT_EQ(Form1->RxLabel7->Caption(), c.shown) << c.status;
    EXPECT_EQ(Form1->RxLabel6->Hint(), c.stationHint) << c.status;
  }
  EndPlayer();
}

TEST_F(MediaPlayerMode, VolumeAndMuteReachTheControl) {
  StartPlayer({{kAddress, "Через плеер", "1"}}, 40);
  EXPECT_EQ(mediaPlayer->Volume(), 40);
  Form1->sTrackBar1->SetPosition(30);
  EXPECT_EQ(mediaPlayer->Volume(), 30);
  EXPECT_EQ(Form1->RxLabel5->Caption(), "30");
  Form1->N3Click(Form1->N3);
  EXPECT_EQ(mediaPlayer->Volume(), 0);
  EXPECT_TRUE(Muted);
  EXPECT_EQ(Form1->sTrackBar1->Position(), 30);  // the slider does not move
  Form1->Image2Click(Form1->Image2);
  EXPECT_EQ(mediaPlayer->Volume(), 30);
  EXPECT_FALSE(Muted);
  EndPlayer();
}

// The system's control, which cannot play the address here: each click costs that station
// only, and the player goes on.
TEST_F(MediaPlayerMode, AControlThatCannotPlayLeavesTheStationWithoutSignal) {
  SetMediaPlayerFactoryForTests(nullptr);
  StartPlayer({{"http://127.0.0.1:9/stream.mp3", "Через плеер", "1"}});
  for (int click = 0; click < 2; ++click) {
    Form1->DataGrid1->SelectCell(0, 0);
    efir::test::pumpFor(200);
    EXPECT_EQ(Form1->RxLabel6->Caption(), "Через плеер") << click;
    EXPECT_EQ(Form1->RxLabel7->Caption(), "Нет сигнала") << click;
  }
  Form1->sBitBtn2Click(Form1->sBitBtn2);
  Form1->sBitBtn3Click(Form1->sBitBtn3);
  EXPECT_EQ(Settings.LastStation, 1);
  EXPECT_TRUE(shown.empty()) << shown.front();
  EndPlayer();
}

// The user's left button on the volume slider: pressed on its thumb, moved `dx` pixels along,
// released there.
void DragVolumeThumb(int dx) {
  HWND bar = Form1->sTrackBar1->Handle();
  RECT thumb{};
  SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  if (dx != 0) PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y));
  player_test::PumpUntil([] { return false; }, 100);
}

// A click of the user on the speaker picture.
void ClickSpeaker() {
  TControl* speaker = Form1->Image2;
  const LPARAM at = MAKELPARAM(speaker->Left() + speaker->Width() / 2,
                               speaker->Top() + speaker->Height() / 2);
  PostMessageW(Form1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(Form1->Handle(), WM_LBUTTONUP, 0, at);
  player_test::PumpUntil([] { return false; }, 100);
}

TEST_F(MediaPlayerMode, TakingHoldOfTheVolumeSliderEndsAMuteAndOnlyThat) {
  StartPlayer({{kAddress, "Через плеер", "1"}}, 40);
  SelectStation(1);
  const efir::test::Image soundOn = player_test::OnScreen(Form1->Image2);
  auto speakerShowsSoundOn = [&] {
    return player_test::OnScreen(Form1->Image2).pixels == soundOn.pixels;
  };

  // Held and let go without moving, while the sound is on: the speaker still switches it off.
  DragVolumeThumb(0);
  EXPECT_FALSE(Muted);
  ClickSpeaker();
  EXPECT_TRUE(Muted);
  EXPECT_EQ(mediaPlayer->Volume(), 0);
  EXPECT_EQ(Form1->Image2->Hint(), "Включить звук");
  EXPECT_FALSE(speakerShowsSoundOn());

  // Held while muted: the sound comes back at the slider's level, and the speaker says so.
  DragVolumeThumb(0);
  EXPECT_FALSE(Muted);
  EXPECT_EQ(mediaPlayer->Volume(), 40);
  EXPECT_EQ(Form1->Image2->Hint(), "Выключить звук");
  EXPECT_TRUE(speakerShowsSoundOn());

  // Muted, then dragged lower: the sound plays at the new level.
  ClickSpeaker();
  ASSERT_TRUE(Muted);
  RECT channel{};
  SendMessageW(Form1->sTrackBar1->Handle(), TBM_GETCHANNELRECT, 0,
               reinterpret_cast<LPARAM>(&channel));
  DragVolumeThumb(-(channel.right - channel.left) / 5);
  const int lowered = Form1->sTrackBar1->Position();
  EXPECT_GT(lowered, 0);
  EXPECT_LT(lowered, 40);
  EXPECT_FALSE(Muted);
  EXPECT_EQ(mediaPlayer->Volume(), lowered);
  EXPECT_EQ(Form1->RxLabel5->Caption(), std::to_string(lowered));
  EXPECT_TRUE(speakerShowsSoundOn());
  EndPlayer();
}

}  // namespace

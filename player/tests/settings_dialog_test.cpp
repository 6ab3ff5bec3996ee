// The settings dialog: its boxes and sliders from the settings and back, what "OK" and
// "По умолчанию" write, the equalizer's presets and switch on the stream that plays, and the
// buffer's label.
#include <gtest/gtest.h>

#include <windows.h>

#include "audio/audio.h"
#include "framework/files.h"
#include "framework/registry.h"
#include "framework/text_encoding.h"
#include "framework/timer.h"
#include "player/equalizer.h"
#include "player/main_window.h"
#include "player/settings_dialog.h"
#include "player/stream_effects.h"
#include "player/tests/playback_fixture.h"
#include "player/tests/player_fixture.h"
#include "player/tests/user_script.h"
#include "player/web_pages.h"
#include "tests/support/caption_ink.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using player_test::Act;
using player_test::AnsweringMessageBoxes;
using player_test::ConfigLines;
using player_test::PumpUntil;
using player_test::ReadLines;
using player_test::WriteLines;

const std::vector<std::string> kFlatLines(10, "15");
const TEqualizerValues kFlat{15, 15, 15, 15, 15, 15, 15, 15, 15, 15};
const TEqualizerValues kRock{10, 12, 17, 19, 16, 12, 10, 9, 9, 9};  // Equalizer\rock.txt

std::vector<std::string> BandLines(const TEqualizerValues& values) {
  std::vector<std::string> lines;
  for (int value : values) lines.push_back(std::to_string(value));
  return lines;
}

class SettingsDialog : public player_test::PlayerTest {
 protected:
  void StartWith(const std::vector<std::string>& config,
                 const std::vector<std::string>& bands = kFlatLines) {
    WriteLines(Config(), config);
    WriteLines(folder_.file("equalizer.txt"), bands);
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
  }

  // The main window's picture "Настройки".
  void Toggle() { Form1->Image7->OnClick(Form1->Image7); }

  // "OK" pressed as the user does; returns the texts of the message boxes it showed.
  std::vector<std::string> PressOk() {
    return AnsweringMessageBoxes(
        [] { SendMessageW(Form2->sBitBtn1->Handle(), BM_CLICK, 0, 0); });
  }

  // Chooses a preset as the user does, through the box's notification.
  void ChoosePreset(const std::string& name) {
    TsComboBox* box = Form2->sComboBox1;
    ASSERT_GE(box->Items().IndexOf(name), 0) << name;
    SendMessageW(box->Handle(), CB_SETCURSEL, static_cast<WPARAM>(box->Items().IndexOf(name)), 0);
    SendMessageW(GetParent(box->Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->Handle()));
  }

  std::string Equalizer() const { return folder_.file("equalizer.txt"); }
};

TEST_F(SettingsDialog, OpensOnTheSettingsBesideTheWindowAndTogglesHidden) {
  // check_updates 1, open_last 1 (nothing stored), buffer 5, equalizer 1, help 0, log 1,
  // hotkeys 0, window at 400, 80.
  StartWith(ConfigLines(1, 1, 40, -1, 400, 80), BandLines(kRock));
  TForm2& dialog = *Form2;
  ASSERT_FALSE(dialog.Visible());
  Toggle();
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Left(), 400 - 305);
  EXPECT_EQ(dialog.Top(), 80);
  EXPECT_TRUE(dialog.sCheckBox2->Checked());
  EXPECT_TRUE(dialog.sCheckBox1->Checked());
  EXPECT_TRUE(dialog.sCheckBox6->Checked());
  EXPECT_TRUE(dialog.sCheckBox4->Checked());
  EXPECT_FALSE(dialog.sCheckBox5->Checked());
  EXPECT_FALSE(dialog.sCheckBox7->Checked());
  EXPECT_FALSE(dialog.sCheckBox3->Checked());
  EXPECT_EQ(dialog.BandPositions(), kRock);
  EXPECT_EQ(dialog.sTrackBar1->Position(), 5);
  EXPECT_EQ(dialog.RxLabel1->Caption(), "5 сек.");
  EXPECT_FALSE(dialog.sBitBtn1->Enabled());
  EXPECT_TRUE(shown.empty()) << shown.front();

  Toggle();
  EXPECT_FALSE(dialog.Visible());

  // Settings that are off never uncheck a box: it stays as the dialog last had it.
  Settings.check_updates = 0;
  Settings.log = 0;
  Settings.equalizer = 0;
  Form1->N9->OnClick(Form1->N9);  // the menu item "Настройки..."
  EXPECT_TRUE(dialog.Visible());
  EXPECT_TRUE(dialog.sCheckBox2->Checked());
  EXPECT_TRUE(dialog.sCheckBox6->Checked());
  EXPECT_TRUE(dialog.sCheckBox4->Checked());
}

// Opened with a click on its picture, the dialog sits left of the main window where there is
// room, and as near to that as keeps it whole on the work area where there is none.
TEST_F(SettingsDialog, OpensWholeOnTheWorkAreaWhereverTheMainWindowIs) {
  StartWith(ConfigLines(0, 0, 40, -1, 400, 80));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int height = Form2->Height();
  const struct {
    POINT main;
    POINT dialog;
  } cases[] = {{{400, 80}, {95, 80}},
               {{300, 80}, {work.left, 80}},
               {{work.left, work.bottom - 380}, {work.left, work.bottom - height}}};
  for (const auto& c : cases) {
    Form1->SetBounds(c.main.x, c.main.y, Form1->Width(), Form1->Height());
    PumpUntil([] { return false; }, 50);
    efir::test::clickMouse(Form1->Image7->ClientToScreen({12, 12}));
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form2->Handle()) != 0; })) << c.main.x;
    RECT placed{};
    GetWindowRect(Form2->Handle(), &placed);
    EXPECT_EQ(placed.left, c.dialog.x) << c.main.x << "," << c.main.y;
    EXPECT_EQ(placed.top, c.dialog.y) << c.main.x << "," << c.main.y;
    Toggle();
    ASSERT_FALSE(Form2->Visible());
  }
}

TEST_F(SettingsDialog, BufferSliderActsAtOnceAndLabelsItsSeconds) {
  StartWith(ConfigLines(0, 0, 40, -1));
  Toggle();
  const std::tuple<int, int, std::string> cases[] = {
      {12, 12, "12 сек."}, {0, 0, "0 сек."}, {99, 99, "99 сек."}, {150, 99, "99 сек."}};
  for (const auto& [moved, position, label] : cases) {
    Form2->sTrackBar1->SetPosition(moved);
    EXPECT_EQ(Form2->sTrackBar1->Position(), position) << moved;
    EXPECT_EQ(Form2->RxLabel1->Caption(), label) << moved;
    EXPECT_EQ(Settings.buffer, position * 1000) << moved;
  }
  EXPECT_TRUE(Form2->sBitBtn1->Enabled());
}

TEST_F(SettingsDialog, OkWritesTheDialogsSettingsAndTheBands) {
  StartWith(ConfigLines(1, 0, 40, -1, 120, 80));
  Toggle();
  TForm2& dialog = *Form2;
  dialog.sCheckBox2->SetChecked(false);
  EXPECT_EQ(Settings.check_updates, 0);  // at once, before OK
  EXPECT_TRUE(dialog.sBitBtn1->Enabled());
  dialog.sCheckBox1->SetChecked(true);
  dialog.sCheckBox5->SetChecked(true);
  dialog.sCheckBox6->SetChecked(false);
  dialog.sCheckBox7->SetChecked(true);
  dialog.sTrackBar1->SetPosition(8);
  dialog.sCheckBox4->SetChecked(false);
  const TEqualizerValues bands{0, 3, 6, 9, 12, 18, 21, 24, 27, 30};
  for (int band = 0; band < kBandCount; ++band) dialog.BandSlider(band)->SetPosition(bands[band]);
  Form1->sTrackBar1->SetPosition(66);
  Form1->SetBounds(150, 90, Form1->Width(), Form1->Height());

  EXPECT_EQ(PressOk(), std::vector<std::string>{"Перезапустите Эфирушку для применения настроек"});
  EXPECT_TRUE(shown.empty()) << shown.front();
  const std::vector<std::string> expected = {
      "check_updates", "0", "open_last", "1", "start_volume", "66", "last_number", "-1",
      "autorun", "0", "buffer", "8", "equalizer", "0", "help", "1", "Coordinates", "150", "90",
      "log", "0", "hotkeys", "1"};
  EXPECT_EQ(ReadLines(Config()), expected);
  EXPECT_EQ(ReadLines(Equalizer()), BandLines(bands));
  EXPECT_EQ(EqualizerBands, bands);
  EXPECT_TRUE(Settings.open_last);
  EXPECT_EQ(Settings.help, 1);
  EXPECT_EQ(Settings.log, 0);
  EXPECT_EQ(Settings.hotkeys, 1);
  EXPECT_EQ(Settings.buffer, 8000);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.sBitBtn1->Enabled());
  EXPECT_FALSE(efir::FileExists(Config() + ".new"));
}

TEST_F(SettingsDialog, OkWritesMinusOneWhileNoStationIsChosenAndTheAutostartValue) {
  StartWith(ConfigLines(0, 1, 40, -1));
  const std::string runKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::tuple<int, bool, std::string> cases[] = {
      {0, true, "-1"}, {-1, false, "-1"}, {3, true, "3"}, {1, false, "1"}};
  for (const auto& [station, autorun, written] : cases) {
    Settings.LastStation = station;
    Toggle();
    Form2->sCheckBox3->SetChecked(autorun);
    EXPECT_EQ(Settings.autorun, autorun ? 1 : 0);
    Form2->sBitBtn1->SetEnabled(true);
    PressOk();
    EXPECT_EQ(ReadLines(Config())[7], written) << station;
    EXPECT_EQ(Settings.LastStation, station);  // the setting itself is left alone
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(runKey, false));
    EXPECT_EQ(registry.ValueExists("Efirushka"), autorun) << station;
  }
}

TEST_F(SettingsDialog, OkThatCannotWriteTheSettingsIsReportedAndGoesNoFurther) {
  const auto config = ConfigLines(1, 0, 40, -1);
  StartWith(config);
  // The settings file's temporary name is taken by a folder.
  std::filesystem::create_directory(Config() + ".new");
  Toggle();
  Form2->BandSlider(0)->SetPosition(3);
  EXPECT_TRUE(PressOk().empty());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("config.txt"), std::string::npos) << shown[0];
  EXPECT_EQ(ReadLines(Config()), config);
  EXPECT_EQ(ReadLines(Equalizer()), kFlatLines);
  EXPECT_EQ(EqualizerBands, kFlat);
  EXPECT_TRUE(Form2->Visible());
}

TEST_F(SettingsDialog, DefaultsChangeNothingOnDiskUntilOk) {
  auto config = ConfigLines(0, 1, 40, -1);
  config[9] = "1";   // autorun
  config[15] = "1";  // help
  config[20] = "0";  // log
  config[22] = "1";  // hotkeys
  StartWith(config, BandLines(kRock));
  Toggle();
  Form2->sTrackBar1->SetPosition(9);
  Form2->sBitBtn1->SetEnabled(false);

  Form2->sBitBtn2->Click();
  EXPECT_TRUE(Form2->sBitBtn1->Enabled());
  EXPECT_EQ(Form2->BandPositions(), kFlat);
  EXPECT_EQ(Form2->sTrackBar1->Position(), 3);
  EXPECT_EQ(Form2->RxLabel1->Caption(), "3 сек.");
  EXPECT_TRUE(Form2->sCheckBox7->Checked());  // the hot keys are not the defaults' business
  EXPECT_EQ(Settings.equalizer, 0);           // the switch acted at once
  EXPECT_EQ(ReadLines(Config()), config);
  EXPECT_EQ(ReadLines(Equalizer()), BandLines(kRock));

  PressOk();
  const std::vector<std::string> expected = {
      "check_updates", "1", "open_last", "0", "start_volume", "40", "last_number", "-1",
      "autorun", "0", "buffer", "3", "equalizer", "0", "help", "0", "Coordinates", "120", "80",
      "log", "1", "hotkeys", "1"};
  EXPECT_EQ(ReadLines(Config()), expected);
  EXPECT_EQ(ReadLines(Equalizer()), kFlatLines);
}

TEST_F(SettingsDialog, PresetSetsTheSlidersAndTheBands) {
  StartWith(ConfigLines(0, 0, 40, -1));
  Toggle();
  ChoosePreset("rock");
  EXPECT_TRUE(shown.empty()) << shown.front();
  EXPECT_EQ(Form2->BandPositions(), kRock);
  EXPECT_EQ(EqualizerBands, kRock);

  // The item "Эквалайзер" names a file too.
  const TEqualizerValues own{1, 2, 3, 4, 5, 25, 26, 27, 28, 29};
  WriteLines(folder_.name() + "Equalizer\\Эквалайзер.txt", BandLines(own));
  ChoosePreset("Эквалайзер");
  EXPECT_TRUE(shown.empty()) << shown.front();
  EXPECT_EQ(Form2->BandPositions(), own);
  EXPECT_EQ(EqualizerBands, own);
}

// The preset box as the user works it: a click on its text opens the list, the arrows walk
// the list while the player's volume stays, Enter takes the preset; "По умолчанию" then
// flattens the sliders and the box names no preset any more.
TEST_F(SettingsDialog, ThePresetBoxOpensWithAClickAndItsListTakesTheArrows) {
  using efir::test::clickMouse;
  using efir::test::pressKey;
  StartWith(ConfigLines(0, 0, 40, -1, 400, 80));
  Toggle();
  SetForegroundWindow(Form2->Handle());
  TsComboBox* box = Form2->sComboBox1;
  const POINT onText = box->ClientToScreen({box->ButtonRect().left / 2, box->Height() / 2});
  auto dropped = [box] { return SendMessageW(box->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; };
  bool opened = false;
  int volumeWhileOpen = -1;
  player_test::UserScript script({Act([&] { clickMouse(onText); }),
                                  [&] { return opened = dropped(); },
                                  // From "Эквалайзер", the box's text, to "rock".
                                  Act([] { pressKey(VK_UP); }),
                                  Act([] { pressKey(VK_UP); }),
                                  Act([] { pressKey(VK_UP); }),
                                  Act([] { pressKey(VK_DOWN); }),
                                  Act([&] { volumeWhileOpen = Form1->sTrackBar1->Position(); }),
                                  Act([] { pressKey(VK_RETURN); }),
                                  [&] { return !dropped(); }});
  ASSERT_TRUE(script.RunToEnd());
  EXPECT_TRUE(opened);
  EXPECT_FALSE(script.Waited());
  EXPECT_EQ(volumeWhileOpen, 40);
  EXPECT_EQ(Form1->sTrackBar1->Position(), 40);
  EXPECT_EQ(box->Text(), "rock");
  EXPECT_EQ(Form2->BandPositions(), kRock);
  EXPECT_TRUE(shown.empty()) << shown.front();

  clickMouse(Form2->sBitBtn2->ClientToScreen({40, 14}));
  ASSERT_TRUE(PumpUntil([] { return Form2->BandPositions() == kFlat; }));
  EXPECT_EQ(box->Text(), "Эквалайзер");
}

TEST_F(SettingsDialog, BrokenPresetIsReportedAndChangesNothing) {
  StartWith(ConfigLines(0, 0, 40, -1), BandLines(kRock));
  Toggle();
  const std::string folder = folder_.file("Equalizer\\");
  efir::DeleteFile(folder + "ska.txt");
  WriteLines(folder + "club.txt", {"1", "2", "3", "4", "5"});
  WriteLines(folder + "pop.txt", {"1", "2", "три", "4", "5", "6", "7", "8", "9", "10"});
  const std::pair<const char*, std::string> cases[] = {
      {"ska", "ska.txt"},
      {"club", "Read beyond end of file \"" + folder + "club.txt\""},
      {"pop", "'три' is not a valid integer value"}};
  for (const auto& [preset, message] : cases) {
    shown.clear();
    ChoosePreset(preset);
    ASSERT_EQ(shown.size(), 1u) << preset;
    EXPECT_NE(shown[0].find(message), std::string::npos) << shown[0];
    EXPECT_EQ(EqualizerBands, kRock) << preset;
    EXPECT_EQ(Form2->BandPositions(), kRock) << preset;
  }
}

TEST_F(SettingsDialog, HelpButtonOpensTheSitesHelpPage) {
  StartWith(ConfigLines(0, 0, 40, -1));
  std::vector<std::string> opened;
  SetWebPageOpenerForTests([&](const std::string& url) { opened.push_back(url); });
  Form2->sButton3->Click();
  SetWebPageOpenerForTests(nullptr);
  EXPECT_EQ(opened, std::vector<std::string>{std::string(kProductSite) + "/help.html"});
}

// The band caption under the ten sliders shows whole, its first "60hz" and its last "16Khz"
// inside its box.
TEST_F(SettingsDialog, TheBandCaptionShowsWhole) {
  StartWith(ConfigLines(0, 0, 40, -1, 400, 80));
  Toggle();
  TsLabel* bands = Form2->sLabel3;
  const efir::test::CaptionInk ink =
      efir::test::ReadCaptionInk(bands, [] { PumpUntil([] { return false; }, 100); });
  EXPECT_GT(ink.Width(), 0);
  EXPECT_GT(ink.First, bands->Left() + 1) << ink.First << ".." << ink.Last;
  EXPECT_LT(ink.Last, bands->Left() + bands->Width() - 2) << ink.First << ".." << ink.Last;
}

TEST_F(SettingsDialog, Screenshot) {
  StartWith(ConfigLines(1, 1, 40, -1, 400, 80), BandLines(kRock));
  Toggle();
  Form2->Repaint();
  efir::test::saveScreenshot(Form2->Handle(), "player-settings-dialog");
}

// The equalizer on the stream that plays: band gains read back from the audio library.
class SettingsEqualizer : public playback_test::PlaybackTest {
 protected:
  // Plays the loopback station with the equalizer switched as given and these band values.
  void Play(int equalizer, const TEqualizerValues& bands) {
    StartPlayer({{playback_test::ToneUrl("live.mp3"), "Тон"}}, 10, equalizer, bands);
    SelectStation(1);
    ASSERT_TRUE(WaitFor([] { return EqualizerFx[kBandCount - 1] != 0; }));
  }

  static std::vector<float> Gains() {
    std::vector<float> gains;
    for (int band = 0; band < kBandCount; ++band) {
      audio::EqualizerParams params{};
      EXPECT_TRUE(BASS_FXGetParameters(EqualizerFx[band], &params)) << band;
      gains.push_back(params.gain);
    }
    return gains;
  }

  static std::vector<float> GainsOf(const TEqualizerValues& values) {
    std::vector<float> gains;
    for (int value : values) gains.push_back(15.0f - value);
    return gains;
  }
};

TEST_F(SettingsEqualizer, TheStationStartedAtLaunchPlaysWithTheSavedBands) {
  TEqualizerValues bands = kFlat;
  bands[4] = 0;
  StartPlayer({{playback_test::ToneUrl("live.mp3"), "Тон"}}, 10, 1, bands, 1);
  ASSERT_TRUE(WaitFor([] { return EqualizerFx[kBandCount - 1] != 0; }));
  EXPECT_EQ(Gains(), GainsOf(bands));
}

TEST_F(SettingsEqualizer, SlidersPresetsAndTheSwitchSetTheGainsOfThePlayingStream) {
  TEqualizerValues bands = kFlat;
  bands[2] = 20;
  Play(1, bands);
  EXPECT_EQ(Gains(), GainsOf(bands));
  Form1->Image7->OnClick(Form1->Image7);
  EXPECT_EQ(Form2->BandPositions(), bands);

  // Band 1 to the top of its range: +15 dB at once.
  Form2->sTrackBar2->SetPosition(0);
  bands[0] = 0;
  EXPECT_EQ(Gains(), GainsOf(bands));

  Form2->sCheckBox4->SetChecked(false);
  EXPECT_EQ(Settings.equalizer, 0);
  EXPECT_EQ(Gains(), GainsOf(kFlat));
  // Switched off, the sliders change nothing that plays.
  Form2->sTrackBar11->SetPosition(30);
  bands[9] = 30;
  EXPECT_EQ(Gains(), GainsOf(kFlat));

  Form2->sCheckBox4->SetChecked(true);
  EXPECT_EQ(Settings.equalizer, 1);
  EXPECT_EQ(Gains(), GainsOf(bands));

  // The box is a list: a preset is chosen, never typed.
  Form2->sComboBox1->SetItemIndex(Form2->sComboBox1->Items().IndexOf("rock"));
  Form2->sComboBox1Select(Form2->sComboBox1);
  EXPECT_EQ(Gains(), GainsOf(kRock));
  EXPECT_EQ(EqualizerBands, kRock);
  EndPlayer();
}

}  // namespace

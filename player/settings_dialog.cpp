#include "player/settings_dialog.h"

#include <windows.h>

#include "framework/convert.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "player/web_pages.h"

using namespace layout;

TForm2* Form2 = nullptr;

namespace {

// The background's colour behind the two boxes above the panel.
constexpr TColor kBodyColor = 0x31200E;
constexpr int kDefaultBufferSeconds = 3;
// What the preset box shows while the sliders follow no preset.
constexpr char kPresetBoxText[] = "Эквалайзер";

std::string BufferText(int seconds) { return efir::IntToStr(seconds) + " сек."; }

TsCheckBox* NewCheckBox(TWinControl* parent, int left, int top, int width,
                        const std::string& caption, TColor color, const std::string& hint = "") {
  auto* box = Place(new TsCheckBox(parent->GetParentForm()), parent, left, top, width, 20);
  box->SetCaption(caption);
  box->SetColor(color);
  box->SetParentFont(false);
  box->Font().SetColor(kLightText);
  box->SetHint(hint);
  return box;
}

TRbPanel* NewPanel(TForm* form, TWinControl* parent, int left, int top, int width, int height) {
  auto* panel = Place(new TRbPanel(form), parent, left, top, width, height);
  panel->SetColor(kPanelColor);
  panel->SetCornerRadius(10);
  panel->SetBorderWidth(2);
  return panel;
}

TsBitBtn* NewBitBtn(TForm* form, int left, const std::string& caption) {
  auto* button = Place(new TsBitBtn(form), form, left, 354, 142, 28);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TForm2::TForm2(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Настройка", 309, 390, "bg_settings.png", "Настройки") {
  Image3 = NewPicture(this, 8, 3, 24, 24, "logo_small.png");
  Image3->OnMouseDown = Image1->OnMouseDown;
  sLabel1->SetLeft(38);
  sSkinManager1 = new TsSkinManager(this);
  sSkinManager1->SetSkinName("EfirNight");

  sCheckBox2 = NewCheckBox(this, 12, 40, 285, "Автоматически проверять обновления", kBodyColor,
                           "Проверка выхода новых версий Эфирушки");
  sCheckBox1 = NewCheckBox(
      this, 12, 62, 285, "Включать последнюю выбранную станцию", kBodyColor,
      "При запуске Эфирушке будет включаться последняя выбранная радиостанция");

  RbPanel1 = NewPanel(this, this, 8, 90, 293, 256);
  sCheckBox3 = NewCheckBox(RbPanel1, 10, 8, 270, "Запускать Эфирушку при старте системы",
                           kPanelColor);
  sCheckBox3->SetVisible(false);
  sCheckBox5 = NewCheckBox(RbPanel1, 10, 8, 270, "Подсказка названий радиостанций", kPanelColor,
                           "Отображать название Радиостанций при наведении мышкой");
  sCheckBox6 = NewCheckBox(RbPanel1, 10, 30, 270, "История композиций", kPanelColor);
  sCheckBox7 = NewCheckBox(RbPanel1, 10, 52, 270, "Использовать горячие клавиши", kPanelColor);

  sLabel2 = NewLabel<TsLabel>(RbPanel1, 10, 86, 44, 16, "Буфер", kLightText);
  sTrackBar1 = Place(new TsTrackBar(this), RbPanel1, 54, 80, 170, 28);
  sTrackBar1->SetParams(kDefaultBufferSeconds, 0, 99);
  sTrackBar1->SetColor(kPanelColor);
  RxLabel1 = NewLabel<TRxLabel>(RbPanel1, 228, 86, 56, 16, BufferText(kDefaultBufferSeconds),
                                kLightText);

  sCheckBox4 = NewCheckBox(RbPanel1, 10, 116, 18, "", kPanelColor);
  sComboBox1 = Place(new TsComboBox(this), RbPanel1, 32, 114, 160, 21);
  // A list to choose from, not to type in: a click anywhere on the box opens it.
  sComboBox1->SetStyle(csDropDownList);
  for (const char* preset : {"classical", "club", "dance", "fullbass", "fullbasstremble", "pop",
                             "party", "live", "largehall", "softrock", "reggae", "rock", "ska",
                             "Эквалайзер"})
    sComboBox1->Items().Add(preset);
  ShowNoPreset();
  sComboBox1->SetDropDownCount(14);

  RbPanel2 = NewPanel(this, RbPanel1, 8, 142, 277, 106);
  bandSliders_ = {&sTrackBar2, &sTrackBar3, &sTrackBar4, &sTrackBar5, &sTrackBar6,
                  &sTrackBar7, &sTrackBar8, &sTrackBar9, &sTrackBar10, &sTrackBar11};
  for (size_t i = 0; i < bandSliders_.size(); ++i) {
    auto* slider = new TsTrackBar(this);
    slider->SetOrientation(trVertical);  // before placing: turning a slider swaps its sides
    Place(slider, RbPanel2, 4 + static_cast<int>(i) * 27, 4, 26, 82);
    slider->SetParams(kFlatBandValue, 0, 30);
    slider->SetColor(kPanelColor);
    *bandSliders_[i] = slider;
  }
  // Small enough that the whole row fits under the sliders.
  sLabel3 = NewLabel<TsLabel>(RbPanel2, 2, 88, 273, 14,
                              "60hz 170hz 310hz 600hz 1Khz 3Khz 6 Khz 12Khz 14Khz 16Khz",
                              kMutedText, -8);
  sLabel3->SetAlignment(taCenter);

  sBitBtn1 = NewBitBtn(this, 8, "OK");
  sBitBtn1->SetHint("Применить настройки");
  sBitBtn1->SetEnabled(false);
  sBitBtn2 = NewBitBtn(this, 159, "По умолчанию");
  sButton3 = Place(new TsButton(this), this, 8, 354, 142, 28);
  sButton3->SetCaption("Справка");
  sButton3->SetHint("Справка на сайте");
  sButton3->SetVisible(false);

  // Bound last: setting the starting positions above must not act on the settings.
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
  sBitBtn2->OnClick = [this](TObject* s) { sBitBtn2Click(s); };
  sButton3->OnClick = [this](TObject* s) { sButton3Click(s); };
  sComboBox1->OnSelect = [this](TObject* s) { sComboBox1Select(s); };
  sCheckBox4->OnClick = [this](TObject* s) { sCheckBox4Click(s); };
  sCheckBox2->OnClick = [this](TObject* s) { sCheckBox2Click(s); };
  sCheckBox3->OnClick = [this](TObject* s) { sCheckBox3Click(s); };
  for (TsCheckBox* box : {sCheckBox1, sCheckBox5, sCheckBox6, sCheckBox7})
    box->OnClick = [this](TObject* s) { sCheckBox1Click(s); };
  sTrackBar1->OnChange = [this](TObject* s) { sTrackBar1Change(s); };
  for (TsTrackBar** slider : bandSliders_)
    (*slider)->OnChange = [this](TObject* s) { sTrackBar2Change(s); };
}

void TForm2::ShowNoPreset() {
  sComboBox1->SetItemIndex(sComboBox1->Items().IndexOf(kPresetBoxText));
}

TsTrackBar* TForm2::BandSlider(int Band) const {
  return *bandSliders_[static_cast<size_t>(Band)];
}

TEqualizerValues TForm2::BandPositions() const {
  TEqualizerValues positions;
  for (int band = 0; band < kBandCount; ++band) positions[band] = BandSlider(band)->Position();
  return positions;
}

void TForm1::Image7Click(TObject*) {
  TForm2& dialog = *Form2;
  // Boxes of settings that are off keep whatever state the dialog last had.
  const std::pair<TsCheckBox*, bool> boxes[] = {
      {dialog.sCheckBox3, Settings.autorun == 1}, {dialog.sCheckBox2, Settings.check_updates == 1},
      {dialog.sCheckBox5, Settings.help == 1},    {dialog.sCheckBox6, Settings.log == 1},
      {dialog.sCheckBox7, Settings.hotkeys == 1}, {dialog.sCheckBox1, Settings.open_last}};
  for (const auto& [box, on] : boxes)
    if (on) box->SetChecked(true);
  if (Settings.equalizer == 1) {
    dialog.sCheckBox4->SetChecked(true);
    for (int band = 0; band < kBandCount; ++band)
      dialog.BandSlider(band)->SetPosition(EqualizerBands[static_cast<size_t>(band)]);
  }
  dialog.sTrackBar1->SetPosition(Settings.buffer / 1000);
  dialog.RxLabel1->SetCaption(BufferText(dialog.sTrackBar1->Position()));

  dialog.PlaceOnWorkArea(Left() - 305, Top());
  if (dialog.Visible())
    dialog.Hide();
  else
    dialog.Show();
  // The boxes and sliders set above asked for it; nothing has been changed yet.
  dialog.sBitBtn1->SetEnabled(false);
}

void TForm1::N9Click(TObject* Sender) { Image7Click(Sender); }

void TForm2::sCheckBox2Click(TObject*) {
  Settings.check_updates = sCheckBox2->Checked() ? 1 : 0;
  sBitBtn1->SetEnabled(true);
}

void TForm2::sCheckBox3Click(TObject*) {
  Settings.autorun = sCheckBox3->Checked() ? 1 : 0;
  sBitBtn1->SetEnabled(true);
}

void TForm2::sCheckBox1Click(TObject*) { sBitBtn1->SetEnabled(true); }

void TForm2::sTrackBar1Change(TObject*) {
  Settings.buffer = sTrackBar1->Position() * 1000;
  RxLabel1->SetCaption(BufferText(sTrackBar1->Position()));
  sBitBtn1->SetEnabled(true);
}

void TForm2::sTrackBar2Change(TObject* Sender) {
  for (int band = 0; band < kBandCount; ++band) {
    if (BandSlider(band) != Sender) continue;
    if (Settings.equalizer == 1) SetBandGain(band, BandGain(BandSlider(band)->Position()));
  }
  sBitBtn1->SetEnabled(true);
}

void TForm2::sCheckBox4Click(TObject*) {
  const bool on = sCheckBox4->Checked();
  if (on) RbPanel2->SetEnabled(true);
  Settings.equalizer = on ? 1 : 0;
  for (int band = 0; band < kBandCount; ++band)
    SetBandGain(band, on ? BandGain(BandSlider(band)->Position()) : 0.0f);
  sBitBtn1->SetEnabled(true);
}

void TForm2::sComboBox1Select(TObject*) {
  // Read whole before anything changes: a broken preset leaves bands and sliders alone.
  const TEqualizerValues values =
      ReadEqualizerFile(PlayerFolder() + "Equalizer\\" + sComboBox1->Text() + ".txt");
  EqualizerBands = values;
  for (int band = 0; band < kBandCount; ++band)
    BandSlider(band)->SetPosition(values[static_cast<size_t>(band)]);
}

void TForm2::sBitBtn2Click(TObject*) {
  sBitBtn1->SetEnabled(true);
  for (int band = 0; band < kBandCount; ++band) BandSlider(band)->SetPosition(kFlatBandValue);
  // The flat sliders are no preset's: the box must not name the one chosen before.
  ShowNoPreset();
  sCheckBox2->SetChecked(true);
  for (TsCheckBox* box : {sCheckBox3, sCheckBox1, sCheckBox5, sCheckBox4}) box->SetChecked(false);
  sCheckBox6->SetChecked(true);
  sTrackBar1->SetPosition(kDefaultBufferSeconds);
}

void TForm2::sBitBtn1Click(TObject*) {
  sBitBtn1->SetEnabled(false);
  auto flag = [](TsCheckBox* box) { return box->Checked() ? 1 : 0; };
  Settings.check_updates = flag(sCheckBox2);
  Settings.open_last = sCheckBox1->Checked();
  Settings.autorun = flag(sCheckBox3);
  Settings.buffer = sTrackBar1->Position() * 1000;
  Settings.equalizer = flag(sCheckBox4);
  Settings.help = flag(sCheckBox5);
  Settings.log = flag(sCheckBox6);
  Settings.hotkeys = flag(sCheckBox7);
  TPlayerConfig config = Settings;
  // The dialog never writes "nothing chosen yet" (0): the next start reads -1 as none.
  if (config.LastStation <= 0) config.LastStation = -1;
  SaveConfig(config);
  SaveEqualizerFile(BandPositions());
  ShowMessage(Handle(), "Перезапустите Эфирушку для применения настроек", MB_TASKMODAL);
  Close();
}

void TForm2::sButton3Click(TObject*) { OpenWebPage(ProductSite() + "/help.html"); }

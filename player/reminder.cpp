#include "player/reminder.h"

#include <mmsystem.h>

#include <string>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "widgets/rx_spin_button.h"

namespace {

constexpr int kPanelOpenHeight = 520;
// The window's height without the panel, as the layout gives it.
constexpr int kPanelClosedHeight = 391;
constexpr int kTopHour = 23;
constexpr int kTopMinute = 59;  // and second

TPlaySoundCall playSound = &PlaySoundA;

// The skin's section for the spin buttons: the up-down one, else the button one (-1 without
// either).
int SpinSection(TsSkinManager* manager) {
  for (const char* name : {"UPDOWNBTN", "BUTTON"}) {
    int index = SectionIndexByName(manager, name);
    if (SectionIndexValid(manager, index)) return index;
  }
  return -1;
}

// The default arrow in the section's text colour.
std::unique_ptr<TBitmap> SkinnedArrow(bool up, TColor color) {
  auto glyph = efir::spin::DefaultGlyph(up);
  for (int y = 0; y < glyph->Height(); ++y)
    for (int x = 0; x < glyph->Width(); ++x)
      if (glyph->Canvas().Pixels(x, y) == clBlack) glyph->Canvas().SetPixels(x, y, color);
  return glyph;
}

// One press of a time field's spin button, `top` being its largest value: up from the top
// wraps to 0, down from 0 to the top. The field always shows two digits afterwards.
void StepField(TsEdit& field, int top, bool up) {
  int value = efir::StrToInt(field.Text());
  if (up)
    value = value >= top || value < 0 ? 0 : value + 1;
  else
    value = value <= 0 || value > top ? top : value - 1;
  field.SetText(efir::Format("%.2d", value));
}

// The clock's alarm follows the three fields. A time that is no time of day is refused whole,
// so the alarm never keeps a part of it.
void SetAlarmFromFields(TForm1& form) {
  const int hour = efir::StrToInt(form.sEdit2->Text());
  const int minute = efir::StrToInt(form.sEdit3->Text());
  const int second = efir::StrToInt(form.sEdit4->Text());
  if (hour < 0 || hour > kTopHour || minute < 0 || minute > kTopMinute || second < 0 ||
      second > kTopMinute)
    throw EConvertError(efir::Format("'%d:%d:%d' is not a valid time", hour, minute, second));
  form.RxClock1->SetAlarmHour(static_cast<uint8_t>(hour));
  form.RxClock1->SetAlarmMinute(static_cast<uint8_t>(minute));
  form.RxClock1->SetAlarmSecond(static_cast<uint8_t>(second));
}

void Spin(TForm1& form, TsEdit& field, int top, bool up) {
  StepField(field, top, up);
  SetAlarmFromFields(form);
}

}  // namespace

void SetPlaySoundForTests(TPlaySoundCall play) { playSound = play ? play : &PlaySoundA; }

void TForm1::Image9Click(TObject*) {
  ReminderPanelOpen = !ReminderPanelOpen;
  SetHeight(ReminderPanelOpen ? kPanelOpenHeight : kPanelClosedHeight);
  Repaint();
  // The fields start at the time now until a reminder is armed, and again after it is disarmed.
  if (sCheckBox1->Checked()) return;
  int hour, minute, second, msec;
  efir::DecodeTime(RxClock1->CurrentTime(), hour, minute, second, msec);
  sCheckBox1->SetChecked(true);
  sEdit2->SetText(efir::IntToStr(hour));
  sEdit3->SetText(efir::IntToStr(minute));
  sEdit4->SetText("00");
  SetAlarmFromFields(*this);
}

void TForm1::RxSpinButton1TopClick(TObject*) { Spin(*this, *sEdit2, kTopHour, true); }
void TForm1::RxSpinButton1BottomClick(TObject*) { Spin(*this, *sEdit2, kTopHour, false); }
void TForm1::RxSpinButton2TopClick(TObject*) { Spin(*this, *sEdit3, kTopMinute, true); }
void TForm1::RxSpinButton2BottomClick(TObject*) { Spin(*this, *sEdit3, kTopMinute, false); }
void TForm1::RxSpinButton3TopClick(TObject*) { Spin(*this, *sEdit4, kTopMinute, true); }
void TForm1::RxSpinButton3BottomClick(TObject*) { Spin(*this, *sEdit4, kTopMinute, false); }

void TForm1::Image13Click(TObject*) {
  ReminderArmed = !ReminderArmed;
  RxClock1->SetAlarmEnabled(ReminderArmed);
  sCheckBox1->SetChecked(ReminderArmed);
  // Last: a picture missing from the program folder is reported, the reminder works all the same.
  Image13->Picture().LoadFromFile(PlayerFolder() + (ReminderArmed ? "fav.png" : "notfav.png"));
}

void TForm1::RxClock1Alarm(TObject*) {
  const std::string text = "!" + std::string(27, ' ') + sEdit5->Text() + std::string(26, ' ') + "!";
  if (sCheckBox2->Checked()) playSound("systemexclamation", nullptr, SND_ASYNC);
  ShowMessage(text);
}

void SkinReminderSpins(TForm1& form) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  const int section = SpinSection(manager);
  if (section < 0) return;
  const TColor ink = manager->GeneralData[static_cast<size_t>(section)].FontColor[0];
  const TColor behind = form.Color();
  auto up = SkinnedArrow(true, ink), down = SkinnedArrow(false, ink);
  for (TRxSpinButton* spin : {form.RxSpinButton1, form.RxSpinButton2, form.RxSpinButton3}) {
    spin->SetUpGlyph(up.get());
    spin->SetDownGlyph(down.get());
    spin->SetFacePainter([behind](TBitmap& face, int state) {
      RenderItemBySectionName(&face, "UPDOWNBTN", "BUTTON", state, nullptr, {0, 0, face.Width(), face.Height()},
                              behind, nullptr);
    });
  }
}

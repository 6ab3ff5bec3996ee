#include "widgets/rx_clock.h"

#include "framework/application.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/forms.h"
#include "widgets/rx_timer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

namespace {

constexpr unsigned kTickMs = 450;

// |8000·sin(6i°)| along the first quarter of the dial.
constexpr int kQuarter[16] = {0,    836,  1663, 2472, 3253, 3999, 4702, 5353,
                              5945, 6472, 6928, 7308, 7608, 7825, 7956, 8000};

int SineTimes8000(int i) {
  i = ((i % 60) + 60) % 60;
  if (i <= 15) return kQuarter[i];
  if (i <= 30) return kQuarter[30 - i];
  if (i <= 45) return -kQuarter[i - 30];
  return -kQuarter[60 - i];
}

// The dial table with y scaled by the screen's vertical and horizontal densities, made once.
const std::array<POINT, 60>& DialPoints() {
  static const std::array<POINT, 60> points = [] {
    efir::gdi::WindowDC screen;
    int vertical = GetDeviceCaps(screen, VERTSIZE)
                       ? GetDeviceCaps(screen, VERTRES) * 100 / GetDeviceCaps(screen, VERTSIZE)
                       : 1;
    int horizontal = GetDeviceCaps(screen, HORZSIZE)
                         ? GetDeviceCaps(screen, HORZRES) * 100 / GetDeviceCaps(screen, HORZSIZE)
                         : 1;
    std::array<POINT, 60> table{};
    for (int i = 0; i < 60; ++i) {
      int y = i == 0 ? -7999 : -SineTimes8000(i + 15);
      table[static_cast<size_t>(i)] = {SineTimes8000(i), y * vertical / horizontal};
    }
    return table;
  }();
  return points;
}

// 8000 horizontal units in vertical units: the screen's aspect as the dial table holds it.
int VerticalUnits() { return DialPoints()[30].y; }

double TimeOfDay(double dayNumber) { return dayNumber - std::floor(dayNumber); }

}  // namespace

namespace efir::clock {

POINT DialPoint(int i) { return DialPoints()[static_cast<size_t>(((i % 60) + 60) % 60)]; }

TColor LighterColor(TColor color) {
  COLORREF rgb = ColorToRGB(color);
  BYTE parts[3] = {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
  for (BYTE& part : parts) {
    if (part == 255) return clBtnHighlight;
  }
  for (BYTE& part : parts) {
    if (part != 0) part = part == 192 ? 255 : static_cast<BYTE>((part + 127) % 256);
  }
  return static_cast<TColor>(RGB(parts[0], parts[1], parts[2]));
}

DigitalText FormatDigital(double time, bool leadingZero, bool showSeconds, bool twelveHour) {
  int h, m, s, ms;
  efir::DecodeTime(time, h, m, s, ms);
  int hour = twelveHour ? (h > 12 ? h - 12 : (h == 0 ? 12 : h)) : h;
  std::string format = leadingZero ? "hh:mm" : "h:mm";
  if (showSeconds) format += ":ss";
  if (twelveHour) format += " ampm";
  int cells = (hour > 9 || leadingZero ? 5 : 4) + (showSeconds ? 3 : 0);
  return {efir::FormatDateTime(format, time), cells};
}

}  // namespace efir::clock

TRxClock::TRxClock(TComponent* AOwner) : TPanel(AOwner) {
  SetBevelInner(bvLowered);
  SetBevelOuter(bvRaised);
  displayTime_ = Decode(CurrentTime());
  SetCaption(efir::TimeToStr(CurrentTime()));  // never shown: the face draws the time itself
  timer_ = new TRxTimer(this);
  timer_->SetInterval(kTickMs);
  timer_->SetOnTimer([this](TObject*) { TickClock(); });
}

// No tick may draw on a window that is going away (a handler of the closing form may still
// run message loops).
void TRxClock::BeforeDestruction() {
  timer_->SetEnabled(false);
  TPanel::BeforeDestruction();
}

TRxClock::~TRxClock() {
  Unhook();
  // The timer goes first, so that no tick reaches a clock that is half gone.
  timer_->Free();
}

void TRxClock::CreateWnd() {
  TPanel::CreateWnd();
  if (hook_) return;
  hook_ = Application.HookMainWindow([this](TMessage& Message) {
    if (Message.Msg == WM_WININICHANGE) {
      Invalidate();
      if (autoSize_) Realign();
    }
    return false;
  });
}

void TRxClock::DestroyWnd() {
  Unhook();
  TPanel::DestroyWnd();
}

void TRxClock::Unhook() {
  if (hook_) Application.UnhookMainWindow(std::exchange(hook_, 0));
}

void TRxClock::SetAutoSize(bool value) {
  autoSize_ = value;
  if (!value) return;
  Invalidate();
  Realign();
}

void TRxClock::Resize() {
  Realign();
  TPanel::Resize();
}

void TRxClock::Realign() {
  FitDialRect();
  if (autoSize_) FitClockFont(ClientRect());
}

void TRxClock::FitClockFont(const RECT& rect) {
  const int height = rect.bottom - rect.top - 4, width = rect.right - rect.left - 30;
  if (height <= 0 || width <= 0) return;
  std::string sample = showSeconds_ ? "88888888" : "88888";
  TCanvas measure;
  efir::gdi::WindowDC screen;
  efir::CanvasBinding bound(measure, screen);
  measure.Font().Assign(Font());
  measure.Font().SetHeight(-1000);
  if (twelveHour_) {
    const std::string& am = efir::FormatSettings().TimeAMString;
    const std::string& pm = efir::FormatSettings().TimePMString;
    sample += " " + (measure.TextWidth(am) > measure.TextWidth(pm) ? am : pm);
  }
  const int sampleWidth = std::max(measure.TextWidth(sample), 1);
  Font().SetHeight(-std::min(MulDiv(height, 4, 5), MulDiv(1000, width, sampleWidth)));
}

uint8_t TRxClock::AlarmPart(int index) const {
  int parts[4] = {0, 0, 0, 0};
  efir::DecodeTime(alarm_, parts[1], parts[2], parts[3], parts[0]);
  return index >= 1 && index <= 3 ? static_cast<uint8_t>(parts[index]) : 0;
}

void TRxClock::SetAlarmPart(int index, uint8_t value) {
  if (index < 1 || index > 3) return;
  int parts[4] = {0, 0, 0, 0};
  efir::DecodeTime(alarm_, parts[1], parts[2], parts[3], parts[0]);
  parts[index] = value;
  if (parts[1] > 23 || parts[2] > 59 || parts[3] > 59) {
    char separator = efir::FormatSettings().TimeSeparator;
    std::string text = std::to_string(parts[1]) + separator + std::to_string(parts[2]) +
                       separator + std::to_string(parts[3]);
    throw EConvertError("'" + text.substr(0, 50) + "' is not a valid time");
  }
  alarm_ = efir::EncodeTime(parts[1], parts[2], parts[3], 0);
  UpdateAlarmWait();
}

double TRxClock::CurrentTime() {
  double now = TimeOfDay(efir::Now());
  if (OnGetTime) OnGetTime(this, now);
  return now;
}

void TRxClock::UpdateAlarmWait() { alarmWait_ = CurrentTime() < alarm_ || alarm_ == 0; }

bool TRxClock::IsAlarmTime(double now) const {
  int ah, am, as, ams, nh, nm, ns, nms;
  efir::DecodeTime(alarm_, ah, am, as, ams);
  efir::DecodeTime(now, nh, nm, ns, nms);
  return ah == nh && am == nm && ns >= as && ns <= as + 60;
}

void TRxClock::CheckAlarm() {
  if (alarmEnabled_ && IsAlarmTime(CurrentTime())) {
    if (alarmWait_) {
      alarmWait_ = false;
      RaiseAlarm();
    }
    return;
  }
  UpdateAlarmWait();
}

void TRxClock::RaiseAlarm() {
  if (OnAlarm) OnAlarm(this);
}

void TRxClock::Loaded() {
  TPanel::Loaded();
  UpdateAlarmWait();
}

void TRxClock::SetShowMode(TShowClock value) {
  if (value == showMode_) return;
  showMode_ = value;
  Invalidate();
}

void TRxClock::SetShowSeconds(bool value) {
  if (value == showSeconds_) return;
  showSeconds_ = value;
  Invalidate();
  if (autoSize_) Realign();
}

void TRxClock::SetTwelveHour(bool value) {
  if (value == twelveHour_) return;
  twelveHour_ = value;
  Invalidate();
  if (autoSize_) Realign();
}

void TRxClock::SetLeadingZero(bool value) {
  if (value == leadingZero_) return;
  leadingZero_ = value;
  Invalidate();
}

void TRxClock::SetDotsColor(TColor value) {
  if (value == dotsColor_) return;
  dotsColor_ = value;
  Invalidate();
}

void TRxClock::WndProc(TMessage& Message) {
  TPanel::WndProc(Message);
  if (Message.Msg == WM_TIMECHANGE) {
    Invalidate();
    CheckAlarm();
  } else if (Message.Msg == CM_FONTCHANGED) {
    // A new font on an auto-sized clock is refitted at once; the refit's own change ends
    // here, as the fitted height is already the font's.
    Invalidate();
    if (autoSize_) Realign();
  }
}

TRxClock::ShownTime TRxClock::Decode(double time) const {
  int h, m, s, ms;
  efir::DecodeTime(time, h, m, s, ms);
  return {h % 12, m, s};
}

// Draws only what changed since the last tick, then tests the alarm. A clock without a
// parent has no window to draw on and only tests the alarm.
void TRxClock::TickClock() {
  if (Parent()) {
    efir::gdi::WindowDC dc(Handle());
    TCanvas canvas;
    canvas.Font().Assign(Font());
    canvas.Brush().SetColor(Color());
    canvas.Pen().SetColor(Font().Color());
    efir::CanvasBinding bound(canvas, dc);
    if (showMode_ == scAnalog) PaintAnalog(canvas, false);
    else PaintDigital(canvas, FaceRect(), false);
  }
  CheckAlarm();
}

// The client area inside the bevels.
RECT TRxClock::FaceRect() {
  RECT r = ClientRect();
  int inset = (BevelOuter() != bvNone) + (BevelInner() != bvNone);
  InflateRect(&r, -inset, -inset);
  return r;
}

void TRxClock::PaintFrame(RECT& rect) {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(rect);
  UINT edge = 0;
  if (BevelOuter() == bvRaised) edge |= BDR_RAISEDOUTER;
  if (BevelOuter() == bvLowered) edge |= BDR_SUNKENOUTER;
  if (BevelInner() == bvRaised) edge |= BDR_RAISEDINNER;
  if (BevelInner() == bvLowered) edge |= BDR_SUNKENINNER;
  if (edge) DrawEdge(canvas.Handle(), &rect, edge, BF_RECT | BF_ADJUST);
}

void TRxClock::Paint() {
  RECT r = ClientRect();
  PaintFrame(r);
  TCanvas& canvas = Canvas();
  canvas.Pen().SetColor(Font().Color());
  if (showMode_ == scAnalog) PaintAnalog(canvas, true);
  else PaintDigital(canvas, r, true);
}

void TRxClock::PaintDigital(TCanvas& canvas, RECT rect, bool full) {
  double now = CurrentTime();
  ShownTime shown = Decode(now);
  bool hourChanged = displayTime_.hour != shown.hour;
  if (!full && hourChanged) {
    Repaint();
    return;
  }
  efir::clock::DigitalText digital =
      efir::clock::FormatDigital(now, leadingZero_, showSeconds_, twelveHour_);
  const std::string& text = digital.text;
  const int length = digital.cells;
  std::string suffix = text.size() > static_cast<size_t>(length) ? text.substr(static_cast<size_t>(length)) : "";
  bool twoDigitHour = length - (showSeconds_ ? 3 : 0) == 5;

  int cellWidth = canvas.TextWidth("8");
  int cellHeight = canvas.TextHeight("8");
  int total = canvas.TextWidth(suffix) + length * cellWidth;
  int left = (rect.left + rect.right - total) / 2;
  int top = (rect.top + rect.bottom - cellHeight) / 2;
  auto isPart = [&](int first, int k) { return k == first || k == first + 1; };
  int minuteFirst = twoDigitHour ? 4 : 3;
  int secondFirst = twoDigitHour ? 7 : 6;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP;
  for (int k = 1; k <= length && k <= static_cast<int>(text.size()); ++k) {
    bool redraw = full || hourChanged ||
                  (displayTime_.second != shown.second && showSeconds_ && isPart(secondFirst, k)) ||
                  (displayTime_.minute != shown.minute && isPart(minuteFirst, k));
    if (!redraw) continue;
    RECT cell{left + (k - 1) * cellWidth, top, left + k * cellWidth, top + cellHeight};
    canvas.FillRect(cell);
    canvas.TextRect(cell, std::string_view(text).substr(static_cast<size_t>(k - 1), 1), flags);
  }
  if ((full || hourChanged) && !suffix.empty()) {
    int suffixLeft = left + length * cellWidth;
    RECT cell{suffixLeft, top, suffixLeft + canvas.TextWidth(suffix), top + cellHeight};
    canvas.TextRect(cell, suffix, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP);
  }
  displayTime_ = shown;
}

void TRxClock::PaintAnalog(TCanvas& canvas, bool full) {
  TColor face = Color();
  TColor ink = Font().Color();
  canvas.Pen().SetColor(ink);
  canvas.Brush().SetColor(face);
  SetBkMode(canvas.Handle(), TRANSPARENT);
  if (full) {
    FitDialRect();
    canvas.FillRect(clockRect_);
    DrawDialDots(canvas);
    DrawHand(canvas, displayTime_.hour * 5 + displayTime_.minute / 12, true);
    DrawHand(canvas, displayTime_.minute, false);
    canvas.Pen().SetColor(face);
    if (showSeconds_) DrawSecondHand(canvas, displayTime_.second);
    return;
  }
  canvas.Pen().SetColor(face);
  ShownTime now = Decode(CurrentTime());
  bool secondChanged = now.second != displayTime_.second;
  if (secondChanged && showSeconds_) DrawSecondHand(canvas, displayTime_.second);
  if (now.minute != displayTime_.minute || now.hour != displayTime_.hour) {
    DrawHand(canvas, displayTime_.minute, false);
    DrawHand(canvas, displayTime_.hour * 5 + displayTime_.minute / 12, true);
    canvas.Pen().SetColor(ink);
    DrawHand(canvas, now.minute, false);
    DrawHand(canvas, now.hour * 5 + now.minute / 12, true);
  }
  canvas.Pen().SetColor(face);
  if (secondChanged) {
    if (showSeconds_) DrawSecondHand(canvas, now.second);
    displayTime_ = now;
  }
}

// The largest dial of the screen's aspect that fits inside the frame, centred.
void TRxClock::FitDialRect() {
  RECT r = FaceRect();
  InflateRect(&r, -1, -1);
  const int vertical = VerticalUnits();
  int w = r.right - r.left, h = r.bottom - r.top;
  int heightAcross = vertical ? h * 8000 / vertical : h;
  if (heightAcross < w) {
    r.left += (w - heightAcross) / 2;
    r.right = r.left + heightAcross;
  } else {
    int widthDown = w * vertical / 8000;
    r.top += (h - widthDown) / 2;
    r.bottom = r.top + widthDown;
  }
  clockRect_ = r;
}

void TRxClock::DrawDialDots(TCanvas& canvas) {
  RECT r = clockRect_;
  int a = (r.right - r.left) * 25 / std::max(1, Screen.Width());
  int b = std::max(1, a * VerticalUnits() / 8000);
  a = std::max(2, a);
  InflateRect(&r, -(b / 2), -(a / 2));
  clockRadius_ = (r.right - r.left) / 2;
  clockCenter_ = {r.left + clockRadius_, r.top + (r.bottom - r.top) / 2};

  TColor brushBefore = canvas.Brush().Color();
  TColor pen = canvas.Pen().Color();
  canvas.Brush().SetColor(pen);
  bool raised = a > 2 && b > 1;
  for (int i = 0; i < 60; ++i) {
    POINT d = efir::clock::DialPoint(i);
    int x = clockCenter_.x + clockRadius_ * d.x / 8000;
    int y = clockCenter_.y + d.y * clockRadius_ / 8000;
    if (i % 5 == 0) {
      RECT dot{x - a / 2, y - b / 2, x - a / 2 + a, y - b / 2 + b};
      if (raised) {
        canvas.Brush().SetColor(dotsColor_);
        canvas.FillRect(dot);
        RECT edge = dot;
        canvas.Brush().SetColor(efir::clock::LighterColor(dotsColor_));
        canvas.FillRect({edge.left, edge.top, edge.right, edge.top + 1});
        canvas.FillRect({edge.left, edge.top, edge.left + 1, edge.bottom});
        canvas.Brush().SetColor(clWindowFrame);
        canvas.FillRect({edge.left, edge.bottom - 1, edge.right, edge.bottom});
        canvas.FillRect({edge.right - 1, edge.top, edge.right, edge.bottom});
      } else {
        canvas.FillRect(dot);
      }
      canvas.Brush().SetColor(pen);
    } else if (raised) {
      canvas.Brush().SetColor(clBtnShadow);
      canvas.FillRect({x - 1, y - 1, x + 1, y + 1});
      canvas.Brush().SetColor(clBtnHighlight);
      canvas.FillRect({x, y, x + 2, y + 2});
      canvas.Brush().SetColor(Color());
      canvas.SetPixels(x, y, canvas.Brush().Color());
    }
  }
  canvas.Brush().SetColor(brushBefore);
  canvas.Pen().SetColor(pen);
}

void TRxClock::DrawHand(TCanvas& canvas, int position, bool hour) {
  TPenMode before = canvas.Pen().Mode();
  canvas.Pen().SetMode(pmCopy);
  int side = (hour ? 7 : 5) * clockRadius_ / 100;
  int tipLength = (hour ? 60 : 80) * clockRadius_ / 100;
  int tailLength = (hour ? 15 : 20) * clockRadius_ / 100;
  POINT across = efir::clock::DialPoint(position + 15);
  POINT along = efir::clock::DialPoint(position);
  POINT back = efir::clock::DialPoint(position + 30);
  POINT s{side * across.x / 8000, side * across.y / 8000};
  POINT tip{clockCenter_.x + tipLength * along.x / 8000, clockCenter_.y + tipLength * along.y / 8000};
  POINT tail{clockCenter_.x + tailLength * back.x / 8000, clockCenter_.y + tailLength * back.y / 8000};
  for (POINT end : {tip, tail}) {
    for (int sign : {1, -1}) {
      canvas.MoveTo(clockCenter_.x + sign * s.x, clockCenter_.y + sign * s.y);
      canvas.LineTo(end.x, end.y);
    }
  }
  canvas.Pen().SetMode(before);
}

// Inverting: drawing the same hand twice removes it.
void TRxClock::DrawSecondHand(TCanvas& canvas, int position) {
  TPenMode before = canvas.Pen().Mode();
  canvas.Pen().SetMode(pmNot);
  int length = clockRadius_ * 80 / 100;
  POINT d = efir::clock::DialPoint(position);
  canvas.MoveTo(clockCenter_.x, clockCenter_.y);
  canvas.LineTo(clockCenter_.x + length * d.x / 8000, clockCenter_.y + length * d.y / 8000);
  canvas.Pen().SetMode(before);
}

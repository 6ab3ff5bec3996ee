#include "widgets/rb_panel.h"

#include "framework/text_encoding.h"
#include "widgets/rb_style_manager.h"

#include <algorithm>
#include <cmath>
#include <memory>

// ---------------------------------------------------------------------------- drawing

namespace efir::rb {

void GradientFill(TBitmap& bitmap, const RECT& rect, TColor from, TColor to, TGradientType type,
                  HRGN region) {
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
  if (from == to) {
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(from);
    if (region) FillRgn(canvas.Handle(), region, canvas.Brush().Handle());
    else canvas.FillRect(rect);
    return;
  }
  const COLORREF a = ColorToRGB(from), b = ColorToRGB(to);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int diag = static_cast<int>(std::lround(std::sqrt(double(w) * w + double(h) * h)));
  int span = 1;
  switch (type) {
    case gtHorizontal: span = w; break;
    case gtVertical: span = h; break;
    case gtFromTopLeft: case gtFromTopRight: span = diag - rect.left; break;
    case gtRadial: span = (diag - rect.left) / 2; break;
    case gtDoubleHorz: span = w / 2; break;
    case gtDoubleVert: span = h / 2; break;
  }
  span = std::max(span, 1);  // a one-pixel band has nothing to spread over
  const double start[3] = {double(GetBValue(a)), double(GetGValue(a)), double(GetRValue(a))};
  const double step[3] = {(GetBValue(b) - start[0]) / span, (GetGValue(b) - start[1]) / span,
                          (GetRValue(b) - start[2]) / span};
  auto distance = [&](int x, int y) -> double {
    switch (type) {
      case gtHorizontal: return x - rect.left;
      case gtVertical: return y - rect.top;
      case gtFromTopLeft: return std::hypot(x - rect.left, y - rect.top);
      case gtFromTopRight: return std::hypot(rect.right - x, y - rect.top);
      case gtRadial: return std::hypot(w / 2 - x, y - h / 2);
      case gtDoubleHorz: return std::abs(x - span - rect.left);
      case gtDoubleVert: return std::abs(y - span - rect.top);
    }
    return 0;
  };
  const int bottom = std::min<int>(rect.bottom, bitmap.Height());
  const int right = std::min<int>(rect.right, bitmap.Width());
  for (int y = std::max<int>(rect.top, 0); y < bottom; ++y) {
    auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
    for (int x = std::max<int>(rect.left, 0); x < right; ++x) {
      if (region && !PtInRegion(region, x, y)) continue;
      double d = distance(x, y);
      for (int c = 0; c < 3; ++c)
        row[x * 3 + c] = static_cast<uint8_t>(std::clamp(std::nearbyint(start[c] + step[c] * d), 0.0, 255.0));
    }
  }
}

void DownscaleBitmap(TBitmap& source, TBitmap& dest, int factor, int band, TColor interior) {
  const int c = band < 1 ? factor / 2 : band / 2;
  const int w = dest.Width(), h = dest.Height();
  const int n = factor;
  const bool fits = source.Width() >= w * n && source.Height() >= h * n;
  for (int y = 0; fits && y < h; ++y) {
    auto* out = static_cast<uint8_t*>(dest.ScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (x > c && y > c && x < w - c && y < h - c) continue;
      int sum[3] = {0, 0, 0};
      for (int sy = n * y; sy < n * y + n; ++sy) {
        auto* in = static_cast<const uint8_t*>(source.ScanLine(sy));
        for (int sx = n * x; sx < n * x + n; ++sx)
          for (int ch = 0; ch < 3; ++ch) sum[ch] += in[sx * 3 + ch];
      }
      for (int ch = 0; ch < 3; ++ch) out[x * 3 + ch] = static_cast<uint8_t>(sum[ch] / (n * n));
    }
  }
  TCanvas& canvas = dest.Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(interior);
  canvas.FillRect({c, c, w - c, h - c});
}

void DrawShadowedText(TCanvas& canvas, const std::string& text, TColor shadowColor, bool shadow,
                      UINT flags, RECT rect, bool enabled) {
  std::wstring wide = efir::text::fromAnsi(text);
  HDC dc = canvas.Handle();
  auto draw = [&](TColor color, int offset) {
    RECT r = rect;
    OffsetRect(&r, offset, offset);
    SetTextColor(dc, ColorToRGB(color));
    DrawTextExW(dc, wide.data(), static_cast<int>(wide.size()), &r, flags, nullptr);
  };
  if (enabled) {
    if (shadow) draw(shadowColor, 1);
    draw(canvas.Font().Color(), 0);
  } else {
    draw(clBtnHighlight, 1);
    draw(clBtnShadow, 0);
  }
}

}  // namespace efir::rb

// ---------------------------------------------------------------------------- TRbCustomControl

TRbCustomControl::TRbCustomControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle((ControlStyle() & ~static_cast<TControlStyle>(csDoubleClicks)) | csOpaque);
  SetDoubleBuffered(true);
  SetTabStop(true);
}

TRbCustomControl::~TRbCustomControl() {
  if (styleManager_) styleManager_->UnregisterControl(this);
}

void TRbCustomControl::SetTextShadow(bool value) {
  if (value == textShadow_) return;
  textShadow_ = value;
  Invalidate();
}

void TRbCustomControl::SetShowCaption(bool value) {
  if (value == showCaption_) return;
  showCaption_ = value;
  Invalidate();
}

// Registered with one manager at a time: the old one forgets the control.
void TRbCustomControl::SetRbStyleManager(TRbStyleManager* value) {
  if (value == styleManager_) return;
  if (styleManager_) {
    styleManager_->UnregisterControl(this);
    RemoveFreeNotification(styleManager_);
  }
  styleManager_ = value;
  if (value) {
    value->RegisterControl(this);
    FreeNotification(value);
  }
}

void TRbCustomControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == styleManager_) styleManager_ = nullptr;
}

void TRbCustomControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      EnabledChanged();
      break;
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case CM_FOCUSCHANGED:
      FocusChanged(reinterpret_cast<TControl*>(Message.LParam));
      break;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      break;
    case CM_MOUSEENTER:
      MouseEntered();
      return;
    case CM_MOUSELEAVE:
      MouseLeft();
      return;
    case WM_LBUTTONDOWN:
      FocusOnClick();
      break;
    case WM_LBUTTONUP:
      TCustomControl::WndProc(Message);
      LeftButtonReleased();
      return;
    case WM_MOUSEMOVE:
      TCustomControl::WndProc(Message);
      MouseMoved();
      return;
    case WM_SIZE:
      Resized();
      break;
    case WM_TIMER:
      if (Message.WParam == 1 && FadeTimerEvent) {
        try {
          FadeTimerEvent();
        } catch (...) {
          // A fade step that fails is skipped: the next tick tries again.
        }
      }
      break;
  }
  TCustomControl::WndProc(Message);
}

void TRbCustomControl::FocusOnClick() {
  if (!Focused() && CanFocus()) SetFocus();
}

void TRbCustomControl::MouseEntered() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TRbCustomControl::MouseLeft() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TRbCustomControl::StopFade() {
  if (HandleAllocated()) KillTimer(Handle(), 1);
}

void TRbCustomControl::FadeInStep() {
  if ((FadeState & 3) == 3) {
    if (FadeLevelFast >= 100) {
      FadeLevelFast = 100;
      Invalidate();
      StopFade();
      return;
    }
    FadeLevelFast += 25;
  } else {
    if (FadeLevelFast > 0) FadeLevelFast -= 25;
    FadeLevel = std::min(FadeLevel + 10, 100);
    if (FadeLevelFast <= 0 && FadeLevel >= 100) {
      Invalidate();
      StopFade();
      return;
    }
  }
  Invalidate();
}

void TRbCustomControl::FadeOutStep() {
  if (FadeLevelFast > 0) FadeLevelFast -= 25;
  if (FadeLevel > 0 || FadeLevelFast > 0) {
    FadeLevel -= 10;
  } else {
    FadeLevel = FadeLevelFast = 0;
    StopFade();
  }
  Invalidate();
}

// ---------------------------------------------------------------------------- TRbPanel

TRbPanel::TRbPanel(TComponent* AOwner) : TRbCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csCaptureMouse | csClickEvents |
                  csDoubleClicks);
  SetColor(0xE3DFDF);
  Font().SetColor(0xCE0000);
  panelImage_.SetPixelFormat(pf24bit);
  SetBounds(0, 0, 185, 105);
  RenderPanel();
}

template <class T>
bool TRbPanel::Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

void TRbPanel::SetCaptionPosition(TRbCaptionPos value) {
  TRbCaptionPos old = captionPosition_;
  if (!Store(captionPosition_, value)) return;
  AlignControls();
  if (old == cpGroupBox || value == cpGroupBox) RenderPanel();
  else Invalidate();
}

void TRbPanel::SetCornerWidth(int value) {
  if (value >= 0 && Store(cornerWidth_, value)) RenderPanel();
}

void TRbPanel::SetBorderWidth(int value) {
  if (value <= 0 || !Store(borderWidth_, value)) return;
  AlignControls();
  RenderPanel();
}

void TRbPanel::SetBorderColor(TColor value) {
  if (Store(borderColor_, value)) RenderPanel();
}

void TRbPanel::SetOuterColor(TColor value) {
  if (Store(outerColor_, value)) RenderPanel();
}

void TRbPanel::SetTextShadowColor(TColor value) {
  if (Store(textShadowColor_, value)) Invalidate();
}

void TRbPanel::SetAntialiased(bool value) {
  if (!Store(antialiased_, value)) return;
  if (value) gradient_ = false;
  RenderPanel();
}

void TRbPanel::SetGradient(bool value) {
  if (Store(gradient_, value && !antialiased_)) RenderPanel();
}

// The gradient is part of the rendered face, so its colours render it anew.
void TRbPanel::SetDefaultFrom(TColor value) {
  if (Store(defaultFrom_, value)) RenderPanel();
}

void TRbPanel::SetDefaultTo(TColor value) {
  if (Store(defaultTo_, value)) RenderPanel();
}

void TRbPanel::SetGradientType(TGradientType value) {
  if (Store(gradientType_, value)) RenderPanel();
}

void TRbPanel::WndProc(TMessage& Message) {
  TRbCustomControl::WndProc(Message);
  if (Message.Msg == CM_COLORCHANGED || Message.Msg == CM_FONTCHANGED) RenderPanel();
}

void TRbPanel::ParentColorChanged() {
  if (ParentColor() && Parent()) SetOuterColor(Parent()->Color());
}

void TRbPanel::AdjustClientRect(RECT& Rect) {
  TRbCustomControl::AdjustClientRect(Rect);
  const int side = borderWidth_ + 1;
  if (captionPosition_ != cpGroupBox) {
    InflateRect(&Rect, -side, -side);
    return;
  }
  const int half = CaptionHeight() / 2;
  InflateRect(&Rect, -side, -(half + 2));
  OffsetRect(&Rect, 0, half - 1);
}

void TRbPanel::Loaded() {
  TRbCustomControl::Loaded();
  RenderPanel();
}

void TRbPanel::Resize() {
  RenderPanel();
  TRbCustomControl::Resize();
}

int TRbPanel::CaptionHeight() {
  TCanvas measure;
  efir::gdi::WindowDC screen;
  efir::CanvasBinding bound(measure, screen);
  measure.Font().Assign(Font());
  return measure.TextHeight(Caption().empty() ? std::string("W") : Caption());
}

void TRbPanel::RenderPanel() {
  if (ComponentState() & csLoading) return;
  const int w = Width(), h = Height();
  panelImage_.SetSize(w, h);
  if (w <= 0 || h <= 0) return;
  const int a = antialiased_ ? 3 : 1;
  std::unique_ptr<TBitmap> large;
  if (a == 3) large = std::make_unique<TBitmap>(3 * w, 3 * h, pf24bit);
  TBitmap& work = large ? *large : panelImage_;
  TCanvas& canvas = work.Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(outerColor_);
  canvas.FillRect({0, 0, a * w, a * h});
  const int pen = a * borderWidth_ - 1;
  const int inset = pen / 2;
  const int top = captionPosition_ == cpGroupBox ? inset + (a * CaptionHeight()) / 2 : inset;
  const int corner = a * cornerWidth_;
  canvas.Pen().SetWidth(pen);
  canvas.Pen().SetColor(borderColor_);
  canvas.Brush().SetColor(Color());
  if (gradient_) {
    efir::gdi::Object<HRGN> region(
        CreateRoundRectRgn(inset, top, a * w - inset, a * h - inset, corner, corner));
    efir::rb::GradientFill(work, {0, 0, a * w, a * h}, defaultFrom_, defaultTo_, gradientType_,
                           region.get());
    canvas.Brush().SetStyle(bsClear);
  }
  RoundRect(canvas.Handle(), inset, top, a * w - inset, a * h - inset, corner, corner);
  canvas.Brush().SetStyle(bsSolid);
  if (large) efir::rb::DownscaleBitmap(*large, panelImage_, 3, cornerWidth_ + 20, Color());
  Invalidate();
}

void TRbPanel::Paint() {
  TCanvas& canvas = Canvas();
  const int w = Width(), h = Height();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(outerColor_);
  canvas.FillRect(canvas.ClipRect());
  canvas.Draw(0, 0, panelImage_);
  if (!ShowCaption()) return;
  HDC dc = canvas.Handle();
  if (captionPosition_ != cpGroupBox) SetBkMode(dc, TRANSPARENT);
  const int m = (cornerWidth_ + borderWidth_) / 2;
  RECT r{m, borderWidth_, w - m, h - borderWidth_};
  const int side = (cornerWidth_ - borderWidth_) / 2;
  static const UINT horizontal[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  static const UINT vertical[3] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS;
  if (captionPosition_ == cpGroupBox) {
    r.top = 0;
    if (cornerWidth_ + borderWidth_ < 2) r.left += 5;
  } else {
    int place = captionPosition_ - cpTopLeft;
    flags |= horizontal[place % 3] | vertical[place / 3];
    if (captionPosition_ == cpMiddleLeft) r.left -= side;
    if (captionPosition_ == cpMiddleRight) r.right += side;
  }
  const std::string caption = Caption();
  if (captionPosition_ == cpGroupBox) {
    const int th = canvas.TextHeight(caption.empty() ? std::string("W") : caption);
    const int tw = canvas.TextWidth(caption);
    canvas.Brush().SetColor(outerColor_);
    canvas.FillRect({0, 0, r.right, th / 2 + r.top});
    canvas.FillRect({r.left, th / 2 + r.top, r.left + tw,
                     th / 2 + r.top + std::min(borderWidth_, th / 2)});
    SetBkMode(dc, TRANSPARENT);
  }
  efir::rb::DrawShadowedText(canvas, caption, textShadowColor_, TextShadow(), flags, r,
                             Enabled());
}

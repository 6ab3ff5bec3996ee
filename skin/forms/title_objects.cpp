#include "skin/forms/title_objects.h"

#include "framework/forms.h"
#include "skin/forms/skin_provider.h"

TsTitleButton::TsTitleButton() = default;

TsTitleButton::~TsTitleButton() = default;

void TsTitleButton::SetVisible(bool value) {
  visible_ = value;
  if (Provider) Provider->RepaintNonClient();
}

void TsTitleButton::AssignTo(TsTitleButton& dest) const {
  dest.Enabled = Enabled;
  dest.Glyph.Assign(Glyph);
  dest.Hint = Hint;
  dest.Name = Name;
  dest.UseSkinData = UseSkinData;
  dest.OnMouseDown = OnMouseDown;
  dest.OnMouseUp = OnMouseUp;
}

void TsTitleButton::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TsTitleButton::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

TsTitleButton& TsTitleButtons::Add() {
  items_.push_back(std::make_unique<TsTitleButton>());
  items_.back()->Provider = provider_;
  return *items_.back();
}

void TsTitleButtons::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

TacAddedTitle::TacAddedTitle(TsSkinProvider* provider) : provider_(provider) { font_.SetColor(clNone); }

void TacAddedTitle::SetText(const std::string& value) {
  text_ = value;
  Changed();
}

void TacAddedTitle::Changed() {
  if (provider_ && !(provider_->ComponentState() & csLoading)) provider_->RepaintNonClient();
}

// ---------------------------------------------------------------------------- hints

bool TitleHintFades(size_t hintLength, bool tooltipAnimation, bool tooltipFade) {
  return hintLength < 100 && tooltipAnimation && tooltipFade;
}

bool SystemTooltipsFade(size_t hintLength) {
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  return TitleHintFades(hintLength, animation != FALSE, fade != FALSE);
}

void TsSkinProvider::ShowTitleButtonHint(TsTitleButton& button) {
  button.HintWindow.reset();
  if (button.Hint.empty()) return;
  auto hint = std::make_unique<THintWindow>(nullptr);
  RECT r = hint->CalcHintRect(800, button.Hint);
  POINT cursor{};
  GetCursorPos(&cursor);
  OffsetRect(&r, cursor.x + 8, cursor.y + 16);
  // Kept inside the work area of the form's monitor.
  const RECT area = Form ? Form->MonitorWorkArea() : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (r.right > area.right) OffsetRect(&r, area.right - r.right, 0);
  if (r.bottom > area.bottom) OffsetRect(&r, 0, area.bottom - r.bottom);
  r.bottom += 4;
  if (SystemTooltipsFade(button.Hint.size())) {
    // The system blends the hidden window in; showing it afterwards finds it shown.
    hint->SetText(button.Hint);
    hint->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    SetWindowPos(hint->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    AnimateWindow(hint->Handle(), 200, AW_BLEND);
  }
  hint->ActivateHint(r, button.Hint);
  button.HintWindow = std::move(hint);
}

void TsSkinProvider::HideTitleButtonHint(TsTitleButton& button) { button.HintWindow.reset(); }

#include "widgets/rb_style_manager.h"

#include "widgets/rb_panel.h"
#include "widgets/rb_splitter_face.h"

#include <algorithm>

void TRbCustomColors::Store(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TRbCustomColors::Assign(const TRbCustomColors& source) {
  defaultFrom_ = source.defaultFrom_;
  defaultTo_ = source.defaultTo_;
  overFrom_ = source.overFrom_;
  overTo_ = source.overTo_;
  Changed();
}

void TRbControlColors::SetHotTrack(TColor value) { Repaint(hotTrack_, value); }

void TRbControlColors::SetTextShadow(TColor value) { Repaint(textShadow_, value); }

void TRbControlColors::Repaint(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  if (control_) control_->Invalidate();
}

void TRbControlColors::Assign(const TRbCustomColors& source) {
  if (auto* colors = dynamic_cast<const TRbControlColors*>(&source)) {
    clickedFrom_ = colors->clickedFrom_;
    clickedTo_ = colors->clickedTo_;
    hotTrack_ = colors->hotTrack_;
    borderColor_ = colors->borderColor_;
    textShadow_ = colors->textShadow_;
  }
  TRbCustomColors::Assign(source);
}

void TRbControlColors::Changed() {
  if (control_) control_->RenderControl();
}

void TRbStyleManager::RegisterControl(TRbCustomControl* control) {
  if (std::find(controls_.begin(), controls_.end(), control) == controls_.end())
    controls_.push_back(control);
}

void TRbStyleManager::UnregisterControl(TRbCustomControl* control) {
  if (ComponentState() & csDestroying) return;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void TRbStyleManager::Assign(TRbStyleManager& source) {
  colors_.Assign(source.colors_);
  splitterColors_.Assign(source.splitterColors_);
  showFocusRect_ = source.showFocusRect_;
  hotTrack_ = source.hotTrack_;
  gradientBorder_ = source.gradientBorder_;
  checkColor_ = source.checkColor_;
  font_.Assign(source.font_);
  fadeSpeed_ = source.fadeSpeed_;
  panelColor_ = source.panelColor_;
  borderColor_ = source.borderColor_;
  textShadow_ = source.textShadow_;
}

void TRbSplitterColors::Changed() {
  if (face_) efir::rb::RedrawSplitter(*face_, *this);
}

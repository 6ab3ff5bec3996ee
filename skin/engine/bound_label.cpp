#include "skin/engine/bound_label.h"

#include <algorithm>
#include <utility>

#include "framework/controls.h"
#include "skin/engine/common_data.h"
#include "skin/engine/s_label.h"

namespace {

TAlignment AlignmentOf(TsCaptionLayout layout) {
  switch (layout) {
    case sclTopLeft:
      return taLeftJustify;
    case sclTopCenter:
      return taCenter;
    default:
      return taRightJustify;
  }
}

}  // namespace

TsBoundLabel::TsBoundLabel(TsCommonData& commonData) : commonData_(commonData) {}

TsBoundLabel::~TsBoundLabel() {
  // The label must not call back into a bound label that is going.
  if (TsEditLabel* label = std::exchange(label_, nullptr)) label->Free();
}

void TsBoundLabel::MakeLabel() {
  TControl* control = commonData_.OwnerControl;
  if (!control) return;
  label_ = new TsEditLabel(control, this);
  label_->Hide();
  label_->SetParent(control->Parent());
  label_->SetAlignment(AlignmentOf(layout_));
  label_->SetName(control->Name() + "Label");
  if (caption_.empty()) caption_ = control->Name();
  label_->SetCaption(caption_);
  label_->SetVisible(control->Visible());
  label_->SetEnabled(control->Enabled());
}

void TsBoundLabel::SetActive(bool value) {
  if (value == active_) return;
  if (value) {
    if (!label_) MakeLabel();
    active_ = label_ != nullptr;
    AlignLabel();
  } else {
    if (TsEditLabel* label = label_) label->Free();  // its destructor clears label_
    active_ = false;
  }
}

void TsBoundLabel::LabelFreed() {
  label_ = nullptr;
  active_ = false;
}

void TsBoundLabel::AlignLabel() {
  TControl* f = commonData_.OwnerControl;
  TsEditLabel* l = label_;
  if (!l || !f || !l->Visible()) return;
  l->SetAutoSize(true);
  int left = 0;
  switch (layout_) {
    case sclLeft:
      left = f->Left() - l->Width() - 4 - indent_;
      break;
    case sclTopLeft:
      left = f->Left();
      break;
    case sclTopCenter:
      left = f->Left() + (f->Width() - l->Width()) / 2;
      break;
    case sclTopRight:
      left = f->Left() + f->Width() - l->Width();
      break;
  }
  const int top = layout_ == sclLeft ? f->Top() + (f->Height() - l->Height()) / 2 - 1 : f->Top() - l->Height() - indent_;
  l->SetBounds(left, top, l->Width(), l->Height());
  if (maxWidth_ != 0) {
    l->SetAutoSize(false);
    l->SetWordWrap(true);
    l->SetBounds(l->Left(), l->Top(), maxWidth_, std::max(l->Height(), f->Height()));
  }
}

void TsBoundLabel::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  if (!active_ || !label_) return;
  label_->SetCaption(caption_);
  AlignLabel();
}

void TsBoundLabel::SetIndent(int value) {
  if (value == indent_) return;
  indent_ = value;
  if (active_) AlignLabel();
}

void TsBoundLabel::SetMaxWidth(int value) {
  if (value == maxWidth_) return;
  maxWidth_ = value;
  if (active_) AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
  if (value == layout_) return;
  layout_ = value;
  if (label_) label_->SetAlignment(AlignmentOf(layout_));
  if (active_) AlignLabel();
}

TFont& TsBoundLabel::Font() { return label_ ? label_->Font() : font_; }

void TsBoundLabel::SetFont(const TFont& value) {
  if (label_) {
    label_->Font().Assign(value);
    label_->SetParentFont(false);
  } else {
    font_.Assign(value);
  }
  AlignLabel();
}

bool TsBoundLabel::UseSkinColor() const { return label_ ? label_->UseSkinColor() : true; }

void TsBoundLabel::SetUseSkinColor(bool value) {
  if (label_) label_->SetUseSkinColor(value);
}

void TsBoundLabel::FollowControl(const TMessage& Message, bool blendedWhenDisabled) {
  TControl* control = commonData_.OwnerControl;
  if (!label_ || !control) return;
  switch (Message.Msg) {
    case CM_VISIBLECHANGED:
      label_->SetVisible(control->Visible());
      break;
    case CM_ENABLEDCHANGED:
      label_->SetEnabled(control->Enabled() || !blendedWhenDisabled);
      break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      break;
    default:
      return;
  }
  AlignLabel();
}

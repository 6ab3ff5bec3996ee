// The caption of an edit-like skinned control: switched Active, it puts a TsEditLabel beside
// or above its control (on the control's parent, owned by the control) and keeps it placed
// by Layout, Indent and MaxWidth; the label follows the control's visibility and enabled
// state when made. The control creates one with its own skin data and publishes it as
// BoundLabel.
//
//   BoundLabel = std::make_unique<TsBoundLabel>(*SkinData);
//   edit->BoundLabel->SetCaption("Адрес потока");
//   edit->BoundLabel->SetActive(true);        // "Адрес потока" left of the edit
//
// The label may be freed from elsewhere (with its owner): it then tells the bound label,
// which becomes inactive and never frees it twice.
#pragma once

#include <string>

#include "framework/graphics_objects.h"
#include "framework/messages.h"
#include "skin/engine/skin_constants.h"

class TsCommonData;
class TsEditLabel;

class TsBoundLabel {
 public:
  explicit TsBoundLabel(TsCommonData& commonData);
  ~TsBoundLabel();
  TsBoundLabel(const TsBoundLabel&) = delete;
  TsBoundLabel& operator=(const TsBoundLabel&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool value);
  // Empty: the label shows the control's name.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  // Extra distance between label and control.
  int Indent() const { return indent_; }
  void SetIndent(int value);
  TsCaptionLayout Layout() const { return layout_; }
  void SetLayout(TsCaptionLayout value);
  // 0: the label takes the size of its text; else its width, with word wrap.
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  // The label's font while it exists, else the bound label's own.
  TFont& Font();
  void SetFont(const TFont& value);
  // True while no label exists; set, it reaches only an existing label.
  bool UseSkinColor() const;
  void SetUseSkinColor(bool value);

  TsEditLabel* TheLabel() const { return label_; }
  // Places the visible label by Layout, Indent and MaxWidth.
  void AlignLabel();
  // After the control handled Message: the label follows its visibility, enabled state
  // (enabled while the control is, or when the control's disabled look is not blended),
  // size and place.
  void FollowControl(const TMessage& Message, bool blendedWhenDisabled);
  // Called by the label's destructor.
  void LabelFreed();

 private:
  void MakeLabel();

  int maxWidth_ = 0;
  std::string caption_;
  TsCaptionLayout layout_ = sclLeft;
  TFont font_;
  int indent_ = 0;
  bool active_ = false;
  TsEditLabel* label_ = nullptr;
  TsCommonData& commonData_;
};

// The skinned check box of the settings windows. With an active skin it paints itself from
// an off-screen image (its TsCommonData cache): the parent's background, the skin section
// ("CHECKBOX" unless SkinSection is set), the caption and a check glyph: frames of an image
// list's entries, of the box's own two glyph bitmaps, or else the skin's. Without a skin it
// is the framework's check box, apart from ReadOnly. With AutoSize (the default) its size
// follows glyph and caption.
//
//   auto* box = new TsCheckBox(form);
//   box->SetCaption("История композиций");
//   box->OnClick = ...;          // raised by the user's toggle and by SetChecked in code
//   box->SetChecked(true);
//   box->GlyphChecked().LoadFromFile("on.bmp");   // 3 frames (normal, hot, pressed) side by
//                                                 // side above their mask; magenta is clear
#pragma once

#include <memory>

#include "framework/stdctrls.h"
#include "skin/engine/alpha_image_list.h"
#include "skin/engine/skinned_control.h"

class TsCheckBox : public TsSkinnedControl<TCheckBox> {
 public:
  explicit TsCheckBox(TComponent* AOwner);

  // Raises OnClick on a change, as the framework's check box does, and repaints the skin.
  void SetState(TCheckBoxState value) override;
  void Loaded() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Glyphs of three frames side by side in the upper half, their mask in the lower half.
  // An empty GlyphUnChecked shows no glyph for an unchecked box while GlyphChecked is set.
  TBitmap& GlyphChecked() { return glyphChecked_; }
  TBitmap& GlyphUnChecked() { return glyphUnChecked_; }
  // Call after changing a glyph bitmap in place.
  void GlyphsChanged();
  // Entries of three frames each (not owned); used when both indexes are at least 0.
  TsAlphaImageList* Images() const { return images_; }
  void SetImages(TsAlphaImageList* value);
  int ImgChecked() const { return imgChecked_; }
  void SetImgChecked(int value);
  int ImgUnchecked() const { return imgUnchecked_; }
  void SetImgUnchecked(int value);

  int Margin() const { return margin_; }
  void SetMargin(int value);
  int TextIndent() const { return textIndent_; }
  void SetTextIndent(int value);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  // The user cannot change the state; code still can.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // taRightJustify: the glyph on the left and the caption on its right; taLeftJustify the
  // other way round.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // A mouse button or the space key is down on the control.
  bool IsDown() const { return isDown_; }

  // Where the glyph goes, in the control's coordinates.
  RECT GlyphRect();
  // Takes the size glyph and caption need (the framework's box size without a skin).
  void AdjustSize();
  // 2 while the user holds it down, 1 hot (never for a read-only box: it would promise a
  // change the user cannot make), else 0.
  int CurrentState() override;
  void PrepareCache() override;
  void WndProc(TMessage& Message) override;

 protected:
  void SkinChanged(WORD subCommand) override;
  bool SkinnedMessage(TMessage& Message) override;
  bool UnskinnedMessage(TMessage& Message) override;
  // The user's click: the new look fades in.
  void Toggle() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  enum class GlyphMode { ImageList, Custom, Skin };
  GlyphMode Mode() const;
  // One frame's size in the current mode; {0, 0} for the skin's without its picture.
  SIZE GlyphSize();
  // Frame k of a glyph of frames w x h: 2 held down, 1 hot, else 0.
  RECT GlyphFrameRect(SIZE frame);
  void PaintImageListGlyph(const RECT& at);
  void PaintCustomGlyph(const RECT& at);
  void PaintSkinGlyph(const RECT& at);
  bool GlyphOnLeft() const { return alignment_ != taLeftJustify; }
  bool Hot() { return !readOnly_ && SkinData->HotState(); }
  // The GLOBALINFO picture for the current state; -1 when the skin has none.
  int SkinGlyphIndex(const char* name);
  void PaintCaption();
  void PaintGlyph();

  int margin_ = 2;
  int textIndent_ = 0;
  bool showFocus_ = true;
  bool readOnly_ = false;
  bool wordWrap_ = false;
  bool isDown_ = false;
  TAlignment alignment_ = taRightJustify;
  bool autoSize_ = true;
  TBitmap glyphChecked_, glyphUnChecked_;
  TsAlphaImageList* images_ = nullptr;
  int imgChecked_ = 0, imgUnchecked_ = 0;
};

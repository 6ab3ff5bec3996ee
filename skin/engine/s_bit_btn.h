// The skinned glyph button of the programs' windows ("По умолчанию", play, stop, record).
// With an active skin it paints itself from an off-screen image: the parent's background, the
// skin section ("BUTTON" for its control kind) with its frame for the normal, hot and pressed
// looks, the caption and the glyph placed by Layout, Alignment, Margin and Spacing, and a
// window shape cut to the frame's transparent corners. Without a skin a 32-bit glyph or an
// image-list glyph is drawn by the button itself over a plain button face; other buttons are
// the framework's glyph button.
//
//   auto* play = new TsBitBtn(form);
//   play->Glyph().LoadFromFile(folder + "play.png");   // NumGlyphs frames side by side
//   play->SetCaption("Играть");
//   play->SetLayout(blGlyphTop);
//   play->OnClick = ...;
#pragma once

#include <functional>

#include "framework/stdctrls.h"
#include "skin/engine/alpha_image_list.h"
#include "skin/engine/bit_btn_layout.h"
#include "skin/engine/skinned_button.h"

class TsBitBtn;

// Called with the rebuilt image, before it is shown.
using TBmpPaintEvent = std::function<void(TObject* sender, TBitmap* bitmap)>;

class TsBitBtn : public TsSkinnedButton<TBitBtn> {
 public:
  explicit TsBitBtn(TComponent* AOwner);

  // Where the glyph-and-caption block sits in the left and right layouts.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { SetAndShow(alignment_, value); }
  // The caption text's own alignment inside its rectangle.
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment value) { SetAndShow(textAlignment_, value); }
  // How far the glyph at rest fades into the button, in percent (0..100).
  int Blend() const { return blend_; }
  void SetBlend(int value);
  // The glyph at rest is grey.
  bool Grayed() const { return grayed_; }
  void SetGrayed(bool value) { SetAndShow(grayed_, value); }
  // The glyph is mirrored below itself, raised by a sixth of its width.
  bool Reflected() const { return reflected_; }
  void SetReflected(bool value) { SetAndShow(reflected_, value); }
  TsDisabledGlyphKind DisabledGlyphKind() const { return disabledGlyphKind_; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind value) { SetAndShow(disabledGlyphKind_, value); }
  // The glyph from an image list (not owned); it wins over Glyph while ImageIndex is inside it.
  TsAlphaImageList* Images() const { return images_; }
  void SetImages(TsAlphaImageList* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value) { SetAndShow(showCaption_, value); }
  // Glyph and caption are painted over the frame (else the frame over them).
  bool DrawOverBorder() const { return drawOverBorder_; }
  void SetDrawOverBorder(bool value) { SetAndShow(drawOverBorder_, value); }
  // Kept for stored layouts; it does not move the caption.
  int TextOffset() const { return textOffset_; }
  void SetTextOffset(int value) { SetAndShow(textOffset_, value); }

  TBmpPaintEvent OnPaint;

  // The image list supplies the glyph.
  bool UsesImageList() const;
  // The placement inputs as they stand, the caption measured in the button's font.
  BitBtnMeasures Measures();
  // The glyph frame's rectangle in the look of `state`.
  RECT GlyphRect(int state) { return BitBtnGlyphRect(Measures(), state, reflected_); }
  // The caption's rectangle in the look of `state`.
  RECT CaptionRect(int state);

  void PrepareCache() override;
  // Draws the glyph for `state` onto `target` (24-bit): the button's image with a skin, a
  // plain button face without.
  void PaintButtonGlyph(TBitmap* target, int state, bool skinned);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool OwnerDrawn() override;
  void DrawUnskinned(const DRAWITEMSTRUCT& item) override;
  void LayoutChanged() override { InvalidateLook(); }

 private:
  void InvalidateLook();
  // An image-list or 32-bit glyph is drawn by the button itself, skinned or not: the window
  // is made again when that changes.
  void FollowOwnerDrawing();
  UINT CaptionFormat() const;
  void PaintCaption(TBitmap* target, int state, bool skinned);
  void PaintFrame(int state);
  void PaintFace(int state);
  TBitmap* GlyphBitmap() const;
  // A glyph of one 32-bit frame, drawn through its own alpha.
  void PaintAlphaGlyph(TBitmap* target, const TBitmap& glyph, const RECT& at, int state, bool skinned);

  TAlignment alignment_ = taCenter;
  TAlignment textAlignment_ = taCenter;
  int blend_ = 0;
  bool grayed_ = false;
  bool reflected_ = false;
  TsDisabledGlyphKind disabledGlyphKind_ = dgBlended;
  TsAlphaImageList* images_ = nullptr;
  int imageIndex_ = -1;
  bool showCaption_ = true;
  bool drawOverBorder_ = true;
  int textOffset_ = 0;
};

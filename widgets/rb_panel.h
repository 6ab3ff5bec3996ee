// The styled panel of both programs' dialogs: a container drawn as a rounded rectangle with a
// border, an optional gradient face and a caption at one of ten places. The face is rendered
// once into PanelImage whenever a drawing property changes (at three times the size and
// averaged down along the edges with Antialiased, so corners and border come out smooth);
// painting only copies it and draws the caption.
//
//   RbPanel1 = new TRbPanel(this);
//   RbPanel1->SetParent(this);
//   RbPanel1->SetBounds(10, 98, 422, 94);
//   RbPanel1->SetColor(kPanelColor);
//   RbPanel1->SetCornerWidth(10);
//   RbPanel1->SetBorderWidth(2);
//
// TRbCustomControl is the base of the styled controls: caption shadow, style manager link,
// and the re-rendering a colour set asks for (rb_style_manager.h).
#pragma once

#include "framework/bitmap.h"
#include "framework/controls.h"

#include <cstdint>
#include <functional>
#include <string>

class TRbStyleManager;

class TRbCustomControl : public TCustomControl {
 public:
  explicit TRbCustomControl(TComponent* AOwner);
  ~TRbCustomControl() override;

  bool TextShadow() const { return textShadow_; }
  void SetTextShadow(bool value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  TRbStyleManager* RbStyleManager() const { return styleManager_; }
  void SetRbStyleManager(TRbStyleManager* value);

  // Draws the control's look anew (after a change of its colours).
  virtual void RenderControl() {}
  std::string About() const { return "RbControls: styled panels, labels and buttons"; }

  void WndProc(TMessage& Message) override;

  // The fade of animated controls: levels 0..100, both state bits set for a fast fade in.
  // Nothing in this system starts the fade timer (window timer 1), so these never run here.
  int FadeLevel = 0;
  int FadeLevelFast = 0;
  uint8_t FadeState = 0;
  std::function<void()> FadeTimerEvent;
  virtual void FadeOutStep();
  virtual void FadeInStep();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // The library's hooks, each called on the event it is named after.
  virtual void EnabledChanged() { Invalidate(); }
  virtual void FocusChanged(TControl*) {}
  // A left press takes the focus.
  virtual void FocusOnClick();
  virtual void LeftButtonReleased() {}
  virtual void MouseEntered();
  virtual void MouseLeft();
  virtual void MouseMoved() {}
  virtual void ParentColorChanged() {}
  virtual void Resized() {}

 private:
  void StopFade();

  bool textShadow_ = true;
  bool showCaption_ = true;
  TRbStyleManager* styleManager_ = nullptr;
};

enum TRbCaptionPos {
  cpGroupBox, cpTopLeft, cpTopCenter, cpTopRight, cpMiddleLeft, cpMiddleCenter,
  cpMiddleRight, cpBottomLeft, cpBottomCenter, cpBottomRight
};

enum TGradientType {
  gtHorizontal, gtVertical, gtFromTopLeft, gtFromTopRight, gtRadial, gtDoubleHorz, gtDoubleVert
};

class TRbPanel : public TRbCustomControl {
 public:
  explicit TRbPanel(TComponent* AOwner);

  TRbCaptionPos CaptionPosition() const { return captionPosition_; }
  void SetCaptionPosition(TRbCaptionPos value);
  // Diameter of the corner rounding; negative values are ignored.
  int CornerWidth() const { return cornerWidth_; }
  void SetCornerWidth(int value);
  // The name the dialogs' layouts were first written with: the same setting.
  void SetCornerRadius(int value) { SetCornerWidth(value); }
  // Thickness of the border; values below 1 are ignored.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value);
  // The colour around the rounded corners.
  TColor OuterColor() const { return outerColor_; }
  void SetOuterColor(TColor value);
  TColor TextShadowColor() const { return textShadowColor_; }
  void SetTextShadowColor(TColor value);
  // Smooth edges; switches Gradient off.
  bool Antialiased() const { return antialiased_; }
  void SetAntialiased(bool value);
  // A gradient face from DefaultFrom to DefaultTo; stays off while Antialiased.
  bool Gradient() const { return gradient_; }
  void SetGradient(bool value);
  TColor DefaultFrom() const { return defaultFrom_; }
  void SetDefaultFrom(TColor value);
  TColor DefaultTo() const { return defaultTo_; }
  void SetDefaultTo(TColor value);
  TGradientType GradientType() const { return gradientType_; }
  void SetGradientType(TGradientType value);

  // The rendered face, the control's size.
  const TBitmap& PanelImage() const { return panelImage_; }
  void RenderControl() override { RenderPanel(); }

  void WndProc(TMessage& Message) override;

 protected:
  void Loaded() override;
  void Resize() override;
  void Paint() override;
  // Aligned children stay inside the border and below a group-box caption.
  void AdjustClientRect(RECT& Rect) override;
  // The colour around the corners is the parent's, with ParentColor.
  void ParentColorChanged() override;

 private:
  void RenderPanel();
  template <class T>
  bool Store(T& field, T value);
  int CaptionHeight();

  TRbCaptionPos captionPosition_ = cpTopLeft;
  int cornerWidth_ = 10;
  int borderWidth_ = 2;
  TColor borderColor_ = 0x808080;
  TColor outerColor_ = clBtnFace;
  TColor textShadowColor_ = 0xFFFFFF;
  bool antialiased_ = true;
  bool gradient_ = false;
  TColor defaultFrom_ = 0xFFFFFF;
  TColor defaultTo_ = 0xE3DFDF;
  TGradientType gradientType_ = gtVertical;
  TBitmap panelImage_;
};

namespace efir::rb {

// Fills `rect` of a 24-bit bitmap with a gradient from `from` to `to`, only inside `region`
// when one is given.
void GradientFill(TBitmap& bitmap, const RECT& rect, TColor from, TColor to, TGradientType type,
                  HRGN region = nullptr);
// Averages `factor` × `factor` blocks of the 24-bit `source` into the 24-bit `dest` along a
// band of half `band` pixels at its edges, and fills the inside with `interior`.
void DownscaleBitmap(TBitmap& source, TBitmap& dest, int factor, int band, TColor interior);
// Draws the text in `rect` (DrawTextEx `flags`): enabled, over a shadow one pixel down and
// right when `shadow`; disabled, engraved.
void DrawShadowedText(TCanvas& canvas, const std::string& text, TColor shadowColor, bool shadow,
                      UINT flags, RECT rect, bool enabled);

}  // namespace efir::rb

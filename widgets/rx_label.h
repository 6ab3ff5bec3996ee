// A label that draws its text twice: a shadow copy shifted by ShadowSize pixels towards
// ShadowPos in ShadowColor, then the text itself. It sizes itself to its text (AutoSize, on by
// default; the shadow included) and raises OnMouseEnter and OnMouseLeave only while enabled
// and while one of the program's own windows is active; a leave while the left button is
// held on the label waits for the release.
//
//   RxLabel7 = new TRxLabel(this);
//   RxLabel7->SetParent(this);
//   RxLabel7->SetTransparent(true);
//   RxLabel7->SetShadowColor(clWhite);
//   RxLabel7->SetShadowPos(spRightTop);
//   RxLabel7->OnMouseEnter = [this](TObject* s) { RxLabel7MouseEnter(s); };
#pragma once

#include "framework/stdctrls.h"

#include <cstdint>

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TRxCustomLabel : public TGraphicControl {
 public:
  explicit TRxCustomLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor value);
  uint8_t ShadowSize() const { return shadowSize_; }
  void SetShadowSize(uint8_t value);
  TShadowPosition ShadowPos() const { return shadowPos_; }
  void SetShadowPos(TShadowPosition value);
  // Off: "&" is shown as it stands instead of underlining the next character.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  // Draws a focus rectangle while FocusControl has the focus.
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  bool Transparent() const { return !(ControlStyle() & csOpaque); }
  void SetTransparent(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  bool MouseInside() const { return mouseInside_; }

  void WndProc(TMessage& Message) override;

 protected:
  virtual TColor TextColor() { return Font().Color(); }
  virtual std::string LabelText() { return Caption(); }
  virtual void RaiseMouseEnter();
  virtual void RaiseMouseLeave();
  void Paint() override;
  void TextChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Draws (or with DT_CALCRECT measures, shadow included) the text in `rect` on `dc`.
  void DrawLabelText(HDC dc, RECT& rect, UINT flags);
  void FitLabelSize();
  void UpdateMouseInside();
  // The caption's accelerator is `key` (the character after a single "&", either case).
  bool IsAccelerator(wchar_t key);
  void DialogChar(TMessage& Message);

  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  TTextLayout layout_ = tlTop;
  TColor shadowColor_ = clBtnHighlight;
  uint8_t shadowSize_ = 1;
  TShadowPosition shadowPos_ = spLeftTop;
  bool showAccelChar_ = true;
  bool showFocus_ = false;
  TWinControl* focusControl_ = nullptr;
  bool wordWrap_ = false;
  bool mouseInside_ = false;
  bool dragging_ = false;
  bool focused_ = false;  // FocusControl has the focus
};

// The library's cursors: a hand and a dragging hand.
constexpr TCursor crRxHand = 14000, crRxDrag = 14001;

class TRxLabel : public TRxCustomLabel {
 public:
  using TRxCustomLabel::TRxCustomLabel;
};

namespace efir {

// Draws `text` in `rect` twice: first in `shadowColor` moved by `size` pixels towards
// `direction`, then in the DC's text colour. With DT_CALCRECT `rect` becomes the extent of
// both. Returns the text height plus the shadow size (0 when nothing was drawn).
int DrawTextWithShadow(HDC dc, std::wstring_view text, TShadowPosition direction,
                       COLORREF shadowColor, int size, UINT flags, RECT& rect);

// Whether one of this thread's windows is the active window.
bool OwnWindowActive();

}  // namespace efir

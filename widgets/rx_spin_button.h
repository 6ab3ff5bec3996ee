// A small button split along its diagonal: pressing the upper-left half raises OnTopClick,
// the lower-right half OnBottomClick, at once and then again after 400 ms and every 100 ms
// while the button stays pressed on that half. Moving the pointer off the pressed half pauses
// the repeat until it comes back.
//
//   RxSpinButton1 = new TRxSpinButton(this);
//   RxSpinButton1->SetParent(this);
//   RxSpinButton1->SetBounds(58, 464, 30, 30);
//   RxSpinButton1->OnTopClick = [this](TObject* s) { RxSpinButton1TopClick(s); };
#pragma once

#include "framework/bitmap.h"
#include "framework/controls.h"

#include <functional>
#include <memory>

class TTimer;

enum TSpinHalf { shNone, shUpper, shLower };

class TRxSpinButton : public TGraphicControl {
 public:
  explicit TRxSpinButton(TComponent* AOwner);
  ~TRxSpinButton() override;

  // The arrows; drawn with their bottom-left pixel's colour left out. Setting nullptr
  // brings back the default arrow.
  TBitmap& UpGlyph() { return *upGlyph_; }
  void SetUpGlyph(const TBitmap* value);
  TBitmap& DownGlyph() { return *downGlyph_; }
  void SetDownGlyph(const TBitmap* value);
  // Takes the focus when a half is pressed.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

  // Paints a face's background over the whole bitmap in one state (0 at rest, 2 pressed),
  // for an owner that skins its windows; the widget cuts the pressed half out of the pressed
  // picture and draws the diagonal and the glyphs on top. Unset, the face takes the system's
  // button colours.
  using FacePainter = std::function<void(TBitmap& face, int state)>;
  void SetFacePainter(FacePainter painter);

  // The face shown: the half pressed now, or none.
  TSpinHalf PressedHalf() const { return pressedHalf_; }

  TNotifyEvent OnTopClick;
  TNotifyEvent OnBottomClick;

  void WndProc(TMessage& Message) override;

 protected:
  virtual void TopClick();
  virtual void BottomClick();
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Whether the left button still holds the mouse on the control: the repeat raises events
  // only then.
  virtual bool HoldsMouse() { return MouseCapture(); }
  // One tick of the repeat: every 100 ms after the first, 400 ms after the press.
  void RepeatTimerTick();
  // The repeat timer's interval while it runs, else 0.
  unsigned RepeatInterval() const;

 private:
  TSpinHalf HalfAt(int X, int Y);
  void ShowHalf(TSpinHalf half);
  void ClickHalf(TSpinHalf half);
  void AfterClick();
  void GlyphChanged();
  void DrawFace(TBitmap& face, TSpinHalf kind);
  void DrawPaintedFace(TBitmap& face, TSpinHalf kind);
  void DrawGlyphs(TCanvas& c, TSpinHalf kind);

  std::unique_ptr<TBitmap> upGlyph_, downGlyph_;
  TBitmap faces_[3];  // by TSpinHalf: normal, upper pressed, lower pressed
  bool facesStale_ = true;
  TSpinHalf pressedHalf_ = shNone;
  TSpinHalf lastPressedHalf_ = shNone;
  bool dragging_ = false;
  std::unique_ptr<TTimer> repeatTimer_;
  TWinControl* focusControl_ = nullptr;
  FacePainter facePainter_;
};

namespace efir::spin {

// Whether (x, y) of a control w × h lies below the diagonal from its bottom-left corner to
// its top-right corner (the diagonal itself belongs to the upper half).
bool OnLowerHalf(int x, int y, int w, int h);

// The default arrows: 6 × 6, black on white.
std::unique_ptr<TBitmap> DefaultGlyph(bool up);

}  // namespace efir::spin

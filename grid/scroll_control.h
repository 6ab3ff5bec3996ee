// Scrolling for the grid: one scroll-bar model per direction that keeps range, page and
// position and mirrors them into the window's standard scroll bars, and a control base that
// moves its window contents by the pixel distance a descendant computes for a position change.
//
//   class TMyList : public TNxScrollControl {
//     int VertScrollDelta(int OldPos, int NewPos) override { return (OldPos - NewPos) * 16; }
//   };
//   list->VertScrollBar().SetMax(100);      // positions run 0 .. Max - PageSize + 1
//   list->VertScrollBar().SetPageSize(10);
//   list->VertScrollBar().MoveBy(5);        // scrolls the window by -80 pixels
//
// Every way of moving a position (code, scroll messages, the wheel) ends at the same clamp,
// so no position ever shows less than a full last page.
#pragma once

#include <functional>

#include "framework/controls.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"

class TNxCustomScrollControl;
class TNxScrollControl;
class TRollShadow;

// What the last scroll message did.
enum TScrollKind { skNone, skLine, skPage, skThumb, skEnds };

class TNxCustomScrollBar {
 public:
  TNxCustomScrollBar(TNxCustomScrollControl* Owner, TScrollBarKind Kind);
  virtual ~TNxCustomScrollBar() = default;
  TNxCustomScrollBar(const TNxCustomScrollBar&) = delete;
  TNxCustomScrollBar& operator=(const TNxCustomScrollBar&) = delete;

  TNxCustomScrollControl* Owner() const { return FOwner; }
  TScrollBarKind Kind() const { return FKind; }
  // The id of the window's bar in system calls (SB_HORZ, SB_VERT).
  int BarId() const { return FKind == sbHorizontal ? SB_HORZ : SB_VERT; }

  bool AutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value);
  // When set, a position change does not move the window contents.
  bool ManualScroll() const { return FManualScroll; }
  void SetManualScroll(bool Value) { FManualScroll = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Min() const { return FMin; }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int OldPosition() const { return FOldPosition; }
  // The largest position: the one that shows the last full page.
  int LastPosition() const;
  TScrollKind LastScrollKind() const { return FLastScrollKind; }
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value) { FVisible = Value; }

  // While updating, position changes do not move the window contents.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { --FUpdateCount; }
  bool Updating() const { return FUpdateCount > 0; }

  void First() { SetPosition(0); }
  void Last() { SetPosition(LastPosition()); }
  void MoveBy(int Delta) { SetPosition(FPosition + Delta); }
  // Line and page steps go through the owner's scroll message, as the user's clicks do.
  void StepForward();
  void StepBack();
  virtual void PageForward();
  virtual void PageBack();
  bool AtEnd() const { return FMax < FPosition + FPageSize; }
  bool AtStart() const { return FPosition == 0; }
  bool NeedsBar() const { return !(FPageSize >= FMax && FAutoHide); }
  // Where the user drags the window bar's thumb; 0 without a window.
  int TrackPosition() const;

  // Mirrors the model into the window's bar.
  virtual void Update() {}

  // A scroll message's code (SB_LINEUP ... SB_BOTTOM, SB_ENDSCROLL): the new position,
  // clamped; the kind of step is remembered.
  void Scroll(int Code);

 protected:
  void SendScroll(int Code);
  void RangeChanged();

  TNxCustomScrollControl* const FOwner;
  const TScrollBarKind FKind;
  bool FAutoHide = true;
  bool FManualScroll = false;
  bool FEnabled = true;
  int FLargeChange = 1;
  int FSmallChange = 1;
  int FMax = 0;
  int FMin = 0;
  int FOldPosition = 0;
  int FPageSize = 1;
  int FPosition = 0;
  TScrollKind FLastScrollKind = skNone;
  int FUpdateCount = 0;
  bool FVisible = false;
  bool FInUpdate = false;
  // The position the user last saw: the window bar's, or without one the model's at its
  // last update.
  int FShownPosition = 0;
};

class TNxScrollBar : public TNxCustomScrollBar {
 public:
  using TNxCustomScrollBar::TNxCustomScrollBar;
  void SetVisible(bool Value) override;
  void Update() override;
};

class TNxCustomScrollControl : public TCustomControl {
 public:
  explicit TNxCustomScrollControl(TComponent* AOwner);

  // Pixels the contents move when a position changes from OldPos to NewPos (0 here).
  virtual int HorzScrollDelta(int OldPos, int NewPos);
  virtual int VertScrollDelta(int OldPos, int NewPos);
  virtual void AfterScroll(TScrollBarKind Kind);
  virtual void BeforeScroll(TScrollBarKind Kind);
  virtual void ScrollContent(TNxCustomScrollBar& Bar, int DX, int DY);

  // Tab and Shift+Tab to the parent window: the focus moves on.
  void FocusNextControl();
  void FocusPreviousControl();
  void FocusSelf();

  // Whether the window shows scroll bars of its own (the default). Without them the models
  // keep scrolling by code, keys and the wheel and still raise the scroll events, so that a
  // scroll bar elsewhere on the form can follow and drive the control.
  bool WindowScrollBars() const { return FWindowScrollBars; }
  void SetWindowScrollBars(bool Value);

 protected:
  // The parts of the client area that move with each scroll bar.
  virtual RECT HorzScrollArea();
  virtual RECT VertScrollArea();

 private:
  bool FWindowScrollBars = true;
};

// Middle-button roll scrolling: the screen cursors it shows, and the step it takes for a
// cursor `dy` pixels below (positive) or above (negative) the point where the button went
// down: no step within 5 pixels, else one line each 100 - |dy| milliseconds (at least 1).
constexpr TCursor crRoll = 4003, crRollUp = 4004, crRollDown = 4005;
enum TRollDirection { rdNone, rdUp, rdDown };
namespace grid {
TRollDirection RollDirection(int dy);
unsigned RollInterval(int dy);
}  // namespace grid

using TScrollPositionEvent = std::function<void(TObject* Sender, int Position)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, POINT MousePos, bool& Handled)>;

class TNxScrollControl : public TNxCustomScrollControl {
 public:
  explicit TNxScrollControl(TComponent* AOwner);
  ~TNxScrollControl() override;

  TNxScrollBar& HorzScrollBar() { return FHorzScrollBar; }
  TNxScrollBar& VertScrollBar() { return FVertScrollBar; }
  TNxScrollBar& ScrollBarOf(TScrollBarKind Kind) {
    return Kind == sbHorizontal ? FHorzScrollBar : FVertScrollBar;
  }

  bool MouseWheelEnabled() const { return FMouseWheelEnabled; }
  void SetMouseWheelEnabled(bool Value) { FMouseWheelEnabled = Value; }

  TScrollPositionEvent OnHorizontalScroll;
  TScrollPositionEvent OnVerticalScroll;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;

  // The marker at the roll origin, shown while rolling.
  TRollShadow* RollShadow() const { return FRollShadow; }

  void DoScroll(TScrollBarKind Kind, int Position);
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The wheel turned by Delta (WHEEL_DELTA a notch, positive away from the user); answers
  // whether it was handled. Without MouseWheelEnabled the wheel events decide.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool Rolling() const { return FRolling; }
  void RollTick();

 private:
  void ScrollMessage(TScrollBarKind Kind, TMessage& Message);

  TNxScrollBar FHorzScrollBar{this, sbHorizontal};
  TNxScrollBar FVertScrollBar{this, sbVertical};
  bool FMouseWheelEnabled = true;
  TTimer* FRollTimer;
  TRollShadow* FRollShadow;
  bool FRollScrolling = true;  // the roll option: rolling on the middle button
  bool FRolling = false;
  POINT FRollOrigin{0, 0};
  TRollDirection FRollDirection = rdNone;
};

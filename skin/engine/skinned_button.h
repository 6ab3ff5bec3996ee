// What the skinned push button and the skinned glyph button do alike: the system button turns
// owner-drawn while the skin paints it (so that it never draws its own face over the skin's),
// the pressed, hot and normal looks with fades on press and release, Down, the dotted focus
// rectangle round the caption, and the window shape cut to the section frame's transparent
// corners.
//
//   class TsButton : public TsSkinnedButton<TButton> {
//     void PrepareCache() override {
//       CacheSourceInfo behind;
//       TBitmap* cache = BeginCache(behind);
//       const int state = CurrentState();
//       ...the section for state into cache...
//       CutRegion(state);            // the shape the window takes at its next paint
//       ...caption (PaintFocus round it)...
//       FinishCache();
//     }
//   };
#pragma once

#include "framework/application.h"
#include "framework/gdi.h"
#include "skin/engine/borders.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_constants.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_control.h"
#include "skin/engine/textures.h"

// How long a quick click keeps its pressed look on screen before the release fades it out;
// tests put in a pause of their own to look at the screen meanwhile.
inline void (*PressedFlashPause)() = [] { Sleep(30); };

template <class Base>
class TsSkinnedButton : public TsSkinnedControl<Base> {
 public:
  using TsSkinnedControl<Base>::TsSkinnedControl;

  // Drawn pressed without being pressed.
  bool Down() const { return down_; }
  void SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    this->Changed();
  }
  // The dotted rectangle round the caption of the focused button (the section must want it too).
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value) { SetAndShow(showFocus_, value); }
  // Pixels between the caption and its focus rectangle.
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int value) { focusMargin_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { SetAndShow(wordWrap_, value); }

  // 2 pressed (Down, or pushed by the mouse or the keyboard; a press dragged off the button
  // while the left mouse button is held shows it released), 1 hot (the active button, the
  // mouse over it, or focused), else 0.
  int CurrentState() override {
    if (down_ || ((Pushed() || ButtonPressedPaint) && (this->SkinData->MouseOver || !LeftButtonHeld()))) return 2;
    return IsActive() || this->SkinData->HotState() ? 1 : 0;
  }
  // The button Enter would press: the focused button, else the form's Default button while no
  // other button has the focus.
  bool IsActive() const { return focusedButton_ == kThis || (focusedButton_ == kNone && this->Default()); }

  void WndProc(TMessage& Message) override {
    if (Message.Msg == BM_SETSTYLE && OwnerDrawn())
      Message.WParam = (Message.WParam & ~static_cast<WPARAM>(kButtonTypeMask)) | BS_OWNERDRAW;
    if (Message.Msg == CN_DRAWITEM && !this->Skinned() && OwnerDrawn()) {
      DrawUnskinned(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    }
    if (Message.Msg == WM_LBUTTONDOWN && this->Skinned() && this->Enabled()) {
      // A hint that popped up during the press's repaint would stand over the pressed look.
      HintsOffForPress();
      TsSkinnedControl<Base>::WndProc(Message);
      RestoreHints();
      return;
    }
    if (Message.Msg == WM_LBUTTONUP && this->Skinned()) RestoreHints();
    if (Message.Msg == CM_FOCUSCHANGED) FocusMoved(reinterpret_cast<TControl*>(Message.LParam));
    TsSkinnedControl<Base>::WndProc(Message);
  }

 protected:
  // Stores a look property and shows the change.
  template <class T>
  void SetAndShow(T& field, T value) {
    if (field == value) return;
    field = value;
    this->SkinData->InvalidateOwner();
  }

  // The system button draws nothing itself while this is true.
  virtual bool OwnerDrawn() { return this->Skinned(); }
  // Paints the owner-drawn button while no skin is active.
  virtual void DrawUnskinned(const DRAWITEMSTRUCT& /*item*/) {}

  void CreateParams(TCreateParams& Params) override {
    Base::CreateParams(Params);
    if (OwnerDrawn()) Params.Style = (Params.Style & ~kButtonTypeMask) | BS_OWNERDRAW;
  }
  // Gives the window the button type that fits.
  void UpdateButtonType() {
    // Owner drawn, the message is turned into owner drawing on its way (WndProc).
    if (this->HandleAllocated())
      SendMessageW(this->Handle(), BM_SETSTYLE, this->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }

  void SkinChanged(WORD subCommand) override {
    UpdateButtonType();
    if (subCommand == SKC_REMOVESKIN && this->HandleAllocated()) SetWindowRgn(this->Handle(), nullptr, TRUE);
    region_.reset();
  }

  bool SkinnedMessage(TMessage& Message) override {
    switch (Message.Msg) {
      case BM_SETSTYLE:
        Base::WndProc(Message);
        this->Changed();
        return true;
      // The system button goes down and up by the mouse and the space key through this.
      case BM_SETSTATE: {
        // A release that comes before the press has faded in would never show the press.
        const bool quickRelease = !Message.WParam && this->FadeRunning();
        Base::WndProc(Message);
        if (quickRelease) FlashPressed();
        this->RepaintFaded(Message.WParam ? aeMouseDown : aeMouseUp, true);
        return true;
      }
      case CN_DRAWITEM:
        Message.Result = 1;
        return true;
      // A halo sized for the old bounds would stand beside the new ones.
      case WM_SIZE:
        ReleaseAllGlows();
        return false;
      case WM_KILLFOCUS:
        this->StopFading();
        [[fallthrough]];
      case WM_SETFOCUS:
      case CM_ENABLEDCHANGED:
      case CM_TEXTCHANGED:
      case CM_FONTCHANGED:
        this->Changed();
        return false;
      case WM_PAINT:
      case WM_PRINT:
      case WM_PRINTCLIENT:
        TsSkinnedControl<Base>::SkinnedMessage(Message);
        // The window's shape stays as the screen shows it until the animation hands over.
        if (SkinChangeAnimating) return true;
        ApplyRegion();
        if (Message.Msg == WM_PAINT) ClearShrunkCorners();
        return true;
      default:
        return TsSkinnedControl<Base>::SkinnedMessage(Message);
    }
  }

  // The window's shape for the look of `state`: the whole button less the frame's
  // transparent corner pixels. A frame kept for the hot and pressed looks only (its
  // StretchMode bit 2) leaves the normal button whole.
  void CutRegion(int state) {
    region_.reset(CreateRectRgn(0, 0, this->Width(), this->Height()));
    TsSkinManager* manager = this->SkinData->SkinManager();
    const int border = this->SkinData->BorderMaskIndex;
    if (!MaskIndexValid(manager, border)) return;
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(border)];
    if (state != 0 || (mask.StretchMode & 2) == 0)
      CutMaskCornersFromRegion(this->SkinData->CacheBitmap.get(), region_.get(), state, mask);
  }

  // The dotted rectangle round the caption at `captionRect` when the button shows focus.
  void PaintFocus(TCanvas& canvas, RECT captionRect) {
    const TsGeneralData* section = this->SkinData->Section();
    if (!this->Enabled() || !this->Focused() || this->Caption().empty() || !section || !section->ShowFocus ||
        !showFocus_)
      return;
    InflateRect(&captionRect, focusMargin_, focusMargin_);
    DrawDottedFocusRect(canvas, captionRect);
  }

 private:
  static constexpr LONG kButtonTypeMask = 0x0F;

  enum FocusedButton : uint8_t { kNone, kThis, kOther };

  void FocusMoved(TControl* focused) {
    const bool was = IsActive();
    focusedButton_ = focused == this ? kThis : dynamic_cast<TButton*>(focused) ? kOther : kNone;
    if (IsActive() != was && this->Skinned()) this->Changed();
  }

  bool Pushed() {
    return this->HandleAllocated() && (SendMessageW(this->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  }
  // The left mouse button is held on this button.
  bool LeftButtonHeld() {
    return (GetKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0 &&
           this->HandleAllocated() && GetCapture() == this->Handle();
  }

  static void HintsOffForPress() {
    StoredShowHint = Application.ShowHint();
    ShowHintSaved = true;
    Application.SetShowHint(false);
  }
  static void RestoreHints() {
    if (!ShowHintSaved) return;
    Application.SetShowHint(StoredShowHint);
    ShowHintSaved = false;
  }

  // Shows the pressed look at once and keeps it a moment.
  void FlashPressed() {
    this->StopFading();
    this->SkinData->BackgroundChanged = true;
    ButtonPressedPaint = true;
    this->Repaint();
    GdiFlush();  // drawn before the pause, not after it
    ButtonPressedPaint = false;
    PressedFlashPause();
  }

  // The frame's cut corners of a button that became narrower or lower may be left standing
  // on a parent of a plain colour: the parent paints its old corner places again.
  void ClearShrunkCorners() {
    const RECT was = shownBounds_;
    shownBounds_ = {this->Left(), this->Top(), this->Left() + this->Width(), this->Top() + this->Height()};
    const bool shrank = was.right - was.left > this->Width() || was.bottom - was.top > this->Height();
    TWinControl* parent = this->Parent();
    TsSkinManager* manager = this->SkinData->SkinManager();
    const int border = this->SkinData->BorderMaskIndex;
    if (!shrank || !parent || !parent->HandleAllocated() || !MaskIndexValid(manager, border)) return;
    CacheSourceInfo behind;
    this->SkinData->ParentCacheInfo(behind);
    if (behind.Ready) return;
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(border)];
    const RECT corners[] = {{was.right - mask.WR, was.top, was.right, was.top + mask.WT},
                            {was.right - mask.WR, was.bottom - mask.WB, was.right, was.bottom},
                            {was.left, was.bottom - mask.WB, was.left + mask.WL, was.bottom}};
    for (const RECT& corner : corners) InvalidateRect(parent->Handle(), &corner, TRUE);
  }

  // Hands the window the shape of the last rebuild, unless it has it already.
  void ApplyRegion() {
    if (!region_ || !this->HandleAllocated()) return;
    efir::gdi::Object<HRGN> current(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(this->Handle(), current.get());
    const bool whole = kind == ERROR && IsWholeButton(region_.get());
    if (whole || (kind != ERROR && EqualRgn(current.get(), region_.get()))) {
      region_.reset();
      return;
    }
    // The system owns the region from here on, unless it refuses it.
    HRGN shape = region_.release();
    if (!SetWindowRgn(this->Handle(), shape, FALSE)) DeleteObject(shape);
  }
  bool IsWholeButton(HRGN region) {
    efir::gdi::Object<HRGN> whole(CreateRectRgn(0, 0, this->Width(), this->Height()));
    return EqualRgn(whole.get(), region) != FALSE;
  }

  efir::gdi::Object<HRGN> region_;
  RECT shownBounds_{};  // in the parent, at the last paint
  FocusedButton focusedButton_ = kNone;  // the last focus change of the form
  bool down_ = false;
  bool showFocus_ = true;
  int focusMargin_ = 1;
  bool wordWrap_ = true;
};

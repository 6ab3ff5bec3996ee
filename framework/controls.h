// Controls: the visible components of a window.
//
//   TControl        a control with bounds, text, font, colour, hint, cursor, popup menu and
//                   mouse events, placed on a parent windowed control;
//   TGraphicControl a control without a window of its own, painted by its parent on its
//                   parent's surface (labels, pictures): cheap and see-through;
//   TWinControl     a control with its own window (Handle), made when first needed, keyboard
//                   events, focus, and children;
//   TCustomControl  a windowed control that paints itself on its Canvas in Paint.
//
// Every message reaches WndProc, the one switch where a control handles messages by number;
// overrides handle theirs and pass the rest to the inherited WndProc, which ends in the
// window's own procedure (DefaultHandler). Messages arrive through WindowProc, which is
// WndProc until someone else (a skin) puts a procedure of its own in its place: then the
// window's messages and the framework's notices alike pass through that procedure first. Graphic controls get the mouse messages of their
// parent's window for their area, in their own coordinates, and the framework's notices
// (CM_MOUSEENTER, CM_ENABLEDCHANGED, ...: messages.h) the same way.
//
// Mouse and key events are raised before the control's own processing: a subclass that
// overrides MouseDown (or KeyDown, ...) calls the inherited one first, which raises the
// event. Key events pass the key by reference: a handler that sets it to 0 consumes it.
// With a form's KeyPreview on, the form sees every key of its controls first.
#pragma once

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/gdi.h"
#include "framework/graphics_objects.h"
#include "framework/messages.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TPopupMenu;
class TForm;

namespace efir {
LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : uint16_t {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = uint16_t;  // an or-combination of TShiftStateFlag

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Screen cursors: the system ones by these numbers, the program's own by positive numbers
// registered with Screen.SetCursors.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                  crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                  crHSplit = -14, crVSplit = -15, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

enum TControlStyleFlag : uint32_t {
  csAcceptsControls = 1,  // may be the parent of other controls
  csCaptureMouse = 2,     // captures the mouse while a button is down on it
  csClickEvents = 4,      // a press and release inside it is a click
  csDoubleClicks = 8,     // a double click raises OnDblClick
  csOpaque = 16,          // paints all of its area: nothing behind it needs painting
};
using TControlStyle = uint32_t;

// What a control is doing at the moment, for code that must keep out of its way.
enum TControlStateFlag : uint32_t {
  csCreating = 1,   // its window and its children's windows are being made
  csPaintCopy = 2,  // it paints into a copy (PaintTo), not onto the screen
};
using TControlState = uint32_t;

// A control's message procedure: takes the message and leaves its answer in Result.
using TWndMethod = std::function<void(TMessage& Message)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form this control sits on (itself for a form), or nullptr.
  TForm* GetParentForm();
  virtual bool IsWindowed() const { return false; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  // Children with an alignment fill their parent's client area in the order they were added.
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  POINT ClientToScreen(POINT point);
  POINT ScreenToClient(POINT point);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  // Caption and Text are the same text (Windows-1251).
  std::string Caption() { return GetText(); }
  void SetCaption(const std::string& value) { SetText(value); }
  std::string Text() { return GetText(); }
  void SetText(const std::string& value);

  // Changing the font raises CM_FONTCHANGED. With ParentFont on (the default) the control
  // follows its parent's font until its own font is changed.
  TFont& Font() { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  // Whether the hint shows; with ParentShowHint on (the default) the parent decides.
  bool ShowHint() const;
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value) { parentShowHint_ = value; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }

  // Hands a message to WindowProc, as the window would; returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& Message);
  // The procedure every message of the control goes through. Whoever replaces it keeps the
  // one it found, hands it what it does not answer, and puts it back when done:
  //   TWndMethod previous = form->WindowProc();
  //   form->SetWindowProc([previous](TMessage& m) { ...; previous(m); });
  //   ...
  //   form->SetWindowProc(previous);
  // A procedure may replace itself while it runs: the running one lives until it returns.
  // An empty procedure stands for WndProc.
  TWndMethod WindowProc() const { return *windowProc_; }
  void SetWindowProc(TWndMethod proc);

  virtual void Invalidate();
  // Invalidates and paints at once.
  virtual void Repaint();
  void BringToFront();
  void SendToBack();
  bool MouseCapture();
  void SetMouseCapture(bool value);

  // What a click does: raises OnClick. Buttons and check boxes add their own work.
  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

 protected:
  // Raise the mouse events; overrides call the inherited one first.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Resize();
  // The window's own handling, after WndProc; nothing for a graphic control.
  virtual void DefaultHandler(TMessage& Message);
  virtual std::string GetText() { return text_; }
  // The text has been stored in text_; a windowed control passes it to its window.
  virtual void TextChanged() { Invalidate(); }
  void Notification(TComponent* component, TOperation operation) override;
  void Changed(UINT notice) { Perform(notice); }

  std::string text_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  friend class TWinControl;
  void MouseButtonMessage(TMessage& Message);
  void FontChanged();
  void ParentFontChanged();
  void ParentColorChanged();

  TWinControl* parent_ = nullptr;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool clicked_ = false;
  TFont font_;
  bool parentFont_ = true;
  bool followingParent_ = false;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  TCursor cursor_ = crDefault;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
  TControlState controlState_ = 0;
  std::shared_ptr<const TWndMethod> windowProc_;
};

// A control painted by its parent on its parent's surface.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas& Canvas() { return canvas_; }
  void WndProc(TMessage& Message) override;

 protected:
  // Paints the control; the canvas is bound to the parent's DC with the origin at the
  // control's top left corner and clipped to the control.
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

// What CreateParams fills in for the window a windowed control makes.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  // The system class a standard control is built on ("BUTTON", "EDIT", ...); empty for a
  // window of the framework's own class.
  std::wstring SystemClass;
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;
  bool IsWindowed() const override { return true; }

  // The window, made (with the parent's) when first asked for.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Makes the window again from the current properties (after a change of style).
  void RecreateWnd();

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  // Moves `child` to position `order` among the children (0 the first, painted and stacked
  // lowest); its window, if it has one, moves in the stacking order with it.
  void SetChildOrder(TControl* child, int order);
  // Paints the control and its windowed children, as they are now, into `dc` with the
  // client area's top left corner at (X, Y): a copy for off-screen pictures of a window.
  // Meanwhile each painted control has csPaintCopy in its ControlState.
  void PaintTo(HDC dc, int X, int Y);
  // The visible graphic child at `point` (client coordinates), topmost first; an enabled one
  // unless allowDisabled.
  TControl* ControlAtPos(POINT point, bool allowDisabled = false);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  RECT ClientRect() override;
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  void Invalidate() override;
  void Repaint() override;

  bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // Paints into a memory bitmap first (no flicker under many graphic children).
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  void WndProc(TMessage& Message) override;

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window from CreateParams; then applies font, colours and state it needs.
  virtual void CreateWnd();
  // Called after the window exists, before the children's windows are made.
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  // The window is about to go: keep what only the window holds (typed text, selection).
  virtual void SaveWindowState();
  void DefaultHandler(TMessage& Message) override;
  // Whether the window paints itself and its graphic children (own class), or the system
  // class does (standard controls).
  bool PaintsItself() const;
  // Whether the window exists and has WS_VISIBLE (whatever its parents show).
  bool WindowShown() const;
  // Fills the background with Color (unless csOpaque).
  virtual void EraseBackground(HDC dc);
  // Paints the window's own content; TCustomControl paints its canvas here.
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc);

  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  // Whether the user edits the window's text (edits): then Text reads it from the window.
  virtual bool TextInWindow() const { return false; }
  std::string GetText() override;
  void TextChanged() override;
  // Sends the message to every control inside this one, children first, deepest last;
  // stops at the first that answers non-zero and returns that answer.
  LRESULT Broadcast(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Realigns the children that have an alignment, within AdjustClientRect's area.
  void AlignControls();
  // The part of the client area aligned children share (a control with a frame of its own
  // keeps them off it).
  virtual void AdjustClientRect(RECT&) {}

 private:
  friend class TControl;
  friend LRESULT CALLBACK efir::ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd);
  void Detach();
  void CreateHandle();
  void DestroyHandle();
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool RouteMouse(TMessage& Message);
  void TrackMouse(POINT point);
  void PaintHandler(TMessage& Message);
  bool HandleKey(TMessage& Message);
  bool ShowContextMenu(TMessage& Message);
  bool SetCursorFor(TMessage& Message);
  void Reflect(TMessage& Message, HWND child);
  void UpdateBoundsFromWindow();
  TBrush& BackgroundBrush();

  HWND handle_ = nullptr;
  WNDPROC defaultProc_ = nullptr;
  std::vector<TControl*> controls_;
  TControl* captureControl_ = nullptr;  // graphic child that has the mouse
  TControl* hoverControl_ = nullptr;    // graphic child under the mouse
  bool tracking_ = false;               // TrackMouseEvent is on: the mouse is inside
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool aligning_ = false;
  TBrush brush_;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas& Canvas() { return canvas_; }

 protected:
  // Paints the control on Canvas, which is bound to the paint DC meanwhile.
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  TCanvas canvas_;
};

namespace efir {

// The control a window of the framework belongs to, or nullptr.
TWinControl* FindControl(HWND hwnd);
// The keyboard state now, as a shift state.
TShiftState KeyboardShiftState();
// Registers the system's common control classes (bars, tabs, lists, ...) once, before a
// control of one of them makes its window.
void InitCommonControlClasses();
// The window procedure of every framework window: it finds the control and hands it the
// message; no exception leaves it (the application's handler shows it).
LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Puts a new control on `parent` at the given bounds and hands it back, so a window's layout
// reads one line per control:   Label1 = efir::Place(new TLabel(this), this, 12, 8, 200, 20);
template <class T>
T* Place(T* control, TWinControl* parent, int left, int top, int width, int height) {
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace efir

// Forms: the programs' top-level windows, and the screen.
//
// A form class is a window's layout plus its handlers (see component.h for the two phases):
//   class TForm2 : public TForm {
//    public:
//     explicit TForm2(TComponent* AOwner);      // the layout: components, properties, handlers
//     TImage* Image1;
//     void Image1MouseDown(TObject*, TMouseButton, TShiftState, int, int);
//   };
//   Application.CreateForm(Form2);              // or efir::Construct<TForm2>(owner)
//
// A form is hidden until Show (or Visible set in its layout); closing it hides it, and closing
// the application's main form ends the program. ShowModal shows it, keeps the other windows
// disabled and returns its ModalResult once a button with a ModalResult (or the code) sets it.
// Forms other than the main one stay above it and have no task-bar button of their own.
#pragma once

#include "framework/controls.h"
#include "framework/picture_icon.h"

#include <map>
#include <vector>

class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// fsStayOnTop keeps the form above other programs' windows. An fsMDIForm shows its fsMDIChild
// forms inside its MDI client window (mdi_forms.cpp); the style is set before the window exists.
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
// The caption buttons of a bordered form: or-combinations of these. The minimize and maximize
// boxes exist on bsSingle and bsSizeable forms only; the help button only where they don't.
enum TBorderIconFlag : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint8_t;

// The smallest and largest size a form may take, by the user or by code; 0 is no limit.
struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TCustomControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;
  // Loaded components, then OnCreate, then the form shows itself when Visible.
  void AfterConstruction() override;
  // OnDestroy while the whole form still lives.
  void BeforeDestruction() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TFormStyle FormStyle() const { return formStyle_; }
  // Raises Exception when the MDI style would change on a form that has its window.
  void SetFormStyle(TFormStyle value);
  // The menu bar of the form (nullptr: none); the form does not own it.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);
  // The menu bar built again from the menu's items (after a change of the menu).
  void UpdateMenuBar();
  // MDI: the client window of an fsMDIForm (nullptr otherwise or before the window exists),
  // its active child and its children in the client's order.
  HWND ClientHandle() const { return clientHandle_; }
  TForm* ActiveMDIChild() const;
  // The MDI parent of an fsMDIChild that has its window (nullptr otherwise).
  TForm* MDIParent();
  int MDIChildCount() const;
  TForm* MDIChildren(int index) const;
  // Follows the window as the user or the system minimizes, maximizes or restores it; set
  // before the form shows, it is the state the form shows in.
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  // A form of constant opacity (0 invisible .. 255 opaque) while AlphaBlend is on; it
  // combines with TransparentColor.
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool value);
  BYTE AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(BYTE value);
  // Applies from the next size change on (SetBounds clamps to it, the user cannot size
  // beyond it).
  TSizeConstraints& Constraints() { return constraints_; }
  // The icon of the form's window (caption and task switcher); empty: the system's.
  const TIcon& Icon() const { return icon_; }
  void SetIcon(const TIcon& value);
  // The work area (the screen without the task bar) of the monitor that holds most of the form.
  RECT MonitorWorkArea();
  // Pixels of TransparentColorValue show what lies behind the window (a colour-keyed
  // layered window): the shape of a skinned window.
  bool TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(bool value);
  TColor TransparentColorValue() const { return transparentColorValue_; }
  void SetTransparentColorValue(TColor value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  void SetClientWidth(int value);
  void SetClientHeight(int value);
  // The form's window gets scroll bars when its controls reach beyond the client area, and
  // they move the controls (form_scroll.cpp). The range follows sizes and this setting; after
  // moving controls by code, UpdateScrollRange.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value);
  void UpdateScrollRange();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetVisible(bool value) override;
  // Shows the form on top and activates it.
  void Show();
  void Hide() { SetVisible(false); }
  // Shows the form modally and returns its ModalResult.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }
  // Asks to close: OnClose decides (hide by default); the main form ends the program.
  void Close();
  // Frees the form once the current message has been handled: the way for a handler of the
  // form (or of one of its controls) to free it, since that handler is still running.
  void Release();
  bool Active();

  TNotifyEvent OnCreate;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnPaint;

  void WndProc(TMessage& Message) override;
  // An MDI parent's messages end in the frame's default procedure, a child's in the MDI
  // child's one.
  void DefaultHandler(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWnd() override;
  void TextChanged() override;
  void Paint() override;

 private:
  friend class TApplication;
  std::wstring WindowText();
  void PlaceOnScreen();
  void ShowWindowInState(bool show);
  void ApplyLayering();
  void ApplyIcon();
  void ApplyConstraints(MINMAXINFO& info) const;
  // mdi_forms.cpp
  void MDIChildParams(TCreateParams& Params);
  void CreateMDIClient();
  std::vector<TForm*> MDIChildList() const;
  // form_scroll.cpp
  // A scroll code of the window's bar; thumbPos for the thumb codes.
  void ScrollMessage(int bar, WORD code, int thumbPos);
  bool autoScroll_ = false;
  POINT scrollPos_{};  // how far the controls are moved left and up
  // Raises an event of the form; a failure in it goes to the application's handler.
  void Raise(const TNotifyEvent& event);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool alphaBlend_ = false;
  BYTE alphaBlendValue_ = 255;
  TSizeConstraints constraints_;
  TIcon icon_;
  bool transparentColor_ = false;
  TColor transparentColorValue_ = clBlack;
  bool keyPreview_ = false;
  TPosition position_ = poDesigned;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool placed_ = false;
  TMainMenu* menu_ = nullptr;
  // The bar of the form's menu with the items of `child` (an MDI child, or nullptr) merged in.
  void ShowMenuBarWith(const TForm* child);
  HWND clientHandle_ = nullptr;
};

class TScreen {
 public:
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The form of the active window, or nullptr.
  TForm* ActiveForm() const;
  // The program's forms alive now, in the order they were made.
  int CustomFormCount() const;
  TForm* CustomForms(int index) const;
  // The fonts the system draws menus and tooltips in.
  TFont& MenuFont();
  TFont& HintFont();
  // The program's own cursors by number (nullptr when none); the screen keeps them.
  HCURSOR Cursors(TCursor id) const;
  void SetCursors(TCursor id, HCURSOR cursor);
  // Registers the program's cursor resource of that name as `id`; without the resource the
  // system cursor `fallback` (IDC_...) takes its place, or nothing is registered.
  void RegisterCursor(TCursor id, const wchar_t* resource, const wchar_t* fallback = nullptr);
  // A cursor for every window of the program (crDefault: each control's own).
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

 private:
  std::map<TCursor, HCURSOR> cursors_;
  TCursor cursor_ = crDefault;
  std::unique_ptr<TFont> menuFont_;
  std::unique_ptr<TFont> hintFont_;
};

extern TScreen Screen;

namespace efir {

// Moves the form that holds `pressed` with the mouse, as a drag on a caption would: for the
// OnMouseDown of a borderless window's background picture or title label.
void StartMoving(TControl* pressed);

}  // namespace efir

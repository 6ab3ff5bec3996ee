// The adapter of a standard dialog window ("#32770": message boxes, the common dialogs, any
// dialog from a template) that the window-skinning hook adapts. It draws the whole frame
// from the skin section "DIALOG" into its cache (borders, the "FORMTITLE" band with icon and
// caption, the title buttons with their hot and pressed looks), cuts the window region from
// the skin's transparent corners, paints the client background under the children, and
// answers the skin command so that the adapted children take their background from it.
//
//   provider.DialogAdapter = AttachAdapter<TacDialogWnd>(box, nullptr, manager, "DIALOG", false);
//   provider.DialogAdapter->Provider = &provider;
//   ...children adapted...
//   provider.DialogAdapter->InitFromWindow();     // takes WS_SYSMENU away while skinned
//
// While skinned the window lacks WS_SYSMENU, so that the system neither draws nor hit-tests
// its own caption buttons; detaching or removing the skin gives the bit back. The painting
// lives in dialog_paint.cpp. When the skin has extended borders the frame, caption and
// buttons are shown by an extended-border window behind the dialog (dialog_border.cpp), and
// the cache is that window's 32-bit picture: the dialog plus the extended frame and shadow.
#pragma once

#include <memory>
#include <vector>

#include "framework/gdi.h"
#include "skin/forms/border_form.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/scroll_wnd.h"

class TacProvider;
class TacSBAnimation;
class TacSystemMenu;
class TBitmap;
struct TitleGlowSource;

// Frees a button's glow animation (title_button_glow.cpp).
struct GlowTimerDeleter {
  void operator()(TacSBAnimation* animation) const;
};

// One caption button: its look, its picture (a GLOBALINFO mask) and where it lies.
struct TitleButtonData {
  int State = 0;        // 0 normal, 1 hot, 2 pressed
  int ImageIndex = -1;  // mask index, -1 none
  RECT Rect{};          // window coordinates
  bool BigIcon = false;
  int GlowIndex = -1;
  int HitCode = 0;
  // The running or finished fade of the button (title_button_glow.h); goes with the record.
  std::unique_ptr<TacSBAnimation, GlowTimerDeleter> GlowTimer;
};

// A title button was pressed and its release may act (one dialog handles the mouse at a time).
extern bool DialogButtonPressed;

class TacDialogWnd : public TacScrollWnd {
 public:
  TacDialogWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  ~TacDialogWnd() override;

  void Attach(bool repaintFrame) override;
  void RestoreStdLook() override;
  void AdapterWndProc(TMessage& message) override;

  // Reads the style, frame kind, icon and button pictures, then takes WS_SYSMENU away.
  void InitFromWindow();
  void LoadButtonImages();

  // The caption band: the skin's extended title height with a border window when `useExt`.
  int CaptionHeight(bool useExt = true) const;
  // The window's own top frame and caption.
  int HeaderHeight() const;
  int BorderWidth() const;
  int ClientOffsetX() const;
  int ClientOffsetY() const;

  bool CloseVisible() const { return Style & WS_SYSMENU; }
  bool MaxVisible() const { return Style & WS_MAXIMIZEBOX; }
  bool MinVisible() const { return Style & WS_MINIMIZEBOX; }
  bool HelpVisible() const { return ExStyle & WS_EX_CONTEXTHELP; }
  bool CloseEnabled() const;
  bool MaxEnabled() const;
  bool MinEnabled() const;
  bool RestoreEnabled() const;
  bool RestoreVisible() const { return FrameKind != 0 && FrameKind != 2 && CloseVisible(); }

  // The hit code of a screen point over the caption (20 close, 9 max, 8 min, 21 help, 3 the
  // icon, 2 the caption), making that button hot; `current` elsewhere.
  LRESULT HitTest(POINT screen, LRESULT current);
  void SetHotButton(int code, bool repaint);
  void PressButton(int code);
  void PopupSystemMenu(int x, int y);

  // Painting (dialog_paint.cpp).
  void PrepareCache();
  TBitmap& SizedDialogCache(int w, int h);
  void PaintDialogShadow(TBitmap& cache, int headerBottom);
  void PaintTitle(TBitmap& cache, int width, int headerBottom);
  void PaintTitleButtons(TBitmap& cache, int width);
  // The direct repaint without glowing; else the button's fade (title_button_glow.h).
  void RepaintTitleButton(int code);
  int GlobalOrSectionMask(const char* name) const;
  int ShownButtonImage(int code, const TitleButtonData& button) const;
  TitleGlowSource GlowSource();
  // Frees the buttons' fades: the window moved, hid or goes away.
  void StopButtonAnimations();
  void CollectRegionCorners();
  void UpdateRegion(bool redraw);
  HRGN MakeRegion(int x, int y) const;
  void PaintNonClient();
  void PaintFrameToDC(HDC dc);
  void EraseBackground(HDC given);
  void PaintClient(HDC dc);
  void RefreshFrame();

  // The extended-border window (dialog_border.cpp): made while the skin has extended borders.
  std::unique_ptr<TacBorderForm> BorderForm;
  void SetExtendedBorders(bool enable);
  // nullptr while there is no border window.
  const TacBorderFormInfo* BorderFormInfo() const;
  // The shadow margins round the frame in the cache; all 0 without a border window.
  RECT ExtMargins() const;
  int ExtSideMargin() const;
  int ExtTopMargin() const;
  // Where the dialog's top-left corner lies in the cache.
  POINT WindowInCache() const;
  RECT IconRect() const;
  // The title button under a cache point, answering as the dialog's hit test does; 0 none.
  int ButtonCodeAt(POINT p) const;
  // The hit code the border window gives a message's point (the message came with -1).
  void ResolveBorderHit(TMessage& message);

  std::vector<RECT> RegionCorners;
  int HotButton = 0;
  bool Active = true;
  bool ValidateOnPaint = false;
  int CaptionIndex = -1;
  bool ChildrenAdapted = false;
  TitleButtonData ButtonMin, ButtonMax, ButtonClose, ButtonHelp;
  HICON IconHandle = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  bool RegionChanged = true;
  int FrameKind = 1;
  std::unique_ptr<TBitmap> ButtonsBg;
  std::unique_ptr<TacSystemMenu> SystemMenu;
  TacProvider* Provider = nullptr;

 private:
  TitleButtonData* ButtonOfCode(int code);
  void NCLButtonDown(TMessage& message);
  void NCButtonUp(TMessage& message);
  LRESULT NCHitTest(TMessage& message);
  bool HandleSkinCommand(TMessage& message);
  bool HandleWindowMessage(TMessage& message);
  void AfterMessage(const TMessage& message);
  void AdaptChildren();
  HBRUSH DialogBrush();
  // The button counted from the right: close, maximize, minimize, help, each when visible.
  int ButtonNumberAt(int x);

  efir::gdi::Object<HBRUSH> brush_;
  TColor brushColor_ = 0;
  bool sysMenuTaken_ = false;
  mutable TacBorderFormInfo borderInfo_;
};

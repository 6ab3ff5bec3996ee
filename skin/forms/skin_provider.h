// The form skin provider: the component that skins one framework form. From its creation it
// owns the form's WindowProc: every message and notice of the form passes through it first.
// It keeps the form's skin state (section "FORM"), paints the client background from one
// picture of the whole window (the frame image) with the form's graphic controls over it,
// answers the skin command so that the form's skinned controls take their background from
// that picture, snaps the form to the work area's edges, runs the animated show, and hands
// the form's plain framework controls to its control adapter.
//
//   auto* provider = new TsSkinProvider(form);   // owned by the form; the hook does this
//   provider->AfterConstruction();               // prepared for the skin when one is active
//   ...
//   provider->Free();                            // the form's WindowProc as it was before
//
// Whether a message takes the skinned path is decided anew for every message: a skin that is
// switched off or removed takes effect at once, and without an active skin every message
// reaches the previous procedure unchanged. A bordered form gets its frame, caption and title
// buttons drawn from the skin over the system's frame (form_frame.cpp, title_bar.cpp), and
// its window region cut to the skin's corners. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/component.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/messages.h"
#include "framework/stdctrls.h"
#include "skin/engine/colour_utils.h"
#include "skin/forms/border_form.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/scroll_wnd.h"
#include "skin/forms/title_button_glow.h"
#include "skin/forms/title_objects.h"
#include "skin/forms/title_buttons.h"

class TsCommonData;
class TsSkinManager;
class TacCtrlAdapter;
class TBitmap;
class TsSystemMenu;
class TsMDIForm;
class TMenuItem;

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

// Asked before a control of the form is adapted: may veto it or name another section.
using TAddItemEvent = std::function<void(TComponent* Item, bool& CanBeAdded, std::string& SkinSection)>;

class TsSkinProvider : public TComponent {
 public:
  // Works on the nearest form in the owner chain; a newer provider replaces an older one.
  explicit TsSkinProvider(TComponent* AOwner);
  ~TsSkinProvider() override;
  void AfterConstruction() override;
  void Loaded() override;

  // Published properties.
  bool DrawNonClientArea = true;
  TsGripMode GripMode = gmNone;
  bool MakeSkinMenu = false;
  TsResizeMode ResizeMode = rmStandard;
  bool ScreenSnap = false;
  int SnapBuffer = 10;
  TAddItemEvent OnSkinItem;
  // Published properties whose change shows at once: the frame is painted again (the extended
  // borders' switch also makes or frees the border window).
  bool AllowExtBorders() const { return allowExtBorders_; }
  void SetAllowExtBorders(bool value);
  TAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(TAlignment value);
  const std::string& MenuLineSkin() const { return menuLineSkin_; }
  void SetMenuLineSkin(const std::string& value);
  bool ShowAppIcon() const { return showAppIcon_; }
  void SetShowAppIcon(bool value);
  const std::string& TitleSkin() const { return titleSkin_; }
  void SetTitleSkin(const std::string& value);
  bool UseGlobalColor() const { return useGlobalColor_; }
  void SetUseGlobalColor(bool value);

  std::unique_ptr<TsCommonData> SkinData;
  TForm* Form = nullptr;

  // Fields the frame and the window procedure keep in step.
  bool RegionChanged = true;
  int HotButton = 0;
  bool SysMenuStyleRemoved = false;
  bool FrameImageBuilt = false;
  int RedrawLockCount = 0;
  bool SetupPending = false;
  TitleButtonData ButtonMin, ButtonMax, ButtonClose, ButtonHelp;
  // A maximized MDI child's buttons on this MDI parent's menu line (hit codes 101, 102, 103).
  TitleButtonData ButtonMDIClose, ButtonMDIRestore, ButtonMDIMin;
  RECT LastClientRect{};
  int TitleSectionIndex = -1;
  int CaptionSectionIndex = -1;
  bool ShowAnimating = false;
  int ShownState = 0;  // 1 normal, 2 minimized, 3 maximized at the last show; 0 once used
  bool AnimShowPending = false;
  // The form is on its way in or out of sight (CM_SHOWINGCHANGED): its border window waits.
  bool FormBeingShown = false;
  std::unique_ptr<TacCtrlAdapter> CtrlAdapter;
  // The skinned bars of an auto-scrolling form's own window (provider_scroll.cpp).
  std::unique_ptr<TacScrollWnd> ScrollWnd;
  // Made while the skin is on and the form scrolls itself; freed (the system's bars back) when
  // the skin is off.
  void UpdateScrollAdapter();
  void FreeScrollWnd();
  // The adapter's bar of SB_HORZ or SB_VERT while it shows, else nullptr.
  const TacScrollBar* OwnScrollBar(int kind) const;
  // The point (frame-image coordinates) lies in the square between the two bars.
  bool InScrollCorner(POINT p) const;
  // The skinned horizontal bar's height while it shows, else 0.
  int OwnHorzBarThickness() const;
  bool RegionUpdating = false;
  // An MDI parent's menu loop runs over a maximized child's buttons, or a maximized child is
  // being closed: the window region is left as it is till then.
  bool InMenuLoop = false;
  bool RebuildTitle = true;
  bool FormActive = true;

  // The extended-border window and the title-button fades (provider_border.cpp).
  std::unique_ptr<TacBorderForm> BorderForm;
  // Asked first by the border window's hit test with Result 0; a non-zero Result is the answer.
  std::function<void(TMessage& message)> OnExtHitTest;
  // Creates the border window when wanted and the form can have one, else frees it.
  void UpdateBorderFormPresence(bool wanted);
  // Frees the fades of the system and the user title buttons.
  void StopButtonAnimations();
  // What the buttons' fades need of this form.
  TitleGlowSource GlowSource();
  // Before and after the form's own handling: fades end on move, hide and destroy; the border
  // window follows moves, sizes, activation and state.
  void BorderMessageBefore(const TMessage& message);
  void BorderMessageAfter(const TMessage& message);

  // What kind of form it is.
  bool HasBorder() const;
  bool HasNormalCaption() const;
  bool GripVisible() const;

  // The manager that paints the form (nullptr when none).
  TsSkinManager* Manager() const;
  // The skin paints the form now.
  bool Skinned() const;

  void LockRedraw();
  void UnlockRedraw();
  // Form colour, system-menu style, section indexes, title-button pictures, menus.
  void SetupForSkin();
  void UpdateSysMenuStyle(bool skinActive);
  void LoadTitleButtonImages();
  void SkinMenus(bool active);
  void CreateControlAdapter();
  void RemoveAdapters();
  void BroadcastToAdapters(const TMessage& message);

  // The frame image and the client painting (provider_paint.cpp).
  int FrameImageWidth() const;
  int FrameImageHeight() const;
  bool FrameImageSizeChanged() const;
  // Frame coordinates are places in the frame image; with a border window the image carries the
  // extended frame and the shadow round the window, whose top-left corner lies at WindowInFrame.
  POINT WindowInFrame() const;
  int ClientOffsetX() const;
  int ClientOffsetY() const;
  TColor FormBackgroundColor() const;
  void BuildFormFrameImage();
  void PaintClientBackground(HDC dc, bool notifyChildren);
  void EraseBackground(HDC dc);
  void PaintClient(TMessage& message);
  void RunFormPaintHandler();
  void RefreshParentOfMaximizedChild();
  void RefreshMergedMenuLine();
  void PrintForm(HDC dc);

  // The frame and the title bar of a bordered form (form_frame.cpp, title_bar.cpp).
  TsTitleIcon TitleIcon;
  TsTitleButtons TitleButtons{this};
  TacAddedTitle AddedTitle{this};
  TAOR RegionCorners;                      // key-colour corner runs cut out of the region
  std::unique_ptr<TBitmap> TitleButtonsBg; // the frame image's strip behind the title buttons
  // The frame image's top as the last full build left it before the caption was drawn: an
  // activation change repaints only the caption over it. Freed where the frame beneath may
  // have changed (new skin or section, settings, minimizing).
  std::unique_ptr<TBitmap> TitleBmp;
  int TitleCacheRepaints = 0;              // caption repaints over TitleBmp (tests count them)
  void SaveTitleImage();
  // The caption band, its text and the title buttons painted anew over TitleBmp.
  void RepaintTitleFromCache(const RECT& frameArea, int captionBottom);
  int UserButtonMaskIndex = -1;            // GLOBALINFO "TITLEBUTTON"
  std::unique_ptr<TsSystemMenu> SystemMenu;

  // The extended-border window's measures; nullptr while the form has none.
  const TacBorderFormInfo* BorderFormInfo() const;
  int FrameBorderWidth(bool useExt) const;
  int FrameTopBorderWidth(bool useExt) const;
  int FrameSideWidth(bool useExt) const;
  int FrameTopWidth(bool useExt) const;
  int CaptionHeight(bool useExt) const;
  int ExtSideMargin() const;
  int ExtTopMargin() const;
  RECT ExtShadowMargins() const;
  int HeaderHeight() const;
  // Maximized with a border window and an extended caption less than 4 pixels above the
  // window's own: the caption, region and border window then sit lower. Set after every
  // position change (UpdateZoomedShortTitle).
  bool ZoomedShortTitle = false;
  void UpdateZoomedShortTitle();

  // Caption measures (title_bar.cpp).
  int GetTitleSection();
  int TitleSectionOfSkin() const;
  bool TitleIconVisible() const;
  int TitleIconWidth() const;
  int TitleIconHeight() const;
  RECT TitleIconRect() const;
  // Where the caption's icon is, empty when the caption shows none.
  RECT ShownTitleIconRect() const { return TitleIconVisible() ? TitleIconRect() : RECT{}; }
  int SysButtonWidth(const TitleButtonData& button) const;
  int SysButtonHeight() const;
  int VisibleSysButtonCount() const;
  int TitleButtonWidth(const TsTitleButton& button) const;
  int TitleButtonsWidth() const;
  POINT GripPosition(int maskIndex) const;

  // Frame painting.
  void PaintFrameToDC(HDC dc);
  // The window's own share of the frame: all of it, or with a border window the band above the client.
  void PaintWindowFrame(HDC dc);
  void PaintBandAboveClient(HDC dc);
  void PaintNonClient();
  // Paints the frame now, without waiting for WM_NCPAINT.
  void RepaintNonClient();
  // Marks the image out of date and sends WM_NCPAINT; the message's answer.
  LRESULT RefreshNonClient();
  void CollectRegionCorners();
  void UpdateWindowRegion(bool redraw);
  void PaintSizeGrip(HDC dc);
  void PaintTitleIcon();
  void PaintTitleBand(const RECT& frameArea, int captionBottom);
  void PaintCaptionText(const RECT& frameArea, int captionBottom);
  void PaintTitleButtons();
  void SaveTitleButtonsBg(bool fullHeight);
  // The column of TitleButtonsBg behind the frame image's column `frameX` (the strip was saved
  // from one column left of its width from the image's right edge).
  int TitleButtonsBgX(int frameX) const { return TitleButtonsBg->Width() + frameX - FrameImageWidth() + 1; }
  void RestoreTitleButtonsBg();
  void ShowTitleButtonHint(TsTitleButton& button);
  void HideTitleButtonHint(TsTitleButton& button);
  // The menu line: the form's main menu drawn from the skin (provider_menu_line.cpp).
  int MenuLineCount = -1;  // rows of the bar; -1: count again
  std::unique_ptr<TBitmap> MenuLineBmp;
  bool MainMenuRefreshed = false;
  int MenuHeight() const;
  bool MenuLineVisible() const;
  int MenuLineRows();
  bool RefreshMainMenu();
  // The first successful RefreshMainMenu only (MainMenuRefreshed): a new skin measures the
  // owner-drawn bar items again once, not at every paint.
  void RefreshMainMenuOnce();
  void RepaintMenuLineItem(TMenuItem* item, const RECT& rect, TOwnerDrawState state);
  // Steps of the frame image: the MENULINE band with its items, MenuLineBmp kept from it.
  void PaintMenuLine(TBitmap& image);
  void PaintMenuLineItems(TBitmap& image);
  // Where an item rectangle (on the frame image, or in window coordinates) lies in MenuLineBmp.
  POINT MenuLinePlace(const RECT& rect, bool onFrameImage);

  // MDI (provider_mdi.cpp): the companion of an MDI parent, which skins its client window.
  std::unique_ptr<TsMDIForm> MDIForm;
  void UpdateMDIForm(bool create);
  // With an active skin: an MDI parent gets its companion, an MDI child marks its parent's
  // frame out of date.
  void SetupMDIForSkin();
  // Frame-image step: the MDIAREA section over the client part an MDI parent leaves free.
  void PaintMDIArea(TBitmap& image);
  // This provider stops being the application's MDI parent provider.
  void ForgetMDIParent();
  // An MDI child's messages that change its parent's frame (activation, leaving); true when
  // the message is done.
  bool MDIChildMessage(TMessage& message);
  // An MDI child has gone: the parent's frame, menu line and (with no child left active) its
  // client are drawn again.
  static void RefreshMDIParentAfterChild();
  // The MDI client window of an MDI parent; nullptr for any other form.
  HWND MDIClientWnd() const;
  // The MDI parent's frame and menu line are out of date: built again at the next paint.
  static void InvalidateMDIParentFrame();
  // WM_MEASUREITEM: a main-menu item measured by the system gets the skinned menus' painters.
  void MeasureMenuBarItem(const TMessage& message);
  // At the first erase or paint of a child made beside a maximized one: it shows its buttons
  // on the parent's menu line and is maximized as well.
  void EndMaximizePending();
  // An MDI child's system commands: the parent's frame follows the child's state.
  void MDIChildSysCommand(TMessage& message);

  // ---- The maximized MDI child's buttons on an MDI parent's menu line (mdi_child_buttons.cpp).
  // The active child is maximized with a system menu, and this parent has a main menu.
  bool ShowMDIChildButtons() const;
  // One state of the close picture; 16 x 16 without it.
  int MDIButtonWidth() const;
  int MDIButtonHeight() const;
  void LoadMDIChildButtonImages();
  // Lays the three buttons out at the right end of the menu line and paints them into the
  // frame image (after the MENULINE band, which they lie on).
  void PaintMDIChildButtons(TBitmap& image);
  // One of them (101, 102, 103) again, into the frame image and onto the window.
  void RepaintMDIChildButton(int hitCode);

  // ---- Title buttons and the form's mouse and system commands (title_buttons.cpp,
  // form_mouse.cpp). The caption layout sets the buttons' Rect and saves TitleButtonsBg (the
  // frame image's top-right strip, taken one column left of its width from the right edge).
  // The skinned system menu, made from the form's window menu at first use.
  TsSystemMenu* FormSystemMenu();
  TitleButtonData* TitleButtonOfCode(int hitCode);
  // The hit code of a mouse message's screen point; makes the button under it hot.
  LRESULT HitTest(const TMessage& message);
  // The point (frame-image coordinates) lies on the shown size grip.
  bool InSizeGrip(POINT p) const;
  TitleHitInput TitleHitInputAt(POINT screen);
  // The frame image's (0, 0) on the screen, and a screen point in frame-image coordinates.
  POINT FrameOrigin() const;
  POINT ScreenToFrame(POINT screen) const;
  void SetHotButton(int hitCode, bool repaint);
  void PressButton(int hitCode);
  // Repaints one button into the frame image and onto the window.
  void PaintTitleButton(int hitCode);
  void DropSystemMenu(int x, int y);
  void MinMaxInfo(TMessage& message);
  // WM_INITMENUPOPUP: the window menu of a form that cannot be sized shows Size greyed; any
  // other popup is measured afresh by the skinned menus.
  void InitMenuPopup(TMessage& message);
  void SetDrawNonClientArea(bool value);
  // The rmBorder drag frame, drawn inverted on the desktop.
  void StartBorderDrag(int x, int y);
  void DrawDragFrame(int x, int y);
  void EndBorderDrag(int x, int y);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void FormWndProc(TMessage& message);
  // The three stages of the dispatch; each true when it finished the message.
  bool AnswerAnyState(TMessage& message);
  void UnskinnedMessage(TMessage& message);
  void SkinnedCommand(TMessage& message);
  void SkinnedMessage(TMessage& message);
  void ApplyNewSkin();
  void RemoveSkin(TsSkinManager* manager);
  void AnswerBackgroundInfo(TMessage& message);
  void Refresh();
  // SKC_REFRESH's redraw of a visible form.
  void RedrawRefreshedForm();
  void ShowingChanged(TMessage& message);
  void WindowPosChanging(TMessage& message);
  void EraseMessage(TMessage& message);
  void PaintMessage(TMessage& message);
  void ActivateMessage(TMessage& message);
  void NCActivateMessage(TMessage& message);
  // An MDI child's activation shows in its parent's frame (the buttons of the menu line).
  void RefreshMDIParentOnActivation();
  // WM_ENTERMENULOOP and WM_EXITMENULOOP.
  void MenuLoopMessage(TMessage& message);
  void NCPaintMessage(TMessage& message);
  void SetTextMessage(TMessage& message);
  // The system's own handling, kept off the screen: under Wine it repaints the caption in the
  // system's look without a WM_NCPAINT; the skinned frame is painted again after it.
  void PrevWithoutCaptionPaint(TMessage& message);
  // The same with another window kept off the screen (a maximized MDI child's caption is
  // shown in its parent's).
  void PrevWithoutCaptionPaint(TMessage& message, HWND wnd);
  // WM_ACTIVATE of an MDI child: the other visible children repaint their frames.
  void RepaintOtherMDIChildren();
  void PaintFrameBands(int w, int h);
  // The frame beneath the caption is the same as when TitleBmp was saved.
  bool TitleCacheValid(int w, int h) const;
  // The message may change the frame beneath the caption: TitleBmp is no longer good.
  static bool DropsTitleImage(const TMessage& message);
  int CaptionBottom() const;
  // The frame inside the shadow margins; a minimized form's ends below the caption.
  RECT FrameArea(int w, int h) const;
  void PaintExtendedBorders(const RECT& frameArea, int captionBottom);
  void PaintBorderlessBackground(int w, int h);
  void PaintOwnPicture();
  void PlaceTitleButton(TitleButtonData& button, int imageIndex, const TsTitleButton* user, bool enabled);
  void PaintUserButtonGlyph(TsTitleButton& user);
  // The user title button of a hit code, or nullptr.
  TsTitleButton* UserButtonOfCode(int hitCode);
  void ApplyFormColor();
  void Prev(TMessage& message);
  bool FormDestroying() const;
  bool FormShowing() const;

  // ---- Title buttons and mouse commands.
  bool FormMouseMessage(TMessage& message);
  void NCHitTestMessage(TMessage& message);
  void NCLButtonDownMessage(TMessage& message);
  void ButtonUpMessage(TMessage& message);
  void MdiChildButtonUp(int code, bool pressed);
  void NCLButtonDblClkMessage(TMessage& message);
  void NCRButtonUpMessage(TMessage& message);
  void MouseMoveMessage(TMessage& message);
  void SysCommandMessage(TMessage& message);
  void DropSystemMenuUnderIcon();
  void PopupWindowMenu(TsSystemMenu& menu, int x, int y);
  void TrackTitleButtonLeave();
  int TitleButtonImage(int hitCode, const TitleButtonData& button) const;
  void RepaintTitleButton(int hitCode, const TitleButtonData& button);
  void StartTitleButtonGlow(int hitCode, TitleButtonData& button);
  void ShowTitleButtonGlow(int hitCode, TitleButtonData& button);
  void ReleaseTitleButtonGlow(TitleButtonData& button);

  TWndMethod oldWndProc_;
  bool useGlobalColor_ = true;
  bool allowExtBorders_ = true;
  TAlignment captionAlignment_ = taLeftJustify;
  std::string menuLineSkin_;
  bool showAppIcon_ = true;
  std::string titleSkin_;
  // The frame is drawn again with what changed.
  void RepaintFrame();
  bool hooked_ = false;
  mutable TacBorderFormInfo borderFormInfo_;
};

// The provider that skins the form (its SKC_GETPROVIDER answer), or nullptr.
TsSkinProvider* ProviderOfForm(TForm* form);

// The form's graphic controls painted over what `dc` holds of the form's client area, at
// `offset`: each on the form's background, through one off-screen picture (a child whose
// top-left pixel comes out magenta is left out).
void PaintGraphicControls(HDC dc, TWinControl* parent, POINT offset);

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
// reaches the previous procedure unchanged. A bordered form keeps the system's frame for now:
// the provider skins its client area only. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/component.h"
#include "framework/forms.h"
#include "framework/messages.h"
#include "framework/stdctrls.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/title_buttons.h"

class TsCommonData;
class TsSkinManager;
class TacCtrlAdapter;
class TBitmap;
class TsSystemMenu;

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

  // Published properties.
  bool AllowExtBorders = true;
  TAlignment CaptionAlignment = taLeftJustify;
  bool DrawNonClientArea = true;
  TsGripMode GripMode = gmNone;
  bool MakeSkinMenu = false;
  std::string MenuLineSkin;
  TsResizeMode ResizeMode = rmStandard;
  bool ScreenSnap = false;
  int SnapBuffer = 10;
  bool ShowAppIcon = true;
  std::string TitleSkin;
  TAddItemEvent OnSkinItem;
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
  RECT LastClientRect{};
  int TitleSectionIndex = -1;
  int CaptionSectionIndex = -1;
  bool ShowAnimating = false;
  int ShownState = 0;  // 1 normal, 2 minimized, 3 maximized at the last show; 0 once used
  bool AnimShowPending = false;
  std::unique_ptr<TacCtrlAdapter> CtrlAdapter;
  bool RegionUpdating = false;
  bool RebuildTitle = true;
  bool FormActive = true;

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
  int ClientOffsetX() const;
  int ClientOffsetY() const;
  TColor FormBackgroundColor() const;
  void BuildFormFrameImage();
  void PaintClientBackground(HDC dc, bool notifyChildren);
  void EraseBackground(HDC dc);
  void PaintClient(TMessage& message);
  void PrintForm(HDC dc);

  // ---- Title buttons and the form's mouse and system commands (title_buttons.cpp,
  // form_mouse.cpp). The caption layout sets the buttons' Rect and saves TitleButtonsBg (the
  // frame image's top-right strip, taken one column left of its width from the right edge).
  std::unique_ptr<TBitmap> TitleButtonsBg;
  std::unique_ptr<TsSystemMenu> SystemMenu;
  // The skinned system menu, made from the form's window menu at first use.
  TsSystemMenu* FormSystemMenu();
  TitleButtonData* TitleButtonOfCode(int hitCode);
  // The hit code of a mouse message's screen point; makes the button under it hot.
  LRESULT HitTest(const TMessage& message);
  TitleHitInput TitleHitInputAt(POINT screen);
  void SetHotButton(int hitCode, bool repaint);
  void PressButton(int hitCode);
  // Repaints one button into the frame image and onto the window.
  void PaintTitleButton(int hitCode);
  void DropSystemMenu(int x, int y);
  void MinMaxInfo(TMessage& message);
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
  void ShowingChanged(TMessage& message);
  void WindowPosChanging(TMessage& message);
  void EraseMessage(TMessage& message);
  void PaintMessage(TMessage& message);
  void ActivateMessage(TMessage& message);
  void NCActivateMessage(TMessage& message);
  void ApplyFormColor();
  void Prev(TMessage& message);
  bool FormDestroying() const;
  bool FormShowing() const;

  // ---- Title buttons and mouse commands.
  bool FormMouseMessage(TMessage& message);
  void NCHitTestMessage(TMessage& message);
  void NCLButtonDownMessage(TMessage& message);
  void ButtonUpMessage(TMessage& message);
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
  bool hooked_ = false;
};

// The provider that skins the form (its SKC_GETPROVIDER answer), or nullptr.
TsSkinProvider* ProviderOfForm(TForm* form);

// The form's graphic controls painted over what `dc` holds of the form's client area, at
// `offset`: each on the form's background, through one off-screen picture (a child whose
// top-left pixel comes out magenta is left out).
void PaintGraphicControls(HDC dc, TWinControl* parent, POINT offset);

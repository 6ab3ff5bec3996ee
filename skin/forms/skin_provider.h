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
#include "framework/menus.h"
#include "framework/messages.h"
#include "framework/stdctrls.h"
#include "skin/forms/dialog_wnd.h"

class TsCommonData;
class TsSkinManager;
class TacCtrlAdapter;
class TBitmap;
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
  void MinMaxInfo(TMessage& message);

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

  // The menu line: the form's main menu drawn from the skin (provider_menu_line.cpp).
  int MenuLineCount = -1;  // rows of the bar; -1: count again
  std::unique_ptr<TBitmap> MenuLineBmp;
  bool MainMenuRefreshed = false;
  int MenuHeight() const;
  bool MenuLineVisible() const;
  int MenuLineRows();
  bool RefreshMainMenu();
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
  // The MDI parent's frame and menu line are out of date: built again at the next paint.
  static void InvalidateMDIParentFrame();
  // WM_MEASUREITEM: a main-menu item measured by the system gets the skinned menus' painters.
  void MeasureMenuBarItem(const TMessage& message);

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

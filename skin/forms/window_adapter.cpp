#include "skin/forms/window_adapter.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/controls.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/textures.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

bool DialogAdaptMode = false;

namespace {

// Set on a window whose adapter left while another subclass sat on top of ours: our procedure
// is still in the chain and forwards to the procedure kept here.
constexpr wchar_t kOrphanedProcProperty[] = L"ACSBSC.PREV";

LRESULT CALLBACK AdapterWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* adapter = static_cast<TacMainWnd*>(GetPropW(wnd, kAdapterProperty));
  if (!adapter || adapter->Detached) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(wnd, kOrphanedProcProperty));
    if (msg == WM_NCDESTROY) RemovePropW(wnd, kOrphanedProcProperty);
    return previous ? CallWindowProcW(previous, wnd, msg, wParam, lParam) : DefWindowProcW(wnd, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  adapter->AdapterWndProc(message);
  return message.Result;
}

bool OwnProcedureInstalled(HWND wnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) == AdapterWindowProc;
}

bool SkinOfManager(const TMessage& message, TsSkinManager* manager) {
  return message.LParam == reinterpret_cast<LPARAM>(manager);
}

}  // namespace

// What the control's WindowProc holds while adapted: the adapter (nullptr once it has let go
// while a later procedure sat on top of ours) and the procedure it replaced.
struct TacMainWnd::FrameworkLink {
  TacMainWnd* Adapter = nullptr;
  std::function<void(TMessage&)> Saved;
};

// The WindowProc of an adapted framework control. It keeps the link alive while it runs: the
// adapter may be detached, or freed, by the message it handles.
class TacMainWnd::FrameworkProcedure {
 public:
  explicit FrameworkProcedure(std::shared_ptr<FrameworkLink> link) : link_(std::move(link)) {}
  void operator()(TMessage& message) const {
    std::shared_ptr<FrameworkLink> link = link_;
    if (link->Adapter && !link->Adapter->Detached) link->Adapter->AdapterWndProc(message);
    else if (link->Saved) link->Saved(message);
  }
  const FrameworkLink* Link() const { return link_.get(); }

 private:
  std::shared_ptr<FrameworkLink> link_;
};

TacMainWnd::TacMainWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : Wnd(wnd), SkinManager(manager) {
  if (skinData) {
    SkinData = skinData;
    if (!SkinManager) SkinManager = skinData->SkinManager();
  } else {
    OwnsSkinData = true;
    ownSkinData_ = std::make_unique<TsCommonData>(nullptr, true);
    SkinData = ownSkinData_.get();
    if (manager) SkinData->SetSkinManager(manager);
  }
  if (SkinData->SkinSection().empty() || SkinData->SkinSection() == "UNKNOWN") SkinData->SetSkinSection(section);
  DialogMode = DialogAdaptMode;
}

TacMainWnd::~TacMainWnd() {
  // Freeing detaches without the standard look: a descendant's RestoreStdLook is out of reach
  // here, and a window that goes away needs none.
  if (!Detached) GiveWindowBack();
  Detached = true;
  if (link_) link_->Adapter = nullptr;
}

TControl* TacMainWnd::FrameworkTarget() const {
  auto* control = dynamic_cast<TWinControl*>(SkinData->OwnerControl);
  if (!control)
    if (auto* provider = dynamic_cast<TsSkinProvider*>(SkinData->OwnerObject)) control = provider->Form;
  return control && control->HandleAllocated() && control->Handle() == Wnd ? control : nullptr;
}

void TacMainWnd::GiveWindowBack() {
  if (link_) {
    // A framework control outlives none of its windows: while the window lives, so does it.
    if (IsWindow(Wnd)) {
      auto* ours = hookedControl_->WindowProc().target<FrameworkProcedure>();
      if (ours && ours->Link() == link_.get()) hookedControl_->SetWindowProc(link_->Saved);
    }
    link_->Adapter = nullptr;  // a procedure put on top of ours keeps ours, now passing on
  }
  if (!IsWindow(Wnd)) return;
  if (!link_) {
    if (OwnProcedureInstalled(Wnd)) SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevWndProc));
    else if (PrevWndProc) SetPropW(Wnd, kOrphanedProcProperty, reinterpret_cast<HANDLE>(PrevWndProc));
  }
  RemovePropW(Wnd, kAdapterProperty);
  if (SkinData->SkinSection() != "DIALOG") SetWindowThemeBound(Wnd, nullptr, nullptr);
}

void TacMainWnd::Attach(bool) {
  if (SkinData->SkinSection() != "DIALOG") SetWindowThemeBound(Wnd, L" ", L" ");
  SaveStdLook();
  LookApplied = false;
  ReadWindowText();
  HookWindow();
  // The adapter paints the control's whole area: the framework must not erase it first.
  if (TControl* owner = SkinData->OwnerControl) owner->SetControlStyle(owner->ControlStyle() | csOpaque);
}

void TacMainWnd::HookWindow() {
  Scrolling = false;
  // A window whose earlier adapter is still linked deeper in its chain would see every
  // message twice: it is left as it is.
  if (GetPropW(Wnd, kOrphanedProcProperty) || GetPropW(Wnd, kAdapterProperty)) {
    Detached = true;
    return;
  }
  SetPropW(Wnd, kAdapterProperty, this);
  if (TControl* target = FrameworkTarget()) {
    hookedControl_ = target;
    link_ = std::make_shared<FrameworkLink>(FrameworkLink{this, target->WindowProc()});
    target->SetWindowProc(FrameworkProcedure(link_));
    return;
  }
  PrevWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AdapterWindowProc)));
}

void TacMainWnd::Detach(bool frameChanged) {
  if (Detached) return;
  Detached = true;
  GiveWindowBack();
  RestoreStdLook();
  if (IsWindowVisible(Wnd)) RefreshWindowFrame(Wnd, frameChanged);
}

LRESULT TacMainWnd::ForwardToReplacedWndProc(TMessage& message) {
  if (link_) {
    // The replaced procedure may free this adapter: nothing of it is touched afterwards.
    std::shared_ptr<FrameworkLink> link = link_;
    message.Result = 0;
    if (link->Saved) link->Saved(message);
    return message.Result;
  }
  message.Result = PrevWndProc ? CallWindowProcW(PrevWndProc, Wnd, message.Msg, message.WParam, message.LParam) : 0;
  return message.Result;
}

LRESULT TacMainWnd::Forward(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  return ForwardToReplacedWndProc(message);
}

TsSkinManager* TacMainWnd::Manager() const { return SkinManager ? SkinManager : SkinData->SkinManager(); }

bool TacMainWnd::SkinActive() const {
  TsSkinManager* manager = Manager();
  return manager && manager->LoadedSkin.Active;
}

void TacMainWnd::ReadWindowText() { WindowText = efir::text::toAnsi(WindowTextWide(Wnd)); }

void TacMainWnd::ReadWindowPlacement() {
  GetWindowRect(Wnd, &WindowRect);
  ParentWnd = GetParent(Wnd);
  ParentRect = {};
  if (ParentWnd) GetWindowRect(ParentWnd, &ParentRect);
  WindowSize = {WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top};
  WindowPos = {WindowRect.left, WindowRect.top};
  if (ParentWnd) ScreenToClient(ParentWnd, &WindowPos);
}

void TacMainWnd::AdapterWndProc(TMessage& message) {
  TsCommonData& d = *SkinData;
  switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      d.ReleaseOwnGlow();
      ForwardToReplacedWndProc(message);
      Detach(false);
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_SIZE:
      d.BackgroundChanged = true;
      break;
    case WM_SETTEXT:
      ForwardToReplacedWndProc(message);
      ReadWindowText();
      return;
    case WM_MOUSEMOVE:
      if (TsSkinManager* manager = TsSkinManager::DefaultManager(); manager && IsWindowEnabled(Wnd))
        SetHotWindow(*manager, Wnd);
      break;
    case WM_PRINT:
      message.Result = SendMessageW(Wnd, WM_PAINT, message.WParam, message.LParam);
      return;
  }
  // A new skin is announced while the manager is still marked inactive.
  const bool announced = message.Msg == SM_ALPHACMD && SkinSubCommand(message.WParam) == SKC_NEWSKIN;
  if (!(SkinActive() || announced) || message.Msg != SM_ALPHACMD) {
    ForwardToReplacedWndProc(message);
    return;
  }
  switch (SkinSubCommand(message.WParam)) {
    case SKC_NEWSKIN:
    case SKC_REMOVESKIN:
    case SKC_REFRESH:
      if (!SkinOfManager(message, Manager())) break;
      // The framework's walk does not enter an adapted window: its children hear it from here.
      RelaySkinMessageToChildren(dynamic_cast<TWinControl*>(d.OwnerControl), Wnd, message);
      if (SkinSubCommand(message.WParam) == SKC_REMOVESKIN) {
        RestoreStdLook();
        break;
      }
      UpdateSkinIndexes(d);
      if (SkinSubCommand(message.WParam) == SKC_NEWSKIN) break;
      d.SetUpdating(false);
      SendMessageW(Wnd, WM_PAINT, 0, 0);
      return;
    case SKC_PARENTUPDATED:
      if (!d.Updating) break;
      d.Updating = false;
      d.Updating = d.IsUpdating();
      if (!d.Updating) RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return;
    case SKC_ISSKINNED:
      message.Result = 1;
      return;
    case SKC_ISUPDATING:
      message.Result = d.Updating;
      return;
    case SKC_ISBGVARYING:
      if (d.OwnerControl && SkinCommandHandler(message, &d)) return;
      break;
    case SKC_GETBGCOLOR:
      if (ForwardToReplacedWndProc(message) == 0) message.Result = d.BackgroundColor(false, Wnd);
      return;
    case SKC_PREPARECACHE:
      RenderWindowBackgroundCache(d, Wnd, false);
      break;
    case SKC_GETBGINFO:
      d.FillBackgroundInfo(*reinterpret_cast<BackgroundInfo*>(message.LParam), false, Wnd);
      return;
    case SKC_GETAPPLICATION:
      message.Result = reinterpret_cast<LRESULT>(&Application);
      return;
  }
  ForwardToReplacedWndProc(message);
}

TacMainWnd* AdapterOfWindow(HWND wnd) {
  auto* adapter = static_cast<TacMainWnd*>(GetPropW(wnd, kAdapterProperty));
  return adapter && !adapter->Detached ? adapter : nullptr;
}

void UnhookWindowAdapter(bool freeIt, bool frameChanged, std::unique_ptr<TacMainWnd>& adapter) {
  if (!adapter) return;
  adapter->Detach(frameChanged);
  if (freeIt) adapter.reset();
}

void RefreshWindowFrame(HWND wnd, bool frameChanged) {
  if (frameChanged)
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  else
    SendMessageW(wnd, WM_NCPAINT, 1, 0);
}

LRESULT NotifyTopWindowOfChange(HWND wnd) { return SendSkinCommandToWindow(TopParentWindow(wnd), SKC_CONTROLCHANGED, 0); }

bool BorderHasStateImages(const TsCommonData& skinData) {
  TsSkinManager* manager = skinData.SkinManager();
  if (!manager || skinData.SectionIndex < 0 || !MaskIndexValid(manager, skinData.BorderMaskIndex)) return false;
  return manager->Masks[static_cast<size_t>(skinData.BorderMaskIndex)].ImageCount > 1;
}

void RenderWindowBackgroundCache(TsCommonData& skinData, HWND wnd, bool flat) {
  if (!wnd || !skinData.BackgroundChanged) return;
  RECT r;
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  CacheSourceInfo behind;
  WindowParentCacheInfo(wnd, behind);
  if (!skinData.CacheBitmap) skinData.CacheBitmap = NewBitmap24(w, h);
  skinData.CacheBitmap->SetSize(w, h);
  TsSkinManager* manager = skinData.SkinManager();
  const TColor border = manager ? manager->LoadedSkin.BorderColor : 0xFF00FF;
  HWND parent = GetParent(wnd);
  POINT at{r.left, r.top};
  const bool placed = parent && ScreenToClient(parent, &at);
  if (flat && border != 0xFF00FF) {
    HDC dc = skinData.CacheBitmap->Canvas().Handle();
    FillRectSolid(dc, {0, 0, w, h}, clWindow);
    RECT frame{0, 0, w, h};
    int width = 1;
    DrawColorFrame(dc, frame, border, border, width);
  } else {
    if (!placed) return;
    if (SectionIndexValid(manager, skinData.SectionIndex))
      RenderControlItem(skinData, behind, true, skinData.HasFocus || skinData.MouseOver ? 1 : 0, {0, 0, w, h}, at,
                        skinData.CacheBitmap.get(), !flat);
    else  // a section the skin lacks lets the parent show through
      CopyBackgroundBehind(*skinData.CacheBitmap, {0, 0, w, h}, behind, at);
  }
  // A disabled control is blended with what lies behind it.
  if (skinData.OwnerControl && !skinData.OwnerControl->Enabled() && placed)
    ApplyDisabledWindowLook(*skinData.CacheBitmap, behind, at);
  skinData.BackgroundChanged = false;
}

void RestoreAdapterCorners(TsCommonData& skinData, int state, const TacMainWnd& adapter) {
  TsSkinManager* manager = skinData.SkinManager();
  TBitmap* cache = skinData.CacheBitmap.get();
  if (!manager || adapter.DialogMode || !MaskIndexValid(manager, skinData.BorderMaskIndex) || !cache) return;
  const int w = cache->Width(), h = cache->Height();
  if (w <= 1 || h <= 1) return;
  CacheSourceInfo behind;
  WindowParentCacheInfo(adapter.Wnd, behind);
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(skinData.BorderMaskIndex)];
  RECT frame = mask.R;
  int count = mask.ImageCount, rows = mask.MaskType + 1;
  TBitmap* sourceBitmap = mask.Image ? mask.Image.get() : manager->MasterBitmap.get();
  if (mask.Image && count == 0) {
    count = 3;
    rows = 2;
    frame = {0, 0, mask.Image->Width(), mask.Image->Height()};
  }
  if (count <= 0 || rows <= 0) return;
  state = std::clamp(state, 0, count - 1);
  const int cellW = (frame.right - frame.left) / count, cellH = (frame.bottom - frame.top) / rows;
  const int sx = frame.left + state * cellW, sy = frame.top;
  PixelRows source = RowsOf(sourceBitmap), target = RowsOf(cache), parent = RowsOf(behind.Bitmap);
  if (!source || !target) return;
  const TColor fill = ColorToRGB(behind.FillColor);
  auto corner = [&](int cornerW, int cornerH, bool right, bool bottom) {
    for (int y = 0; y < cornerH; ++y)
      for (int x = 0; x < cornerW; ++x) {
        const int srcX = sx + (right ? cellW - cornerW + x : x), srcY = sy + (bottom ? cellH - cornerH + y : y);
        const int dx = right ? w - cornerW + x : x, dy = bottom ? h - cornerH + y : y;
        if (!source.Contains(srcX, srcY) || !target.Contains(dx, dy)) continue;
        if (!PixelIs(source.At(srcX, srcY), 0xFF00FF)) continue;
        if (behind.Ready && parent) {
          const int px = dx + adapter.WindowPos.x + behind.X, py = dy + adapter.WindowPos.y + behind.Y;
          if (!parent.Contains(px, py)) continue;
          SetPixelColor(target.At(dx, dy), PixelColor(parent.At(px, py)));
        } else {
          SetPixelColor(target.At(dx, dy), fill);
        }
      }
  };
  corner(mask.WL, mask.WT, false, false);
  corner(mask.WL, mask.WB, false, true);
  corner(mask.WR, mask.WB, true, true);
  corner(mask.WR, mask.WT, true, false);
}

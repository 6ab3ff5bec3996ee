// A skinned standard dialog's extended-border window: when it is made and freed, and what it
// asks of the dialog.
#include "framework/bitmap.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/dialog_wnd.h"

namespace {

class DialogBorderOwner : public TacBorderOwner {
 public:
  explicit DialogBorderOwner(TacDialogWnd& dialog) : d_(dialog) {}

  HWND OwnerWnd() const override { return IsWindow(d_.Wnd) ? d_.Wnd : nullptr; }
  TsCommonData* OwnerSkinData() const override { return d_.SkinData; }

  UpdateState OwnerUpdateState() const override {
    if (!IsWindowVisible(d_.Wnd) || IsIconic(d_.Wnd)) return UpdateState::Hide;
    return d_.SkinData->Updating ? UpdateState::Wait : UpdateState::Go;
  }

  void SetOwnerHotButton(int hitCode) override { d_.SetHotButton(hitCode, true); }
  int OwnerCaptionHeight(bool useExt) const override { return d_.CaptionHeight(useExt); }
  int OwnerMenuHeight() const override { return 0; }
  RECT OwnerIconRect() const override { return d_.IconRect(); }
  int OwnerButtonAt(POINT p) const override { return d_.ButtonCodeAt(p); }
  void RebuildOwnerImage() override { d_.PrepareCache(); }
  void StopOwnerGlows() override { d_.StopButtonAnimations(); }

  void OwnerCaptionDoubleClick() override {
    if (!d_.MaxEnabled() && !d_.RestoreEnabled()) return;
    SendMessageW(d_.Wnd, WM_SYSCOMMAND, IsZoomed(d_.Wnd) || IsIconic(d_.Wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
  }

  // A dialog whose owner is disabled runs modally.
  bool OwnerModal() const override {
    HWND owner = GetWindow(d_.Wnd, GW_OWNER);
    return owner && !IsWindowEnabled(owner);
  }

  RECT OwnerClientInImage() const override {
    RECT client{};
    GetClientRect(d_.Wnd, &client);
    const int x = d_.ClientOffsetX(), y = d_.ClientOffsetY();
    return {x, y, x + client.right, y + client.bottom};
  }

 private:
  TacDialogWnd& d_;
};

}  // namespace

void TacDialogWnd::SetExtendedBorders(bool enable) {
  TBitmap* cache = SkinData->CacheBitmap.get();
  if (enable && FrameKind != 2 && (Style & WS_CAPTION) == WS_CAPTION) {
    if (BorderForm) return;
    // Fades placed over the dialog's own window would now lie in the wrong place.
    StopButtonAnimations();
    BorderForm = std::make_unique<TacBorderForm>(std::make_unique<DialogBorderOwner>(*this));
    SkinData->BackgroundChanged = true;
    RegionChanged = true;
    if (cache) cache->SetPixelFormat(pf32bit);
    if (IsWindowVisible(Wnd)) BorderForm->UpdateBorderForm(true, 255);
    return;
  }
  if (!BorderForm) return;
  BorderForm.reset();
  SkinData->BackgroundChanged = true;
  RegionChanged = true;
  if (cache) cache->SetPixelFormat(pf24bit);
}

const TacBorderFormInfo* TacDialogWnd::BorderFormInfo() const {
  if (!BorderForm) return nullptr;
  borderInfo_.Manager = Manager();
  return &borderInfo_;
}

RECT TacDialogWnd::ExtMargins() const {
  TsSkinManager* manager = Manager();
  return BorderForm && manager ? manager->ExtBorderMargins : RECT{};
}

int TacDialogWnd::ExtSideMargin() const {
  return BorderForm ? FrameBorderWidth(Wnd, BorderFormInfo(), true) - FrameBorderWidth(Wnd, BorderFormInfo(), false) : 0;
}

int TacDialogWnd::ExtTopMargin() const {
  return BorderForm ? CaptionHeight(true) - CaptionHeight(false) - FrameBorderWidth(Wnd, BorderFormInfo(), false) : 0;
}

POINT TacDialogWnd::WindowInCache() const {
  const RECT m = ExtMargins();
  return {m.left + ExtSideMargin(), m.top + ExtTopMargin()};
}

RECT TacDialogWnd::IconRect() const {
  if (!IconHandle) return {};
  TsSkinManager* manager = Manager();
  const RECT m = ExtMargins();
  const bool borderMode1 = BorderForm && manager && manager->LoadedSkin.BorderMode == 1;
  const int left = BorderWidth() + (manager ? manager->LoadedSkin.BILeft : 0) + m.left;
  const int top = (FrameTopBorderWidth(Wnd, BorderFormInfo(), true) + CaptionHeight(true) - GetSystemMetrics(SM_CYSMICON)) / 2 +
                  m.top + (borderMode1 ? manager->LoadedSkin.CenterOffset : 0);
  return {left, top, left + GetSystemMetrics(SM_CXSMICON), top + GetSystemMetrics(SM_CYSMICON)};
}

int TacDialogWnd::ButtonCodeAt(POINT p) const {
  auto at = [&](const TitleButtonData& b) { return PtInRect(&b.Rect, p) != 0; };
  if (!CloseVisible()) return 0;
  if (at(ButtonClose)) return HTCLOSE;
  if (MaxVisible() && at(ButtonMax)) return MaxEnabled() || RestoreEnabled() ? HTMAXBUTTON : 0;
  if ((MinVisible() || IsIconic(Wnd)) && at(ButtonMin)) return IsIconic(Wnd) || MinEnabled() ? HTMINBUTTON : 0;
  if (HelpVisible() && at(ButtonHelp)) return HTHELP;
  return 0;
}

void TacDialogWnd::ResolveBorderHit(TMessage& message) {
  if (!BorderForm || message.WParam != static_cast<WPARAM>(-1)) return;
  const POINT p{static_cast<short>(LOWORD(static_cast<DWORD>(message.LParam))),
                static_cast<short>(HIWORD(static_cast<DWORD>(message.LParam)))};
  message.WParam = static_cast<WPARAM>(BorderForm->HitTest(p));
}

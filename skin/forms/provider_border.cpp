// A skinned form's extended-border window and its title buttons' fades: when the window is
// made and freed, what it asks of the form, and which of the form's messages it follows.
#include "framework/bitmap.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"

#include <optional>
#include <vector>

namespace {

bool Destroying(const TComponent* c) { return c && (c->ComponentState() & csDestroying) != 0; }

// Which system title buttons a form shows and which of them act.
struct ShownButtons {
  bool Close = false, Max = false, Min = false, Help = false;
  bool Minimized = false;
  bool EnabledMax = false, EnabledRestore = false, EnabledMin = false;
};

ShownButtons ButtonsOf(TForm& form) {
  ShownButtons s;
  const TBorderIcons icons = form.BorderIcons();
  const bool normalCaption = form.BorderStyle() == bsSingle || form.BorderStyle() == bsSizeable;
  HWND wnd = form.Handle();
  s.Close = icons & biSystemMenu;
  s.Max = s.Close && normalCaption && (icons & biMaximize);
  s.Min = s.Close && normalCaption && (icons & biMinimize);
  s.Help = s.Close && (icons & biHelp);
  s.Minimized = IsIconic(wnd);
  s.EnabledMax = s.Max && !IsZoomed(wnd);
  s.EnabledRestore = s.Max && (IsZoomed(wnd) || s.Minimized);
  s.EnabledMin = s.Min && !s.Minimized;
  return s;
}

class ProviderBorderOwner : public TacBorderOwner {
 public:
  explicit ProviderBorderOwner(TsSkinProvider& provider) : p_(provider) {}

  HWND OwnerWnd() const override { return p_.Form && p_.Form->HandleAllocated() ? p_.Form->Handle() : nullptr; }
  TsCommonData* OwnerSkinData() const override { return p_.SkinData.get(); }

  UpdateState OwnerUpdateState() const override {
    if (p_.FormBeingShown || p_.ShowAnimating || p_.AnimShowPending || p_.SkinData->Updating || !p_.DrawNonClientArea) return UpdateState::Wait;
    // A form on its way out or out of sight takes its shadow with it.
    if (Destroying(p_.Form) || Destroying(&p_) || !IsWindowVisible(OwnerWnd()) || IsIconic(OwnerWnd()))
      return UpdateState::Hide;
    return UpdateState::Go;
  }

  // The button under the mouse turns hot (a user button shows its hint) as on the form itself.
  void SetOwnerHotButton(int hitCode) override { p_.SetHotButton(hitCode, true); }

  int OwnerCaptionHeight(bool useExt) const override { return p_.CaptionHeight(useExt); }

  int OwnerMenuHeight() const override { return GetMenu(OwnerWnd()) ? GetSystemMetrics(SM_CYMENU) : 0; }

  RECT OwnerIconRect() const override { return p_.ShownTitleIconRect(); }

  // The form's own title-button rules, user buttons included, on the frame image's point (the
  // border window shows that image from its top-left corner).
  int OwnerButtonAt(POINT p) const override {
    TitleHitInput in = p_.TitleHitInputAt(p);
    in.P = p;
    in.HasBorderForm = false;
    const int code = TitleButtonCodeAt(in);
    return code == HTCAPTION ? 0 : code;
  }

  void RebuildOwnerImage() override { p_.BuildFormFrameImage(); }
  void StopOwnerGlows() override { p_.StopButtonAnimations(); }

  void OwnerCaptionDoubleClick() override {
    const ShownButtons s = ButtonsOf(*p_.Form);
    HWND wnd = OwnerWnd();
    if (!((s.Close && (s.EnabledMax || s.EnabledRestore)) || (!p_.HasBorder() && s.Minimized))) return;
    SendMessageW(wnd, WM_SYSCOMMAND, IsZoomed(wnd) || IsIconic(wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
    if (TsSystemMenu* menu = p_.FormSystemMenu(); menu && IsWindow(wnd)) menu->UpdateItems(false);
  }

  void OwnerEndDrag(POINT screen) override { p_.EndBorderDrag(screen.x, screen.y); }
  bool OwnerModal() const override { return p_.Form->Modal(); }
  bool OwnerGripAt(POINT p) const override { return p_.InSizeGrip(p); }
  std::optional<int> OwnerShortTitleTop() const override {
    return p_.ZoomedShortTitle ? std::optional<int>(p_.ExtTopMargin()) : std::nullopt;
  }

  bool OwnerExtHitTest(POINT screen, LRESULT& code) override {
    if (!p_.OnExtHitTest) return false;
    TMessage message{WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)), 0};
    p_.OnExtHitTest(message);
    code = message.Result;
    return true;
  }

  bool OwnerAlphaBlend(BYTE& value) const override {
    if (!p_.Form->AlphaBlend()) return false;
    value = p_.Form->AlphaBlendValue();
    return true;
  }

  RECT OwnerClientInImage() const override {
    const int x = p_.ClientOffsetX(), y = p_.ClientOffsetY();
    return {x, y, x + p_.Form->ClientWidth(), y + p_.Form->ClientHeight()};
  }

 private:
  TsSkinProvider& p_;
};

}  // namespace

void TsSkinProvider::UpdateBorderFormPresence(bool wanted) {
  TBitmap* image = SkinData ? SkinData->CacheBitmap.get() : nullptr;
  if (wanted && Form && HasBorder() && DrawNonClientArea && !Form->Parent() && Form->FormStyle() != fsMDIChild &&
      AllowExtBorders() && Form->HandleAllocated()) {
    if (BorderForm) return;
    // Fades placed over the form's own window would now lie in the wrong place.
    StopButtonAnimations();
    BorderForm = std::make_unique<TacBorderForm>(std::make_unique<ProviderBorderOwner>(*this));
    SkinData->BackgroundChanged = true;
    if (image) image->SetPixelFormat(pf32bit);
    BorderForm->UpdateBorderForm(true, 255);
    return;
  }
  if (!BorderForm) return;
  BorderForm.reset();
  if (image) image->SetPixelFormat(pf24bit);
}

const TacBorderFormInfo* TsSkinProvider::BorderFormInfo() const {
  if (!BorderForm) return nullptr;
  borderFormInfo_.Manager = Manager();
  return &borderFormInfo_;
}

void TsSkinProvider::StopButtonAnimations() {
  ::StopButtonAnimations({&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp});
  for (int i = 0; i < TitleButtons.Count(); ++i) ::StopButtonAnimations({&TitleButtons.Items(i).Data});
}

TitleGlowSource TsSkinProvider::GlowSource() {
  TitleGlowSource source;
  source.Wnd = Form && Form->HandleAllocated() ? Form->Handle() : nullptr;
  source.BorderWnd = BorderForm ? BorderForm->Window() : nullptr;
  source.SkinData = SkinData.get();
  source.CopyBackground = [this](HDC dc, const RECT& r) {
    if (!TitleButtonsBg || TitleButtonsBg->Empty() || !SkinData->CacheBitmap) return false;
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, TitleButtonsBg->Canvas().Handle(), TitleButtonsBgX(r.left),
           r.top, SRCCOPY);
    return true;
  };
  return source;
}

void TsSkinProvider::BorderMessageBefore(const TMessage& message) {
  if (EndsButtonFades(message)) StopButtonAnimations();
  if (message.Msg == WM_DESTROY) BorderForm.reset();
}

namespace {

// After a move or resize by the user, every skinned window repaints what the moving frame
// may have left on its graphic controls. The windows are gathered first: a repaint may change
// the hook's list.
void RepaintGraphicsOfSkinnedWindows() {
  std::vector<HWND> windows;
  for (TacProvider* provider : HookProviders()) {
    TForm* form = provider->FormProvider ? provider->FormProvider->Form : nullptr;
    windows.push_back(form && form->HandleAllocated() ? form->Handle() : provider->Wnd);
  }
  for (HWND wnd : windows)
    if (wnd && IsWindow(wnd)) SendSkinCommandToWindow(wnd, SKC_REPAINTGRAPHICS, 0);
}

}  // namespace

void TsSkinProvider::UpdateZoomedShortTitle() {
  const bool was = ZoomedShortTitle;
  // Measured without the adjustment the flag itself makes to the caption.
  ZoomedShortTitle = false;
  ZoomedShortTitle = BorderForm && Form && Form->HandleAllocated() && IsZoomed(Form->Handle()) &&
                     CaptionHeight(true) < CaptionHeight(false) + 4;
  if (ZoomedShortTitle == was) return;
  // The caption, the region and the menu line's place change with it.
  SkinData->BackgroundChanged = true;
  RegionChanged = true;
  RebuildTitle = true;
  MenuLineCount = -1;
  if (FormShowing() && DrawNonClientArea && HasBorder() && !ShowAnimating && !SkinChangeAnimating)
    SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::BorderMessageAfter(const TMessage& message) {
  if (message.Msg == WM_WINDOWPOSCHANGED) UpdateZoomedShortTitle();
  if (!BorderForm) return;
  switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_SIZING:
    case CM_ACTIVATE: BorderForm->UpdateBorderForm(false, 255); return;
    case WM_NCACTIVATE: BorderForm->UpdateBorderForm(true, 255); return;
    case WM_EXITSIZEMOVE:
      RepaintGraphicsOfSkinnedWindows();
      if (BorderForm && Form->Modal()) BorderForm->UpdateBorderForm(false, 255);
      return;
  }
}

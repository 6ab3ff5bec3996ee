#include "skin/forms/form_animation.h"

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/gdi.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/border_form.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

std::function<void(HWND overlay, int weight)> AnimationFrameShown;
std::function<void(HWND overlay, int alpha)> LayeredFrameShown;

namespace {

constexpr int kFrameMs = 8;

// The overlay of the cross-fade: a bare pop-up whose pixels only the animation sets.
class TOutputWindow : public TCustomControl {
 public:
  // `layered`: the whole picture, with its alpha, is given through UpdateLayeredWindow.
  TOutputWindow(TWinControl* form, std::optional<COLORREF> key, bool layered = false)
      : TCustomControl(nullptr), form_(form), key_(key), layered_(layered) {
    SetText("acOutputWindow");
    TControl::SetVisible(false);
    SetColor(static_cast<TColor>(0x800080));
  }

  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_ERASEBKGND: Message.Result = 1; return;
      case WM_NCPAINT: Message.Result = 0; return;
    }
    TCustomControl::WndProc(Message);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    Params.Caption = L"acOutputWindow";
    Params.ExStyle = 0;
    // A form inside another window is covered by a sibling, so the overlay stays in its place
    // among the parent's children.
    if (HWND parent = layered_ ? nullptr : ParentWindow()) {
      Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
      Params.X = left_;
      Params.Y = top_;
      Params.Width = width_;
      Params.Height = height_;
      Params.WndParent = parent;
      return;
    }
    Params.Style = WS_POPUP;
    if (form_->HandleAllocated() &&
        (GetWindowLongPtrW(form_->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
      Params.ExStyle |= WS_EX_TOPMOST;
    if (key_) Params.ExStyle |= WS_EX_LAYERED;
    if (layered_) Params.ExStyle |= WS_EX_LAYERED | WS_EX_NOACTIVATE;
    Params.X = left_;
    Params.Y = top_;
    Params.Width = width_;
    Params.Height = height_;
    Params.WndParent = Application.Handle();
  }
  void CreateWindowHandle(const TCreateParams& Params) override {
    TCustomControl::CreateWindowHandle(Params);
    if (HandleAllocated() && key_ && !ParentWindow()) SetLayeredWindowAttributes(Handle(), *key_, 255, LWA_COLORKEY);
  }

 public:
  // The window of the form's parent; nullptr for a top-level form.
  HWND ParentWindow() const {
    TWinControl* parent = form_->Parent();
    return parent && parent->HandleAllocated() ? parent->Handle() : nullptr;
  }

 private:
  TWinControl* form_;
  std::optional<COLORREF> key_;
  bool layered_;
};

struct FreeComponent {
  void operator()(TComponent* component) const { component->Free(); }
};

// The colour a colour-keyed window leaves see-through.
std::optional<COLORREF> ColourKeyOf(HWND window) {
  if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return std::nullopt;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || !(flags & LWA_COLORKEY))
    return std::nullopt;
  return key;
}

// Where the new picture has the key colour, the frame has it too, exactly: a blend there
// would come out near the key and show on the screen.
void KeepKeyPixels(TBitmap& frame, const TBitmap& picture, COLORREF key) {
  const uint8_t r = GetRValue(key), g = GetGValue(key), b = GetBValue(key);
  for (int y = 0; y < picture.Height(); ++y) {
    const auto* in = static_cast<const uint8_t*>(picture.ScanLine(y));
    auto* out = static_cast<uint8_t*>(frame.ScanLine(y));
    for (int x = 0; x < picture.Width(); ++x, in += 3, out += 4)
      if (in[0] == b && in[1] == g && in[2] == r) {
        out[0] = b;
        out[1] = g;
        out[2] = r;
      }
  }
}

// What the screen shows under the window now.
std::unique_ptr<TBitmap> ScreenUnder(HWND window, int width, int height) {
  RECT r;
  GetWindowRect(window, &r);
  auto snapshot = NewBitmap24(width, height);
  efir::gdi::WindowDC screen;
  BitBlt(snapshot->Canvas().Handle(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  return snapshot;
}

// One run of the animation. Whatever happens, the end gives the form back its redraw (and
// with it WS_VISIBLE), repaints it and takes the overlay away.
class AnimationRun {
 public:
  explicit AnimationRun(TWinControl* form) : form_(form) { SkinChangeAnimating = true; }
  ~AnimationRun() {
    AnimationTargetDC = nullptr;
    SkinChangeAnimating = false;
    if (form_->HandleAllocated() && !handedOver_) {
      SendMessageW(form_->Handle(), WM_SETREDRAW, TRUE, 0);
      RedrawWindow(form_->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
    if (overlay_ && overlay_->HandleAllocated())
      SetWindowPos(overlay_->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOMOVE |
                       SWP_NOSIZE);
  }
  AnimationRun(const AnimationRun&) = delete;
  AnimationRun& operator=(const AnimationRun&) = delete;

  // The form has been given its redraw back and repainted, in the order the layered path
  // needs (its border window goes behind it only after that).
  void HandedOver() { handedOver_ = true; }

  // Creates the overlay over the form's window rectangle, shown without activation.
  HWND ShowOverlay(std::optional<COLORREF> key) {
    overlay_.reset(new TOutputWindow(form_, key));
    HWND window = form_->Handle(), parent = overlay_->ParentWindow();
    RECT r;
    GetWindowRect(window, &r);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    overlay_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    HWND overlay = overlay_->Handle();
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, shape) != ERROR) SetWindowRgn(overlay, shape, FALSE);
    else DeleteObject(shape);
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    HWND above = nullptr;  // a sibling overlay goes right above the form
    if (parent) above = GetWindow(window, GW_HWNDPREV) ? GetWindow(window, GW_HWNDPREV) : HWND_TOP;
    else flags |= SWP_NOZORDER;
    SetWindowPos(overlay, above, 0, 0, 0, 0, flags);
    return overlay;
  }

 private:
  TWinControl* form_;
  std::unique_ptr<TOutputWindow, FreeComponent> overlay_;
  bool handedOver_ = false;
};

// `clip`: the DC is clipped to the control; `childOffset`: where the control's client area
// lies in the picture. By default that is where WM_PRINT puts it, inside the window's frame,
// or the picture's corner for PaintTo, which paints the client area alone.
void RenderControl(HDC dc, TWinControl* control, bool clip = true, std::optional<POINT> childOffset = std::nullopt) {
  efir::gdi::SavedState saved(dc);
  if (clip) IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
  POINT client{0, 0};
  if (control->HandleAllocated() && (AskControlSkinCommand(control, SKC_ISSKINNED) & 0xFF)) {
    control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
    RECT inWindow;
    ClientRectInWindowCoords(control->Handle(), inWindow);
    client = {inWindow.left, inWindow.top};
  } else {
    control->PaintTo(dc, 0, 0);
  }
  if (childOffset) client = *childOffset;
  for (int i = 0; i < control->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
    if (!child || !child->Visible()) continue;
    efir::gdi::SavedState inner(dc);
    if (!(dynamic_cast<TForm*>(child) && !child->Parent()))
      OffsetViewportOrgEx(dc, client.x + child->Left(), client.y + child->Top(), nullptr);
    RenderControl(dc, child);
  }
}


// GDI leaves the alpha of what it draws at 0: the client's pixels are made opaque.
void MakeOpaque(TBitmap& image, const RECT& area) {
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, image.Height()); ++y) {
    auto* row = static_cast<uint8_t*>(image.ScanLine(y));
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, image.Width()); ++x) row[x * 4 + 3] = 255;
  }
}

void ShowLayered(HWND window, TBitmap& image, int alpha) {
  SIZE size{image.Width(), image.Height()};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
  efir::gdi::WindowDC screen;
  UpdateLayeredWindow(window, screen, nullptr, &size, image.Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
}

// A form with an extended-border window fades in whole, frame and shadow included, through
// a layered overlay where its border window lies, up to the form's own opacity; the border
// window then takes the picture over and goes back behind the form.
void FadeInLayered(TForm* form, TsSkinProvider& provider, uint16_t time, AnimationRun& run) {
  HWND window = form->Handle();
  const bool blended = form->AlphaBlend();
  const BYTE target = blended ? form->AlphaBlendValue() : 255;
  if (blended) form->SetAlphaBlendValue(1);
  struct OpacityBack {
    TForm* form;
    BYTE value;
    bool pending;
    ~OpacityBack() {
      if (pending) form->SetAlphaBlendValue(value);
    }
  } opacityBack{form, target, blended};

  provider.BuildFormFrameImage();
  TBitmap* cache = provider.SkinData->CacheBitmap.get();
  if (!cache) return;
  auto image = NewBitmap32(cache->Width(), cache->Height());
  const POINT client{provider.ClientOffsetX(), provider.ClientOffsetY()};
  AnimationTargetDC = image->Canvas().Handle();
  RenderControl(AnimationTargetDC, form, false, client);
  AnimationTargetDC = nullptr;
  RECT inside;
  GetClientRect(window, &inside);
  OffsetRect(&inside, client.x, client.y);
  MakeOpaque(*image, inside);

  RECT r;
  GetWindowRect(window, &r);
  const POINT at{r.left - provider.BorderForm->LeftOffset(), r.top - provider.BorderForm->TopOffset()};
  std::unique_ptr<TOutputWindow, FreeComponent> overlay(new TOutputWindow(form, std::nullopt, true));
  overlay->SetBounds(at.x, at.y, image->Width(), image->Height());
  HWND layer = overlay->Handle();
  HWND above = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? HWND_TOPMOST
               : GetWindow(window, GW_HWNDPREV)                         ? GetWindow(window, GW_HWNDPREV)
                                                                        : HWND_TOP;
  // Its owner, the application's window, stays where it is.
  SetWindowPos(layer, above, at.x, at.y, image->Width(), image->Height(),
               SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER);

  const int steps = time / kFrameMs;
  int alpha = 0;
  ShowLayered(layer, *image, alpha);
  ShowWindow(layer, SW_SHOWNOACTIVATE);
  if (LayeredFrameShown) LayeredFrameShown(layer, alpha);
  for (int i = 0; i <= steps; ++i) {
    alpha = std::min(alpha + target / steps, static_cast<int>(target));
    ShowLayered(layer, *image, alpha);
    if (LayeredFrameShown) LayeredFrameShown(layer, alpha);
    Sleep(kFrameMs);
  }
  // The hand-over: the border window takes the last picture while hidden, and comes back
  // behind the form once the form has painted itself.
  HWND border = provider.BorderForm->Window();
  ShowWindow(border, SW_HIDE);
  constexpr UINT kQuiet = SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER;
  SetWindowPos(border, nullptr, at.x, at.y, image->Width(), image->Height(), kQuiet | SWP_NOZORDER);
  ShowLayered(border, *image, target);
  SkinChangeAnimating = false;
  opacityBack.pending = false;
  if (blended) form->SetAlphaBlendValue(target);
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  SetWindowRgn(border, provider.BorderForm->MakeRegion(), FALSE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  run.HandedOver();
  overlay.reset();
  ShowWindow(border, SW_SHOWNOACTIVATE);
  SetWindowPos(border, window, 0, 0, 0, 0, kQuiet | SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

bool SetLayeredHidden(TWinControl* form, bool hide) {
  HWND window = form->Handle();
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (!hide) {
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) & ~WS_VISIBLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    return false;
  }
  if (exStyle & WS_EX_LAYERED) return false;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  efir::gdi::WindowDC screen;
  efir::gdi::MemoryDC memory(screen);
  efir::gdi::Object<HBITMAP> empty(CreateCompatibleBitmap(screen, 1, 1));
  efir::gdi::Selection keep(memory, empty.get());
  SIZE size{0, 0};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 10, AC_SRC_ALPHA};
  UpdateLayeredWindow(window, screen, nullptr, &size, memory, &origin, 0x1FFFFFFF, &blend, ULW_ALPHA);
  return true;
}

std::vector<int> CrossFadeWeights(uint16_t time) {
  const int steps = time / kFrameMs;
  std::vector<int> weights;
  if (steps == 0) return weights;
  for (int i = 0, weight = 255; i <= steps; ++i, weight -= 255 / steps)
    weights.push_back(std::max(0, weight));
  return weights;
}

void RenderControlTreeToBitmap(TBitmap& bitmap, TWinControl* control) {
  RenderControl(bitmap.Canvas().Handle(), control);
}

void AnimateFormAppearance(TWinControl* form, uint16_t time) {
  AnimationRun run(form);
  const std::vector<int> weights = CrossFadeWeights(time);
  if (weights.empty()) return;
  auto* asForm = dynamic_cast<TForm*>(form);
  TsSkinProvider* provider = asForm ? ProviderOfForm(asForm) : nullptr;
  if (provider && provider->BorderForm && LayeredWindowsAvailable()) return FadeInLayered(asForm, *provider, time, run);

  HWND window = form->Handle();
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::unique_ptr<TBitmap> before = ScreenUnder(window, width, height);
  const std::optional<COLORREF> key = ColourKeyOf(window);
  HWND overlay = run.ShowOverlay(key);

  auto after = NewBitmap24(width, height);
  AnimationTargetDC = after->Canvas().Handle();
  RenderControlTreeToBitmap(*after, form);
  AnimationTargetDC = nullptr;

  auto frame = NewBitmap32(width, height);
  efir::gdi::WindowDC overlayDC(overlay);
  for (size_t i = 0; i < weights.size(); ++i) {
    if (i) Sleep(kFrameMs);
    CrossFadeBitmaps(frame.get(), before.get(), after.get(), nullptr, weights[i]);
    if (key) KeepKeyPixels(*frame, *after, *key);
    BitBlt(overlayDC, 0, 0, width, height, frame->Canvas().Handle(), 0, 0, SRCCOPY);
    if (AnimationFrameShown) AnimationFrameShown(overlay, weights[i]);
  }
  BitBlt(overlayDC, 0, 0, width, height, after->Canvas().Handle(), 0, 0, SRCCOPY);
}

void UnlockAfterSkinChange(TForm* form, bool repaint) {
  if (!form->HandleAllocated()) return;
  HWND window = form->Handle();
  TsSkinProvider* provider = ProviderOfForm(form);
  TsSkinManager* manager = provider ? provider->Manager() : nullptr;
  if (repaint && manager && manager->AnimEffects.SkinChanging.Active)
    AnimateFormAppearance(form, provider->DrawNonClientArea ? manager->AnimEffects.SkinChanging.Time : 0);
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  if (!repaint) return;
  const bool ownFrame = provider && provider->DrawNonClientArea;
  if (ownFrame) {
    provider->CollectRegionCorners();
    provider->UpdateWindowRegion(true);
  }
  // The frame too: a new region alone does not always bring a WM_NCPAINT.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  if (ownFrame && provider->BorderForm) provider->BorderForm->UpdateBorderForm(true, 255);
}

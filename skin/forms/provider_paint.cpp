// The painting of a skinned form: one picture of the whole window (the frame image, the
// provider's cache) holds the form section's background and what the form's OnPaint draws;
// client paints copy the client part of it, leave out what the child controls cover, and
// paint the graphic controls over it through one off-screen picture, so nothing flickers.
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/borders.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_background.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/border_form.h"
#include "skin/forms/control_adapter.h"
#include "skin/forms/form_animation.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

namespace {

bool Loading(const TComponent* c) { return c && (c->ComponentState() & csLoading) != 0; }
bool Destroying(const TComponent* c) { return c && (c->ComponentState() & csDestroying) != 0; }

RECT WindowBounds(TForm* form) {
  RECT r{0, 0, form->Width(), form->Height()};
  if (form->HandleAllocated()) GetWindowRect(form->Handle(), &r);
  return r;
}

RECT ClientBounds(TForm* form) {
  RECT r{};
  if (form->HandleAllocated()) GetClientRect(form->Handle(), &r);
  return r;
}

// The graphic children that take part in PaintGraphicControls.
bool PaintsAsGraphic(TControl* child, HDC dc) {
  if (child->IsWindowed() || !child->Visible() || child->Width() < 1 || child->Height() < 1) return false;
  if (Destroying(child)) return false;
  const RECT bounds = child->BoundsRect();
  return RectVisible(dc, &bounds) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------- geometry

int TsSkinProvider::FrameImageWidth() const {
  const RECT r = WindowBounds(Form);
  const RECT shadow = ExtShadowMargins();
  const bool iconic = Form->HandleAllocated() && IsIconic(Form->Handle());
  return r.right - r.left + (iconic ? 0 : 2 * ExtSideMargin()) + shadow.left + shadow.right;
}

int TsSkinProvider::FrameImageHeight() const {
  const RECT r = WindowBounds(Form);
  if (!BorderFormInfo()) return r.bottom - r.top;
  const RECT shadow = ExtShadowMargins();
  return r.bottom - r.top + ExtSideMargin() + ExtTopMargin() + shadow.top + shadow.bottom + (GetMenu(Form->Handle()) ? 1 : 0);
}

bool TsSkinProvider::FrameImageSizeChanged() const {
  const TBitmap* image = SkinData->CacheBitmap.get();
  return !image || image->Width() != FrameImageWidth() || image->Height() != FrameImageHeight();
}

POINT TsSkinProvider::WindowInFrame() const {
  return BorderForm ? POINT{BorderForm->LeftOffset(), BorderForm->TopOffset()} : POINT{0, 0};
}

// Where the client area lies in the frame image: inside the system's frame round it, when there
// is one, moved by where the window lies in the image.
int TsSkinProvider::ClientOffsetX() const {
  if (!Form || !Form->HandleAllocated()) return 0;
  RECT client;
  ClientRectInWindowCoords(Form->Handle(), client);
  return client.left + WindowInFrame().x;
}

int TsSkinProvider::ClientOffsetY() const {
  if (!Form || !Form->HandleAllocated()) return 0;
  RECT client;
  ClientRectInWindowCoords(Form->Handle(), client);
  return client.top + WindowInFrame().y;
}

TColor TsSkinProvider::FormBackgroundColor() const {
  const TsGeneralData* section = SkinData->Section();
  if (!SkinActiveFor(SkinData.get(), true) || SkinData->CustomColor() || !section)
    return static_cast<TColor>(ColorToRGB(Form->Color()));
  return FormActive ? section->HotColor : section->Color;
}

// ---------------------------------------------------------------------------- the image

void TsSkinProvider::BuildFormFrameImage() {
  if (!Form || (Form->ControlState() & csCreating)) return;
  const int w = FrameImageWidth(), h = FrameImageHeight();
  TsCommonData& d = *SkinData;
  if (!d.CacheBitmap) {
    d.CacheBitmap = BorderFormInfo() ? NewBitmap32(std::max(w, 0), std::max(h, 0)) : NewBitmap24(std::max(w, 0), std::max(h, 0));
    d.UpdateCacheMode(false);
    if (!Loading(Form)) RelaySkinMessageToControls(Form, SKC_CHILDTRANSPARENCY, 1);
  }
  if (d.BackgroundChanged && w > 0 && h > 0 && TitleCacheValid(w, h)) {
    // Only the activation changed: the frame beneath the caption is as it was.
    if (DrawNonClientArea) RepaintTitleFromCache(FrameArea(w, h), CaptionBottom());
  } else if (d.BackgroundChanged && w > 0 && h > 0) {
    RegionChanged = true;
    d.CacheBitmap->SetSize(w, h);
    if (HasBorder()) PaintFrameBands(w, h);
    else PaintBorderlessBackground(w, h);
    PaintMenuLine(*d.CacheBitmap);
    PaintMDIArea(*d.CacheBitmap);
    RebuildTitle = false;
    d.BackgroundChanged = false;
    PaintOwnPicture();
  }
  FrameImageBuilt = true;
  d.BackgroundChanged = false;
  d.SetUpdating(false);
}

void TsSkinProvider::PaintBorderlessBackground(int w, int h) {
  TsCommonData& d = *SkinData;
  TBitmap& image = *d.CacheBitmap;
  const RECT frame{0, 0, w, h};
  // A skin without a FORM section leaves the form its own colour.
  if (!d.Section() || (d.SkinState & 1))
    FillRectSolid(image.Canvas().Handle(), frame, FormBackgroundColor());
  else
    RenderControlBackground(d, EmptyCacheSourceInfo, FormActive ? 1 : 0, frame, {0, 0}, &image);
}

// The frame lies on nothing: a see-through section shows its own colour, not black.
constexpr CacheSourceInfo kNothingBehind{nullptr, 0, 0, TransparentKeyColor, false};

// The frame, the caption band with its icon, text and buttons, and the size grip.
void TsSkinProvider::PaintFrameBands(int w, int h) {
  TsCommonData& d = *SkinData;
  TBitmap& image = *d.CacheBitmap;
  TsSkinManager* manager = Manager();
  const bool borderMode1 = BorderFormInfo() && manager && manager->LoadedSkin.BorderMode == 1;
  const int captionBottom = CaptionBottom();
  const RECT frameArea = FrameArea(w, h);
  const int state = FormActive ? 1 : 0;
  if (d.SkinState & 1) {
    const RECT fill = BorderFormInfo() ? frameArea : RECT{0, 0, w, CaptionHeight(true) + FrameSideWidth(true) + 1};
    FillRectSolid(image.Canvas().Handle(), fill, FormBackgroundColor());
    if (!borderMode1) {
      RECT client{};
      PaintControlBorder(image.Canvas().Handle(), frameArea, FrameSideWidth(true), d, state, client);
    }
  } else if (d.Section() && !borderMode1) {
    RenderControlItem(d, kNothingBehind, true, state, frameArea, {0, 0}, &image, false);
  } else if (d.Section()) {
    RenderControlBackground(d, kNothingBehind, state, frameArea, {0, 0}, &image);
  } else {
    FillRectSolid(image.Canvas().Handle(), frameArea, FormBackgroundColor());
  }
  if (GripVisible() && d.CacheReusable()) PaintSizeGrip(image.Canvas().Handle());
  // Kept before the caption is drawn, so that a repaint over it shows no trace of the old one.
  if (!BorderFormInfo() && MaskMissingOrSingle(d.BorderMaskIndex, manager)) SaveTitleImage();
  if (!borderMode1) PaintTitleBand(frameArea, captionBottom);
  if (BorderFormInfo() && !borderMode1) PaintCaptionText(frameArea, captionBottom);
  PaintExtendedBorders(frameArea, captionBottom);
  if (!BorderFormInfo()) PaintCaptionText(frameArea, captionBottom);
  if (CaptionHeight(true) != 0 && DrawNonClientArea) {
    SaveTitleButtonsBg(true);
    PaintTitleButtons();
  }
}

int TsSkinProvider::CaptionBottom() const {
  return FrameTopBorderWidth(false) + CaptionHeight(true) + ExtShadowMargins().top;
}

RECT TsSkinProvider::FrameArea(int w, int h) const {
  const RECT shadow = ExtShadowMargins();
  RECT area{shadow.left, shadow.top, w - shadow.right, h - shadow.bottom};
  if (Form->HandleAllocated() && IsIconic(Form->Handle())) area.bottom = CaptionBottom() + 1 - shadow.bottom;
  return area;
}

namespace {

// The section is drawn alike for an active and an inactive form.
bool SameLookWhenActive(const TsGeneralData& s) {
  return s.Color == s.HotColor && s.Transparency == s.HotTransparency && s.ImagePercent == s.HotImagePercent &&
         s.GradientPercent == s.HotGradientPercent && (s.GradientPercent == 0 || s.GradientData == s.HotGradientData);
}

}  // namespace

bool TsSkinProvider::TitleCacheValid(int w, int h) const {
  const TBitmap* image = SkinData->CacheBitmap.get();
  if (RebuildTitle || BorderFormInfo() || !HasBorder() || CaptionHeight(true) == 0) return false;
  // A maximized child's buttons on the menu line are laid out with the full image only.
  if (ShowMDIChildButtons()) return false;
  if (!TitleBmp || TitleBmp->Width() != w || !image || image->Width() != w || image->Height() != h) return false;
  if (!MaskMissingOrSingle(SkinData->BorderMaskIndex, Manager())) return false;
  const TsGeneralData* section = SkinData->Section();
  return !section || SameLookWhenActive(*section);
}

bool TsSkinProvider::DropsTitleImage(const TMessage& message) {
  switch (message.Msg) {
    case WM_CREATE:
    case WM_SETTINGCHANGE:
    case CM_COLORCHANGED: return true;
    case WM_SYSCOMMAND: return (message.WParam & 0xFFF0) == SC_MINIMIZE;
    case SM_ALPHACMD: {
      const int command = SkinSubCommand(message.WParam);
      return command == SKC_REFRESH || command == SKC_NEWSKIN || command == SKC_REMOVESKIN;
    }
  }
  return false;
}

void TsSkinProvider::SaveTitleImage() {
  TBitmap& image = *SkinData->CacheBitmap;
  const int h = FrameTopBorderWidth(true) + CaptionHeight(true) + ExtShadowMargins().top;
  TitleBmp = NewBitmap32(image.Width(), std::max(h, 0));
  BitBlt(TitleBmp->Canvas().Handle(), 0, 0, image.Width(), h, image.Canvas().Handle(), 0, 0, SRCCOPY);
}

// The caption as a full build paints it (plate and added title included), over the frame it
// lay on; the buttons' strip is saved again from the new caption.
void TsSkinProvider::RepaintTitleFromCache(const RECT& frameArea, int captionBottom) {
  TBitmap& image = *SkinData->CacheBitmap;
  BitBlt(image.Canvas().Handle(), 0, 0, TitleBmp->Width(), TitleBmp->Height(), TitleBmp->Canvas().Handle(), 0, 0,
         SRCCOPY);
  ++TitleCacheRepaints;
  PaintTitleBand(frameArea, captionBottom);
  PaintCaptionText(frameArea, captionBottom);
  SaveTitleButtonsBg(true);
  PaintTitleButtons();
}

// What the form paints itself in OnPaint becomes part of the picture.
void TsSkinProvider::PaintOwnPicture() {
  if (!Form->OnPaint || !SkinData->CacheReusable()) return;
  HDC dc = SkinData->CacheBitmap->Canvas().Handle();
  efir::gdi::SavedState saved(dc);
  SetViewportOrgEx(dc, ClientOffsetX(), ClientOffsetY(), nullptr);
  efir::CanvasBinding bound(Form->Canvas(), dc);
  Form->OnPaint(Form);
}

void TsSkinProvider::PaintClientBackground(HDC dc, bool notifyChildren) {
  const RECT client = ClientBounds(Form);
  if (SkinData->SkinState & 1) {
    FillRectSolid(dc, client, FormBackgroundColor());
    return;
  }
  if (!SkinData->CacheLocked) BuildFormFrameImage();
  if (!SkinData->CacheBitmap) return;
  const int x = ClientOffsetX(), y = ClientOffsetY();
  CopyCacheExceptControls(Form, *SkinData, RECT{x, y, x + client.right, y + client.bottom}, 0, 0, dc, client);
  PaintGraphicControls(dc, Form, {0, 0});
  if (!notifyChildren) return;
  NotifyChildrenParentUpdated(Form);
  BroadcastToAdapters(TMessage{SM_ALPHACMD, MakeSkinWParam(SKC_PARENTUPDATED), 0, 0});
}

void TsSkinProvider::EraseBackground(HDC given) {
  HDC dc = given ? given : GetDC(Form->Handle());
  struct Release {
    HWND wnd;
    HDC dc;
    bool own;
    ~Release() {
      if (own) ReleaseDC(wnd, dc);
    }
  } release{Form->Handle(), dc, given == nullptr};
  SkinData->Updating = false;
  if (AnimShowPending || FormDestroying()) return;
  efir::gdi::SavedState saved(dc);
  // The windows paint themselves; the graphic controls come with the background.
  ExcludeChildControlRects(dc, Form, 0, 0, ecWindowed);
  PaintClientBackground(dc, true);
  if (GripVisible()) {
    OffsetViewportOrgEx(dc, -ClientOffsetX(), -ClientOffsetY(), nullptr);
    PaintSizeGrip(dc);
  }
}

void TsSkinProvider::PaintClient(TMessage& message) {
  HDC given = reinterpret_cast<HDC>(message.WParam);
  if (SkinChangeAnimating && !given) return;
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(Form->Handle(), &ps);
  struct End {
    HWND wnd;
    PAINTSTRUCT* ps;
    bool began;
    ~End() {
      if (began) EndPaint(wnd, ps);
    }
  } end{Form->Handle(), &ps, given == nullptr};
  SkinData->Updating = false;
  if (AnimShowPending || FormDestroying()) return;
  efir::gdi::SavedState saved(dc);
  PaintClientBackground(dc, true);
}

// WM_PRINT: the whole window into the DC, as the animation and the background queries want it.
void TsSkinProvider::PrintForm(HDC dc) {
  if (!dc) return;
  SkinData->SetUpdating(false);
  if (SkinData->BackgroundChanged) BuildFormFrameImage();
  if (SkinData->CacheBitmap && HasBorder())
    BitBlt(dc, 0, 0, SkinData->CacheBitmap->Width(), SkinData->CacheBitmap->Height(),
           SkinData->CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
  efir::gdi::SavedState saved(dc);
  OffsetViewportOrgEx(dc, ClientOffsetX(), ClientOffsetY(), nullptr);
  const RECT client = ClientBounds(Form);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  PaintClientBackground(dc, true);
}

void TsSkinProvider::EraseMessage(TMessage& message) {
  if (!FormShowing()) return Prev(message);
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if ((Form->ControlState() & csPaintCopy) || message.WParam == static_cast<WPARAM>(message.LParam)) {
    if (dc) {
      if (SkinData->BackgroundChanged) BuildFormFrameImage();
      const RECT area{0, 0, Form->Width(), Form->Height()};
      if (SkinData->CacheBitmap && SkinData->CacheReusable())
        BitBlt(dc, 0, 0, area.right, area.bottom, SkinData->CacheBitmap->Canvas().Handle(), ClientOffsetX(),
               ClientOffsetY(), SRCCOPY);
      else
        FillRectSolid(dc, area, WindowBackgroundColor(Form->Handle()));
    }
    message.Result = 1;
    return;
  }
  if (!SkinData->CacheReusable()) {
    EraseBackground(dc);
    EndMaximizePending();
    message.Result = 1;
    return;
  }
  if (SkinData->Updating) return;
  RECT clip{};
  if (dc && GetClipBox(dc, &clip) <= NULLREGION) {
    NotifyChildrenParentUpdated(Form);
    return;
  }
  message.Result = 1;
}

void TsSkinProvider::PaintMessage(TMessage& message) {
  if (Form->ControlState() & csPaintCopy) return;
  // A border window that went out of sight comes back with the form's paint (pushed anew: only
  // a push shows it).
  if (BorderForm && !ShowAnimating && !IsWindowVisible(BorderForm->Window())) BorderForm->UpdateBorderForm(true, 255);
  if (!FormShowing()) return Prev(message);
  if (SkinData->CacheReusable()) {
    PaintClient(message);
    EndMaximizePending();
  } else {
    if (SkinData->BackgroundChanged && !Destroying(this)) InvalidateRect(Form->Handle(), nullptr, TRUE);
    PAINTSTRUCT ps{};
    BeginPaint(Form->Handle(), &ps);
    EndPaint(Form->Handle(), &ps);
  }
  message.Result = 0;
  RunFormPaintHandler();
}

// The form's own painting goes over the skinned client as it would over a plain one (the
// picture holds it only as of its last build).
void TsSkinProvider::RunFormPaintHandler() {
  if (ShowAnimating || !Form->OnPaint || !Form->HandleAllocated()) return;
  HWND wnd = Form->Handle();
  HDC dc = GetDC(wnd);
  {
    efir::CanvasBinding bound(Form->Canvas(), dc);
    Form->OnPaint(Form);
  }
  ReleaseDC(wnd, dc);
}

// ---------------------------------------------------------------------------- graphic controls

void PaintGraphicControls(HDC dc, TWinControl* parent, POINT offset) {
  if (!parent || !parent->Visible() || parent->ControlCount() == 0) return;
  RECT clip{};
  if (GetClipBox(dc, &clip) <= NULLREGION || IsRectEmpty(&clip)) {
    if (parent->HandleAllocated()) SendSkinCommandToWindow(parent->Handle(), SKC_SETPARENTPENDING, 0);
    return;
  }
  std::vector<TControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (PaintsAsGraphic(child, dc)) children.push_back(child);
  }
  if (children.empty()) return;
  BackgroundInfo behind;
  QueryParentBackground(behind, parent, false);
  const RECT area = parent->ClientRect();
  HDC screen = GetDC(nullptr);
  efir::gdi::MemoryDC memory(screen);
  efir::gdi::Object<HBITMAP> bitmap(CreateCompatibleBitmap(screen, std::max<LONG>(area.right, 1), std::max<LONG>(area.bottom, 1)));
  ReleaseDC(nullptr, screen);
  efir::gdi::Selection keep(memory, bitmap.get());
  // Each child's place first takes what lies behind it, then every child paints in order, so
  // a see-through child shows the ones below it.
  for (TControl* child : children) {
    const RECT r = child->BoundsRect();
    if (child->ControlStyle() & csOpaque)
      FillRectSolid(memory, r, ControlBackgroundColor(child));
    else if (behind.Kind == BG_BITMAP && behind.Bitmap)
      BitBlt(memory, r.left, r.top, r.right - r.left, r.bottom - r.top, behind.Bitmap->Canvas().Handle(),
             r.left + behind.OffsetX, r.top + behind.OffsetY, SRCCOPY);
    else
      FillRectSolid(memory, r, behind.Color);
  }
  const bool copy = (parent->ControlState() & csPaintCopy) != 0;
  for (TControl* child : children) {
    efir::gdi::SavedState saved(memory);
    OffsetViewportOrgEx(memory, child->Left(), child->Top(), nullptr);
    IntersectClipRect(memory, 0, 0, child->Width(), child->Height());
    if (copy) child->SetControlState(child->ControlState() | csPaintCopy);
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<HDC>(memory)), 0);
    if (copy) child->SetControlState(child->ControlState() & ~csPaintCopy);
  }
  for (TControl* child : children) {
    if (GetPixel(memory, child->Left(), child->Top()) == 0xFF00FF) continue;
    BitBlt(dc, child->Left() + offset.x, child->Top() + offset.y, child->Width(), child->Height(), memory,
           child->Left(), child->Top(), SRCCOPY);
  }
}

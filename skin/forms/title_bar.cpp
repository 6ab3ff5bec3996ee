// The caption band of a skinned form, inside its frame image: the title section, the icon,
// the TITLEBAR strip, the system and user title buttons, and the caption text with its
// optional CAPTION plate and added title. The buttons' rectangles are kept in their records
// (frame coordinates) for the hit test and for repainting one button.
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/bit_btn_layout.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/frame_geometry.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/title_layout.h"

namespace {

const TsMaskData* MaskOf(const TsSkinManager* manager, int index) {
  return MaskIndexValid(manager, index) ? &manager->Masks[static_cast<size_t>(index)] : nullptr;
}

int StateWidth(const TsMaskData& mask) {
  return mask.Image ? mask.Image->Width() / std::max(mask.ImageCount, 1) : MaskStateWidth(mask);
}

int StateHeight(const TsMaskData& mask) {
  return mask.Image ? mask.Image->Height() / 2 : MaskStateHeight(mask);
}

int GlobalMask(const TsSkinManager* manager, const char* name) {
  return MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", name);
}

const UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

}  // namespace

// ---------------------------------------------------------------------------- measures

int TsSkinProvider::GetTitleSection() {
  if (TitleSectionIndex == -1) TitleSectionIndex = TitleSectionOfSkin();
  return TitleSectionIndex;
}

// The section TitleSkin names, or FORMTITLE when it names none of the skin's.
int TsSkinProvider::TitleSectionOfSkin() const {
  TsSkinManager* manager = Manager();
  const int named = TitleSkin().empty() ? -1 : SectionIndexByName(manager, TitleSkin());
  return SectionIndexValid(manager, named) ? named : SectionIndexByName(manager, "FORMTITLE");
}

bool TsSkinProvider::TitleIconVisible() const {
  return Form && Form->HandleAllocated() && (Form->BorderStyle() == bsSingle || Form->BorderStyle() == bsSizeable) &&
         ShowAppIcon() && GetSystemMenu(Form->Handle(), FALSE) != nullptr;
}

int TsSkinProvider::TitleIconWidth() const {
  if (!TitleIconVisible()) return 0;
  return TitleIcon.Width != 0 ? TitleIcon.Width : TitleIconSize(CaptionHeight(true));
}

int TsSkinProvider::TitleIconHeight() const {
  if (!TitleIconVisible()) return 0;
  return TitleIcon.Height != 0 ? TitleIcon.Height : TitleIconSize(CaptionHeight(true));
}

RECT TsSkinProvider::TitleIconRect() const {
  const TsSkinData& skin = Manager()->LoadedSkin;
  const RECT shadow = ExtShadowMargins();
  RECT r{};
  r.left = FrameBorderWidth(true) + skin.BILeft + shadow.left;
  r.right = r.left + TitleIconWidth();
  r.top = FrameBorderWidth(false) / 2 + shadow.top - 1;
  r.top += (FrameTopBorderWidth(false) + CaptionHeight(true) + shadow.top - r.top - TitleIconHeight()) / 2;
  r.bottom = r.top + TitleIconHeight();
  if (BorderFormInfo()) {
    int down = skin.CenterOffset;
    if (IsZoomed(Form->Handle()) && skin.TitleHeight != skin.MaxHeight) down += (skin.TitleHeight - skin.MaxHeight) / 2 - 2;
    OffsetRect(&r, 0, down);
  }
  return r;
}

int TsSkinProvider::SysButtonWidth(const TitleButtonData& button) const {
  const TsMaskData* mask = MaskOf(Manager(), button.ImageIndex);
  return mask ? StateWidth(*mask) : 21;
}

int TsSkinProvider::SysButtonHeight() const {
  const TsMaskData* mask = MaskOf(Manager(), ButtonClose.ImageIndex);
  return mask ? StateHeight(*mask) : 21;
}

int TsSkinProvider::VisibleSysButtonCount() const {
  if (!SystemMenu || !SystemMenu->VisibleClose()) return 0;
  return 1 + (SystemMenu->VisibleMax() ? 1 : 0) + (SystemMenu->VisibleMin() ? 1 : 0) +
         ((Form->BorderIcons() & biHelp) ? 1 : 0);
}

int TsSkinProvider::TitleButtonWidth(const TsTitleButton& button) const {
  const TsMaskData* mask = MaskOf(Manager(), UserButtonMaskIndex);
  return std::max(button.Glyph.Width() + 2, mask ? StateWidth(*mask) : 21);
}

int TsSkinProvider::TitleButtonsWidth() const {
  const TsSkinData& skin = Manager()->LoadedSkin;
  std::vector<int> system, user;
  if (SystemMenu && SystemMenu->VisibleClose()) {
    system.push_back(SysButtonWidth(ButtonClose));
    if (SystemMenu->VisibleMax()) system.push_back(SysButtonWidth(ButtonMax));
    if (SystemMenu->VisibleMin()) system.push_back(SysButtonWidth(ButtonMin));
    if (Form->BorderIcons() & biHelp) system.push_back(SysButtonWidth(ButtonHelp));
  }
  for (int i = 0; i < TitleButtons.Count(); ++i) user.push_back(TitleButtonWidth(TitleButtons.Items(i)));
  return ::TitleButtonsWidth(skin.BIRight, HasNormalCaption() ? skin.BISpace : 0, system, user);
}

POINT TsSkinProvider::GripPosition(int maskIndex) const {
  const TsMaskData* mask = MaskOf(Manager(), maskIndex);
  const int w = mask ? MaskStateWidth(*mask) : 0, h = mask ? MaskStateHeight(*mask) : 0;
  const RECT shadow = ExtShadowMargins();
  return {FrameImageWidth() - w - FrameBorderWidth(true) - shadow.right - 1,
          FrameImageHeight() - h - FrameBorderWidth(true) - shadow.bottom - 1};
}

// ---------------------------------------------------------------------------- painting

void TsSkinProvider::PaintTitleBand(const RECT& frameArea, int captionBottom) {
  if (CaptionHeight(true) == 0 || !DrawNonClientArea) return;
  TsSkinManager* manager = Manager();
  TBitmap& image = *SkinData->CacheBitmap;
  const int title = GetTitleSection();
  const bool borderMode1 = BorderFormInfo() && manager->LoadedSkin.BorderMode == 1;
  if (SectionIndexValid(manager, title) && !borderMode1) {
    RECT band{frameArea.left, frameArea.top, frameArea.right, captionBottom};
    if (IsIconic(Form->Handle())) band = frameArea;
    RenderSectionItem(title, manager->GeneralData[static_cast<size_t>(title)].SectionName, BitmapSource(image), true,
                      FormActive ? 1 : 0, band, {0, 0}, &image, manager, -1, -1);
  }
  PaintTitleIcon();
  const int bar = MaskIndexByName(manager, SkinData->SectionIndex, SkinData->SkinSection(), "TITLEBAR");
  if (VisibleSysButtonCount() > 0 && MaskIndexValid(manager, bar)) {
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(bar)];
    const int third = mask.Image ? mask.Image->Width() / 9 : (mask.R.right - mask.R.left) / std::max(mask.ImageCount * 3, 1);
    const int strip = 2 * third + TitleButtonsWidth();
    PaintSkinSlices(&image, {image.Width() - strip, 0, image.Width(), CaptionHeight(true) + FrameTopBorderWidth(false)},
                    true, BitmapSource(image), mask, FormActive ? 1 : 0, true, manager);
  }
}

void TsSkinProvider::PaintCaptionText(const RECT& frameArea, int captionBottom) {
  if (CaptionHeight(true) == 0 || !DrawNonClientArea) return;
  TsSkinManager* manager = Manager();
  const TsSkinData& skin = manager->LoadedSkin;
  TBitmap& image = *SkinData->CacheBitmap;
  const RECT shadow = ExtShadowMargins();
  const bool captionPlate = SectionIndexValid(manager, CaptionSectionIndex);
  RECT t{};
  t.left = FrameBorderWidth(true) + (TitleIconVisible() ? TitleIconWidth() : 0) + skin.BILeft + shadow.left +
           (captionPlate ? 2 : 0) + 4;
  t.right = frameArea.right - TitleButtonsWidth() - shadow.right - 6;
  t.bottom = captionBottom;
  t.top = IsZoomed(Form->Handle()) ? FrameBorderWidth(false) / 2 + shadow.top + 1 : shadow.top + 2;
  if (BorderFormInfo() && skin.BorderMode == 1) {
    int down = skin.CenterOffset;
    if (IsZoomed(Form->Handle()) && skin.TitleHeight != skin.MaxHeight) down += (skin.TitleHeight - skin.MaxHeight) / 2 - 2;
    OffsetRect(&t, 0, down);
  }
  if (t.right <= t.left || t.bottom <= t.top) return;
  TCanvas& canvas = image.Canvas();
  UseCaptionFont(canvas);
  const std::string caption = Form->Caption();
  const int h = CanvasTextExtent(canvas, caption.empty() ? "W" : caption).cy;
  t.top += (t.bottom - t.top - h) / 2;
  t.bottom = t.top + h;
  const UINT format = AlignmentDrawTextFlags(CaptionAlignment()) | kCaptionFormat;
  const int title = GetTitleSection();
  if (!captionPlate) {
    WriteSectionText(canvas, caption, Form->Enabled(), t, format, title, FormActive, manager);
    t.left += CanvasTextWidth(canvas, caption);
  } else {
    RECT plate = MeasureTextOnDC(canvas.Handle(), caption, t, format | DT_CALCRECT);
    const int room = (t.right - t.left) - (plate.right - plate.left);
    if (CaptionAlignment() == taRightJustify) OffsetRect(&plate, room, 0);
    else if (CaptionAlignment() == taCenter) OffsetRect(&plate, room / 2, 0);
    InflateRect(&plate, 4, 2);
    // The plate's see-through parts show the caption band as it is now.
    auto band = NewBitmap32(image.Width(), captionBottom);
    BitBlt(band->Canvas().Handle(), 0, 0, image.Width(), captionBottom, canvas.Handle(), 0, 0, SRCCOPY);
    RenderSectionItem(CaptionSectionIndex, "CAPTION", BitmapSource(*band), true, FormActive ? 1 : 0, plate, {0, 0},
                      &image, manager, -1, -1);
    WriteSectionText(canvas, caption, Form->Enabled(), t, format, CaptionSectionIndex, FormActive, manager);
    t.left = plate.right;
  }
  if (AddedTitle.Text().empty()) return;
  t.left += 4;
  if (t.left + 8 >= t.right) return;
  canvas.Font().Assign(AddedTitle.Font());
  const TColor wanted = AddedTitle.Font().Color();
  const TsGeneralData* section = SectionIndexValid(manager, title) ? &manager->GeneralData[static_cast<size_t>(title)] : nullptr;
  if (section) {
    if (wanted == clNone || wanted == clWindowText) canvas.Font().SetColor(FormActive ? section->HotFontColor[0] : section->FontColor[0]);
    else if (!FormActive) canvas.Font().SetColor(MixColors(section->FontColor[0], wanted, 0.5));
  }
  SetBkMode(canvas.Handle(), TRANSPARENT);
  DrawTextOnDC(canvas.Handle(), AddedTitle.Text(), t, format);
}

void TsSkinProvider::PlaceTitleButton(TitleButtonData& button, int imageIndex, const TsTitleButton* user, bool enabled) {
  TsSkinManager* manager = Manager();
  const TsSkinData& skin = manager->LoadedSkin;
  button.Rect.left = button.Rect.right - (user ? TitleButtonWidth(*user) : SysButtonWidth(button));
  TitleButtonTopMeasures m;
  m.BigIcon = button.BigIcon;
  m.BIVAlign = skin.BIVAlign;
  m.Maximized = IsZoomed(Form->Handle()) != 0;
  m.HasBorderForm = BorderFormInfo() != nullptr;
  m.HasNormalCaption = HasNormalCaption();
  m.ShadowTop = ExtShadowMargins().top;
  m.FrameBorderWidth = FrameBorderWidth(false);
  m.FrameTopBorderWidth = FrameTopBorderWidth(true);
  m.CaptionHeight = CaptionHeight(true);
  m.ButtonHeight = SysButtonHeight();
  m.TitleHeight = skin.TitleHeight;
  m.MaxHeight = skin.MaxHeight;
  m.CenterOffset = skin.CenterOffset;
  m.BorderMode = skin.BorderMode;
  button.Rect.top = TitleButtonTop(m);
  button.Rect.bottom = button.Rect.top + m.ButtonHeight;
  const TsMaskData* mask = MaskOf(manager, imageIndex);
  if (!mask) return;
  TBitmap& image = *SkinData->CacheBitmap;
  // A fading button draws its lit looks in its own window over the normal one.
  const int state = button.GlowTimer ? 0 : std::clamp(button.State, 0, 2);
  const int mode = (!FormActive || !enabled) && state == 0 ? 2 : 1;
  PaintMaskFrame(&image, {button.Rect.left, button.Rect.top}, state, mode, *mask, BitmapSource(image));
}

void TsSkinProvider::PaintTitleButtons() {
  if (!HasBorder()) return;
  TsSkinManager* manager = Manager();
  const TsSkinData& skin = manager->LoadedSkin;
  RestoreTitleButtonsBg();
  struct Shown {
    TitleButtonData* Button;
    int Image;
    bool Enabled;
  };
  std::vector<Shown> system;  // from the right
  auto show = [&](TitleButtonData& button, int image, bool enabled) {
    if (MaskIndexValid(manager, image)) system.push_back({&button, image, enabled});
  };
  auto normalImage = [&] {
    const int own = GlobalMask(manager, "BICONNORM");
    return own >= 0 ? own : MaskIndexByName(manager, SkinData->SectionIndex, SkinData->SkinSection(), "BICONNORM");
  };
  HWND wnd = Form->Handle();
  if (SystemMenu && SystemMenu->VisibleClose()) {
    show(ButtonClose, ButtonClose.ImageIndex, true);
    if (SystemMenu->VisibleMax()) {
      const bool zoomed = IsZoomed(wnd) != 0;
      ButtonMax.ImageIndex = zoomed ? normalImage() : GlobalMask(manager, ButtonMax.BigIcon ? "BICONMAX" : "SICONMAX");
      show(ButtonMax, ButtonMax.ImageIndex, zoomed ? SystemMenu->EnabledRestore() : SystemMenu->EnabledMax());
    }
    if (SystemMenu->VisibleMin()) {
      const bool iconic = IsIconic(wnd) != 0;
      show(ButtonMin, iconic ? normalImage() : ButtonMin.ImageIndex,
           iconic ? SystemMenu->EnabledRestore() : SystemMenu->EnabledMin());
    }
    if (Form->BorderIcons() & biHelp) show(ButtonHelp, ButtonHelp.ImageIndex, true);
  }
  TitleRowInput input;
  input.FrameImageWidth = FrameImageWidth();
  input.BIRight = skin.BIRight;
  input.ShadowRight = ExtShadowMargins().right;
  input.BorderWidth = FrameBorderWidth(true);
  input.Gap = HasNormalCaption() ? skin.BISpace : 0;
  for (const Shown& s : system) input.SystemWidths.push_back(SysButtonWidth(*s.Button));
  for (int i = 0; i < TitleButtons.Count(); ++i) {
    const TsTitleButton& user = TitleButtons.Items(i);
    input.UserWidths.push_back(user.Visible() ? TitleButtonWidth(user) : 0);
  }
  const TitleRow row = LayoutTitleRow(input);
  for (size_t i = 0; i < system.size(); ++i) {
    system[i].Button->Rect.right = row.System[i].Right;
    PlaceTitleButton(*system[i].Button, system[i].Image, nullptr, system[i].Enabled);
  }
  for (int i = 0; i < TitleButtons.Count(); ++i) {
    TsTitleButton& user = TitleButtons.Items(i);
    if (!user.Visible()) continue;
    user.Data.ImageIndex = user.UseSkinData && MaskIndexValid(manager, UserButtonMaskIndex) ? UserButtonMaskIndex : -1;
    user.Data.Rect.right = row.User[static_cast<size_t>(i)].Right;
    PlaceTitleButton(user.Data, user.Data.ImageIndex, &user, user.Enabled);
    user.Data.HitCode = 1000 + i;
    PaintUserButtonGlyph(user);
  }
}

// The glyph centred in its button, one pixel right and down while pressed.
void TsSkinProvider::PaintUserButtonGlyph(TsTitleButton& user) {
  if (user.Glyph.Empty()) return;
  TBitmap& image = *SkinData->CacheBitmap;
  const int shift = user.Data.State == 2 ? 1 : 0;
  const int left = user.Data.Rect.left + (TitleButtonWidth(user) - user.Glyph.Width()) / 2 + shift;
  const int top = user.Data.Rect.top + (SysButtonHeight() - user.Glyph.Height()) / 2 + shift;
  if (user.Glyph.PixelFormat() == pf32bit) {
    CopyMaskCellTransparent({left, top, left + user.Glyph.Width(), top + user.Glyph.Height()},
                            {0, 0, user.Glyph.Width(), user.Glyph.Height()}, &image, &user.Glyph,
                            EmptyCacheSourceInfo, false);
    return;
  }
  auto glyph = NewBitmap24(user.Glyph.Width(), user.Glyph.Height());
  glyph->Canvas().Draw(0, 0, user.Glyph);
  const TColor key = static_cast<TColor>(GetPixel(glyph->Canvas().Handle(), 0, glyph->Height() - 1));
  CopyBitmapKeyed(&image, glyph.get(), left, top, key);
}

void TsSkinProvider::SaveTitleButtonsBg(bool fullHeight) {
  TBitmap& image = *SkinData->CacheBitmap;
  const RECT shadow = ExtShadowMargins();
  const int w = FrameBorderWidth(true) + TitleButtonsWidth() + shadow.right + 10;
  const int h = FrameTopBorderWidth(true) + CaptionHeight(true) + FrameBorderWidth(false) + shadow.top;
  if (!TitleButtonsBg) TitleButtonsBg = std::make_unique<TBitmap>();
  TitleButtonsBg->SetPixelFormat(image.PixelFormat());
  TitleButtonsBg->SetSize(w, h);
  const int rows = fullHeight ? h : FrameTopBorderWidth(true) + CaptionHeight(true);
  BitBlt(TitleButtonsBg->Canvas().Handle(), 0, 0, w, rows, image.Canvas().Handle(), image.Width() - w - 1, 0, SRCCOPY);
}

void TsSkinProvider::RestoreTitleButtonsBg() {
  if (!TitleButtonsBg || TitleButtonsBg->Empty() || !SkinData->CacheBitmap) return;
  TBitmap& image = *SkinData->CacheBitmap;
  BitBlt(image.Canvas().Handle(), image.Width() - TitleButtonsBg->Width() - 1, 0, TitleButtonsBg->Width(),
         TitleButtonsBg->Height(), TitleButtonsBg->Canvas().Handle(), 0, 0, SRCCOPY);
}

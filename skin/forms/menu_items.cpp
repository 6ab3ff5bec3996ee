// Measuring and drawing one popup item from the skin.
#include <algorithm>
#include <cmath>

#include <commctrl.h>

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/main_menu.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/engine/textures.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/window_relays.h"

TsMenuItemType CurrentMenuItemType = smNormal;

namespace efir::menus {

bool IsCaptionItem(const TMenuItem* item) {
  const std::string& caption = item->Caption();
  return caption.size() > 1 && caption.front() == '-' && caption.back() == '-';
}

std::string CaptionWord(const std::string& caption) {
  size_t start = caption.find_first_not_of('-');
  if (start == std::string::npos) return {};
  return caption.substr(start, caption.find('-', start) - start);
}

bool ItemInBrokenColumn(const TMenuItem* item) {
  const TMenuItem* parent = item->Parent();
  if (!parent) return false;
  for (int i = 0; i < parent->Count(); ++i) {
    if (parent->Items(i)->Break() != mbNone) return true;
    if (parent->Items(i) == item) break;
  }
  return false;
}

bool IsFirstVisibleItem(const TMenuItem* item) {
  const TMenuItem* parent = item->Parent();
  if (!parent) return false;
  for (int i = 0; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i) == item;
  return false;
}

bool IsLastVisibleItem(const TMenuItem* item) { return item->Parent() && !NextVisibleItem(item); }

const TMenuItem* NextVisibleItem(const TMenuItem* item) {
  const TMenuItem* parent = item->Parent();
  if (!parent) return nullptr;
  for (int i = parent->IndexOf(item) + 1; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i);
  return nullptr;
}

}  // namespace efir::menus

namespace {

using namespace efir::menus;

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
constexpr UINT kItemTextFlags = DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
constexpr UINT kShortCutFlags = DT_SINGLELINE | DT_VCENTER;
constexpr UINT kCaptionFlags = DT_HIDEPREFIX | DT_SINGLELINE | DT_VCENTER | DT_CENTER;
constexpr double kDisabledKeeps = 0.4;

TsMenuItemType KindOf(const TMenuItem* item) {
  if (item->IsLine()) return smDivider;
  return IsCaptionItem(item) ? smCaption : smNormal;
}

// A caption that starts with #8 is right-aligned and padded.
bool RightAligned(const std::string& caption) { return !caption.empty() && caption[0] == '\b'; }

std::string ShownCaption(const std::string& caption) {
  return RightAligned(caption) ? caption.substr(1) + "      " : caption;
}

UINT AlignmentFlags(TAlignment alignment) {
  static constexpr UINT kFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  return kFlags[alignment];
}

void CopyFromBitmap(HDC dest, int x, int y, int w, int h, TBitmap& source, int sx, int sy) {
  if (w > 0 && h > 0) BitBlt(dest, x, y, w, h, source.Canvas().Handle(), sx, sy, SRCCOPY);
}

// The system-menu symbols of the Webdings font, by command.
const char* SystemCommandSymbol(intptr_t command) {
  switch (command) {
    case SC_MINIMIZE: return "0";
    case SC_MAXIMIZE: return "1";
    case SC_CLOSE: return "r";
    case SC_RESTORE: return "2";
    default: return nullptr;
  }
}

bool InSystemMenu(const TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  return menu && menu->Name() == "SysMenu";
}

}  // namespace

int TsSkinableMenus::SkinBorderWidth() {
  if (skinBorderWidth_ >= 0) return skinBorderWidth_;
  int mask = MaskIndexExact(owner_, "MAINMENU", "BORDERSMASK");
  if (!MaskIndexValid(owner_, mask)) return skinBorderWidth_ = 0;
  int width = owner_->Masks[static_cast<size_t>(mask)].BorderWidth;
  return skinBorderWidth_ = width > 0 ? width : 3;
}

void TsSkinableMenus::AssignMenuFont(TCanvas& canvas, const TMenuItem* item, bool bold) const {
  efir::AssignMenuFont(canvas.Font());
  // The menu's text is in the language of the form it belongs to.
  if (TForm* form = item ? FindOwnerForm(item->GetParentMenu()) : nullptr) canvas.Font().SetCharset(form->Font().Charset());
  if (bold) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
}

namespace {

// The image list of the item's menu; nullptr when none.
HIMAGELIST MenuImages(const TMenuItem* item) {
  const TMenu* menu = item->GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

// The item shows a picture of its menu's image list.
bool HasListImage(const TMenuItem* item) {
  HIMAGELIST images = MenuImages(item);
  return images && item->ImageIndex() >= 0 && item->ImageIndex() < ImageList_GetImageCount(images);
}

}  // namespace

SIZE TsSkinableMenus::GlyphSize(const TMenuItem* item) const {
  if (item->HasBitmap()) return {item->Bitmap()->Width(), item->Bitmap()->Height()};
  if (HIMAGELIST images = MenuImages(item)) {
    int w = 0, h = 0;
    if (ImageList_GetIconSize(images, &w, &h)) return {w, h};
  }
  return {16, 16};
}

int TsSkinableMenus::ItemHeight(TCanvas& canvas, const TMenuItem* item) {
  if (item->IsLine()) return 2;
  AssignMenuFont(canvas, item, item->Default());
  int line = static_cast<int>(std::lrint(canvas.TextHeight("W") * 1.25));
  if (!IsCaptionItem(item)) line = std::max<int>(line, GlyphSize(item).cy);
  return line + 2 * Margin;
}

void TsSkinableMenus::MeasurePopupItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || (item->ComponentState() & csDestroying)) return;
  PopupItemsMeasured = true;
  MenuCacheEntry* entry = FindMenuCacheEntry(item, 0, 0, nullptr);
  CurrentMenuItemType = KindOf(item);
  bool lineVisible = entry && entry->ExtraLineVisible;
  if (!entry && item->Parent() && item->Parent()->Count() > 0 && !askingExtraLine_)
    AskExtraLine(item->Parent()->Items(0), lineVisible);

  AssignMenuFont(*ACanvas, item, item->Default());
  std::string text;
  if (CurrentMenuItemType == smCaption) text = "-" + item->Caption() + "-";
  else if (CurrentMenuItemType == smNormal) text = ShownCaption(item->Caption()) + ShortCutToText(item->ShortCut());
  RECT r{0, 0, 1, 0};
  ACanvas->TextRect(r, text, kMeasureFlags);
  int textWidth = text.empty() ? 0 : static_cast<int>(r.right - r.left);

  Width = 2 * GlyphSize(item).cx + textWidth + 3 * Margin + Spacing;
  if (lineVisible && owner_->MenuSupport.UseExtraLine && !ItemInBrokenColumn(item))
    Width += owner_->MenuSupport.ExtraLineWidth;
  Height = ItemHeight(*ACanvas, item);
}

void TsSkinableMenus::DrawPopupItem(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !owner_ || !owner_->Active() || !owner_->LoadedSkin.Active) return;
  HWND wnd = WindowFromDC(ACanvas->Handle());
  RECT window{};
  if (wnd) {
    GetWindowRect(wnd, &window);
  } else {
    window = {0, 0, PopupWidth(*ACanvas, item) + 2 * BorderWidth, PopupHeight(*ACanvas, item) + 2 * BorderWidth};
  }
  MenuCacheEntry* entry =
      FindMenuCacheEntry(item, window.right - window.left, window.bottom - window.top, wnd);
  TBitmap* bg = entry ? entry->Bitmap.get() : nullptr;
  int extraX = ItemInBrokenColumn(item) ? 0 : ExtraLineWidth(entry);
  POINT inset = PopupClientOffset(wnd);
  if (wnd && bg) CopyBorderBands(wnd, *bg, item, ARect, extraX, inset);
  if (!wnd && Application.HandleAllocated()) {
    // Without the window the application's hook gives the popup its region later.
    MSG waiting;
    HWND app = Application.Handle();
    if (!PeekMessageW(&waiting, app, WM_ACPOPUPITEMSHOWN, WM_ACPOPUPWINDOWSHOWN, PM_NOREMOVE))
      PostMessageW(app, WM_ACPOPUPITEMSHOWN, 0, reinterpret_cast<LPARAM>(item));
  }
  if (!entry) return;
  switch (KindOf(item)) {
    case smDivider:
      PaintDivider(*ACanvas, ARect, *entry, bg, inset);
      return;
    case smCaption:
      PaintCaptionItem(*ACanvas, ARect, *entry, bg, inset, item);
      return;
    default:
      CurrentMenuItemType = smNormal;
      if (bg) PaintOrdinaryItem(*ACanvas, ARect, State, item, *entry, extraX, inset);
  }
}

void TsSkinableMenus::CopyBorderBands(HWND wnd, TBitmap& bg, const TMenuItem* item, RECT r, int extraX, POINT inset) {
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  const int w = bg.Width(), h = bg.Height(), itemHeight = r.bottom - r.top, top = inset.y + r.top;
  if (IsFirstVisibleItem(item)) CopyFromBitmap(dc, 0, 0, w, BorderWidth, bg, 0, 0);
  if (IsLastVisibleItem(item)) CopyFromBitmap(dc, 0, h - BorderWidth, w, BorderWidth, bg, 0, h - BorderWidth);
  CopyFromBitmap(dc, 0, top, extraX + std::max(SkinBorderWidth(), BorderWidth), itemHeight, bg, 0, top);
  CopyFromBitmap(dc, w - BorderWidth, top, BorderWidth, itemHeight, bg, w - BorderWidth, top);
  ReleaseDC(wnd, dc);
}

void TsSkinableMenus::PaintOrdinaryItem(TCanvas& canvas, RECT r, TOwnerDrawState state, TMenuItem* item,
                                        const MenuCacheEntry& entry, int extraX, POINT inset) {
  TBitmap& bg = *entry.Bitmap;
  const int width = r.right - r.left, height = r.bottom - r.top;
  // Bottom of the item area, in the canvas's coordinates.
  const int areaBottom = bg.Height() - inset.y - BorderWidth;
  HDC dc = canvas.Handle();
  const TMenuItem* next = NextVisibleItem(item);
  if ((next && next->Break() != mbNone) || (!next && r.bottom < areaBottom))
    CopyFromBitmap(dc, r.left, r.bottom, width, areaBottom - r.bottom, bg, r.left + inset.x, r.bottom + inset.y);
  if (item->Break() != mbNone)
    CopyFromBitmap(dc, r.left - 4, r.top, 4, areaBottom - r.top, bg, r.left - 4 + inset.x, r.top + inset.y);

  auto b = NewBitmap24(std::max(width - extraX, 0), height);
  const bool enabled = item->Enabled();
  const bool hot = enabled && (state & (odSelected | odHotLight));
  CacheSourceInfo behind;
  MakeCacheSourceInfo(&bg, inset.x, inset.y, behind);
  const int section = SectionIndexByName(owner_, "MENUITEM");
  if (SectionIndexValid(owner_, section))
    RenderSectionItem(section, "MENUITEM", behind, true, enabled && (state & odSelected) ? 1 : 0,
                      {0, 0, b->Width(), b->Height()}, {extraX + r.left, r.top}, b.get(), owner_, -1, -1);
  else
    CopyFromBitmap(b->Canvas().Handle(), 0, 0, b->Width(), height, bg, extraX + r.left + inset.x, r.top + inset.y);

  // A checked item with a picture shows the picture pressed instead of a check mark.
  if ((state & odChecked) && !item->HasBitmap() && !HasListImage(item)) {
    int mask = MaskIndexExact(owner_, "GLOBALINFO", item->RadioItem() ? "RADIOCHECKED" : "CHECK");
    if (!MaskIndexValid(owner_, mask)) mask = MaskIndexExact(owner_, "GLOBALINFO", "BOXCHECKED");
    if (MaskIndexValid(owner_, mask)) {
      CacheSourceInfo self;
      MakeCacheSourceInfo(b.get(), 0, 0, self);
      const TsMaskData& glyph = owner_->Masks[static_cast<size_t>(mask)];
      const int glyphHeight = (glyph.R.bottom - glyph.R.top) / (std::max(glyph.MaskType, 0) + 1);
      PaintMaskFrame(b.get(), {Margin, (height - glyphHeight) / 2}, hot && (state & odSelected) ? 1 : 0, 1, glyph,
                     self);
    }
  }
  PaintItemGlyph(*b, item, state);

  TCanvas& out = b->Canvas();
  AssignMenuFont(out, item, item->Default());
  RECT textRect{GlyphSize(item).cx + 2 * Margin + Spacing, 0, width, height};
  UINT flags = (RightAligned(item->Caption()) ? DT_RIGHT : AlignmentFlags(Alignment)) | kItemTextFlags;
  if (state & odNoAccel) flags |= DT_HIDEPREFIX;
  WriteSectionText(out, ShownCaption(item->Caption()), enabled, textRect, flags, section, hot, owner_);
  std::string shortCut = ShortCutToText(item->ShortCut());
  if (!shortCut.empty()) {
    RECT measured{0, 0, 0, 0};
    out.TextRect(measured, shortCut, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    RECT place{width - (measured.right - measured.left) - 8 - extraX, 0, width - 8 - extraX, height};
    WriteSectionText(out, shortCut, enabled, place, kShortCutFlags, section, hot, owner_);
  }
  if (OnDrawItem) OnDrawItem(item, &out, {0, 0, b->Width(), b->Height()}, state, CurrentMenuItemType);
  if (!enabled) {
    const int left = extraX + r.left + inset.x, top = r.top + inset.y;
    CopyBlendedRect(b.get(), 0, 0, &bg, {left, top, left + b->Width() - 1, top + height - 1}, kDisabledKeeps,
                    TransparentKeyColor);
  }
  CopyFromBitmap(dc, extraX + r.left, r.top, b->Width(), height, *b, 0, 0);
  if (extraX > 0 && IsFirstVisibleItem(item))
    CopyFromBitmap(dc, 0, 0, extraX + BorderWidth, bg.Height(), bg, inset.x, inset.y);
}

void TsSkinableMenus::PaintPressedFrame(TBitmap& b, const RECT& glyph) {
  const int section = SectionIndexByName(owner_, "SPEEDBUTTON_SMALL");
  if (!SectionIndexValid(owner_, section)) return;
  CacheSourceInfo self;
  MakeCacheSourceInfo(&b, 0, 0, self);
  RenderSectionItem(section, "SPEEDBUTTON_SMALL", self, true, 2,
                    {glyph.left - 1, glyph.top - 1, glyph.right + 1, glyph.bottom + 1}, {glyph.left - 1, glyph.top - 1},
                    &b, owner_, -1, -1);
}

void TsSkinableMenus::PaintItemGlyph(TBitmap& b, const TMenuItem* item, TOwnerDrawState state) {
  const bool hot = item->Enabled() && (state & (odSelected | odHotLight));
  if (item->HasBitmap()) {
    const TBitmap& glyph = *item->Bitmap();
    int top = (b.Height() - glyph.Height()) / 2;
    if (state & odChecked) PaintPressedFrame(b, {top, top, top + glyph.Width(), top + glyph.Height()});
    b.Canvas().Draw(top, top, glyph);
    return;
  }
  if (HasListImage(item)) {
    HIMAGELIST images = MenuImages(item);
    int w = 0, h = 0;
    ImageList_GetIconSize(images, &w, &h);
    const int margin = (b.Height() - h) / 2;
    if (state & odChecked) PaintPressedFrame(b, {margin, margin, margin + w, margin + h});
    ImageList_Draw(images, item->ImageIndex(), b.Canvas().Handle(), margin, margin, ILD_TRANSPARENT);
    return;
  }
  const char* symbol = InSystemMenu(item) ? SystemCommandSymbol(item->Tag()) : nullptr;
  if (!symbol) return;
  TCanvas& out = b.Canvas();
  out.Font().SetName("Webdings");
  out.Font().SetSize(10);
  out.Font().SetStyle(0);
  int textHeight = out.TextHeight(symbol);
  int top = (b.Height() - textHeight) / 2;
  RECT place{4, top, 4 + textHeight + 10, top + textHeight};
  WriteSectionText(out, symbol, item->Enabled(), place, 0, SectionIndexByName(owner_, "MENUITEM"), hot, owner_);
}

void TsSkinableMenus::PaintDivider(TCanvas& canvas, RECT r, const MenuCacheEntry& entry, TBitmap* bg, POINT inset) {
  const int mask = MaskIndexExact(owner_, "DIVIDERV", "BORDERSMASK");
  if (!MaskIndexValid(owner_, mask)) {
    int width = 1;
    DrawColorFrame(canvas.Handle(), r, clGray, clWhite, width);
    return;
  }
  const int w = r.right - r.left, h = r.bottom - r.top, extra = ExtraLineWidth(&entry);
  auto t = NewBitmap24(w, h);
  if (bg) CopyFromBitmap(t->Canvas().Handle(), 0, 0, w, h, *bg, r.left + inset.x, r.top + inset.y);
  RECT line{extra + Margin + Spacing, 0, w - Margin, h};
  if (line.left < extra + IconLineWidth) line.left = extra + IconLineWidth + 2;
  CacheSourceInfo self;
  MakeCacheSourceInfo(t.get(), 0, 0, self);
  PaintSkinSlices(t.get(), line, true, self, owner_->Masks[static_cast<size_t>(mask)], 0, true, owner_);
  CopyFromBitmap(canvas.Handle(), r.left, r.top, w, h, *t, 0, 0);
}

void TsSkinableMenus::PaintCaptionItem(TCanvas& canvas, RECT r, const MenuCacheEntry& entry, TBitmap* bg,
                                       POINT inset, const TMenuItem* item) {
  const int w = r.right - r.left, h = r.bottom - r.top, extra = ExtraLineWidth(&entry);
  auto t = NewBitmap24(w, h);
  // The whole item starts as the background, so that a skin without TOOLBAR shows no black.
  if (bg) CopyFromBitmap(t->Canvas().Handle(), 0, 0, w, h, *bg, r.left + inset.x, r.top + inset.y);
  const int toolbar = SectionIndexByName(owner_, "TOOLBAR");
  if (bg && SectionIndexValid(owner_, toolbar)) {
    CacheSourceInfo behind;
    MakeCacheSourceInfo(bg, inset.x, inset.y, behind);
    RenderSectionItem(toolbar, "TOOLBAR", behind, true, 0, {extra + 1, 1, w - 1, h - 1},
                      {r.left + extra + 1, r.top + 1}, t.get(), owner_, -1, -1);
  }
  TCanvas& out = t->Canvas();
  out.Font().Assign(CaptionFont);
  WriteSectionText(out, CaptionWord(item->Caption()), true, {extra, 0, w, h}, kCaptionFlags, toolbar, false, owner_);
  CopyFromBitmap(canvas.Handle(), r.left, r.top, w, h, *t, 0, 0);
}

// ---------------------------------------------------------------------------- menu line

namespace {

constexpr uint8_t kDisabledLineWeight = 102;  // a disabled item keeps 102/255 of its colour

std::string WithoutAmpersands(std::string caption) {
  std::erase(caption, '&');
  return caption;
}

// The provider that paints the item's menu line: the MDI parent's, else that of the form
// showing the item's main menu.
TsSkinProvider* MenuLineProvider(const TMenuItem* item) {
  if (MDISkinProvider) return MDISkinProvider;
  auto* menu = dynamic_cast<TMainMenu*>(item->GetParentMenu());
  return menu ? ProviderOfForm(menu->Form()) : nullptr;
}

// The size of the item's image in its menu's image list; zero when it shows none.
SIZE MenuLineImageSize(const TMenuItem* item) {
  const TMenu* menu = item->GetParentMenu();
  int w = 0, h = 0;
  if (!menu || !menu->Images() || item->ImageIndex() < 0 || !ImageList_GetIconSize(menu->Images(), &w, &h)) return {};
  return {w, h};
}

}  // namespace

bool MDIChildIconOnMenuLine() {
  TForm* parent = MDISkinProvider ? MDISkinProvider->Form : nullptr;
  if (!parent || parent->FormStyle() != fsMDIForm) return false;
  TForm* child = parent->ActiveMDIChild();
  return child && child->HandleAllocated() && IsZoomed(child->Handle()) && (child->BorderIcons() & biSystemMenu) &&
         child->Icon().Handle();
}

void TsSkinableMenus::MeasureMenuLineItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !ACanvas) return;
  Height = GetSystemMetrics(SM_CYMENU) - 1;
  ACanvas->Font().Assign(Screen.MenuFont());
  Width = ACanvas->TextWidth(WithoutAmpersands(item->Caption()));
  if (const SIZE image = MenuLineImageSize(item); image.cx > 0) Width += image.cx + 6;
}

void TsSkinableMenus::DrawMenuLineItem(TObject* Sender, TCanvas* ACanvas, const RECT& R, TOwnerDrawState State) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!owner_ || !item || !ACanvas) return;
  TsSkinProvider* provider = MenuLineProvider(item);
  if (!provider || !provider->SkinData->CacheBitmap || !provider->MenuLineBmp) return;
  TBitmap& line = *provider->MenuLineBmp;
  auto b = NewBitmap24(std::max<int>(R.right - R.left, 0), std::max<int>(R.bottom - R.top, 0));
  const RECT r2{0, 0, b->Width(), b->Height()};
  const bool onImage = ACanvas == &provider->SkinData->CacheBitmap->Canvas();
  const POINT place = provider->MenuLinePlace(R, onImage);
  const bool enabled = item->Enabled();
  const bool hot = (enabled && (State & odSelected)) || (State & odHotLight);
  // The line's own picture first, so that a skin without MENUITEM shows the bar behind.
  CopyFromBitmap(b->Canvas().Handle(), 0, 0, b->Width(), b->Height(), line, place.x, place.y);
  const int section = SectionIndexByName(owner_, "MENUITEM");
  if (SectionIndexValid(owner_, section)) {
    CacheSourceInfo behind;
    MakeCacheSourceInfo(&line, 0, 0, behind);
    RenderSectionItem(section, "MENUITEM", behind, true, hot ? 1 : 0, r2, place, b.get(), owner_, -1, -1);
  }
  int glyphWidth = 0;
  if (item->HasBitmap()) {
    const TBitmap& glyph = *item->Bitmap();
    b->Canvas().Draw(3, (b->Height() - glyph.Height()) / 2, glyph);
    glyphWidth = glyph.Width();
  } else if (const SIZE image = MenuLineImageSize(item); image.cx > 0) {
    ImageList_Draw(item->GetParentMenu()->Images(), item->ImageIndex(), b->Canvas().Handle(), 3,
                   (b->Height() - image.cy) / 2, ILD_NORMAL);
    glyphWidth = image.cx;
  }
  TCanvas& out = b->Canvas();
  AssignMenuFont(out, item, State & odDefault);
  RECT text{2 + glyphWidth, 0, b->Width() - 2 * Margin + 2, b->Height()};
  UINT flags = AlignmentFlags(Alignment) | kItemTextFlags | DT_CENTER;
  if (State & odNoAccel) flags |= DT_HIDEPREFIX;
  WriteSectionText(out, item->Caption(), enabled, text, flags, SectionIndexByName(owner_, "MENULINE"),
                   enabled && (State & (odSelected | odHotLight)), owner_);
  if (OnDrawItem) OnDrawItem(item, &out, r2, State, smTopLine);
  if (!enabled)
    CopyWeightedRect(b.get(), &line, kDisabledLineWeight, {place.x, place.y, place.x + b->Width(), place.y + b->Height()},
                     {0, 0});
  CopyFromBitmap(ACanvas->Handle(), R.left, R.top, b->Width(), b->Height(), *b, 0, 0);
}

// The popups' background pictures, their cache and the popup windows' regions.
#include <algorithm>

#include "framework/canvas.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/item_background.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/skinnable_menus.h"

bool PopupItemsMeasured = false;
int IconLineWidth = 0;

namespace {

std::vector<MenuCacheEntry>& Cache() {
  static std::vector<MenuCacheEntry> cache;
  return cache;
}

// The extra line of the popup being built, as its query left it.
struct ExtraLineData {
  std::string Section = "EXTRALINE";
  std::string Caption = "Use OnGetExtraLineData event";
  std::unique_ptr<TBitmap> Glyph;
};

ExtraLineData& ExtraLine() {
  static ExtraLineData data;
  return data;
}

TMenuItem* PopupKey(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  return parent && parent->Count() > 0 ? parent->Items(0) : item;
}

// The popup window keeps its own procedure under this property while ours runs first.
constexpr wchar_t kPopupPreviousProc[] = L"EfirPopupMenuProc";

LRESULT CALLBACK PopupWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(wnd, kPopupPreviousProc));
  switch (msg) {
    case WM_DESTROY:
      // Also when no adapter of the window is there to clear the flag: a popup the skinned
      // menus do not draw must not be painted as if they did.
      ClearMenuCache();
      PopupItemsMeasured = false;
      break;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return 1;  // the items paint the border and background from the picture
    case WM_NCDESTROY:
      RemovePropW(wnd, kPopupPreviousProc);
      // Only while ours is still the current procedure: a later one must stay in place.
      if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) == PopupWindowProc)
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      break;
    default:
      break;
  }
  return previous ? CallWindowProcW(previous, wnd, msg, wp, lp) : DefWindowProcW(wnd, msg, wp, lp);
}

// The popup's window is the visible menu window whose first item is the popup's first.
struct PopupSearch {
  TMenuItem* first;
  HWND found;
};

BOOL CALLBACK FindPopupOfFirstItem(HWND wnd, LPARAM lp) {
  auto* search = reinterpret_cast<PopupSearch*>(lp);
  wchar_t name[16] = {};
  GetClassNameW(wnd, name, 16);
  if (std::wstring(name) != L"#32768" || !IsWindowVisible(wnd)) return TRUE;
  auto menu = reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!menu || !GetMenuItemInfoW(menu, 0, TRUE, &info) || TMenuItem::FromItemData(info.dwItemData) != search->first)
    return TRUE;
  search->found = wnd;
  return FALSE;
}

// A font that writes from bottom to top, as the extra line's caption runs.
HFONT CreateRotatedFont(const TFont& font) {
  LOGFONTW log{};
  log.lfHeight = font.Size();
  log.lfEscapement = log.lfOrientation = 900;
  log.lfWeight = FW_NORMAL;
  log.lfItalic = (font.Style() & fsItalic) != 0;
  log.lfUnderline = (font.Style() & fsUnderline) != 0;
  log.lfStrikeOut = (font.Style() & fsStrikeOut) != 0;
  log.lfCharSet = font.Charset();
  std::wstring face = efir::text::fromAnsi(font.Name());
  face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
  std::copy(face.begin(), face.end(), log.lfFaceName);
  return CreateFontIndirectW(&log);
}

}  // namespace

void ClearMenuCache() { Cache().clear(); }

size_t MenuCacheCount() { return Cache().size(); }

POINT PopupClientOffset(HWND popup) {
  RECT window;
  POINT client{0, 0};
  if (!popup || !GetWindowRect(popup, &window) || !ClientToScreen(popup, &client)) return {0, 0};
  return {client.x - window.left, client.y - window.top};
}

MenuCacheEntry* TsSkinableMenus::FindMenuCacheEntry(TMenuItem* item, int width, int height, HWND wnd) {
  auto find = [&]() -> MenuCacheEntry* {
    for (MenuCacheEntry& entry : Cache())
      if (item ? entry.FirstItem == PopupKey(item) : (wnd && entry.Wnd == wnd)) return &entry;
    return nullptr;
  };
  MenuCacheEntry* entry = find();
  if (!entry && item && width != 0) {
    BuildPopupBackground(item, width, height, wnd);
    entry = find();
  }
  return entry;
}

int TsSkinableMenus::ExtraLineWidth(const MenuCacheEntry* entry) const {
  const TacMenuSupport& support = owner_->MenuSupport;
  return support.UseExtraLine && entry && entry->ExtraLineVisible ? support.ExtraLineWidth : 0;
}

void TsSkinableMenus::AskExtraLine(TMenuItem* firstItem, bool& lineVisible) {
  lineVisible = false;
  if (!owner_ || owner_->Loading() || !firstItem || firstItem->Name() == "SkinSelectItem") return;
  ExtraLineData& data = ExtraLine();
  data.Section = "EXTRALINE";
  data.Caption = "Use OnGetExtraLineData event";
  data.Glyph.reset();
  lineVisible = true;
  if (owner_->OnGetMenuExtraLineData) {
    // The event may measure menus itself.
    askingExtraLine_ = true;
    TBitmap* glyph = nullptr;
    try {
      owner_->OnGetMenuExtraLineData(firstItem, data.Section, data.Caption, glyph, lineVisible);
    } catch (...) {
      askingExtraLine_ = false;
      throw;
    }
    askingExtraLine_ = false;
    data.Glyph.reset(glyph);
  }
  data.Caption.erase(std::remove(data.Caption.begin(), data.Caption.end(), '&'), data.Caption.end());
  if (!lineVisible) data.Glyph.reset();
}

void TsSkinableMenus::BuildPopupBackground(TMenuItem* item, int width, int height, HWND wnd) {
  MenuCacheEntry entry;
  entry.FirstItem = PopupKey(item);
  entry.Wnd = wnd;
  AskExtraLine(entry.FirstItem, entry.ExtraLineVisible);
  entry.Bitmap = NewBitmap24(width, height);
  TBitmap* b = entry.Bitmap.get();
  IconLineWidth = Margin + GlyphSize(item).cx + Spacing;
  const int sbw = SkinBorderWidth();
  const int extra = ExtraLineWidth(&entry);
  const int section = SectionIndexByName(owner_, "MAINMENU");
  RegionRects.clear();
  if (SectionIndexValid(owner_, section)) {
    RenderItemBackground(section, "MAINMENU", EmptyCacheSourceInfo, 0, {0, 0, width, height}, {0, 0}, b, owner_, -1,
                         -1, TransparentKeyColor);
    CacheSourceInfo self;
    MakeCacheSourceInfo(b, 0, 0, self);
    const std::string& iconSection = owner_->MenuSupport.IcoLineSkin;
    const int icons = SectionIndexByName(owner_, iconSection);
    if (SectionIndexValid(owner_, icons)) {
      auto column = NewBitmap24(IconLineWidth, std::max(height - 2 * sbw, 0));
      RenderSectionItem(icons, iconSection, self, true, 0, {0, 0, column->Width(), column->Height()},
                        {extra + sbw, sbw}, column.get(), owner_, -1, -1);
      b->Canvas().Draw(extra + sbw, sbw, *column);
    }
    const int mask = MaskIndexExact(owner_, "MAINMENU", "BORDERSMASK");
    if (MaskIndexValid(owner_, mask)) {
      const TsMaskData& border = owner_->Masks[static_cast<size_t>(mask)];
      PaintSkinSlices(b, {0, 0, width, height}, false, self, border, 0, true, owner_);
      CollectTransparentCornerRects(RegionRects, width, border, 0, false);
      CollectTransparentCornerRects(RegionRects, width, border, height - border.WB, true);
    }
    if (extra > 0) PaintExtraLine(*b, sbw, self);
  }
  ExtraLine().Glyph.reset();
  Cache().push_back(std::move(entry));
  if (wnd) SetPopupMenuRegion(wnd, b);
}

void TsSkinableMenus::PaintExtraLine(TBitmap& background, int sbw, const CacheSourceInfo& source) {
  ExtraLineData& data = ExtraLine();
  const int section = SectionIndexByName(owner_, data.Section);
  if (!SectionIndexValid(owner_, section)) return;
  auto line = NewBitmap24(owner_->MenuSupport.ExtraLineWidth, std::max(background.Height() - 2 * sbw, 0));
  RenderSectionItem(section, data.Section, source, true, 0, {0, 0, line->Width(), line->Height()}, {sbw, sbw},
                    line.get(), owner_, -1, -1);
  int bottomMargin = 12;
  if (data.Glyph && !data.Glyph->Empty()) {
    line->Canvas().Draw((line->Width() - data.Glyph->Width()) / 2, line->Height() - data.Glyph->Height() - 12,
                        *data.Glyph);
    bottomMargin = data.Glyph->Height() + 20;
  }
  if (!data.Caption.empty()) {
    TCanvas& canvas = line->Canvas();
    HFONT rotated = CreateRotatedFont(owner_->MenuSupport.ExtraLineFont());
    HDC dc = canvas.Handle();
    HGDIOBJ old = SelectObject(dc, rotated);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(owner_->GeneralData[static_cast<size_t>(section)].FontColor[0]));
    SIZE size{};
    std::wstring text = efir::text::fromAnsi(data.Caption);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT clip{0, 0, line->Width(), line->Height()};
    ExtTextOutW(dc, (line->Width() - size.cy) / 2, line->Height() - bottomMargin, ETO_CLIPPED, &clip, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    SelectObject(dc, old);
    DeleteObject(rotated);
  }
  background.Canvas().Draw(sbw, sbw, *line);
}

void TsSkinableMenus::SetPopupMenuRegion(HWND wnd, TBitmap* bitmap) {
  if (settingRegion_ || !wnd) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) != PopupWindowProc) {
    LONG_PTR previous = SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupWindowProc));
    SetPropW(wnd, kPopupPreviousProc, reinterpret_cast<HANDLE>(previous));
  }
  if (!bitmap || SendSkinCommandToWindow(wnd, SKC_SETUPDATING, 0) != 0) return;
  SendSkinCommandToWindow(wnd, SKC_SETBORDERDRAWN, 0);
  settingRegion_ = true;
  HRGN region = CreateRectRgn(0, 0, bitmap->Width(), bitmap->Height());
  auto cut = [&](const RECT& r) {
    HRGN hole = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    CombineRgn(region, region, hole, RGN_DIFF);
    DeleteObject(hole);
  };
  if (RegionRects.empty()) cut({0, 0, 1, 1});
  for (const RECT& r : RegionRects) cut(r);
  if (!SetWindowRgn(wnd, region, TRUE)) DeleteObject(region);
  settingRegion_ = false;
}

void TsSkinableMenus::PopupWindowShown(HWND wnd) {
  MenuCacheEntry* entry = FindMenuCacheEntry(nullptr, 0, 0, wnd);
  if (entry && entry->Bitmap) SetPopupMenuRegion(wnd, entry->Bitmap.get());
}

void TsSkinableMenus::PopupItemShown(TMenuItem* item) {
  if (!item) return;
  MenuCacheEntry* entry = FindMenuCacheEntry(item, 0, 0, nullptr);
  if (!entry || !entry->Bitmap) return;
  PopupSearch search{entry->FirstItem, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindPopupOfFirstItem, reinterpret_cast<LPARAM>(&search));
  if (search.found) SetPopupMenuRegion(search.found, entry->Bitmap.get());
}

int TsSkinableMenus::PopupWidth(TCanvas& canvas, TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return 0;
  int sum = 0, column = 0;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* each = parent->Items(i);
    if (!each->Visible()) continue;
    int w = 0, h = 0;
    MeasurePopupItem(each, &canvas, w, h);
    if (each->Break() != mbNone) {
      sum += column + 4;
      column = 0;
    }
    column = std::max(column, w + 12);
  }
  return column + sum;
}

int TsSkinableMenus::PopupHeight(TCanvas& canvas, TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return 0;
  int tallest = 0, column = 0;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* each = parent->Items(i);
    if (!each->Visible()) continue;
    if (each->Break() != mbNone) column = 0;
    column += ItemHeight(canvas, each);
    tallest = std::max(tallest, column);
  }
  return tallest;
}

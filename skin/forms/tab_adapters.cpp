#include "skin/forms/tab_adapters.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "framework/gdi.h"
#include "framework/tab_controls.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/grip_spin_adapters.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

namespace {

constexpr UINT kCenteredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

std::vector<std::unique_ptr<TacPageWnd>>& PageAdapterList() {
  static std::vector<std::unique_ptr<TacPageWnd>> list;
  return list;
}

bool OwnManager(const TMessage& message, TsSkinManager* manager) {
  return message.LParam == reinterpret_cast<LPARAM>(manager);
}

void InvalidateWithErase(HWND wnd) { InvalidateRect(wnd, nullptr, TRUE); }

bool EmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The skin section and border picture a tab of this kind and side paints with; -1 when the
// skin has none (then only the texts and images show).
struct TabSection {
  int Index = -1;
  int Mask = -1;
  const char* Name = "";
};

TabSection SectionOfTabs(TsSkinManager* manager, TabKind kind, TabPosition side) {
  const TsFixedIndexes& f = manager->FixedIndexes;
  if (f.IdxTabTop <= 0) return {};
  switch (kind) {
    case TabKind::Buttons: return {SectionIndexByName(manager, "BUTTON"), MaskIndexExact(manager, "BUTTON", "BORDERSMASK"), "BUTTON"};
    case TabKind::FlatButtons:
      return {SectionIndexByName(manager, "TOOLBUTTON"), MaskIndexExact(manager, "TOOLBUTTON", "BORDERSMASK"), "TOOLBUTTON"};
    case TabKind::Tabs: break;
  }
  switch (side) {
    case TabPosition::Top: return {f.IdxTabTop, f.MaskTabTop, "TABTOP"};
    case TabPosition::Bottom: return {f.IdxTabBottom, f.MaskTabBottom, "TABBOTTOM"};
    case TabPosition::Left: return {f.IdxTabLeft, f.MaskTabLeft, "TABLEFT"};
    case TabPosition::Right: return {f.IdxTabRight, f.MaskTabRight, "TABRIGHT"};
  }
  return {};
}

struct TabItem {
  std::wstring Text;
  int Image = -1;
};

TabItem ReadTabItem(HWND wnd, int index) {
  std::vector<wchar_t> buffer(4097, L'\0');
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = buffer.data();
  item.cchTextMax = 4096;
  if (!SendMessageW(wnd, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
  return {item.pszText ? std::wstring(item.pszText) : std::wstring(), item.iImage};
}

// The rotated copy of the canvas's font for text that runs along a side tab; "MS Sans Serif"
// has no rotated outlines, so Arial takes its place.
HFONT RotatedFont(HFONT font, TabPosition side) {
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  lf.lfEscapement = lf.lfOrientation = side == TabPosition::Left ? -2700 : -900;
  lf.lfWeight = FW_NORMAL;
  if (std::wstring(lf.lfFaceName) == L"MS Sans Serif") lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  return CreateFontIndirectW(&lf);
}

}  // namespace

// ---- tab control

TacTabControlWnd::TacTabControlWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                   const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section.empty() ? std::string("PAGECONTROL") : section) {}

TacTabControlWnd::~TacTabControlWnd() { SpinAdapter.reset(); }

TabPosition TacTabControlWnd::Position() const { return TabPositionOfStyle(GetWindowLongPtrW(Wnd, GWL_STYLE)); }
TabKind TacTabControlWnd::Kind() const { return TabKindOfStyle(GetWindowLongPtrW(Wnd, GWL_STYLE)); }
int TacTabControlWnd::TabCount() const { return static_cast<int>(SendMessageW(Wnd, TCM_GETITEMCOUNT, 0, 0)); }

RECT TacTabControlWnd::ClientPageBounds() {
  RECT r{0, 0, WindowSize.cx, WindowSize.cy};
  SendMessageW(Wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  r.top += 2;
  return r;
}

RECT TacTabControlWnd::PageFrameBounds() {
  return PageFrameRect(WindowSize, ClientPageBounds(), Position(), TabCount() > 0);
}

RECT TacTabControlWnd::TabStripBounds() {
  return TabStripRect(WindowSize, ClientPageBounds(), Position(), TabCount() > 0);
}

RECT TacTabControlWnd::TabRect(int index) {
  const int selected = static_cast<int>(SendMessageW(Wnd, TCM_GETCURSEL, 0, 0));
  if (index < 0 || index >= TabCount() || selected < 0) return {};
  RECT r{};
  SendMessageW(Wnd, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return SkinnedTabRect(r, Position(), Kind(), index == selected);
}

std::string TacTabControlWnd::PageSectionName() const {
  if (TabCount() == 0) return "CHECKBOX";
  if (SkinData->SkinSection() != "PAGECONTROL") return SkinData->SkinSection();
  static const char* const names[] = {"PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT"};
  return names[static_cast<int>(Position())];
}

void TacTabControlWnd::PaintTab(int index, int state, TBitmap& target, POINT offset) {
  const RECT r = TabRect(index);
  if (EmptyRect(r)) return;
  TsSkinManager* manager = Manager();
  const TabPosition side = Position();
  const TabSection section = SectionOfTabs(manager, Kind(), side);
  RECT local = r;
  OffsetRect(&local, offset.x, offset.y);
  const int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap* cache = SkinData->CacheBitmap.get();
  if (MaskIndexValid(manager, section.Mask) && SectionIndexValid(manager, section.Index) && cache) {
    auto under = NewBitmap24(w, h);
    auto face = NewBitmap24(w, h);
    BitBlt(under->Canvas().Handle(), 0, 0, w, h, cache->Canvas().Handle(), r.left, r.top, SRCCOPY);
    RenderSectionItem(section.Index, section.Name, BitmapSource(*under), true, state, {0, 0, w, h}, {0, 0}, face.get(),
                      manager, -1, -1);
    HDC dc = target.Canvas().Handle();
    efir::gdi::SavedState saved(dc);
    // An unselected tab ends where the page frame begins.
    if (state == 0 && (side == TabPosition::Top || side == TabPosition::Left)) {
      RECT strip = TabStripBounds();
      OffsetRect(&strip, offset.x, offset.y);
      IntersectClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
    }
    BitBlt(dc, local.left, local.top, w, h, face->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  const int textSection = SectionIndexValid(manager, section.Index) ? section.Index : SkinData->SectionIndex;
  PaintTabText(index, state, textSection, target, local);
}

void TacTabControlWnd::PaintTabText(int index, int state, int sectionIndex, TBitmap& target, RECT r) {
  TsSkinManager* manager = Manager();
  TCanvas& canvas = target.Canvas();
  AssignWindowFont(canvas.Font(), Wnd);
  const TabItem item = ReadTabItem(Wnd, index);
  const std::string text = efir::text::toAnsi(item.Text);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Wnd, TCM_GETIMAGELIST, 0, 0));
  int iconW = 0, iconH = 0;
  const bool image = images && item.Image >= 0 && ImageList_GetIconSize(images, &iconW, &iconH);
  // A framework tab control draws from its own list, as the control itself shows it.
  auto* owner = dynamic_cast<TTabControl*>(SkinData->OwnerControl);
  auto drawImage = [&](int x, int y) {
    if (owner && owner->Images())
      ImageList_Draw(owner->Images(), item.Image, canvas.Handle(), x, y, ILD_NORMAL);
    else
      ImageList_Draw(images, item.Image, canvas.Handle(), x, y, ILD_TRANSPARENT);
  };
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  const TabPosition side = Position();
  if (side == TabPosition::Top || side == TabPosition::Bottom) {
    if (image) {
      drawImage(r.left + (rw - (CanvasTextWidth(canvas, text) + iconW + 8)) / 2, r.top + (rh - iconH) / 2);
      r.left += iconW;
    }
    WriteSectionText(canvas, text, true, r, kCenteredLine, sectionIndex, state != 0, manager);
    return;
  }
  HDC dc = canvas.Handle();
  HFONT rotated = RotatedFont(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)), side);
  if (!rotated) return;
  const SIZE extent = CanvasTextExtent(canvas, text);
  const int along = extent.cx, across = extent.cy;
  efir::gdi::SavedState saved(dc);
  SelectObject(dc, rotated);
  SetBkMode(dc, TRANSPARENT);
  TColor colour = 0;
  if (SectionIndexValid(manager, sectionIndex)) {
    const TsGeneralData& g = manager->GeneralData[static_cast<size_t>(sectionIndex)];
    colour = state == 0 ? g.FontColor[0] : g.HotFontColor[0];
  }
  SetTextColor(dc, ColorToRGB(colour));
  POINT start;
  if (side == TabPosition::Left) {
    if (image) {
      if (state == 2) OffsetRect(&r, 2, 0);
      const int y = r.bottom - (rh - (iconH + 4 + along)) / 2 - iconH;
      drawImage(r.left + (rw - iconW) / 2, y);
      start = {r.left + (rw - across) / 2, y - 4};
    } else {
      start = {r.left + (rw - across) / 2, r.bottom - (rh - along) / 2};
    }
  } else {
    OffsetRect(&r, -2, -1);
    if (image) {
      if (state == 2) OffsetRect(&r, 2, 0);
      const int y = r.top + (rh - (iconH + along + 4)) / 2;
      drawImage(r.left + (rw - iconW) / 2, y);
      start = {r.left + (rw - across) / 2 + across, y + iconH + 4};
    } else {
      start = {r.left + (rw - across) / 2 + across, r.top + (rh - along) / 2};
    }
  }
  ExtTextOutW(dc, start.x, start.y, ETO_CLIPPED, &r, item.Text.c_str(), static_cast<UINT>(item.Text.size()), nullptr);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(rotated);
}

void TacTabControlWnd::RebuildCache(TBitmap& cache) {
  TsCommonData& d = *SkinData;
  TsSkinManager* manager = Manager();
  CacheSourceInfo behind;
  WindowParentCacheInfo(Wnd, behind);
  const int count = TabCount();
  if (count > 0) {
    const RECT strip = TabStripBounds();
    CopyBackgroundBehind(cache, strip, behind, {WindowPos.x + strip.left, WindowPos.y + strip.top});
    const int rows = std::max(1, static_cast<int>(SendMessageW(Wnd, TCM_GETROWCOUNT, 0, 0)));
    const int selected = static_cast<int>(SendMessageW(Wnd, TCM_GETCURSEL, 0, 0));
    for (int row = 1; row <= rows; ++row)
      for (int i = 0; i < count; ++i) {
        if (i == selected) continue;
        RECT item{};
        SendMessageW(Wnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        if (TabRow(item, Position(), rows, strip) == row) PaintTab(i, 0, cache, {0, 0});
      }
  }
  const RECT frame = PageFrameBounds();
  RenderSectionItem(d.SectionIndex, PageSectionName(), behind, true, 0, frame,
                    {WindowPos.x + frame.left, WindowPos.y + frame.top}, &cache, manager, -1, -1);
  d.BackgroundChanged = false;
}

void TacTabControlWnd::PaintTabControl(HDC dc) {
  ReadWindowPlacement();
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (d.Updating || WindowSize.cx <= 0 || WindowSize.cy <= 0) return;
  PaintGuarded([&] {
    d.BackgroundChanged = true;
    d.SectionIndex = SectionIndexByName(Manager(), PageSectionName());
    TBitmap& cache = SizedCache(*this);
    RebuildCache(cache);
    const int selected = static_cast<int>(SendMessageW(Wnd, TCM_GETCURSEL, 0, 0));
    const RECT tab = TabRect(selected);
    {
      efir::gdi::SavedState saved(dc);
      if (!EmptyRect(tab)) ExcludeClipRect(dc, tab.left, tab.top, tab.right, tab.bottom);
      BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, cache.Canvas().Handle(), 0, 0, SRCCOPY);
    }
    if (!EmptyRect(tab)) {
      const int w = tab.right - tab.left, h = tab.bottom - tab.top;
      auto face = NewBitmap24(w, h);
      BitBlt(face->Canvas().Handle(), 0, 0, w, h, cache.Canvas().Handle(), tab.left, tab.top, SRCCOPY);
      PaintTab(selected, 2, *face, {-tab.left, -tab.top});
      BitBlt(dc, tab.left, tab.top, w, h, face->Canvas().Handle(), 0, 0, SRCCOPY);
    }
    paintedSize_ = WindowSize;
    if (auto* owner = dynamic_cast<TWinControl*>(d.OwnerControl)) PaintGraphicControls(dc, owner, {0, 0});
  });
}

void TacTabControlWnd::UpdateSpinAdapter() {
  if (!SkinActive()) return;
  HWND spin = FindWindowExW(Wnd, nullptr, UPDOWN_CLASSW, nullptr);
  SpinAdapter.reset();
  if (spin) SpinAdapter = AttachAdapter<TacSpinWnd>(spin, nullptr, Manager(), "UPDOWNBTN", true);
}

void TacTabControlWnd::AdapterWndProc(TMessage& message) {
  TsCommonData& d = *SkinData;
  const bool skinned = SkinActive();
  if (message.Msg == SM_ALPHACMD) {
    switch (SkinSubCommand(message.WParam)) {
      case SKC_NEWSKIN:
        if (OwnManager(message, Manager())) SkinControlWndProc(message, &d);
        RelaySkinMessageToChildren(dynamic_cast<TWinControl*>(d.OwnerControl), Wnd, message);
        return;
      case SKC_REMOVESKIN:
        if (OwnManager(message, Manager())) {
          SkinControlWndProc(message, &d);
          UpdateSpinAdapter();
          RelaySkinMessageToChildren(dynamic_cast<TWinControl*>(d.OwnerControl), Wnd, message);
          SpinAdapter.reset();
          RedrawWindow(Wnd, nullptr, nullptr, 0x707);
        } else {
          RelaySkinMessageToChildren(dynamic_cast<TWinControl*>(d.OwnerControl), Wnd, message);
        }
        return;
      case SKC_REFRESH:
        if (OwnManager(message, Manager())) {
          SkinControlWndProc(message, &d);
          InvalidateWithErase(Wnd);
          UpdateSpinAdapter();
        }
        RelaySkinMessageToChildren(dynamic_cast<TWinControl*>(d.OwnerControl), Wnd, message);
        return;
      case SKC_PARENTUPDATED:
        if (!skinned) break;
        d.SetUpdating(false);
        InvalidateWithErase(Wnd);
        return;
      case SKC_ISSKINNED:
        message.Result = 1;
        return;
      case SKC_ISUPDATING:
        if (!skinned) break;
        message.Result = d.Updating;
        return;
      case SKC_GETCAPTIONHEIGHT:
        message.Result = reinterpret_cast<LRESULT>(d.SkinManager());
        return;
      case SKC_GETBGINFO:
        if (!skinned) break;
        if (!SkinControlWndProc(message, &d)) TacMainWnd::AdapterWndProc(message);
        return;
    }
    return TacMainWnd::AdapterWndProc(message);
  }
  if (!skinned) return TacMainWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_PAINT: {
      InvalidateWithErase(Wnd);
      PAINTSTRUCT ps;
      BeginPaint(Wnd, &ps);
      EndPaint(Wnd, &ps);
      return;
    }
    case WM_ERASEBKGND:
      if (!IsWindowVisible(Wnd)) break;
      if (!SkinChangeAnimating) PaintTabControl(reinterpret_cast<HDC>(message.WParam));
      UpdateSpinAdapter();
      message.Result = 0;
      return;
    case WM_NCPAINT:
      return;
    case WM_PRINT:
      UpdateSpinAdapter();
      PaintTabControl(reinterpret_cast<HDC>(message.WParam));
      return;
  }
  TacMainWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_SIZE: {
      UpdateSpinAdapter();
      ReadWindowPlacement();
      if (WindowSize.cx < paintedSize_.cx || WindowSize.cy < paintedSize_.cy) RedrawWindow(Wnd, nullptr, nullptr, 0x471);
      break;
    }
    case TCM_SETCURSEL:
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      break;
    case CM_CONTROLLISTCHANGE:
      UpdateSpinAdapter();
      break;
  }
}

// ---- page control

TacPageControlWnd::TacPageControlWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                     const std::string& section)
    : TacTabControlWnd(wnd, skinData, manager, section) {}

void TacPageControlWnd::Attach(bool repaintFrame) {
  TacTabControlWnd::Attach(repaintFrame);
  if (!Detached) AdaptPages();
}

namespace {

// EnumChildWindows' callback: one window below the page control offered as a page.
BOOL CALLBACK OfferPage(HWND child, LPARAM control) {
  HWND pages = reinterpret_cast<TacPageControlWnd*>(control)->Wnd;
  if (GetParent(child) != pages) return TRUE;
  auto* manager = reinterpret_cast<TsSkinManager*>(SendSkinCommandToWindow(pages, SKC_GETCAPTIONHEIGHT));
  if (manager && SendSkinCommandToWindow(child, SKC_ISSKINNED) != 1)
    PageAdapterList().push_back(AttachAdapter<TacPageWnd>(child, nullptr, manager, "CHECKBOX", true));
  return TRUE;
}

}  // namespace

void TacPageControlWnd::AdaptPages() { EnumChildWindows(Wnd, OfferPage, reinterpret_cast<LPARAM>(this)); }

void TacPageControlWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacTabControlWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
      if (!IsWindowVisible(Wnd)) break;
      if (!SkinChangeAnimating) PaintTabControl(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return;
    case WM_NCPAINT:
      AdaptPages();
      return;
    case WM_PARENTNOTIFY:
      if (LOWORD(message.WParam) == WM_CREATE) AdaptPages();
      break;
    case TCM_SETCURSEL:
      if (SkinData->OwnerControl) NotifyParentFormOfChange(SkinData->OwnerControl);
      break;
  }
  TacTabControlWnd::AdapterWndProc(message);
}

// ---- pages

TacPageWnd::TacPageWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section) {
  ReadWindowPlacement();
}

LRESULT TacPageWnd::PaintPageBackground(HDC dc) {
  ReadWindowPlacement();
  BackgroundInfo info;
  QueryParentWindowBackground(info, ParentWnd, false);
  const int w = WindowSize.cx, h = WindowSize.cy;
  if (info.Kind == BG_BITMAP && info.Bitmap) {
    BitBlt(dc, 0, 0, w, h, info.Bitmap->Canvas().Handle(), WindowPos.x + info.OffsetX, WindowPos.y + info.OffsetY,
           SRCCOPY);
    return 1;
  }
  FillRectSolid(dc, {0, 0, w, h}, info.Color);
  if (!info.Bitmap) return 1;
  // The page continues the page frame's edge on the side of the tabs.
  RECT strip{0, 0, w, h};
  switch (TabPositionOfStyle(GetWindowLongPtrW(ParentWnd, GWL_STYLE))) {
    case TabPosition::Top: strip.bottom = 3; break;
    case TabPosition::Bottom: strip.top = h - 3; break;
    case TabPosition::Left: strip.right = 3; break;
    case TabPosition::Right: strip.left = w - 3; break;
  }
  BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, info.Bitmap->Canvas().Handle(),
         WindowPos.x + strip.left, WindowPos.y + strip.top, SRCCOPY);
  return 1;
}

void TacPageWnd::AdapterWndProc(TMessage& message) {
  TsCommonData& d = *SkinData;
  const bool skinned = SkinActive();
  if (message.Msg == SM_ALPHACMD) {
    TWinControl* owner = dynamic_cast<TWinControl*>(d.OwnerControl);
    switch (SkinSubCommand(message.WParam)) {
      case SKC_NEWSKIN:
        RelaySkinMessageToChildren(owner, Wnd, message);
        if (OwnManager(message, Manager())) SkinControlWndProc(message, &d);
        return;
      case SKC_REMOVESKIN:
        if (OwnManager(message, Manager())) {
          SkinControlWndProc(message, &d);
          InvalidateWithErase(Wnd);
        }
        RelaySkinMessageToChildren(owner, Wnd, message);
        break;
      case SKC_REFRESH:
        if (OwnManager(message, Manager())) {
          SkinControlWndProc(message, &d);
          InvalidateWithErase(Wnd);
        }
        RelaySkinMessageToChildren(owner, Wnd, message);
        return;
      case SKC_PARENTUPDATED:
        if (d.IsUpdating()) {
          d.SetUpdating(false);
          InvalidateWithErase(Wnd);
        }
        return;
      case SKC_ISSKINNED:
        message.Result = 1;
        return;
      case SKC_ISUPDATING:
        message.Result = d.Updating;
        return;
      case SKC_GETBGINFO: {
        auto* info = reinterpret_cast<BackgroundInfo*>(message.LParam);
        ReadWindowPlacement();
        QueryParentWindowBackground(*info, ParentWnd, info->PaintNow);
        info->OffsetX += WindowPos.x;
        info->OffsetY += WindowPos.y;
        message.Result = 1;
        return;
      }
    }
    return TacMainWnd::AdapterWndProc(message);
  }
  if (skinned) {
    switch (message.Msg) {
      case WM_ERASEBKGND:
        if (!IsWindowVisible(Wnd)) break;
        PaintGuarded([&] { message.Result = PaintPageBackground(reinterpret_cast<HDC>(message.WParam)); });
        return;
      case WM_NCPAINT:
        return;
      case WM_PRINT:
        PaintGuarded([&] { PaintPageBackground(reinterpret_cast<HDC>(message.WParam)); });
        SendMessageW(Wnd, WM_PAINT, message.WParam, message.LParam);
        return;
    }
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg == WM_PARENTNOTIFY && LOWORD(message.WParam) == WM_CREATE) NotifyTopWindowOfChange(Wnd);
}

int PageAdapterCount() { return static_cast<int>(PageAdapterList().size()); }

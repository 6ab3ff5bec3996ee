#include "skin/forms/list_view_adapters.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

#include "framework/bitmap.h"
#include "framework/gdi.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/scroll_engine.h"
#include "skin/forms/window_relays.h"

namespace {

// On a hooked header: the list-view adapter that paints it, and the procedure ours replaced
// (kept while our procedure is anywhere in the header's chain).
constexpr wchar_t kHeaderOwnerProperty[] = L"ACSBSC.HEADER";
constexpr wchar_t kHeaderPrevProperty[] = L"ACSBSC.HEADERPREV";

LRESULT CallPreviousHeaderProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(wnd, kHeaderPrevProperty));
  const LRESULT result =
      previous ? CallWindowProcW(previous, wnd, msg, wParam, lParam) : DefWindowProcW(wnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    RemovePropW(wnd, kHeaderOwnerProperty);
    RemovePropW(wnd, kHeaderPrevProperty);
  }
  return result;
}

LRESULT CALLBACK HeaderProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* owner = static_cast<TacListViewWnd*>(GetPropW(wnd, kHeaderOwnerProperty));
  if (!owner || owner->Detached) return CallPreviousHeaderProc(wnd, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  owner->HeaderWndProc(message);
  return message.Result;
}

// The signed point a mouse message carries.
POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(static_cast<DWORD>(lParam))), static_cast<short>(HIWORD(static_cast<DWORD>(lParam)))};
}

constexpr UINT kHeaderTextFormat = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;

// Sets a list-view colour when it differs: every set restyles what the control draws.
void SetListColour(HWND wnd, UINT get, UINT set, TColor colour) {
  if (static_cast<TColor>(SendMessageW(wnd, get, 0, 0)) != colour) SendMessageW(wnd, set, 0, static_cast<LPARAM>(colour));
}

}  // namespace

// ---- list view

TacListViewWnd::TacListViewWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacEditWnd(wnd, skinData, manager, section) {
  if (wnd) HookHeader(FindWindowExW(wnd, nullptr, WC_HEADERW, nullptr));
}

TacListViewWnd::~TacListViewWnd() { UnhookHeader(); }

void TacListViewWnd::SaveStdLook() {
  TacEditWnd::SaveStdLook();
  if (!Wnd) return;
  SavedColor = static_cast<TColor>(SendMessageW(Wnd, LVM_GETBKCOLOR, 0, 0));
  SavedTextBkColor = static_cast<TColor>(SendMessageW(Wnd, LVM_GETTEXTBKCOLOR, 0, 0));
  SavedFontColor = static_cast<TColor>(SendMessageW(Wnd, LVM_GETTEXTCOLOR, 0, 0));
}

void TacListViewWnd::RestoreStdLook() {
  if (IsWindow(Wnd) && !SkinData->OwnerControl) {
    // A raw list view has no control to take its colours back from: they are set here.
    SetListColour(Wnd, LVM_GETBKCOLOR, LVM_SETBKCOLOR, SavedColor);
    SetListColour(Wnd, LVM_GETTEXTBKCOLOR, LVM_SETTEXTBKCOLOR, SavedTextBkColor);
  }
  if (IsWindow(Wnd)) SendMessageW(Wnd, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(clWindowText)));
  UnhookHeader();
  TacEditWnd::RestoreStdLook();
}

void TacListViewWnd::ApplySkinLook() {
  TacEditWnd::ApplySkinLook();
  if (!Wnd) return;
  const TsGeneralData* section = SkinData->Section();
  TColor back, text;
  if (DialogMode) {
    back = ColorToRGB(clWindow);
    text = ColorToRGB(clWindowText);
  } else if (section) {
    back = ColorToRGB(section->Color);
    text = ColorToRGB(section->FontColor[0]);
  } else {
    return;
  }
  SetListColour(Wnd, LVM_GETBKCOLOR, LVM_SETBKCOLOR, back);
  SetListColour(Wnd, LVM_GETTEXTBKCOLOR, LVM_SETTEXTBKCOLOR, back);
  SetListColour(Wnd, LVM_GETTEXTCOLOR, LVM_SETTEXTCOLOR, text);
}

TacListViewWnd::View TacListViewWnd::ViewStyle() const {
  switch (SendMessageW(Wnd, LVM_GETVIEW, 0, 0)) {
    case LV_VIEW_ICON: return View::Icon;
    case LV_VIEW_DETAILS: return View::Report;
    case LV_VIEW_SMALLICON: return View::SmallIcon;
    default: return View::List;
  }
}

void TacListViewWnd::HookHeader(HWND header) {
  if (!header || header == HeaderWnd) return;
  UnhookHeader();
  HeaderWnd = header;
  SetPropW(header, kHeaderOwnerProperty, this);
  // A header whose procedure chain holds ours already keeps it: only the owner changes.
  if (GetPropW(header, kHeaderPrevProperty)) return;
  SetPropW(header, kHeaderPrevProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(header, GWLP_WNDPROC)));
  SetWindowLongPtrW(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderProc));
}

void TacListViewWnd::UnhookHeader() {
  HWND header = std::exchange(HeaderWnd, nullptr);
  HeaderHotIndex = HeaderDownIndex = -1;
  if (!header || !IsWindow(header)) return;
  if (GetPropW(header, kHeaderOwnerProperty) == this) RemovePropW(header, kHeaderOwnerProperty);
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(header, GWLP_WNDPROC)) == HeaderProc) {
    SetWindowLongPtrW(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(header, kHeaderPrevProperty)));
    RemovePropW(header, kHeaderPrevProperty);
  }
  InvalidateRect(header, nullptr, TRUE);
}

void TacListViewWnd::RepaintHeader() {
  if (HeaderWnd) InvalidateRect(HeaderWnd, nullptr, FALSE);
}

int TacListViewWnd::HeaderItemState(int index) const {
  if (index < 0) return 0;
  if (HeaderDownIndex >= 0) return index == HeaderDownIndex ? 2 : 0;
  return index == HeaderHotIndex ? 1 : 0;
}

void TacListViewWnd::PaintHeaderItem(HDC dc, int index, const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TsSkinManager* manager = Manager();
  const int state = HeaderItemState(index);
  auto item = NewBitmap24(w, h);
  const int section =
      RenderItemBySectionName(item.get(), "COLHEADER", "BUTTON", state, manager, rect, ColorToRGB(clWindow), nullptr);
  if (index >= 0) {
    wchar_t text[129] = {};
    HDITEMW column{};
    column.mask = HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE;
    column.pszText = text;
    column.cchTextMax = 128;
    SendMessageW(HeaderWnd, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    TCanvas& canvas = item->Canvas();
    AssignWindowFont(canvas.Font(), Wnd);
    RECT area{0, 0, w, h};
    InflateRect(&area, -4, -1);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(HeaderWnd, HDM_GETIMAGELIST, 0, 0));
    int iw = 0, ih = 0;
    const bool withImage = images && (column.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) && column.iImage >= 0;
    if (withImage) ImageList_GetIconSize(images, &iw, &ih);
    const int gap = withImage ? iw + 4 : 0;
    const TsFixedIndexes& fixed = manager->FixedIndexes;
    const int arrow = (column.fmt & HDF_SORTDOWN) ? fixed.GlyphScrollBtnBottom
                      : (column.fmt & HDF_SORTUP) ? fixed.GlyphScrollBtnTop
                                                  : -1;
    const TsMaskData* mask = MaskIndexValid(manager, arrow) ? &manager->Masks[static_cast<size_t>(arrow)] : nullptr;
    const int aw = mask ? MaskStateWidth(*mask) + 6 : 0;
    const std::string caption = efir::text::toAnsi(text);
    const int tw = CanvasTextWidth(canvas, caption) + 5;
    RECT t = area;
    switch (column.fmt & HDF_JUSTIFYMASK) {
      case HDF_RIGHT: t.right = area.right - aw; t.left = t.right - tw; break;
      case HDF_CENTER: t.left = area.left + (area.right - area.left - tw - aw - gap) / 2 + gap; break;
      default: t.left = area.left + gap; break;
    }
    t.right = std::min<LONG>(t.left + tw, area.right - aw);
    if (mask) PaintSkinGlyph(*item, manager, arrow, {t.right + 6, (h - MaskStateHeight(*mask)) / 2}, state);
    if (state == 2) OffsetRect(&t, 1, 1);
    WriteSectionText(canvas, caption, true, t, kHeaderTextFormat, section, state != 0, manager);
    if (withImage)
      ImageList_Draw(images, column.iImage, canvas.Handle(), t.left - gap, (h - ih) / 2 + (state == 2 ? 1 : 0),
                     IsWindowEnabled(Wnd) ? ILD_NORMAL : ILD_BLEND50);
  }
  BitBlt(dc, rect.left, rect.top, w, h, item->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacListViewWnd::PaintHeader(HDC dc) {
  const auto count = static_cast<int>(SendMessageW(HeaderWnd, HDM_GETITEMCOUNT, 0, 0));
  std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
  std::iota(order.begin(), order.end(), 0);
  if (count > 0) SendMessageW(HeaderWnd, HDM_GETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()));
  LONG right = 0;
  for (int index : order) {
    RECT r{};
    SendMessageW(HeaderWnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    if (IsRectEmpty(&r)) continue;
    PaintHeaderItem(dc, index, r);
    right = std::max(right, r.right);
  }
  RECT client;
  GetClientRect(HeaderWnd, &client);
  if (right < client.right) PaintHeaderItem(dc, -2, {right, 0, client.right, client.bottom});
}

void TacListViewWnd::HeaderWndProc(TMessage& message) {
  HWND header = HeaderWnd;
  auto forward = [&] { message.Result = CallPreviousHeaderProc(header, message.Msg, message.WParam, message.LParam); };
  if (message.Msg == WM_NCDESTROY) {
    forward();
    HeaderWnd = nullptr;
    HeaderHotIndex = HeaderDownIndex = -1;
    return;
  }
  if (!SkinActive() || ViewStyle() != View::Report) return forward();
  switch (message.Msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : BeginPaint(header, &ps);
      PaintGuarded([&] { PaintHeader(dc); });
      if (!message.WParam) EndPaint(header, &ps);
      return;
    }
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_WINDOWPOSCHANGING:
      if (IsWindowVisible(Wnd)) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      return forward();
    case WM_NCHITTEST: {
      forward();
      HDHITTESTINFO hit{};
      hit.pt = PointOf(message.LParam);
      ScreenToClient(header, &hit.pt);
      SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      const int hot = hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN) ? hit.iItem : -1;
      if (hot != HeaderHotIndex) {
        HeaderHotIndex = hot;
        RepaintHeader();
      }
      return;
    }
    case WM_LBUTTONUP:
      HeaderDownIndex = -1;
      return forward();
    case WM_LBUTTONDOWN: {
      forward();
      HDHITTESTINFO hit{};
      hit.pt = PointOf(message.LParam);
      SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      const bool onDivider = hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN);
      HeaderDownIndex = onDivider || !(hit.flags & HHT_ONHEADER) ? -1 : hit.iItem;
      RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE);
      return;
    }
    default:
      return forward();
  }
}

bool TacListViewWnd::HandleThumbTrack(TMessage& message) {
  if (LOWORD(message.WParam) != SB_THUMBTRACK) return false;
  const int position = message.LParam ? static_cast<int>(message.LParam) : HIWORD(message.WParam);
  int delta = position - ScrollState.ThumbTrackPos;
  if (delta == 0) return true;
  RECT item{};
  item.left = LVIR_BOUNDS;
  SendMessageW(Wnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  // The list counts its scroll positions in columns (list view) or rows (report view).
  if (message.Msg == WM_HSCROLL) {
    if (ViewStyle() == View::List) delta *= item.right - item.left;
    SendMessageW(Wnd, LVM_SCROLL, static_cast<WPARAM>(delta), 0);
  } else {
    if (ViewStyle() == View::Report) delta *= item.bottom - item.top;
    SendMessageW(Wnd, LVM_SCROLL, 0, delta);
  }
  return true;
}

void TacListViewWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacEditWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinSubCommand(message.WParam) == SKC_BEFORESCROLL) {
        message.Result = 1;
        return;
      }
      TacEditWnd::AdapterWndProc(message);
      if (SkinSubCommand(message.WParam) == SKC_REFRESH && message.LParam == reinterpret_cast<LPARAM>(Manager()))
        RepaintHeader();
      return;
    case WM_PAINT:
      ApplySkinLook();
      break;
    case WM_NCHITTEST:
      if (HeaderHotIndex == -1 && HeaderDownIndex == -1) break;
      HeaderHotIndex = HeaderDownIndex = -1;
      RepaintHeader();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (HandleThumbTrack(message)) return;
      // The skinned bars put the position in lParam, where the control looks for a bar window.
      message.LParam = 0;
      ForwardToReplacedWndProc(message);
      if (!Scrolling) RefreshScrollBars(true);
      return;
  }
  TacEditWnd::AdapterWndProc(message);
  if (Detached) return;
  switch (message.Msg) {
    case WM_STYLECHANGED:
    case LVM_ARRANGE:
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
      if (!SkinData->Updating) RefreshScrollBars(true);
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == Wnd) ReleaseCapture();
      break;
    case WM_PARENTNOTIFY: {
      auto child = reinterpret_cast<HWND>(message.LParam);
      if (LOWORD(message.WParam) == WM_CREATE && WindowClassLower(child) == "sysheader32") HookHeader(child);
      break;
    }
    case WM_PRINT:
      if (ViewStyle() != View::Report || !HeaderWnd) break;
      PaintGuarded([&] {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        efir::gdi::SavedState saved(dc);
        RECT place;
        GetWindowRect(HeaderWnd, &place);
        MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&place), 2);
        OffsetViewportOrgEx(dc, LeftEdge + place.left, LeftEdge + place.top, nullptr);
        IntersectClipRect(dc, 0, 0, place.right - place.left, place.bottom - place.top);
        PaintHeader(dc);
      });
      break;
  }
}

// ---- tree view

TColor TacTreeViewWnd::FillColour() const {
  const TsGeneralData* section = SkinData->Section();
  return DialogMode || !section ? ColorToRGB(clWindow) : ColorToRGB(section->HotColor);
}

void TacTreeViewWnd::ApplySkinLook() {
  TacEditWnd::ApplySkinLook();
  if (!Wnd) return;
  const TColor fill = FillColour();
  if (static_cast<TColor>(SendMessageW(Wnd, TVM_GETBKCOLOR, 0, 0)) != fill)
    SendMessageW(Wnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(fill));
}

void TacTreeViewWnd::RestoreStdLook() {
  TacEditWnd::RestoreStdLook();
  if (IsWindow(Wnd)) SendMessageW(Wnd, TVM_SETBKCOLOR, 0, -1);
}

void TacTreeViewWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive() || message.Msg != WM_ERASEBKGND) {
    TacEditWnd::AdapterWndProc(message);
    if (message.Msg == WM_LBUTTONUP && !Detached && GetCapture() == Wnd) ReleaseCapture();
    return;
  }
  TsCommonData& d = *SkinData;
  // Answered as not erased: the control still fills what it paints in its own colour, which
  // the skin's look has set to the same one.
  message.Result = 0;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  if (!LookApplied) ApplySkinLook();
  if (d.BackgroundChanged) PrepareCache(false);
  HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : GetDC(Wnd);
  RECT client;
  GetClientRect(Wnd, &client);
  FillRectSolid(dc, client, FillColour());
  if (!message.WParam) ReleaseDC(Wnd, dc);
}

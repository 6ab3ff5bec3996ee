#include "skin/forms/toolbar_adapter.h"

#include <commctrl.h>

#include <algorithm>
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
#include "skin/forms/window_relays.h"

namespace {

constexpr TColor kNoKeyColor = static_cast<TColor>(0xFFFFFFFF);

// The section the buttons paint with and its name: TOOLBUTTON, else BUTTON.
std::pair<int, const char*> ButtonSection(TsSkinManager* manager) {
  const int own = SectionIndexByName(manager, "TOOLBUTTON");
  if (SectionIndexValid(manager, own)) return {own, "TOOLBUTTON"};
  return {SectionIndexByName(manager, "BUTTON"), "BUTTON"};
}

std::wstring ButtonText(HWND bar, int command) {
  const LRESULT length = SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), 0);
  if (length <= 0) return {};
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

}  // namespace

std::pair<std::string, std::string> SplitToolButtonCaption(const std::string& caption,
                                                           const std::function<int(const std::string&)>& measure,
                                                           int width) {
  if (measure(caption) <= width) return {caption, ""};
  size_t end = caption.find(' ');
  if (end == std::string::npos) return {caption, ""};
  // The first line takes words while they fit, and always the first one.
  for (size_t next = caption.find(' ', end + 1); next != std::string::npos; next = caption.find(' ', next + 1)) {
    if (measure(caption.substr(0, next)) > width) break;
    end = next;
  }
  return {caption.substr(0, end), caption.substr(end + 1)};
}

void TacToolBarWnd::PrepareToolBarCache() {
  ReadWindowPlacement();
  TsCommonData& d = *SkinData;
  const bool sized = d.CacheBitmap && d.CacheBitmap->Width() == WindowSize.cx && d.CacheBitmap->Height() == WindowSize.cy;
  if (!d.BackgroundChanged && sized) return;
  d.BackgroundChanged = true;
  ClientRectInWindowCoords(Wnd, ClientRect);
  RenderWindowBackgroundCache(d, Wnd, false);
  RestoreAdapterCorners(d, 0, *this);
  d.BackgroundChanged = false;
}

int TacToolBarWnd::ButtonState(const TBBUTTON& button, const RECT& rect) const {
  if (!(button.fsState & TBSTATE_ENABLED)) return 0;
  if (button.fsState & TBSTATE_PRESSED) return 2;
  POINT cursor;
  RECT screen = rect;
  OffsetRect(&screen, WindowRect.left, WindowRect.top);
  return GetCursorPos(&cursor) && PtInRect(&screen, cursor) ? 1 : 0;
}

void TacToolBarWnd::PaintSeparator(const RECT& rect, TBitmap& button) {
  TsSkinManager* manager = Manager();
  const int divider = SectionIndexByName(manager, "DIVIDER");
  if (!MaskIndexValid(manager, MaskIndexByName(manager, divider, "DIVIDER", "BORDERSMASK"))) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const RECT line{w / 2 - 1, 2, w / 2 + 3, h - 2};
  RenderSectionItem(divider, "DIVIDER", BitmapSource(button), true, 0, line, {line.left, line.top}, &button, manager,
                    -1, -1);
}

void TacToolBarWnd::PaintImage(const TBBUTTON& button, int state, int shift, TBitmap& target, SIZE& imageSize) {
  imageSize = {};
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Wnd, TB_GETIMAGELIST, 0, 0));
  if (button.iBitmap < 0 || !images) return;
  int iw = 0, ih = 0;
  ImageList_GetIconSize(images, &iw, &ih);
  imageSize = {iw, ih};
  ImageList_SetBkColor(images, CLR_NONE);
  const int w = target.Width(), h = target.Height();
  int x = shift + (w - iw) / 2;
  TsSkinManager* manager = Manager();
  const int arrow = manager->FixedIndexes.GlyphScrollBtnBottom;
  if ((button.fsStyle & BTNS_WHOLEDROPDOWN) && MaskIndexValid(manager, arrow)) {
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(arrow)];
    const int aw = MaskStateWidth(mask), ah = MaskStateHeight(mask);
    PaintSkinGlyph(target, manager, arrow, {w + shift - aw - 2, shift + (h - ah) / 2}, state);
    x = shift + (w - iw - aw) / 2;
  }
  ImageList_Draw(images, button.iBitmap, target.Canvas().Handle(), x, shift + 4, ILD_NORMAL);
}

void TacToolBarWnd::PaintText(const TBBUTTON& button, int state, int shift, int imageHeight, TBitmap& target) {
  const std::string caption = efir::text::toAnsi(ButtonText(Wnd, button.idCommand));
  if (caption.empty()) return;
  TCanvas& canvas = target.Canvas();
  AssignWindowFont(canvas.Font(), Wnd);
  SetBkMode(canvas.Handle(), TRANSPARENT);
  const int w = target.Width(), h = target.Height();
  const RECT area{shift + 2, shift + 2 + (imageHeight ? imageHeight + 2 : 0), w - 2 + shift, h - 2 + shift};
  TsSkinManager* manager = Manager();
  const TsGeneralData* own = SkinData->Section();
  const bool enabled = button.fsState & TBSTATE_ENABLED;
  auto write = [&](const std::string& text, RECT r, UINT format) {
    if (state != 0 && own && !own->GiveOwnFont)
      WriteSectionText(canvas, text, enabled, r, format, ButtonSection(manager).first, true, manager);
    else
      WriteSkinText(canvas, text, enabled, r, format, *SkinData, state != 0);
  };
  const auto [first, second] = SplitToolButtonCaption(
      caption, [&](const std::string& s) { return CanvasTextWidth(canvas, s); }, area.right - area.left);
  if (second.empty()) return write(first, area, DT_END_ELLIPSIS | DT_SINGLELINE | DT_CENTER | DT_WORDBREAK);
  TEXTMETRICW metrics{};
  GetTextMetricsW(canvas.Handle(), &metrics);
  const RECT top{area.left, area.top, area.right, area.top + metrics.tmHeight};
  write(first, top, DT_CENTER);
  // Centred as the first line is: a left-aligned rest under a centred start looks broken.
  write(second, {area.left, top.bottom, area.right, area.bottom}, DT_END_ELLIPSIS | DT_CENTER | DT_SINGLELINE);
}

void TacToolBarWnd::PaintButton(int index, const RECT& rect, TBitmap& target) {
  TBBUTTON button{};
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0 || !SendMessageW(Wnd, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
    return;
  TBitmap& cache = *SkinData->CacheBitmap;
  auto face = NewBitmap24(w, h);
  BitBlt(face->Canvas().Handle(), 0, 0, w, h, cache.Canvas().Handle(), rect.left, rect.top, SRCCOPY);
  if (button.fsStyle & BTNS_SEP) {
    PaintSeparator(rect, *face);
  } else {
    const int state = ButtonState(button, rect), shift = state == 2 ? 1 : 0;
    TsSkinManager* manager = Manager();
    const auto [section, name] = ButtonSection(manager);
    RenderSectionItem(section, name, BitmapSource(*face), true, state, {0, 0, w, h}, {0, 0}, face.get(), manager, -1, -1);
    SIZE image{};
    PaintImage(button, state, shift, *face, image);
    PaintText(button, state, shift, image.cy, *face);
    if (!(button.fsState & TBSTATE_ENABLED))
      CopyBlendedRect(face.get(), 0, 0, &cache, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}, 0.4, kNoKeyColor);
  }
  BitBlt(target.Canvas().Handle(), rect.left, rect.top, w, h, face->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacToolBarWnd::PaintClient(const TMessage& message) {
  PAINTSTRUCT ps;
  BeginPaint(Wnd, &ps);
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (!d.Updating) {
    PaintGuarded([&] {
      PrepareToolBarCache();
      TBitmap& cache = *d.CacheBitmap;
      auto picture = NewBitmap24(cache.Width(), cache.Height());
      BitBlt(picture->Canvas().Handle(), 0, 0, cache.Width(), cache.Height(), cache.Canvas().Handle(), 0, 0, SRCCOPY);
      const auto count = static_cast<int>(SendMessageW(Wnd, TB_BUTTONCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!SendMessageW(Wnd, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
        OffsetRect(&r, ClientRect.left, ClientRect.top);
        PaintButton(i, r, *picture);
      }
      HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : GetDC(Wnd);
      BitBlt(dc, 0, 0, ClientRect.right - ClientRect.left, ClientRect.bottom - ClientRect.top,
             picture->Canvas().Handle(), ClientRect.left, ClientRect.top, SRCCOPY);
      if (!message.WParam) ReleaseDC(Wnd, dc);
    });
  }
  EndPaint(Wnd, &ps);
}

void TacToolBarWnd::PaintFrame() {
  TsCommonData& d = *SkinData;
  d.Updating = WindowAcknowledgesSkinCommand(GetParent(Wnd), SKC_ISUPDATING) || d.IsUpdating();
  if (d.Updating) return;
  PaintGuarded([&] {
    PrepareToolBarCache();
    const RECT whole{0, 0, WindowSize.cx, WindowSize.cy};
    if (EqualRect(&ClientRect, &whole)) return;
    // Every non-client band, the divider line above a bar as much as a sunken edge.
    HDC dc = GetWindowDC(Wnd);
    {
      efir::gdi::SavedState saved(dc);
      ExcludeClipRect(dc, ClientRect.left, ClientRect.top, ClientRect.right, ClientRect.bottom);
      BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, d.CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
    }
    ReleaseDC(Wnd, dc);
  });
}

void TacToolBarWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  TsCommonData& d = *SkinData;
  switch (message.Msg) {
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      d.BackgroundChanged = true;
      TacMainWnd::AdapterWndProc(message);
      SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      return;
    case WM_PAINT:
      if (!IsWindowVisible(Wnd)) break;
      PaintClient(message);
      return;
    case WM_NCPAINT:
      PaintFrame();
      return;
    case SM_ALPHACMD:
      if (SkinSubCommand(message.WParam) != SKC_PARENTUPDATED || !d.IsUpdating()) break;
      d.SetUpdating(false);
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return;
  }
  TacMainWnd::AdapterWndProc(message);
}

#include "skin/forms/framework_toolbar_adapter.h"

#include <commctrl.h>

#include "framework/bitmap.h"
#include "framework/gdi.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

namespace {

constexpr UINT kCenteredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// 0 normal, 1 hot, 2 pressed, from the button and the custom-draw state flags.
int ButtonLook(const TToolButton& button, UINT state) {
  if (button.Down() || button.Marked() || (state & (CDIS_SELECTED | CDIS_CHECKED))) return 2;
  return state != 0 && state != CDIS_DISABLED ? 1 : 0;
}

int ImageCount(HIMAGELIST list) { return list ? ImageList_GetImageCount(list) : 0; }

}  // namespace

TacToolBarVCLWnd::TacToolBarVCLWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                   const std::string& section)
    : TacToolBarWnd(wnd, skinData, manager, section) {
  ToolBar = dynamic_cast<TToolBar*>(SkinData->OwnerControl);
  if (!ToolBar) return;
  if (section.empty()) SkinData->SetSkinSection("TOOLBAR");
  ToolBar->OnAdvancedCustomDraw = [this](TToolBar* bar, const RECT& rect, TCustomDrawStage stage, bool& defaultDraw) {
    DrawBar(bar, rect, stage, defaultDraw);
  };
  ToolBar->OnAdvancedCustomDrawButton = [this](TToolBar* bar, TToolButton* button, UINT& state,
                                               TCustomDrawStage stage, UINT& flags, bool& defaultDraw) {
    DrawButton(bar, button, state, stage, flags, defaultDraw);
  };
}

TacToolBarVCLWnd::~TacToolBarVCLWnd() { ReleaseToolBar(); }

void TacToolBarVCLWnd::Detach(bool frameChanged) {
  ReleaseToolBar();
  TacToolBarWnd::Detach(frameChanged);
}

void TacToolBarVCLWnd::ReleaseToolBar() {
  if (!ToolBar) return;
  ToolBar->OnAdvancedCustomDraw = nullptr;
  ToolBar->OnAdvancedCustomDrawButton = nullptr;
  ToolBar = nullptr;
}

bool TacToolBarVCLWnd::HotTrackingAllowed() const { return ToolBar && !ToolBar->HotTrackSuppressed(); }

int TacToolBarVCLWnd::ButtonAt(POINT client) const {
  const auto count = static_cast<int>(SendMessageW(Wnd, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    SendMessageW(Wnd, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    if (!PtInRect(&r, client)) continue;
    const bool tool = ToolBar && i < ToolBar->ButtonCount() && ToolBar->Buttons(i)->Style() < tbsSeparator;
    return tool ? i : -1;
  }
  return -1;
}

void TacToolBarVCLWnd::DrawBar(TToolBar* bar, const RECT& rect, TCustomDrawStage stage, bool& defaultDraw) {
  if (!SkinActive()) {
    defaultDraw = true;
    return;
  }
  defaultDraw = false;
  if (stage != cdPrePaint) return;
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  PaintGuarded([&] {
    AssignWindowFont(SizedCache(*this).Canvas().Font(), Wnd);
    d.BackgroundChanged = true;
    PrepareToolBarCache();
    HDC dc = bar->Canvas().Handle();
    // Client coordinates on the canvas, window coordinates in the cache.
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, d.CacheBitmap->Canvas().Handle(),
           ClientRect.left + rect.left, ClientRect.top + rect.top, SRCCOPY);
    PaintGraphicControls(dc, bar, {0, 0});
    NotifyChildrenParentUpdated(bar);
    const RECT whole{0, 0, WindowSize.cx, WindowSize.cy};
    if (!EqualRect(&ClientRect, &whole)) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
  });
}

void TacToolBarVCLWnd::DrawButton(TToolBar* bar, TToolButton* button, UINT& state, TCustomDrawStage stage,
                                  UINT& flags, bool& defaultDraw) {
  if (!SkinActive() || !ToolBar) {
    defaultDraw = true;
    return;
  }
  defaultDraw = false;
  if (stage != cdPrePaint || !button) return;
  if (HotTrackingAllowed() && button->Index() == HotIndex) state |= CDIS_HOT;
  flags |= TBCDRF_NOEDGES | TBCDRF_NOETCHEDEFFECT;
  PaintGuarded([&] {
    RECT r{};
    bar->Perform(TB_GETITEMRECT, static_cast<WPARAM>(button->Index()), reinterpret_cast<LPARAM>(&r));
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || !SkinData->CacheBitmap) return;
    TsSkinManager* manager = Manager();
    const int look = ButtonLook(*button, state), shift = look == 2 ? 1 : 0;
    auto under = NewBitmap24(w, h);
    auto face = NewBitmap24(w, h);
    const POINT inCache{ClientRect.left + r.left, ClientRect.top + r.top};
    BitBlt(under->Canvas().Handle(), 0, 0, w, h, SkinData->CacheBitmap->Canvas().Handle(), inCache.x, inCache.y, SRCCOPY);
    BitBlt(face->Canvas().Handle(), 0, 0, w, h, under->Canvas().Handle(), 0, 0, SRCCOPY);
    const int section = SectionIndexByName(manager, "TOOLBUTTON");
    RenderSectionItem(section, "TOOLBUTTON", BitmapSource(*under), true, look, {0, 0, w, h}, {0, 0}, face.get(),
                      manager, -1, -1);
    TCanvas& canvas = face->Canvas();
    canvas.Font().Assign(bar->Font());
    const bool dropDown = button->Style() == tbsDropDown;
    const int arrowWidth = dropDown ? GetSystemMetrics(SM_CXVSCROLL) - 2 : 0;
    const int contentWidth = w - arrowWidth;
    HIMAGELIST images = bar->Images();
    const bool hasImages = ImageCount(images) > 0;
    const int textHeight = CanvasTextExtent(canvas, "A").cy;
    int iw = 0, ih = 0;
    if (hasImages) ImageList_GetIconSize(images, &iw, &ih);
    if (bar->ShowCaptions()) {
      RECT t;
      if (bar->List()) {
        t = {hasImages ? iw + 6 : 1, 2, contentWidth - 2, h - 2};
      } else {
        const int top = hasImages ? (h - ih - (textHeight + 3)) / 2 + ih + 3 : (h - textHeight) / 2;
        t = {0, top, contentWidth, top + textHeight};
      }
      OffsetRect(&t, shift, shift);
      const int colours = ParentFontSectionIndex(bar, section, manager);
      WriteSectionText(canvas, button->Caption(), true, t, kCenteredLine, colours, look != 0, manager);
    }
    const int index = button->ImageIndex();
    if (hasImages && index >= 0 && index < ImageCount(images)) {
      HIMAGELIST list = look != 0 && index < ImageCount(bar->HotImages()) ? bar->HotImages() : images;
      POINT at = bar->List() ? POINT{5, (h - ih) / 2}
                             : POINT{(w - iw) / 2 + 1 - (dropDown ? 8 : 0),
                                     (h - ih - (bar->ShowCaptions() ? textHeight + 3 : 0)) / 2};
      ImageList_Draw(list, index, canvas.Handle(), at.x + shift, at.y + shift, ILD_TRANSPARENT);
    }
    const int arrow = manager->FixedIndexes.GlyphScrollBtnBottom;
    if (dropDown && MaskIndexValid(manager, arrow)) {
      const int arrowLook = (button == DroppedButton || button->Down()) ? 2 : look == 1 ? 1 : 0;
      const int border = MaskIndexByName(manager, section, "TOOLBUTTON", "BORDERSMASK");
      if (MaskIndexValid(manager, border))
        PaintSkinSlices(face.get(), {contentWidth, 0, w, h}, false, BitmapSource(*under),
                        manager->Masks[static_cast<size_t>(border)], arrowLook, true, manager);
      const TsMaskData& glyph = manager->Masks[static_cast<size_t>(arrow)];
      PaintSkinGlyph(*face, manager, arrow,
                     {contentWidth + 2 + (arrowWidth - MaskStateWidth(glyph) - 3) / 2,
                      (bar->ButtonHeight() - MaskStateHeight(glyph)) / 2},
                     arrowLook);
    }
    if (!button->Enabled()) {
      CacheSourceInfo behind;
      WindowParentCacheInfo(Wnd, behind);
      ApplyDisabledWindowLook(*face, behind, {WindowPos.x + inCache.x, WindowPos.y + inCache.y});
    }
    BitBlt(bar->Canvas().Handle(), r.left, r.top, w, h, face->Canvas().Handle(), 0, 0, SRCCOPY);
  });
}

void TacToolBarVCLWnd::RepaintButton(int index) {
  if (!ToolBar || index < 0 || index >= ToolBar->ButtonCount()) return;
  TToolButton* button = ToolBar->Buttons(index);
  if (!button->Visible()) return;
  UINT state = 0, flags = 0;
  if (button->Down()) state |= button->Style() == tbsCheck ? CDIS_CHECKED : CDIS_SELECTED;
  if (!button->Enabled()) state |= CDIS_DISABLED;
  bool defaultDraw = false;
  HDC dc = GetDC(Wnd);
  {
    efir::CanvasBinding bound(ToolBar->Canvas(), dc);
    DrawButton(ToolBar, button, state, cdPrePaint, flags, defaultDraw);
  }
  ReleaseDC(Wnd, dc);
}

void TacToolBarVCLWnd::NoticeBefore(const TMessage& message) {
  if (message.Msg != CN_NOTIFY) return;
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  if (header->code == static_cast<UINT>(TBN_DELETINGBUTTON) &&
      HotIndex >= static_cast<int>(SendMessageW(Wnd, TB_BUTTONCOUNT, 0, 0)))
    HotIndex = -1;
  if (header->code == static_cast<UINT>(TBN_DROPDOWN)) {
    const auto* notice = reinterpret_cast<const NMTOOLBARW*>(message.LParam);
    const auto index = static_cast<int>(SendMessageW(Wnd, TB_COMMANDTOINDEX, static_cast<WPARAM>(notice->iItem), 0));
    if (index >= 0 && index < ToolBar->ButtonCount()) {
      DroppedButton = ToolBar->Buttons(index);
      RepaintButton(index);
    }
  }
}

void TacToolBarVCLWnd::NoticeAfter(const TMessage& message) {
  if (message.Msg == CN_DROPDOWNCLOSED && DroppedButton) {
    const int index = DroppedButton->Index();
    HotIndex = -1;
    DroppedButton = nullptr;
    RepaintButton(index);
  } else if (message.Msg == CM_MOUSELEAVE && HotTrackingAllowed()) {
    const int hot = HotIndex;
    HotIndex = -1;
    if (hot >= 0 && hot < ToolBar->ButtonCount() && !ToolBar->Buttons(hot)->Down()) RepaintButton(hot);
  }
}

void TacToolBarVCLWnd::AdapterWndProc(TMessage& message) {
  TsCommonData& d = *SkinData;
  const bool skinned = SkinActive();
  if (skinned && ToolBar) NoticeBefore(message);
  if (message.Msg == SM_ALPHACMD) {
    const WORD command = SkinSubCommand(message.WParam);
    if ((command == SKC_REMOVESKIN || command == SKC_REFRESH) && message.LParam == reinterpret_cast<LPARAM>(Manager()))
      DroppedButton = nullptr;
    if (command == SKC_GETBGINFO) {
      auto* info = reinterpret_cast<BackgroundInfo*>(message.LParam);
      ReadWindowPlacement();
      ClientRectInWindowCoords(Wnd, ClientRect);
      d.FillBackgroundInfo(*info, false, Wnd);
      info->OffsetX += ClientRect.left;
      info->OffsetY += ClientRect.top;
      message.Result = 1;
      return;
    }
  }
  if (skinned) {
    switch (message.Msg) {
      case WM_ERASEBKGND:
        message.Result = 1;
        return;
      case WM_NCPAINT:
        if (!SkinChangeAnimating) PaintFrame();
        return;
      case WM_PRINT:
        if (!ToolBar) break;
        PaintGuarded([&] {
          auto dc = reinterpret_cast<HDC>(message.WParam);
          PrepareToolBarCache();
          {
            efir::gdi::SavedState saved(dc);
            ExcludeClipRect(dc, ClientRect.left, ClientRect.top, ClientRect.right, ClientRect.bottom);
            BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, d.CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
          }
          efir::gdi::SavedState saved(dc);
          OffsetViewportOrgEx(dc, ClientRect.left, ClientRect.top, nullptr);
          IntersectClipRect(dc, 0, 0, ClientRect.right - ClientRect.left, ClientRect.bottom - ClientRect.top);
          SendMessageW(Wnd, WM_PAINT, message.WParam, 0);
        });
        return;
    }
  }
  TacMainWnd::AdapterWndProc(message);
  if (!skinned || Detached || !SkinActive()) return;
  if (ToolBar) NoticeAfter(message);
  switch (message.Msg) {
    case WM_SIZE:
      d.BackgroundChanged = true;
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE);
      break;
    case WM_MOUSEMOVE: {
      if (!HotTrackingAllowed()) break;
      const int index = ButtonAt(PointOfLParam(message.LParam));
      if (index == HotIndex || (index >= 0 && !ToolBar->Buttons(index)->Enabled())) break;
      const int old = HotIndex;
      HotIndex = index;
      for (int i : {old, index})
        if (i >= 0 && i < ToolBar->ButtonCount() && !ToolBar->Buttons(i)->Down()) RepaintButton(i);
      break;
    }
  }
}

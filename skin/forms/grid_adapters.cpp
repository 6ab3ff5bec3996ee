#include "skin/forms/grid_adapters.h"

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/gdi.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/published_props.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/adapter_paint.h"

namespace {

constexpr TColor kNoColor = 0x1FFFFFFF;        // clNone
constexpr TColor kButtonFace = 0xFF00000F;     // clBtnFace as a system colour
constexpr TColor kButtonText = 0xFF000012;     // clBtnText as a system colour

TColor ColorProp(TObject* instance, std::string_view name) {
  return instance && HasPublishedProp(instance, name) ? static_cast<TColor>(GetOrdPropByName(instance, name)) : 0;
}

TColor RgbProp(TObject* instance, std::string_view name) { return static_cast<TColor>(ColorToRGB(ColorProp(instance, name))); }

// A gradient end: "none" is kept as the button face, so that it can be written back.
TColor GradientProp(TObject* look, std::string_view name) {
  const TColor value = ColorProp(look, name);
  return value == kNoColor ? kButtonFace : value;
}

// Draws the window's client part into dc at the edge's offset, clipped to it.
void PrintClientInto(HWND wnd, HDC dc, int edge, int extraTop, UINT msg, WPARAM flags) {
  efir::gdi::SavedState saved(dc);
  RECT client;
  GetClientRect(wnd, &client);
  OffsetViewportOrgEx(dc, edge, edge + extraTop, nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageW(wnd, msg, reinterpret_cast<WPARAM>(dc), static_cast<LPARAM>(flags));
}

}  // namespace

void SetColorPropByName(TObject* instance, std::string_view name, TColor color) {
  if (instance && HasPublishedProp(instance, name)) SetOrdPropByName(instance, name, color);
}

// ---------------------------------------------------------------------------- TacGridWnd

void TacGridWnd::SaveStdLook() {
  TacEditWnd::SaveStdLook();
  TObject* grid = SkinData->OwnerControl;
  if (!grid) return;
  TObject* look = GetObjectPropByName(grid, "ControlLook");
  SavedFixedColor = RgbProp(grid, "FixedColor");
  SavedFixedFontColor = ColorProp(grid, "TitleFont.Color");
  if (look) {
    SavedFixedFontColor = RgbProp(grid, "FixedFont.Color");
    SavedGridFixedLineColor = RgbProp(grid, "GridFixedLineColor");
    SavedGridLineColor = RgbProp(grid, "GridLineColor");
    SavedGradientFrom = GradientProp(look, "FixedGradientFrom");
    SavedGradientTo = GradientProp(look, "FixedGradientTo");
    SavedSelectionColor = RgbProp(grid, "SelectionColor");
    SavedSelectionTextColor = RgbProp(grid, "SelectionTextColor");
  }
  SavedFooterColor = RgbProp(grid, "FooterColor");
  SavedFooterCellColor = RgbProp(grid, "FooterCellColor");
  SavedTitleColor = RgbProp(grid, "TitleColor");
  SavedIndicatorIconColor = RgbProp(grid, "IndicatorIconColor");
}

void TacGridWnd::ApplySkinLook() {
  TacEditWnd::ApplySkinLook();
  TObject* grid = SkinData->OwnerControl;
  TsSkinManager* manager = Manager();
  if (!grid || !manager) return;
  const TColor global = GlobalInfoColor(manager), ink = GlobalInfoFontColor(manager);
  TObject* look = GetObjectPropByName(grid, "ControlLook");
  SetColorPropByName(grid, "FixedColor", global);
  SetColorPropByName(grid, "TitleFont.Color", ink);
  if (look) {
    SetColorPropByName(grid, "FixedFont.Color", ink);
    SetColorPropByName(grid, "GridFixedLineColor", manager->LoadedSkin.BorderColor);
    SetColorPropByName(grid, "GridLineColor", MixColors(GlobalInfoHotColor(manager), EditHotFontColor(manager), 0.5));
    SetColorPropByName(look, "FixedGradientFrom", MixColors(global, GlobalInfoHotColor(manager), 0.5));
    SetColorPropByName(look, "FixedGradientTo", global);
    SetColorPropByName(grid, "SelectionColor", MenuHighlightColor(manager));
    SetColorPropByName(grid, "SelectionTextColor", MenuHighlightTextColor(manager));
  }
  for (const char* name : {"FooterColor", "FooterCellColor", "TitleColor"}) SetColorPropByName(grid, name, global);
  if (const TsGeneralData* section = SkinData->Section())
    SetColorPropByName(grid, "IndicatorIconColor", section->FontColor[0]);
}

void TacGridWnd::RestoreStdLook() {
  TacEditWnd::RestoreStdLook();
  auto* grid = dynamic_cast<TComponent*>(SkinData->OwnerControl);
  if (!grid || (grid->ComponentState() & csDestroying)) return;
  TObject* look = GetObjectPropByName(grid, "ControlLook");
  const struct {
    TObject* owner;
    const char* name;
    TColor value;
  } saved[] = {{grid, "FixedColor", SavedFixedColor},
               {grid, "TitleFont.Color", SavedFixedFontColor},
               {grid, "FixedFont.Color", SavedFixedFontColor},
               {grid, "GridFixedLineColor", SavedGridFixedLineColor},
               {grid, "GridLineColor", SavedGridLineColor},
               {look, "FixedGradientFrom", SavedGradientFrom},
               {look, "FixedGradientTo", SavedGradientTo},
               {grid, "SelectionColor", SavedSelectionColor},
               {grid, "SelectionTextColor", SavedSelectionTextColor},
               {grid, "FooterColor", SavedFooterColor},
               {grid, "FooterCellColor", SavedFooterCellColor},
               {grid, "TitleColor", SavedTitleColor},
               {grid, "IndicatorIconColor", SavedIndicatorIconColor}};
  for (const auto& s : saved) SetColorPropByName(s.owner, s.name, s.value);
}

void TacGridWnd::PrintClient(HDC dc) { PrintClientInto(Wnd, dc, LeftEdge, 0, WM_PAINT, 0); }

void TacGridWnd::AdapterWndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      // The grid paints every pixel itself.
      SkinData->SetUpdating(SkinData->IsUpdating());
      return;
    case WM_VSCROLL:
      // A data-aware grid keeps its own idea of the thumb: it is told where the drag is.
      if (HasPublishedProp(SkinData->OwnerControl, "DataSource") &&
          (LOWORD(message.WParam) == SB_THUMBPOSITION || LOWORD(message.WParam) == SB_THUMBTRACK)) {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS};
        GetScrollInfo(Wnd, SB_VERT, &info);
        info.fMask = SIF_POS;
        info.nPos = info.nTrackPos + (LOWORD(message.WParam) == SB_THUMBPOSITION ? 1 : 0);
        SetScrollInfo(Wnd, SB_VERT, &info, FALSE);
      }
      break;
    case WM_PRINT:
      TacEditWnd::AdapterWndProc(message);
      PrintClient(reinterpret_cast<HDC>(message.WParam));
      return;
  }
  TacEditWnd::AdapterWndProc(message);
  if (message.Msg == WM_PAINT) RefreshScrollBars(true);
  if (message.Msg == WM_WINDOWPOSCHANGED && IsWindowVisible(Wnd)) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
}

// ---------------------------------------------------------------------------- TacVirtualTreeViewWnd

namespace {

constexpr const char* kVetColours[] = {"CompressedTextColor", "FileTextColor", "FolderTextColor"};
constexpr UINT kHeaderTextFormat = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;

// The handlers the adapter gives a tree: a type of their own, so that the adapter can tell
// them from the program's when it takes them away.
struct AdapterHeaderPainter {
  TacVirtualTreeViewWnd* Adapter;
  void operator()(TObject*, THeaderPaintInfo& info, uint32_t elements) const {
    Adapter->PaintHeaderItem(info, elements);
  }
};

struct AdapterElementQuery {
  TacVirtualTreeViewWnd* Adapter;
  void operator()(TObject*, THeaderPaintInfo&, uint32_t& elements) const {
    elements = TacVirtualTreeViewWnd::kPaintedElements;
  }
};

template <class Handler, class Event>
void ClearOwnHandler(Event* slot, const TacVirtualTreeViewWnd* adapter) {
  if (!slot || !*slot) return;
  const Handler* handler = slot->template target<Handler>();
  if (handler && handler->Adapter == adapter) *slot = nullptr;
}

}  // namespace

void TacVirtualTreeViewWnd::InstallHeaderHandlers(TObject* tree) {
  auto* draw = EventPropByName<THeaderDrawEvent>(tree, "OnAdvancedHeaderDraw");
  if (!draw || *draw) return;
  *draw = AdapterHeaderPainter{this};
  auto* query = EventPropByName<THeaderDrawQueryElementsEvent>(tree, "OnHeaderDrawQueryElements");
  if (!query) return;
  if (!*query) *query = AdapterElementQuery{this};
  ChangeSetPropValue(GetObjectPropByName(tree, "Header"), "Options", "hoOwnerDraw", true);
}

void TacVirtualTreeViewWnd::RemoveHeaderHandlers(TObject* tree) {
  ClearOwnHandler<AdapterHeaderPainter>(EventPropByName<THeaderDrawEvent>(tree, "OnAdvancedHeaderDraw"), this);
  ClearOwnHandler<AdapterElementQuery>(
      EventPropByName<THeaderDrawQueryElementsEvent>(tree, "OnHeaderDrawQueryElements"), this);
}

void TacVirtualTreeViewWnd::PaintHeaderItem(const THeaderPaintInfo& info, uint32_t elements) {
  TsSkinManager* manager = Manager();
  const RECT& place = info.PaintRectangle;
  const int w = place.right - place.left, h = place.bottom - place.top;
  if (Scrolling || !SkinActive() || !info.TargetCanvas || w <= 0 || h <= 0) return;
  HDC dc = info.TargetCanvas->Handle();
  if (!info.Column) {
    if (const TsGeneralData* section = SkinData->Section()) FillRectSolid(dc, place, section->Color);
    return;
  }
  std::string name = "COLHEADER";
  int section = SectionIndexByName(manager, name);
  if (!SectionIndexValid(manager, section)) section = SectionIndexByName(manager, name = "BUTTON");
  const int state = info.IsDownIndex ? 2 : info.IsHoverIndex ? 1 : 0;
  auto item = NewBitmap24(w, h);
  HDC itemDC = item->Canvas().Handle();
  if (elements & header_elements::Background) {
    CacheSourceInfo behind;
    MakeCacheSourceInfo(SkinData->CacheBitmap.get(), 0, 0, behind);
    if (!behind.Bitmap) behind.FillColor = ColorToRGB(clWindow);
    RenderSectionItem(section, name, behind, true, state, {0, 0, w, h}, {place.left + LeftEdge, place.top + LeftEdge},
                      item.get(), manager, -1, -1);
    BitBlt(dc, place.left, place.top, w, h, itemDC, 0, 0, SRCCOPY);
    return;
  }
  BitBlt(itemDC, 0, 0, w, h, dc, place.left, place.top, SRCCOPY);
  TObject* header = GetObjectPropByName(SkinData->OwnerControl, "Header");
  TCanvas& canvas = item->Canvas();
  // A font is no component: the header publishes its font's handle.
  if (const int64_t font = GetOrdPropByName(header, "Font.Handle"); font > 0)
    AssignFontHandle(canvas.Font(), reinterpret_cast<HFONT>(static_cast<intptr_t>(font)));
  const std::string caption = GetStrPropByName(info.Column, "Text");
  RECT text = info.TextRectangle;
  OffsetRect(&text, -place.left, -place.top);
  if ((elements & header_elements::Overlay) && !(elements & header_elements::Text))
    WriteSectionText(canvas, caption, true, text, 0, section, state != 0, manager);
  if ((elements & header_elements::SortGlyph) && info.ShowSortGlyph) {
    const TsFixedIndexes& fixed = manager->FixedIndexes;
    const int arrow =
        GetOrdPropByName(header, "SortDirection") != 0 ? fixed.GlyphScrollBtnTop : fixed.GlyphScrollBtnBottom;
    if (MaskIndexValid(manager, arrow)) {
      const int arrowHeight = MaskStateHeight(manager->Masks[static_cast<size_t>(arrow)]);
      PaintSkinGlyph(*item, manager, arrow, {info.SortGlyphPos.x - place.left, (h - arrowHeight) / 2}, state);
    }
  }
  if (elements & header_elements::Text)
    WriteSectionText(canvas, caption, true, text, kHeaderTextFormat, section, state != 0, manager);
  BitBlt(dc, place.left, place.top, w, h, itemDC, 0, 0, SRCCOPY);
}

void TacVirtualTreeViewWnd::SaveStdLook() {
  TacEditWnd::SaveStdLook();
  TObject* tree = SkinData->OwnerControl;
  TObject* colours = GetObjectPropByName(tree, "VETColors");
  SavedCompressedTextColor = ColorProp(colours, kVetColours[0]);
  SavedFileTextColor = ColorProp(colours, kVetColours[1]);
  SavedFolderTextColor = ColorProp(colours, kVetColours[2]);
  TObject* header = GetObjectPropByName(tree, "Header");
  SavedHeaderOwnerDraw = header && SetPropHasValue(header, "Options", "hoOwnerDraw");
}

void TacVirtualTreeViewWnd::ApplySkinLook() {
  TacEditWnd::ApplySkinLook();
  TObject* tree = SkinData->OwnerControl;
  TsSkinManager* manager = Manager();
  if (!tree || !manager) return;
  if (const TsGeneralData* section = SkinData->Section())
    for (const char* name : kVetColours)
      SetColorPropByName(GetObjectPropByName(tree, "VETColors"), name, section->HotFontColor[0]);
  InstallHeaderHandlers(tree);
  TObject* column = GetObjectPropByName(tree, "PaintInfoColumn");
  if (!column) return;
  SetColorPropByName(column, "Color", GlobalInfoColor(manager));
  SetOrdPropByName(column, "Style", 1);
  TObject* header = GetObjectPropByName(tree, "Header");
  SetColorPropByName(header, "Color", GlobalInfoHotColor(manager));
  SetColorPropByName(header, "Font.Color", GlobalInfoFontColor(manager));
  RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  SetOrdPropByName(tree, "Themed", 0);
}

void TacVirtualTreeViewWnd::RestoreStdLook() {
  TacEditWnd::RestoreStdLook();
  TObject* tree = SkinData->OwnerControl;
  if (!tree) return;
  TObject* colours = GetObjectPropByName(tree, "VETColors");
  SetColorPropByName(colours, kVetColours[0], SavedCompressedTextColor);
  SetColorPropByName(colours, kVetColours[1], SavedFileTextColor);
  SetColorPropByName(colours, kVetColours[2], SavedFolderTextColor);
  RemoveHeaderHandlers(tree);
  TObject* header = GetObjectPropByName(tree, "Header");
  if (header) ChangeSetPropValue(header, "Options", "hoOwnerDraw", SavedHeaderOwnerDraw);
  TObject* column = GetObjectPropByName(tree, "PaintInfoColumn");
  if (!column) return;
  SetOrdPropByName(tree, "Themed", 1);
  SetColorPropByName(column, "Color", kButtonFace);
  SetColorPropByName(header, "Color", kButtonFace);
  SetColorPropByName(header, "Font.Color", kButtonText);
}

void TacVirtualTreeViewWnd::CopyFrame(HDC dc) {
  if (!SkinData->CacheBitmap) return;
  CopyBorderFrame(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBitmap->Canvas().Handle(), 0, 0, LeftEdge);
}

void TacVirtualTreeViewWnd::NonClientPaint(TMessage& message) {
  ReadWindowPlacement();
  SkinData->Updating = SkinData->IsUpdating();
  if (SkinData->Updating) return;
  if (SkinData->BackgroundChanged) {
    ApplyLookOnce();
    RenderWindowBackgroundCache(*SkinData, Wnd, DialogMode);
  }
  RestoreAdapterCorners(*SkinData, 0, *this);
  HDC dc = GetWindowDC(Wnd);
  CopyFrame(dc);
  Forward(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
  message.Result = PaintScrollBars(dc, -1);
  ReleaseDC(Wnd, dc);
}

void TacVirtualTreeViewWnd::Print(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  SkinData->SetUpdating(false);
  if (SkinData->BackgroundChanged) {
    ApplyLookOnce();
    RenderWindowBackgroundCache(*SkinData, Wnd, false);
  }
  TObject* header = GetObjectPropByName(SkinData->OwnerControl, "Header");
  const int headerHeight =
      header && SetPropHasValue(header, "Options", "hoVisible") ? static_cast<int>(GetOrdPropByName(header, "Height")) : 0;
  {
    efir::gdi::SavedState saved(dc);
    OffsetViewportOrgEx(dc, LeftEdge, LeftEdge + headerHeight, nullptr);
    Forward(WM_PRINTCLIENT, message.WParam, 0);
  }
  ForwardToReplacedWndProc(message);
  RestoreAdapterCorners(*SkinData, 0, *this);
  CopyFrame(dc);
  message.Result = PaintScrollBars(dc, -1);
}

void TacVirtualTreeViewWnd::AdapterWndProc(TMessage& message) {
  if (!Skinned()) return TacEditWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (LOWORD(message.WParam) == SB_THUMBTRACK) {
        const int bar = message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS};
        GetScrollInfo(Wnd, bar, &info);
        info.fMask = SIF_POS;
        info.nPos = info.nTrackPos;
        SetScrollInfo(Wnd, bar, &info, FALSE);
      }
      break;
    case WM_NCPAINT:
      if (!IsWindowVisible(Wnd)) break;
      NonClientPaint(message);
      return;
    case WM_PRINT:
      Print(message);
      return;
  }
  TacEditWnd::AdapterWndProc(message);
}

// Window adapters of grids and virtual trees of other component sets, which the adapters
// never know by class: every colour, option and font colour is found by its published
// property name (published_props.h) and skipped when the control lacks it. A font's colour
// is published under its dotted path ("TitleFont.Color"), since fonts are no components.
//
//   auto grid = AttachAdapter<TacGridWnd>(control->Handle(), &controlSkinData, manager, "EDIT", true);
//
// Both keep the edit adapter's skinned frame and scroll bars; the standard look is saved
// when attaching and written back when the skin goes.
//
// A virtual tree's column header is painted from the skin through the tree's own header
// events ("OnAdvancedHeaderDraw", "OnHeaderDrawQueryElements", found by name with the
// handler types below), installed only where the program set none and removed only while
// they are still the adapter's.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "framework/component.h"
#include "skin/forms/edit_wnd.h"

class TCanvas;

// What a virtual tree tells its header-drawing events about one header item.
struct THeaderPaintInfo {
  TCanvas* TargetCanvas = nullptr;
  TObject* Column = nullptr;  // nullptr: the part of the header right of the last column
  RECT PaintRectangle{};
  RECT TextRectangle{};
  bool IsHoverIndex = false;
  bool IsDownIndex = false;
  bool ShowSortGlyph = false;
  POINT SortGlyphPos{};
};

// The parts of a header item the tree leaves to its drawing event, as bits.
namespace header_elements {
constexpr uint32_t Background = 1, Text = 2, SortGlyph = 8, Overlay = 16;
}  // namespace header_elements

using THeaderDrawEvent = std::function<void(TObject* Sender, THeaderPaintInfo& PaintInfo, uint32_t Elements)>;
using THeaderDrawQueryElementsEvent =
    std::function<void(TObject* Sender, THeaderPaintInfo& PaintInfo, uint32_t& Elements)>;

class TacGridWnd : public TacEditWnd {
 public:
  using TacEditWnd::TacEditWnd;
  void SaveStdLook() override;
  void RestoreStdLook() override;
  void ApplySkinLook() override;
  void AdapterWndProc(TMessage& message) override;

  TColor SavedFixedColor = 0, SavedFooterColor = 0, SavedFooterCellColor = 0, SavedFixedFontColor = 0,
         SavedTitleColor = 0, SavedIndicatorIconColor = 0, SavedSelectionColor = 0, SavedSelectionTextColor = 0,
         SavedGridLineColor = 0, SavedGridFixedLineColor = 0, SavedGradientFrom = 0, SavedGradientTo = 0;

 private:
  void PrintClient(HDC dc);
};

// The same adapter for another grid family.
class TacGridEhWnd : public TacGridWnd {
 public:
  using TacGridWnd::TacGridWnd;
};

class TacVirtualTreeViewWnd : public TacEditWnd {
 public:
  using TacEditWnd::TacEditWnd;
  void SaveStdLook() override;
  void RestoreStdLook() override;
  void ApplySkinLook() override;
  void AdapterWndProc(TMessage& message) override;

  TColor SavedCompressedTextColor = 0, SavedFileTextColor = 0, SavedFolderTextColor = 0;
  bool SavedHeaderOwnerDraw = false;

  // The header painter: one item (elements as header_elements) onto the info's canvas.
  void PaintHeaderItem(const THeaderPaintInfo& info, uint32_t elements);
  // The element query handler's answer: background, text, sort glyph and overlay.
  static constexpr uint32_t kPaintedElements = header_elements::Background | header_elements::Text |
                                               header_elements::SortGlyph | header_elements::Overlay;

 private:
  void InstallHeaderHandlers(TObject* tree);
  void RemoveHeaderHandlers(TObject* tree);
  void NonClientPaint(TMessage& message);
  void Print(TMessage& message);
  void CopyFrame(HDC dc);
};

// A property of a control by name, written only when the control publishes it.
void SetColorPropByName(TObject* instance, std::string_view name, TColor color);

// Window adapters of grids and virtual trees of other component sets, which the adapters
// never know by class: every colour, option and font colour is found by its published
// property name (published_props.h) and skipped when the control lacks it. A font's colour
// is published under its dotted path ("TitleFont.Color"), since fonts are no components.
//
//   auto grid = AttachAdapter<TacGridWnd>(control->Handle(), &controlSkinData, manager, "EDIT", true);
//
// Both keep the edit adapter's skinned frame and scroll bars; the standard look is saved
// when attaching and written back when the skin goes.
#pragma once

#include <string_view>

#include "framework/component.h"
#include "skin/forms/edit_wnd.h"

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

 private:
  void NonClientPaint(TMessage& message);
  void Print(TMessage& message);
  void CopyFrame(HDC dc);
};

// A property of a control by name, written only when the control publishes it.
void SetColorPropByName(TObject* instance, std::string_view name, TColor color);

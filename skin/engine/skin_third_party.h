// The class names whose controls the window-skinning hook hands to each kind of window
// adapter (TsSkinManager::ThirdParty): 18 texts of one class name a line, kept by the
// manager as string lists (ThirdLists) that the hook searches.
//
//   manager->ThirdParty.SetThird(ThirdButtons, "TButton\nTMyButton");
//   ... Loaded(): UpdateThirdLists(manager, false);   // an empty text takes its default
#pragma once

#include <array>
#include <string>

#include "framework/string_list.h"

class TControl;
class TsSkinManager;

enum ThirdPartyIndex {
  ThirdEdits, ThirdButtons, ThirdBitBtns, ThirdCheckBoxes, ThirdComboBoxes, ThirdGrids,
  ThirdGroupBoxes, ThirdListViews, ThirdPanels, ThirdTreeViews, ThirdWWEdits, ThirdGridEh,
  ThirdVirtualTrees, ThirdPageControl, ThirdTabControl, ThirdToolBar, ThirdStatusBar,
  ThirdSpeedButton,
};
constexpr int ThirdPartyCount = 18;
// What kind of control each list is for, by index (for people; the engine reads none).
constexpr std::array<const char*, ThirdPartyCount> ThirdPartyKindNames = {
    "Edit",    "Button",   "BitBtn", "CheckBox", "ComboBox",    "Grid",       "GroupBox",  "ListView",  "Panel",
    "TreeView", "wwEdit", "GridEh", "VirtualTree", "PageControl", "TabControl", "ToolBar", "StatusBar", "SpeedButton"};

class ThirdPartyList {
 public:
  ThirdPartyList();
  // Empty outside 0..17.
  std::string Third(int index) const;
  // Ignored outside 0..17.
  void SetThird(int index, const std::string& value);
  // A single blank (matching no class), or "TButton" for ThirdButtons.
  static std::string DefaultOf(int index);

 private:
  std::array<std::string, ThirdPartyCount> texts_;
};

using ThirdPartyLists = std::array<TStringList, ThirdPartyCount>;

// Each list takes its text; with `reset` every text first takes its default, else only an
// empty one does.
void UpdateThirdLists(TsSkinManager& manager, bool reset);
// Each text takes its list's lines.
void StoreThirdLists(TsSkinManager& manager);

// Asked by a relay of skin commands before it walks into an unskinned windowed child: true
// when another part of the program skins that child itself. No part does.
inline bool ThirdPartyControlHandled(TControl*) { return false; }
// Told when a skin is applied or removed, for another part of the program that skins
// controls itself to follow. No part does.
inline void ExternalSkinChangeHook(TsSkinManager&) {}

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

class TsSkinManager;

enum ThirdPartyIndex {
  ThirdEdits, ThirdButtons, ThirdBitBtns, ThirdCheckBoxes, ThirdComboBoxes, ThirdGrids,
  ThirdGroupBoxes, ThirdListViews, ThirdPanels, ThirdTreeViews, ThirdWWEdits, ThirdGridEh,
  ThirdVirtualTrees, ThirdPageControl, ThirdTabControl, ThirdToolBar, ThirdStatusBar,
  ThirdSpeedButton,
};
constexpr int ThirdPartyCount = 18;

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

// The manager's settings for its skinned popup menus (TsSkinManager::MenuSupport): the skin
// section painted as the icon column, and the optional extra line down the left side of
// every popup, with its width and font. Read by the menu painter; plain values otherwise.
//
//   manager.MenuSupport.UseExtraLine = true;
//   manager.MenuSupport.SetExtraLineFont(font);     // copies the font's attributes
#pragma once

#include <string>

#include "framework/graphics_objects.h"

class TacMenuSupport {
 public:
  // Empty until the manager's layout is loaded, which then makes it "ICOLINE".
  std::string IcoLineSkin;
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;

  const TFont& ExtraLineFont() const { return extraLineFont_; }
  TFont& ExtraLineFont() { return extraLineFont_; }
  // Copies the attributes; later changes to `font` do not reach the menus.
  void SetExtraLineFont(const TFont& font) { extraLineFont_.Assign(font); }

 private:
  TFont extraLineFont_;
};

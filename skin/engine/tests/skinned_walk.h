// Walks every control of a window and reports those of a skinned class that would not paint
// from a section of the active skin: for the programs' tests that no plain grey control shows
// on a skinned window.
//
//   SkinnedWalk walk;
//   walk.Visit(Form2);
//   EXPECT_TRUE(walk.Plain.empty()) << walk.Plain.front();
//   EXPECT_GT(walk.Seen["TsComboBox"], 0);
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/s_button.h"
#include "skin/engine/s_check_box.h"
#include "skin/engine/s_combo_box.h"
#include "skin/engine/s_edit.h"
#include "skin/engine/s_label.h"
#include "skin/engine/s_scroll_bar.h"
#include "skin/engine/s_track_bar.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace efir::test {

struct SkinnedWalk {
  // "window.control (class)" of every skinned control that paints otherwise.
  std::vector<std::string> Plain;
  // How many controls of each skinned class were looked at.
  std::map<std::string, int> Seen;

  void Visit(TWinControl* root) {
    for (int i = 0; i < root->ControlCount(); ++i) {
      TControl* control = root->Controls(i);
      Check(control);
      if (auto* container = dynamic_cast<TWinControl*>(control)) Visit(container);
    }
  }

 private:
  void Check(TControl* control) {
    // Skinned, a scroll bar is a plain window of its own; the system's bar would show grey.
    if (auto* bar = dynamic_cast<TsScrollBar*>(control); bar && bar->HandleAllocated() && !bar->PlainWindow())
      Report(control, "TsScrollBar, the system's window");
    if (Is<TsCheckBox>(control, "TsCheckBox") || Is<TsBitBtn>(control, "TsBitBtn") ||
        Is<TsButton>(control, "TsButton") || Is<TsEdit>(control, "TsEdit") ||
        Is<TsComboBox>(control, "TsComboBox") || Is<TsTrackBar>(control, "TsTrackBar") ||
        Is<TsScrollBar>(control, "TsScrollBar"))
      return;
    if (auto* label = dynamic_cast<TsCustomLabel*>(control)) {
      ++Seen["TsLabel"];
      TsSkinManager* manager = TsSkinManager::DefaultManager();
      const bool fromSection = manager && manager->LoadedSkin.Active &&
                               SectionIndexValid(manager, ParentFontSectionIndex(label, manager->FixedIndexes.IdxGlobalInfo, manager));
      if (!fromSection) Report(label, "TsLabel");
    }
  }

  template <class Skinned>
  bool Is(TControl* control, const char* className) {
    auto* skinned = dynamic_cast<Skinned*>(control);
    if (!skinned) return false;
    ++Seen[className];
    const bool active = SkinActiveFor(skinned->SkinData.get(), true) && skinned->SkinData->Section() != nullptr;
    const bool answers = !skinned->HandleAllocated() || SendSkinCommandToWindow(skinned->Handle(), SKC_ISSKINNED) == 1;
    if (!active || !answers) Report(control, className);
    return true;
  }

  void Report(TControl* control, const char* className) {
    TControl* form = control;
    while (form->Parent()) form = form->Parent();
    Plain.push_back(form->Name() + "." + control->Name() + " (" + className + ")");
  }
};

}  // namespace efir::test

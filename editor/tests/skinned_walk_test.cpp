// Every control of a skinned class on every window of the station editor paints from a
// section of the active skin.
#include <gtest/gtest.h>

#include "editor/confirm_window.h"
#include "editor/edit_window.h"
#include "editor/list_window.h"
#include "editor/tests/editor_fixture.h"
#include "skin/engine/tests/skinned_walk.h"

namespace {

using SkinnedEditor = editor_test::EditorTest;

TEST_F(SkinnedEditor, EveryControlOfASkinnedClassPaintsFromASkinSection) {
  Start();
  ASSERT_TRUE(shown.empty()) << shown.front();
  efir::test::SkinnedWalk walk;
  for (TWinControl* window : std::initializer_list<TWinControl*>{Form1, Form2, Form3}) walk.Visit(window);
  EXPECT_TRUE(walk.Plain.empty()) << walk.Plain.size() << " plain, the first " << walk.Plain.front();
  for (const char* used : {"TsCheckBox", "TsBitBtn", "TsEdit", "TsLabel"}) EXPECT_GT(walk.Seen[used], 0) << used;
}

}  // namespace

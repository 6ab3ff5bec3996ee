// The editor starts skinned with no call of its own: the list window's manager carries the
// built-in EfirNight and skins all three windows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/edit_window.h"
#include "editor/list_window.h"
#include "editor/tests/editor_fixture.h"
#include "skin/engine/skin_lookups.h"
#include "tests/support/capture.h"

namespace {

using EditorSkin = editor_test::EditorTest;

bool Near(COLORREF a, COLORREF b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > tolerance) return false;
  return true;
}

TEST_F(EditorSkin, TheListWindowsManagerSkinsTheWindowsWithEfirNight) {
  Start();
  ASSERT_TRUE(shown.empty()) << shown.front();
  EXPECT_EQ(TsSkinManager::DefaultManager(), Form1->sSkinManager1);
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "EfirNight");
  EXPECT_TRUE(Form1->sSkinManager1->LoadedSkin.Active);
  for (int i = 0; i < 20; ++i) {
    Application.ProcessMessages();
    Sleep(10);
  }
  TsCheckBox* box = Form1->sCheckBox1;
  ASSERT_TRUE(SkinActiveFor(box->SkinData.get(), true));
  efir::test::Image pixels = efir::test::captureWindow(box->Handle());
  RECT glyph = box->GlyphRect();
  bool tick = false;
  for (int y = glyph.top; y < glyph.bottom; ++y)
    for (int x = glyph.left; x < glyph.right; ++x) tick = tick || Near(pixels.at(x, y), RGB(40, 196, 180), 30);
  EXPECT_TRUE(tick) << "the skin's tick in the checked box";
  TsBitBtn* done = Form1->sBitBtn1;
  ASSERT_TRUE(SkinActiveFor(done->SkinData.get(), true));
  efir::test::Image face = efir::test::captureWindow(done->Handle());
  EXPECT_TRUE(Near(face.at(6, done->Height() / 2), RGB(32, 64, 92), 12)) << std::hex << face.at(6, done->Height() / 2);
}

}  // namespace

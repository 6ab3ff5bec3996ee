#include "skin/engine/glow.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"

namespace efir::test {
namespace {

// A manager whose BUTTON section has a 12 x 12 glow picture with borders of 4: red corners,
// green sides, blue centre.
struct GlowSkin {
  TsSkinManager Manager{nullptr};
  GlowSkin() {
    TsMaskData& m = Manager.Masks.emplace_back();
    m.SectionName = "BUTTON", m.PropertyName = "GLOW0", m.ImgType = itisaGlow;
    m.R = {0, 0, 12, 12}, m.ImageCount = 1, m.MaskType = 0, m.Manager = &Manager;
    m.WL = m.WT = m.WR = m.WB = 4;
    m.StretchMode = 4;  // the centre is painted too, as for every separate picture
    m.Image = Solid(12, 12, pf32bit, clBlue, 255);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool sideX = x < 4 || x >= 8, sideY = y < 4 || y >= 8;
        if (sideX || sideY) Put(*m.Image, x, y, sideX && sideY ? clRed : clLime, 255);
      }
  }
  ~GlowSkin() { ReleaseAllGlows(); }
};

std::vector<HWND> GlowWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM list) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(wnd, name, 64);
        if (std::wstring_view(name) == GlowWindowClass) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

RECT WindowRect(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

TEST(glow_Attach, WithoutTheGlowPictureNothingIsMade) {
  GlowSkin skin;
  EXPECT_EQ(AttachGlow({10, 10, 50, 30}, {0, 0, 40, 20}, "EDIT", "GLOW", 0, 255, nullptr, &skin.Manager), -1);
  EXPECT_EQ(AttachGlow({10, 10, 50, 30}, {0, 0, 40, 20}, "BUTTON", "HALO", 0, 255, nullptr, &skin.Manager), -1);
  EXPECT_TRUE(GlowWindows().empty());
}

TEST(glow_Attach, WindowSurroundsTheTargetAndIsCutWhereTheTargetIsHidden) {
  GlowSkin skin;
  struct Case {
    const char* name;
    RECT clip;
    int margin;
    RECT expected;
  };
  // Target at (100, 100), 40 x 20; borders 4.
  const Case cases[] = {
      {"fully visible", {0, 0, 40, 20}, 0, {96, 96, 144, 124}},
      {"pulled in by the margin", {0, 0, 40, 20}, 1, {97, 97, 143, 123}},
      {"hidden 5 pixels on the left", {5, 0, 40, 20}, 1, {105, 97, 143, 123}},
      {"hidden 3 pixels at the bottom", {0, 0, 40, 17}, 0, {96, 96, 144, 117}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int id = AttachGlow({100, 100, 140, 120}, c.clip, "BUTTON", "GLOW", c.margin, 255, nullptr, &skin.Manager);
    ASSERT_GE(id, 0);
    const auto windows = GlowWindows();
    ASSERT_EQ(windows.size(), 1u);
    const RECT r = WindowRect(windows[0]);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    ReleaseGlow(id);
    EXPECT_TRUE(GlowWindows().empty());
  }
}

TEST(glow_Window, NeverActiveLetsTheMouseThroughAndFollowsATopmostTarget) {
  GlowSkin skin;
  HWND target = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 40, 20, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(target, nullptr);
  SetForegroundWindow(target);
  const HWND before = GetForegroundWindow();
  AttachGlow({100, 100, 140, 120}, {0, 0, 40, 20}, "BUTTON", "GLOW", 0, 255, target, &skin.Manager);
  const auto windows = GlowWindows();
  ASSERT_EQ(windows.size(), 1u);
  const HWND glow = windows[0];
  EXPECT_TRUE(IsWindowVisible(glow));
  EXPECT_EQ(GetForegroundWindow(), before);
  const LONG_PTR exStyle = GetWindowLongPtrW(glow, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(SendMessageW(glow, WM_NCHITTEST, 0, MAKELPARAM(100, 100)), HTTRANSPARENT);
  ReleaseAllGlows();
  EXPECT_FALSE(IsWindow(glow));
  DestroyWindow(target);
}

TEST(glow_Release, BadAndStaleIdsAreIgnored) {
  GlowSkin skin;
  const RECT rect{10, 10, 50, 30}, clip{0, 0, 40, 20};
  const int first = AttachGlow(rect, clip, "BUTTON", "GLOW", 0, 255, nullptr, &skin.Manager);
  ASSERT_GE(first, 0);
  ReleaseGlow(-1);
  ReleaseGlow(first + 1000);
  EXPECT_EQ(GlowWindows().size(), 1u);
  ReleaseGlow(first);
  ReleaseGlow(first);
  EXPECT_TRUE(GlowWindows().empty());

  // An id kept from before ReleaseAllGlows must not take away a glow made after it.
  const int old = AttachGlow(rect, clip, "BUTTON", "GLOW", 0, 255, nullptr, &skin.Manager);
  ReleaseAllGlows();
  const int fresh = AttachGlow(rect, clip, "BUTTON", "GLOW", 0, 255, nullptr, &skin.Manager);
  EXPECT_NE(fresh, old);
  ReleaseGlow(old);
  EXPECT_EQ(GlowWindows().size(), 1u);
  ReleaseGlow(fresh);
  EXPECT_TRUE(GlowWindows().empty());
}

TEST(glow_Picture, PaintsTheGlowPictureOverATransparentBitmap) {
  GlowSkin skin;
  TacGlowEffect effect;
  effect.Manager = &skin.Manager;
  effect.RebuildAlphaImage(20, 16);
  TBitmap& image = *effect.AlphaImage;
  ASSERT_EQ(image.PixelFormat(), pf32bit);
  ASSERT_EQ(image.Width(), 20);
  EXPECT_EQ(At(image, 10, 8), 0);  // no picture: transparent black everywhere
  EXPECT_EQ(AlphaAt(image, 10, 8), 0);

  effect.GlowMask = 0;
  effect.RebuildAlphaImage(20, 16);
  TBitmap& glow = *effect.AlphaImage;
  EXPECT_EQ(At(glow, 0, 0), clRed);
  EXPECT_EQ(At(glow, 19, 15), clRed);
  EXPECT_EQ(At(glow, 10, 1), clLime);
  EXPECT_EQ(At(glow, 10, 8), clBlue);
}

}  // namespace
}  // namespace efir::test

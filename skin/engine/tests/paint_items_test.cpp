#include "skin/engine/item_paint.h"

#include <gtest/gtest.h>

#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/gradients.h"
#include "skin/engine/item_background.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace {

using namespace efir::test;

constexpr TColor kUntouched = Grey(7);
constexpr TColor kTexture = Grey(200);
constexpr TColor kColour = Grey(100);

// A default manager with one section "ITEM" of colour 100 and a texture of grey 200 as its
// PATTERN, made in the master bitmap (4 × 4 at column 0), plus pictures added by the tests.
struct Skin {
  TsSkinManager Manager{nullptr};
  Skin() {
    Manager.LoadedSkin.Active = true;
    TBitmap& master = *Manager.MasterBitmap;
    master.SetPixelFormat(pf24bit);
    master.SetSize(32, 32);
    FillAll(master, TransparentKeyColor);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) Put(master, x, y, kTexture);
    TsGeneralData item;
    item.SectionName = "ITEM";
    item.Color = kColour;
    Manager.GeneralData.push_back(item);
    AddMask("ITEM", "PATTERN", {0, 0, 4, 4}, 0);
  }
  TsGeneralData& Item() { return Manager.GeneralData[0]; }
  int AddMask(const std::string& section, const std::string& property, RECT r, int maskType) {
    TsMaskData m;
    m.SectionName = section;
    m.PropertyName = property;
    m.R = r;
    m.ImageCount = 1;
    m.MaskType = maskType;
    m.Manager = &Manager;
    Manager.Masks.push_back(std::move(m));
    return static_cast<int>(Manager.Masks.size()) - 1;
  }
};

TColor PaintBackground(Skin& skin, const CacheSourceInfo& info, TColor custom = TransparentKeyColor) {
  auto b = Solid(8, 8, pf24bit, kUntouched);
  RenderItemBackground(0, "ITEM", info, 0, {0, 0, 8, 8}, {0, 0}, b.get(), &skin.Manager, -1, -1, custom);
  return At(*b, 5, 5);
}

const CacheSourceInfo kNoBackground{nullptr, 0, 0, TransparentKeyColor, false};

TEST(PaintItems, BackgroundMixesColourTextureAndGradient) {
  const struct {
    const char* Case;
    int Image, Gradient;
    TColor Expected;
  } rows[] = {
      {"colour alone", 0, 0, kColour},
      {"texture 30 %, colour 70 %", 30, 0, Grey(130)},
      {"texture alone", 100, 0, kTexture},
      {"gradient 40 %, colour 60 %", 0, 40, Grey(60 + 20)},
      {"texture and gradient half and half, no colour", 50, 50, Grey(124)},  // (200 × 127 + 50 × 128 + 127) shr 8
  };
  for (const auto& r : rows) {
    Skin skin;
    skin.Item().ImagePercent = r.Image;
    skin.Item().GradientPercent = r.Gradient;
    ParseGradientData("3289650;3289650;100;0;0", skin.Item().GradientArray);  // grey 50 throughout
    EXPECT_EQ(PaintBackground(skin, kNoBackground), r.Expected) << r.Case;
  }
  Skin skin;
  skin.Item().ImagePercent = 30;
  EXPECT_EQ(PaintBackground(skin, kNoBackground, 0x0000FF), 0x0000FF);  // a custom colour alone
}

TEST(PaintItems, TransparencyShowsTheParent) {
  Skin skin;
  skin.Item().Color = Grey(0);
  auto parent = Solid(20, 20, pf24bit, Grey(200));
  CacheSourceInfo ready;
  MakeCacheSourceInfo(parent.get(), 0, 0, ready);
  const CacheSourceInfo colourOnly{nullptr, 0, 0, 0x00FF00, false};
  skin.Item().Transparency = 100;
  EXPECT_EQ(PaintBackground(skin, colourOnly), 0x00FF00);  // the parent's colour, nothing of its own
  EXPECT_EQ(PaintBackground(skin, ready), Grey(200));
  skin.Item().Transparency = 40;  // weight 102 of the parent
  EXPECT_EQ(PaintBackground(skin, ready), Grey(80));
  EXPECT_EQ(PaintBackground(skin, colourOnly), 0x006600);  // (255 × 102 + 127) shr 8 of green
}

TEST(PaintItems, SeeThroughMaskedTextureOffTheOriginShowsTheParentBehindIt) {
  // A masked texture whose picture is all key colour lets the parent through everywhere, so a
  // 40 % transparent item shows exactly the parent's pixels behind each of its own.
  Skin skin;
  skin.Manager.Masks.clear();
  skin.AddMask("ITEM", "PATTERN", {8, 0, 12, 4}, 1);
  skin.Item().ImagePercent = 100;
  skin.Item().Transparency = 40;
  auto parent = Solid(20, 20, pf24bit, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) Put(*parent, x, y, static_cast<TColor>(RGB(10 * x, 10 * y, 0)));
  CacheSourceInfo behind;
  MakeCacheSourceInfo(parent.get(), 2, 3, behind);
  auto b = Solid(8, 8, pf24bit, kUntouched);
  RenderItemBackground(0, "ITEM", behind, 0, {4, 4, 8, 8}, {0, 0}, b.get(), &skin.Manager, -1, -1, TransparentKeyColor);
  EXPECT_EQ(At(*b, 4, 4), static_cast<TColor>(RGB(20, 30, 0)));
  EXPECT_EQ(At(*b, 5, 5), static_cast<TColor>(RGB(30, 40, 0)));
}

TEST(PaintItems, MissingPatternFallsBackToTheJpeg) {
  Skin skin;
  skin.Manager.Masks.clear();
  TsPatternData pattern;
  pattern.SectionName = "ITEM";
  pattern.PropertyName = "PATTERN";
  pattern.Image = std::make_unique<TJPEGImage>();
  const std::string bytes = JpegBytes(4, 4);
  pattern.Image->LoadFromMemory(bytes.data(), bytes.size());
  skin.Manager.Patterns.push_back(std::move(pattern));
  skin.Item().ImagePercent = 100;
  EXPECT_NE(PaintBackground(skin, kNoBackground), kColour);
  EXPECT_NE(PaintBackground(skin, kNoBackground), kUntouched);
}

TEST(PaintItems, MaskVariantPaintsTheColourOverAHundredPercent) {
  Skin skin;
  skin.Item().ImagePercent = 70;
  skin.Item().GradientPercent = 50;
  auto b = Solid(8, 8, pf24bit, kUntouched);
  RenderMaskItemBackground(0, 0, 0, "ITEM", kNoBackground, 0, {0, 0, 8, 8}, {0, 0}, b.get(), &skin.Manager);
  EXPECT_EQ(At(*b, 5, 5), kColour);
}

TEST(PaintItems, RectangleOutsideTheBitmapPaintsNothing) {
  Skin skin;
  for (RECT r : {RECT{0, 0, 9, 8}, RECT{-1, 0, 4, 4}, RECT{2, 2, 2, 6}}) {
    auto b = Solid(8, 8, pf24bit, kUntouched);
    RenderSectionItem(0, "ITEM", kNoBackground, true, 0, r, {0, 0}, b.get(), &skin.Manager, -1, -1);
    EXPECT_EQ(At(*b, 1, 3), kUntouched);
  }
  auto b = Solid(8, 8, pf24bit, kUntouched);
  RenderSectionItem(3, "ITEM", kNoBackground, true, 0, {0, 0, 8, 8}, {0, 0}, b.get(), &skin.Manager, -1, -1);
  RenderSectionItem(0, "ITEM", kNoBackground, true, 0, {0, 0, 8, 8}, {0, 0}, nullptr, &skin.Manager, -1, -1);
  EXPECT_EQ(At(*b, 1, 3), kUntouched);
}

TEST(PaintItems, CornerImagesLandOnTheRectanglesCorners) {
  Skin skin;
  TBitmap& master = *skin.Manager.MasterBitmap;
  const TColor corners[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
  int indexes[4];
  for (int i = 0; i < 4; ++i) {
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) Put(master, 10 + 3 * i + x, 10 + y, corners[i]);
    indexes[i] = skin.AddMask("ITEM", "CORNER", {10 + 3 * i, 10, 12 + 3 * i, 12}, 0);
  }
  skin.Item().ImgTL = indexes[0], skin.Item().ImgTR = indexes[1];
  skin.Item().ImgBL = indexes[2], skin.Item().ImgBR = indexes[3];
  auto b = Solid(20, 20, pf24bit, kUntouched);
  RenderSectionItem(0, "ITEM", kNoBackground, true, 0, {3, 4, 13, 12}, {0, 0}, b.get(), &skin.Manager, -1, -1);
  EXPECT_EQ(At(*b, 3, 4), corners[0]);
  EXPECT_EQ(At(*b, 12, 4), corners[1]);
  EXPECT_EQ(At(*b, 11, 4), corners[1]);
  EXPECT_EQ(At(*b, 3, 11), corners[2]);
  EXPECT_EQ(At(*b, 12, 11), corners[3]);
  EXPECT_EQ(At(*b, 7, 7), kColour);
  EXPECT_EQ(At(*b, 2, 4), kUntouched);
}

TEST(PaintItems, SectionByNameFallsBack) {
  Skin skin;
  auto b = Solid(6, 6, pf24bit, kUntouched);
  EXPECT_EQ(RenderItemBySectionName(b.get(), "NOSUCH", "ITEM", 0, &skin.Manager, {0, 0, 6, 6}, 0, nullptr), 0);
  EXPECT_EQ(At(*b, 5, 5), kColour);
  b = Solid(6, 6, pf24bit, kUntouched);
  EXPECT_EQ(RenderItemBySectionName(b.get(), "NOSUCH", "NEITHER", 0, &skin.Manager, {0, 0, 6, 6}, 0, nullptr), -1);
  EXPECT_EQ(At(*b, 5, 5), kUntouched);
}

TEST(PaintItems, ControlItemUsesItsSkinState) {
  Skin skin;
  TBitmap& master = *skin.Manager.MasterBitmap;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) Put(master, 20 + x, y, x == 0 || y == 0 || x == 3 || y == 3 ? 0x0000FF : 0x00FF00);
  const int border = skin.AddMask("ITEM", "BORDERSMASK", {20, 0, 24, 4}, 0);
  skin.Manager.Masks[static_cast<size_t>(border)].WL = skin.Manager.Masks[static_cast<size_t>(border)].WT = 1;
  skin.Manager.Masks[static_cast<size_t>(border)].WR = skin.Manager.Masks[static_cast<size_t>(border)].WB = 1;
  TsCommonData data(nullptr, false);
  data.SetSkinManager(&skin.Manager);
  data.SectionIndex = 0;
  data.BorderMaskIndex = border;
  auto b = Solid(10, 10, pf24bit, kUntouched);
  RenderControlItem(data, kNoBackground, true, 0, {0, 0, 10, 10}, {0, 0}, b.get(), true);
  EXPECT_EQ(At(*b, 0, 0), 0x0000FF);
  EXPECT_EQ(At(*b, 9, 5), 0x0000FF);
  EXPECT_EQ(At(*b, 5, 5), kColour);  // no centre: the background
}

TEST(PaintItems, ItemToDeviceContext) {
  Skin skin;
  auto screen = Solid(10, 10, pf24bit, kUntouched);
  RenderSectionItemToDC(0, "ITEM", kNoBackground, true, 0, {2, 2, 6, 6}, {0, 0}, screen->Canvas().Handle(),
                        &skin.Manager);
  EXPECT_EQ(At(*screen, 2, 2), kColour);
  EXPECT_EQ(At(*screen, 5, 5), kColour);
  EXPECT_EQ(At(*screen, 6, 6), kUntouched);
}

TEST(PaintItems, ChannelCopyRoundTrip) {
  auto wide = NewBitmap32(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) Put(*wide, x, y, x * 40 | y * 90 << 8, static_cast<uint8_t>(10 * x + y));
  TBitmap single(3, 2, pf8bit);
  CopyChannel(wide.get(), &single, 3, true);
  EXPECT_EQ(static_cast<const uint8_t*>(single.ScanLine(1))[2], 21);
  auto before = NewBitmap32(3, 2);
  before->Assign(*wide);
  CopyChannel(wide.get(), &single, 3, false);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(At(*wide, x, y), At(*before, x, y));
      EXPECT_EQ(AlphaAt(*wide, x, y), AlphaAt(*before, x, y));
    }
  CopyChannel(wide.get(), &single, 1, true);
  EXPECT_EQ(static_cast<const uint8_t*>(single.ScanLine(1))[0], 90);
}

}  // namespace

namespace {

// Each pixel of the source tells where it came from.
constexpr TColor From(int x, int y) { return (0x40 + x) | (0x40 + y) << 8 | 0x80 << 16; }

TEST(PaintItems, NineSliceCompletesCornersHigherThanTheirLimit) {
  auto source = NewBitmap24(9, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) Put(*source, x, y, From(x, y));
  auto dest = Solid(12, 12, pf24bit, kUntouched);
  CopyNineSliceStretched(dest.get(), source.get(), {0, 0, 12, 12}, {0, 0, 9, 9}, {3, 3, 3, 3}, {3, 3, 3, 1},
                         {0, 0, 0, 0}, 0, true);
  EXPECT_EQ(At(*dest, 11, 11), From(8, 8));  // bottom-right corner, its last row
  EXPECT_EQ(At(*dest, 10, 9), From(7, 6));   // ... completed by the second piece
  EXPECT_EQ(At(*dest, 1, 9), From(1, 6));    // as the bottom-left one is
  EXPECT_EQ(At(*dest, 0, 0), From(0, 0));
  EXPECT_EQ(At(*dest, 6, 0), From(3, 0));    // top side tiled from the middle: 3, 4, 5, 3, ...
  EXPECT_EQ(At(*dest, 6, 6), From(3, 3));    // centre tiled
}

// A glyph of `frames` 2 x 2 frames in colours[f], its bottom-left pixels in the key colour;
// with `sixteenColours` read from a 4-bit file.
std::unique_ptr<TBitmap> Glyph(int frames, const TColor* colours, bool sixteenColours) {
  auto glyph = NewBitmap24(2 * frames, 2);
  auto colourAt = [&](int x, int y) { return x % 2 == 0 && y == 1 ? TransparentKeyColor : colours[x / 2]; };
  if (!sixteenColours) {
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2 * frames; ++x) Put(*glyph, x, y, colourAt(x, y));
    return glyph;
  }
  // Palette: 0 the key colour, f + 1 frame f's colour; rows bottom-up, high nibble first.
  const int width = 2 * frames, stride = (width * 4 + 31) / 32 * 4;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{sizeof info, width, 2, 1, 4, BI_RGB, 0, 0, 0, 16, 0};
  RGBQUAD palette[16]{};
  palette[0] = {0xFF, 0x00, 0xFF, 0};
  for (int f = 0; f < frames; ++f)
    palette[f + 1] = {GetBValue(colours[f]), GetGValue(colours[f]), GetRValue(colours[f]), 0};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info + sizeof palette;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(reinterpret_cast<const char*>(palette), sizeof palette);
  for (int y = 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
      const int index = colourAt(x, y) == TransparentKeyColor ? 0 : x / 2 + 1;
      row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
    }
    bytes += row;
  }
  glyph->LoadFromMemory(bytes.data(), bytes.size());
  return glyph;
}

TEST(PaintItems, GlyphFramesByStateAndTransparency) {
  const TColor colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
  const struct {
    int Frames;
    bool Enabled;
    int State, StateFrame;
    bool SixteenColours;
    TColor Expected;
  } rows[] = {
      {3, true, 2, 0, false, 0xFF0000},   // frame 2
      {2, true, 2, 0, false, 0x00FF00},   // no frame 2: frame 1
      {3, true, 1, 0, false, 0x00FF00},   // hot
      {3, true, 0, 0, false, 0x0000FF},
      {3, false, 2, 0, false, 0x0000FF},  // disabled: frame 0
      {3, true, 1, 0, true, 0x0000FF},    // 16 colours: frame 1 is the disabled look, not hot
      {2, true, 2, 0, true, 0x0000FF},    // ... nor what a press falls back on
      {3, true, 2, 0, true, 0xFF0000},    // its own pressed frame still counts
  };
  for (const auto& r : rows) {
    auto glyph = Glyph(r.Frames, colours, r.SixteenColours);
    ASSERT_EQ(glyph->LoadedBitCount(), r.SixteenColours ? 4 : 0);
    auto dest = Solid(4, 4, pf24bit, kUntouched);
    DrawGlyphEffects(glyph.get(), dest.get(), {1, 1, 3, 3}, r.Frames, r.Enabled, 0, r.State, 0, r.StateFrame);
    EXPECT_EQ(At(*dest, 2, 1), r.Expected) << r.Frames << " frames, state " << r.State << ", 16 colours "
                                           << r.SixteenColours;
    EXPECT_EQ(At(*dest, 1, 2), kUntouched);  // the bottom-left colour is transparent
    EXPECT_EQ(At(*dest, 3, 3), kUntouched);
  }
  // One frame, disabled and greyed: the transparent colour keeps its shape.
  auto glyph = Solid(2, 2, pf24bit, 0x0000FF);
  Put(*glyph, 0, 1, TransparentKeyColor);
  auto dest = Solid(2, 2, pf24bit, kUntouched);
  DrawGlyphEffects(glyph.get(), dest.get(), {0, 0, 2, 2}, 1, false, 2, 0, 0, 0);
  EXPECT_EQ(At(*dest, 1, 0), Grey(85));
  EXPECT_EQ(At(*dest, 0, 1), kUntouched);
}

}  // namespace

#include "skin/engine/alpha_image_list.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/exceptions.h"
#include "framework/streams.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/png_fixtures.h"

namespace efir::test {
namespace {

// Blending keeps a channel within one step of the picture's own; resampling within a few.
void ExpectNear(TColor actual, TColor expected, int tolerance = 1) {
  for (int shift : {0, 8, 16})
    EXPECT_NEAR((actual >> shift) & 0xFF, (expected >> shift) & 0xFF, tolerance) << std::hex << actual;
}

// The bytes of a 16 x 16 .ico file without alpha: 24-bit red, the left half masked out.
std::vector<uint8_t> MaskedIco() {
  const int side = 16, xorRow = side * 3, andRow = 4;
  const uint32_t imageSize = 40 + xorRow * side + andRow * side;
  std::vector<uint8_t> b;
  auto put16 = [&](uint16_t v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); };
  auto put32 = [&](uint32_t v) { put16(uint16_t(v)), put16(uint16_t(v >> 16)); };
  put16(0), put16(1), put16(1);                                // icon file, one image
  b.insert(b.end(), {side, side, 0, 0}), put16(1), put16(24);  // 16 x 16, 24 bits
  put32(imageSize), put32(6 + 16);
  put32(40), put32(side), put32(side * 2), put16(1), put16(24), put32(0), put32(0), put32(0), put32(0), put32(0),
      put32(0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) b.insert(b.end(), {0, 0, 255});  // blue, green, red
  for (int y = 0; y < side; ++y) b.insert(b.end(), {0xFF, 0x00, 0, 0});  // left 8 pixels transparent
  return b;
}

// A strip of four 4 x 4 frames: red, green, blue, white.
std::vector<uint8_t> FourFrames() {
  const Rgba colours[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
  std::vector<Rgba> pixels;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) pixels.push_back(colours[x / 4]);
  return EncodePng(16, 4, pixels);
}

TEST(imagelist_Add, ItemsBuildTheSystemList) {
  TsAlphaImageList list(nullptr);
  ASSERT_NE(list.Handle(), nullptr);
  list.AddItem(ifPNG, SolidPng(16, {255, 0, 0, 255}));
  list.AddItem(ifPNG, SolidPng(32, {0, 0, 255, 128}));  // added by its icon, at its own size
  EXPECT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.StdListBuilt);
  EXPECT_EQ(list.Items.size(), 2u);

  TsAlphaImageList dropping(nullptr);
  dropping.KeepSourceItems = false;
  dropping.AddItem(ifPNG, SolidPng(16, {255, 0, 0, 255}));
  EXPECT_EQ(dropping.Count(), 1);
  EXPECT_TRUE(dropping.Items.empty());
  TBitmap fromIcon;
  ASSERT_TRUE(dropping.GetBitmap32(0, &fromIcon));
  EXPECT_EQ(At(fromIcon, 8, 8), clRed);
  EXPECT_EQ(AlphaAt(fromIcon, 8, 8), 255);
}

TEST(imagelist_Add, DamagedPngRaisesThePictureError) {
  TsAlphaImageList list(nullptr);
  std::vector<uint8_t> bytes = SolidPng(16, {255, 0, 0, 255});
  bytes.resize(bytes.size() / 2);
  EXPECT_THROW(list.AddItem(ifPNG, bytes), EPictureError);
}

TEST(imagelist_Add, ADamagedItemLeavesTheListWithThePicturesBeforeIt) {
  TsAlphaImageList list(nullptr);
  list.AddItem(ifPNG, SolidPng(16, {255, 0, 0, 255}));
  std::vector<uint8_t> damaged = SolidPng(16, {0, 0, 255, 255});
  damaged.resize(damaged.size() / 2);
  EXPECT_THROW(list.AddItem(ifPNG, damaged), EPictureError);
  EXPECT_EQ(list.Count(), 1);
  TBitmap picture;
  EXPECT_TRUE(list.GetBitmap32(0, &picture));
  EXPECT_FALSE(list.GetBitmap32(1, &picture));
}

TEST(imagelist_Bitmap, EntriesComeAtTheListSizeWithAlphaAndBadIndexesAreRefused) {
  TsAlphaImageList list(nullptr);
  list.AddItem(ifPNG, SolidPng(16, {0, 255, 0, 100}));
  list.AddItem(ifPNG, SolidPng(32, {0, 0, 255, 255}));
  TBitmap same, resampled;
  ASSERT_TRUE(list.GetBitmap32(0, &same));
  EXPECT_EQ(same.PixelFormat(), pf32bit);
  EXPECT_EQ(At(same, 3, 3), clLime);
  EXPECT_EQ(AlphaAt(same, 3, 3), 100);
  ASSERT_TRUE(list.GetBitmap32(1, &resampled));
  EXPECT_EQ(resampled.Width(), 16);
  EXPECT_EQ(resampled.Height(), 16);
  EXPECT_EQ(resampled.PixelFormat(), pf32bit);
  ExpectNear(At(resampled, 8, 8), clBlue, 3);
  for (int bad : {-1, 2, 1000}) EXPECT_FALSE(list.GetBitmap32(bad, &same)) << bad;
  EXPECT_FALSE(list.GetBitmap32(0, nullptr));
}

TEST(imagelist_Draw, StateSelectsTheFrameAndBadIndexesDrawNothing) {
  TsAlphaImageList list(nullptr, 16, 4);
  list.AddItem(ifPNG, FourFrames());
  struct Case {
    int state;
    TColor colour;
  };
  for (const Case& c : {Case{0, clRed}, Case{1, clLime}, Case{3, clWhite}, Case{5, clWhite}, Case{-2, clRed}}) {
    SCOPED_TRACE(c.state);
    auto page = Solid(10, 8, pf24bit, clBlack);
    SIZE size{};
    list.DrawToBitmap(page.get(), 2, size, false, 4, c.state, clNone, 0, 0, 1);
    EXPECT_EQ(size.cx, 4);
    EXPECT_EQ(size.cy, 4);
    ExpectNear(At(*page, 2, 1), c.colour);
    ExpectNear(At(*page, 5, 4), c.colour);
    EXPECT_EQ(At(*page, 6, 1), clBlack);
    EXPECT_EQ(At(*page, 1, 1), clBlack);
    EXPECT_EQ(At(*page, 2, 5), clBlack);
  }
  for (int bad : {-1, 1}) {
    auto page = Solid(10, 8, pf24bit, clBlack);
    SIZE size{};
    list.DrawToBitmap(page.get(), 2, size, false, 4, 0, clNone, 0, bad, 1);
    EXPECT_EQ(At(*page, 2, 1), clBlack) << bad;
  }
  // Zero frames count as one.
  auto page = Solid(20, 8, pf24bit, clBlack);
  SIZE size{};
  list.DrawToBitmap(page.get(), 0, size, false, 0, 0, clNone, 0, 0, 0);
  EXPECT_EQ(size.cx, 16);
  ExpectNear(At(*page, 15, 0), clWhite);
}

TEST(imagelist_Draw, ToADeviceContextThroughTheAlpha) {
  TsAlphaImageList list(nullptr);
  list.AddItem(ifPNG, SolidPng(16, {255, 0, 0, 128}));
  auto page = Solid(20, 20, pf24bit, clWhite);
  SIZE size{};
  list.DrawToDC(page->Canvas().Handle(), 2, 2, size, false, 1, 0, clNone, 0, 0);
  GdiFlush();
  EXPECT_EQ(At(*page, 1, 1), clWhite);
  EXPECT_EQ(At(*page, 10, 10) & 0xFF, 255);
  EXPECT_NEAR((At(*page, 10, 10) >> 8) & 0xFF, 127, 1);
}

TEST(imagelist_Icon, IconWithoutAlphaGetsTheAlphaOfItsMask) {
  TsAlphaImageList list(nullptr);
  list.AddItem(ifICO, MaskedIco());
  ASSERT_EQ(list.Count(), 1);
  TBitmap image;
  ASSERT_TRUE(list.GetBitmap32(0, &image));
  EXPECT_EQ(AlphaAt(image, 2, 8), 0);
  EXPECT_EQ(AlphaAt(image, 12, 8), 255);
  EXPECT_EQ(At(image, 12, 8), clRed);
  auto page = Solid(16, 16, pf24bit, clLime);
  SIZE size{};
  list.DrawToBitmap(page.get(), 0, size, false, 1, 0, clNone, 0, 0, 0);
  EXPECT_EQ(At(*page, 2, 8), clLime);
  ExpectNear(At(*page, 12, 8), clRed);
}

// The pictures an image list shows: entry by entry, their pixels at (8, 8) and (2, 8).
std::vector<TColor> Shown(TsAlphaImageList& list) {
  std::vector<TColor> out;
  for (int i = 0; i < list.Count(); ++i) {
    auto page = Solid(16, 16, pf24bit, clLime);
    SIZE size{};
    list.DrawToBitmap(page.get(), 0, size, false, 1, 0, clNone, 0, i, 0);
    out.push_back(At(*page, 8, 8));
    out.push_back(At(*page, 2, 8));
  }
  return out;
}

TEST(imagelist_Stream, ItemsComeBackWholeFromTheirStream) {
  TsAlphaImageList list(nullptr);
  list.AddItem(ifPNG, SolidPng(16, {0, 0, 255, 255}));
  list.AddItem(ifICO, MaskedIco());
  TMemoryStream stream;
  list.WriteItems(stream);
  stream.Seek(0, soBeginning);
  TsAlphaImageList copy(nullptr);
  copy.ReadItems(stream);
  ASSERT_EQ(copy.Items.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(copy.Items[i].ImageFormat, list.Items[i].ImageFormat);
    EXPECT_EQ(copy.Items[i].ImgData, list.Items[i].ImgData);
  }
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(Shown(copy), Shown(list));
  EXPECT_EQ(Shown(copy)[3], clLime) << "the icon's masked half stays see-through";
}

TEST(imagelist_Stream, DamagedStreamsRaiseAndLeaveTheListAsItWas) {
  TMemoryStream good;
  {
    TsAlphaImageList source(nullptr);
    source.AddItem(ifPNG, SolidPng(16, {255, 0, 0, 255}));
    source.WriteItems(good);
  }
  const std::vector<uint8_t> whole(good.Memory(), good.Memory() + good.Size());
  auto edited = [&](auto change) {
    std::vector<uint8_t> bytes = whole;
    change(bytes);
    return bytes;
  };
  struct Case {
    const char* Name;
    std::vector<uint8_t> Bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"cut in the count", {1, 0}},
      {"cut in the bytes", edited([](auto& b) { b.resize(b.size() - 10); })},
      {"a billion items", edited([](auto& b) { b[3] = 0x40; })},
      {"a length past the end", edited([](auto& b) { b[9] = 0x7F; })},
      {"an unknown format", edited([](auto& b) { b[4] = 7; })},
      {"a damaged picture", edited([](auto& b) { b[b.size() - 20] ^= 0xFF, b[20] ^= 0xFF; })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TsAlphaImageList list(nullptr);
    list.AddItem(ifPNG, SolidPng(16, {0, 255, 0, 255}));
    const std::vector<TColor> before = Shown(list);
    TMemoryStream stream;
    if (!c.Bytes.empty()) stream.WriteBuffer(c.Bytes.data(), c.Bytes.size());
    stream.Seek(0, soBeginning);
    EXPECT_THROW(list.ReadItems(stream), EInOutError);
    EXPECT_EQ(list.Items.size(), 1u);
    EXPECT_EQ(Shown(list), before);
  }
}

// A stream of thousands of tiny items, as a layout may store: every one arrives, in order,
// and the system list is made with room for all of them at once.
TEST(imagelist_Stream, ThousandsOfTinyItemsAllArrive) {
  constexpr int kItems = 4096;
  TMemoryStream stream;
  {
    TsAlphaImageList source(nullptr);
    const std::vector<uint8_t> red = SolidPng(16, {255, 0, 0, 255}), blue = SolidPng(16, {0, 0, 255, 255});
    for (int i = 0; i < kItems; ++i) source.Items.push_back({ifPNG, pf32bit, i % 1000 == 999 ? blue : red});
    source.Items.back() = {ifICO, pf32bit, MaskedIco()};
    source.WriteItems(stream);
  }
  stream.Seek(0, soBeginning);
  TsAlphaImageList list(nullptr);
  list.ReadItems(stream);
  ASSERT_EQ(list.Count(), kItems);
  auto shown = [&](int index, int x) {
    auto page = Solid(16, 16, pf24bit, clLime);
    SIZE size{};
    list.DrawToBitmap(page.get(), 0, size, false, 1, 0, clNone, 0, index, 0);
    return At(*page, x, 8);
  };
  ExpectNear(shown(0, 12), clRed);
  ExpectNear(shown(999, 12), clBlue);
  ExpectNear(shown(kItems - 2, 12), clRed);
  ExpectNear(shown(kItems - 1, 12), clRed);  // the last item, an icon whose left half is masked
  EXPECT_EQ(shown(kItems - 1, 2), clLime);
}

TEST(imagelist_Assign, ACopyTakesSizeColourAndPictures) {
  TsAlphaImageList source(nullptr, 24, 24);
  source.SetBkColor(clNone);
  source.AddItem(ifPNG, SolidPng(24, {255, 0, 0, 255}));
  source.AddItem(ifICO, MaskedIco());
  for (bool keepsItems : {true, false}) {
    SCOPED_TRACE(keepsItems ? "keeps items" : "pictures only");
    TsAlphaImageList copy(nullptr);
    copy.KeepSourceItems = keepsItems;
    copy.Assign(&source);
    EXPECT_EQ(copy.Width(), 24);
    EXPECT_EQ(copy.Height(), 24);
    EXPECT_EQ(copy.BkColor(), clNone);
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items.size(), keepsItems ? 2u : 0u);
    EXPECT_EQ(Shown(copy), Shown(source));
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Handle(), nullptr);
    EXPECT_EQ(copy.Count(), 0);
  }
  EXPECT_EQ(ImageListColorToColor(CLR_DEFAULT), clDefault);
  EXPECT_EQ(ImageListColorToColor(CLR_NONE), clNone);
  EXPECT_EQ(ImageListColorToColor(RGB(1, 2, 3)), static_cast<TColor>(RGB(1, 2, 3)));
}

TEST(imagelist_Draw, DoDrawPutsTheEntryThroughItsMask) {
  TsAlphaImageList list(nullptr);
  list.AddItem(ifICO, MaskedIco());
  auto page = Solid(40, 40, pf24bit, clLime);
  list.DoDraw(0, page->Canvas(), 10, 10);
  list.DoDraw(5, page->Canvas(), 0, 0);  // no such entry: nothing
  GdiFlush();
  EXPECT_EQ(At(*page, 22, 18), clRed);
  EXPECT_EQ(At(*page, 12, 18), clLime);
  EXPECT_EQ(At(*page, 5, 5), clLime);
}

TEST(imagelist_Alpha, FixMissingAlphaKeysTheBottomLeftColour) {
  struct Case {
    const char* Name;
    uint8_t CornerAlpha;   // of the top-left pixel, the only one that may have alpha
    uint8_t Key, Other;    // expected alpha of a key-coloured and of another pixel
  };
  const Case cases[] = {{"no alpha at all", 0, 0, 255}, {"some alpha already", 9, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto picture = Solid(4, 4, pf32bit, clFuchsia);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) PixelAddress(*picture, x, y)[3] = 0;
    PixelAddress(*picture, 2, 1)[0] = 0x40;  // another colour
    PixelAddress(*picture, 0, 0)[3] = c.CornerAlpha;
    FixMissingAlpha(picture.get());
    EXPECT_EQ(AlphaAt(*picture, 1, 3), c.Key);
    EXPECT_EQ(AlphaAt(*picture, 2, 1), c.Other);
  }
}

}  // namespace
}  // namespace efir::test

// The skinned bit button: where its glyph goes for every layout (arithmetic alone); without a
// skin it clicks as the framework's bit button does and draws a 32-bit or image-list glyph
// itself; with a skin it paints itself, its look (read back from the screen and from the
// pixels it prints) follows the mouse, the pressed state and the enabled state, its glyph
// shows the frame of the look, and its window takes the frame's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "skin/engine/tests/png_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

TEST(BitBtnLayout, GlyphPlacesByLayoutAlignmentMarginAndCaption) {
  // A 100 x 40 button, a 16 x 16 glyph, a 40 x 13 caption, spacing 4.
  struct Row {
    TButtonLayout Layout;
    TAlignment Alignment;
    int Margin;
    bool Caption;
    POINT Expected;
  };
  const Row rows[] = {
      // No margin: dx = (100 - 16 - 4 - 40) / 2 = 20, dy = (40 - 16 - 4 - 13) / 2 = 3.
      {blGlyphLeft, taLeftJustify, -1, true, {0, 12}},
      {blGlyphLeft, taRightJustify, -1, true, {40, 12}},
      {blGlyphLeft, taCenter, -1, true, {20, 12}},
      {blGlyphRight, taLeftJustify, -1, true, {40, 12}},
      {blGlyphRight, taRightJustify, -1, true, {84, 12}},
      {blGlyphRight, taCenter, -1, true, {64, 12}},
      {blGlyphTop, taLeftJustify, -1, true, {43, 3}},
      {blGlyphBottom, taRightJustify, -1, true, {43, 21}},
      // Margin 2 keeps 5 pixels at the edge: dx = 15, dy = -2.
      {blGlyphLeft, taLeftJustify, 2, true, {5, 12}},
      {blGlyphLeft, taRightJustify, 2, true, {35, 12}},
      {blGlyphLeft, taCenter, 2, true, {20, 12}},
      {blGlyphRight, taLeftJustify, 2, true, {45, 12}},
      {blGlyphRight, taRightJustify, 2, true, {79, 12}},
      {blGlyphRight, taCenter, 2, true, {64, 12}},
      {blGlyphTop, taCenter, 2, true, {43, 3}},
      {blGlyphBottom, taCenter, 2, true, {43, 21}},
      // Without a caption the glyph takes no spacing and no text: dx = 42, dy = 12.
      {blGlyphLeft, taCenter, -1, false, {42, 12}},
      {blGlyphRight, taRightJustify, -1, false, {84, 12}},
      {blGlyphTop, taCenter, -1, false, {43, 12}},
      {blGlyphBottom, taCenter, -1, false, {43, 12}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "layout " << row.Layout << " alignment " << row.Alignment << " margin "
                                    << row.Margin << (row.Caption ? " caption" : ""));
    BitBtnMeasures m{100, 40, 16, 16, row.Caption ? 40 : 0, row.Caption ? 13 : 0, row.Layout, row.Alignment,
                     row.Margin, 4, row.Caption};
    const RECT r = BitBtnGlyphRect(m, 0, false);
    EXPECT_EQ(r.left, row.Expected.x);
    EXPECT_EQ(r.top, row.Expected.y);
    EXPECT_EQ(r.right - r.left, 16);
    EXPECT_EQ(r.bottom - r.top, 16);
    const RECT hot = BitBtnGlyphRect(m, 1, false);
    EXPECT_EQ(hot.left, r.left) << "only the pressed look moves";
    const RECT pressed = BitBtnGlyphRect(m, 2, false);
    EXPECT_EQ(pressed.left, r.left + 1);
    EXPECT_EQ(pressed.top, r.top + 1);
  }
}

TEST(BitBtnLayout, ReflectionRaisesBySixthOfWidthAndOddSizesTruncateTowardZero) {
  BitBtnMeasures wide{100, 40, 30, 16, 0, 0, blGlyphLeft, taLeftJustify, -1, 4, false};
  EXPECT_EQ(BitBtnGlyphRect(wide, 0, true).top, 12 - 5);
  // A glyph wider than the button: (9 - 16) / 2 is -3, not -4.
  BitBtnMeasures narrow{9, 9, 16, 16, 0, 0, blGlyphLeft, taCenter, -1, 4, false};
  EXPECT_EQ(BitBtnGlyphRect(narrow, 0, false).left, -3);
  EXPECT_EQ(BitBtnGlyphRect(narrow, 0, false).top, -3);
  BitBtnMeasures empty{};
  const RECT none = BitBtnGlyphRect(empty, 2, true);
  EXPECT_EQ(none.right - none.left, 0);
}

void MouseClick(TButton* button) {
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(8, 10));
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, At(8, 10));
}
void SystemClick(TButton* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }
void CodeClick(TButton* button) { button->Click(); }

// How a button gets clicked; code clicks even a disabled button, as the framework's does.
struct Way {
  const char* Name;
  void (*Apply)(TButton*);
};
const Way kWays[] = {{"mouse", MouseClick}, {"system", SystemClick}, {"code", CodeClick}};

class BitBtnTest : public UiTest {
 protected:
  template <class Button>
  Button* NewButton(const char* caption = "Добавить\nРадиостанцию") {
    form = NewForm(200, 80);
    auto* button = new Button(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 120, 46);
    button->SetCaption(caption);
    button->SetModalResult(mrOk);
    button->OnClick = [this](TObject*) { ++clicks; };
    return button;
  }

  struct Outcome {
    int Clicks;
    int ModalResult;
    bool operator==(const Outcome&) const = default;
  };
  Outcome Run(TButton* button, const Way& way, bool enabled) {
    clicks = 0;
    form->SetModalResult(mrNone);
    button->SetEnabled(enabled);
    way.Apply(button);
    return {clicks, form->ModalResult()};
  }

  // Every way, enabled and disabled, gives what the framework's bit button gives.
  void ExpectAsTheFrameworksButton() {
    for (const Way& way : kWays)
      for (bool enabled : {true, false}) {
        SCOPED_TRACE(std::string(way.Name) + (enabled ? " enabled" : " disabled"));
        const Outcome framework = Run(NewButton<TBitBtn>(), way, enabled);
        const Outcome skinned = Run(NewButton<TsBitBtn>(), way, enabled);
        EXPECT_EQ(skinned, framework);
        if (enabled) {
          EXPECT_EQ(skinned, (Outcome{1, mrOk}));
        }
      }
  }

  TForm* form = nullptr;
  int clicks = 0;
};

TEST_F(BitBtnTest, UnskinnedItClicksAsTheFrameworksButton) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  ExpectAsTheFrameworksButton();
  EXPECT_EQ(SendSkinCommandToWindow(NewButton<TsBitBtn>()->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
}

class SkinnedBitBtnTest : public BitBtnTest {
 protected:
  void SetUp() override {
    BitBtnTest::SetUp();
    UseSkin(manager, SkinsFolder(), "EfirNight");
  }
  void Tell(TsBitBtn* button, WORD subCommand) {
    SendMessageW(button->Handle(), SM_ALPHACMD, MakeSkinWParam(subCommand), reinterpret_cast<LPARAM>(&manager));
  }
  TsSkinManager manager{nullptr};
};

TEST_F(SkinnedBitBtnTest, ClicksAsTheFrameworksButton) { ExpectAsTheFrameworksButton(); }

TEST_F(SkinnedBitBtnTest, NormalHotPressedAndDisabledLookDifferent) {
  TsBitBtn* button = NewButton<TsBitBtn>();
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1);
  auto normal = Printed(button);
  SendMessageW(button->Handle(), CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(button->CurrentState(), 1);
  auto hot = Printed(button);
  button->SetDown(true);
  EXPECT_EQ(button->CurrentState(), 2);
  auto pressed = Printed(button);
  button->SetDown(false);
  SendMessageW(button->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(button->CurrentState(), 0);
  EXPECT_TRUE(SamePixels(*normal, *Printed(button)));
  button->SetEnabled(false);
  auto disabled = Printed(button);
  const TBitmap* looks[] = {normal.get(), hot.get(), pressed.get(), disabled.get()};
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = i + 1; j < 4; ++j)
      EXPECT_FALSE(SamePixels(*const_cast<TBitmap*>(looks[i]), *const_cast<TBitmap*>(looks[j]))) << i << " " << j;
}

TEST_F(SkinnedBitBtnTest, RemovedAndNewSkin) {
  TsBitBtn* button = NewButton<TsBitBtn>();
  button->SetFocus();  // as after the click below: a focused button looks hot
  auto skinned = Printed(button);
  manager.SetActive(false);
  Tell(button, SKC_REMOVESKIN);
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
  EXPECT_EQ(Run(button, kWays[0], true), (Outcome{1, mrOk}));

  manager.SetActive(true);
  Tell(button, SKC_NEWSKIN);
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1);
  EXPECT_TRUE(SamePixels(*skinned, *Printed(button)));
}

// A glyph of four 12 x 12 frames in their own colours (normal, hot, pressed, down); each
// frame's bottom row is its see-through key.
constexpr TColor kCells[4] = {0x2080F0, 0x80F020, 0xF02080, 0x707070};
constexpr int kCell = 12;
std::unique_ptr<TBitmap> FourFrameGlyph() {
  auto glyph = NewBitmap24(4 * kCell, kCell);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < 4 * kCell; ++x) Put(*glyph, x, y, y == kCell - 1 ? 0xFF00FF : kCells[x / kCell]);
  return glyph;
}
// A 16 x 16 32-bit glyph: opaque red inside a see-through ring of 2 pixels.
constexpr TColor kRed = 0x0000E0;
std::unique_ptr<TBitmap> AlphaGlyph() {
  auto glyph = std::make_unique<TBitmap>(16, 16, pf32bit);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 2 && x < 14 && y >= 2 && y < 14;
      Put(*glyph, x, y, inside ? kRed : 0, inside ? 255 : 0);
    }
  return glyph;
}
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class SynthBitBtnTest : public BitBtnTest {
 protected:
  void SetUp() override {
    BitBtnTest::SetUp();
    UseSkin(manager, WriteSyntheticSkin(), "Synth");
  }
  TsBitBtn* GlyphButton(const char* caption) {
    SetCursorPos(1270, 1010);  // not over the new button, as the last test may have left it
    pumpFor(10);
    TsBitBtn* button = NewButton<TsBitBtn>(caption);
    button->SetBounds(10, 10, 120, 40);
    button->Glyph().Assign(FourFrameGlyph().get());
    button->SetNumGlyphs(4);
    // A focused button looks hot: the form keeps the focus.
    ::SetFocus(form->Handle());
    pumpFor(30);
    return button;
  }
  static void MouseTo(TsBitBtn* button, int x, int y) {
    const POINT p = button->ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
    PostMessageW(button->Handle(), WM_MOUSEMOVE, 0, At(x, y));
    pumpFor(30);
  }
  TsSkinManager manager{nullptr};
};

// Blend fades the glyph of a button at rest toward the face behind it, a 32-bit glyph by the
// same share as a keyed 24-bit one: a little Blend, a little fade; 90, nearly gone.
TEST_F(SynthBitBtnTest, BlendFadesEveryKindOfGlyphAlike) {
  auto keyed = [] {
    auto glyph = NewBitmap24(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) Put(*glyph, x, y, y == 15 ? 0xFF00FF : kRed);
    return glyph;
  };
  const struct {
    const char* Kind;
    std::unique_ptr<TBitmap> (*Make)();
  } kinds[] = {{"24-bit keyed", +keyed}, {"32-bit alpha", AlphaGlyph}};
  for (const auto& kind : kinds)
    for (int blend : {0, 10, 90}) {
      SCOPED_TRACE(std::string(kind.Kind) + " blend " + std::to_string(blend));
      TsBitBtn* button = GlyphButton("");
      button->Glyph().Assign(kind.Make().get());
      button->SetNumGlyphs(1);
      button->SetBlend(blend);
      pumpFor(30);
      const POINT c = Centre(button->GlyphRect(0));
      const int red = GetRValue(captureScreenOf(button->Handle()).at(c.x, c.y));
      const int glyph = GetRValue(kRed), face = GetRValue(synth::Face[0]);
      const int expected = (glyph * (100 - blend) + face * blend) / 100;
      EXPECT_NEAR(red, expected, 8);
    }
}

// The rim, the face, the glyph frame at its place and the caption beside it, as the screen
// shows them, for each look.
TEST_F(SynthBitBtnTest, EachLookShowsItsSectionColoursAndItsGlyphFrame) {
  struct Row {
    const char* Look;
    void (*Arrange)(TsBitBtn*);
    int State;
    int Cell;
  };
  const Row rows[] = {
      {"normal", [](TsBitBtn*) {}, 0, 0},
      {"hot", [](TsBitBtn* b) { MouseTo(b, 100, 20); }, 1, 1},
      {"pressed",
       [](TsBitBtn* b) {
         MouseTo(b, 100, 20);
         PostMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 20));
       },
       2, 2},
      {"down", [](TsBitBtn* b) { b->SetDown(true); }, 2, 3},
      {"focused", [](TsBitBtn* b) { b->SetFocus(); }, 1, 1},
      {"default", [](TsBitBtn* b) { b->SetDefault(true); }, 1, 1},
  };
  for (const char* caption : {"Играть", ""})
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.Look) + (*caption ? " with caption" : " glyph alone"));
      TsBitBtn* button = GlyphButton(caption);
      ASSERT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1);
      row.Arrange(button);
      pumpFor(30);
      ASSERT_EQ(button->CurrentState(), row.State) << button->Focused() << button->SkinData->MouseOver << button->Default();
      const Image screen = captureScreenOf(button->Handle());
      EXPECT_EQ(screen.at(1, 20), synth::Rim[row.State]);
      EXPECT_EQ(screen.at(6, 20), synth::Face[row.State]);
      const RECT glyph = button->GlyphRect(row.State);
      EXPECT_EQ(screen.at(Centre(glyph).x, Centre(glyph).y), kCells[row.Cell]);
      EXPECT_EQ(screen.at(glyph.left + 1, glyph.bottom - 1), synth::Face[row.State]) << "the key row is see-through";
      int ink = 0;
      for (int y = 6; y < 34; ++y)
        for (int x = glyph.right + 2; x < 117; ++x)
          ink += static_cast<TColor>(screen.at(x, y)) == (row.State ? synth::HotInk : synth::ButtonInk);
      if (*caption)
        EXPECT_GT(ink, 5) << "the caption beside the glyph";
      else
        EXPECT_EQ(ink, 0);
      PostMessageW(button->Handle(), WM_LBUTTONUP, 0, At(100, 20));
      pumpFor(30);
    }
}

TEST_F(SynthBitBtnTest, TheCaptionFollowsTheLayoutAndGlyphAndCaptionNeverOverlap) {
  TsBitBtn* button = GlyphButton("Играть");
  button->SetBounds(10, 10, 120, 60);
  for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
    SCOPED_TRACE(layout);
    button->SetLayout(layout);
    const RECT glyph = button->GlyphRect(0), text = button->CaptionRect(0);
    RECT both;
    EXPECT_FALSE(IntersectRect(&both, &glyph, &text));
    EXPECT_TRUE(layout != blGlyphLeft || glyph.right <= text.left);
    EXPECT_TRUE(layout != blGlyphRight || text.right <= glyph.left);
    EXPECT_TRUE(layout != blGlyphTop || glyph.bottom <= text.top);
    EXPECT_TRUE(layout != blGlyphBottom || text.bottom <= glyph.top);
    const auto printed = Printed(button);
    EXPECT_EQ(At(*printed, Centre(glyph).x, Centre(glyph).y), kCells[0]);
  }
}

// A skin whose frame has see-through (key-coloured) corner pixels, as a rounded button's has.
std::string WriteRoundedSkin() {
  const std::string dir = efir::GetCurrentDir() + "\\rounded_skins";
  ScratchFolder scratch("rounded_skins");
  const std::string frame = BmpBytes(27, 9, [](int x, int y) -> uint32_t {
    const int cx = x % 9;
    if ((cx == 0 || cx == 8) && (y == 0 || y == 8)) return 0xFF00FF;
    return static_cast<uint32_t>(synth::Rim[x / 9]);
  });
  WriteSkinFolder(dir + "\\Rounded", {{"Options.dat",
                                      "[GLOBALINFO]\r\nCOLOR=0x202020\r\n[BUTTON]\r\nCOLOR=0x000090\r\n"
                                      "BORDERSMASK=!FRAME.BMP!3!0!0!3!3!3!3\r\n"},
                                     {"FRAME.BMP", frame}});
  return dir;
}

TEST_F(BitBtnTest, TheWindowTakesTheFrameShapeAndGivesItBackWithTheSkin) {
  TsSkinManager manager{nullptr};
  UseSkin(manager, WriteRoundedSkin(), "Rounded");
  TsBitBtn* button = NewButton<TsBitBtn>();
  pumpFor(30);
  efir::gdi::Object<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(button->Handle(), shape.get()), ERROR);
  const int w = button->Width(), h = button->Height();
  for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
    EXPECT_FALSE(PtInRegion(shape.get(), corner.x, corner.y)) << corner.x << "," << corner.y;
  for (POINT inside : {POINT{1, 0}, POINT{0, 1}, POINT{w / 2, h / 2}, POINT{w - 2, h - 1}})
    EXPECT_TRUE(PtInRegion(shape.get(), inside.x, inside.y)) << inside.x << "," << inside.y;
  // The cut corner shows the form, not the rim.
  EXPECT_NE(captureScreenOf(button->Handle()).at(0, 0), synth::Rim[0]);
  EXPECT_EQ(captureScreenOf(button->Handle()).at(1, 0), synth::Rim[button->CurrentState()]);

  manager.SetActive(false);
  SendMessageW(button->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(&manager));
  EXPECT_EQ(GetWindowRgn(button->Handle(), shape.get()), ERROR) << "the whole button again";
}

// Without a skin the button draws a 32-bit or image-list glyph itself, over the button face.
TEST_F(BitBtnTest, UnskinnedItDrawsAnAlphaGlyphItself) {
  TsAlphaImageList images(nullptr, 16, 16);
  std::vector<Rgba> pixels(256, Rgba{0, 0, 0, 0});
  for (int y = 2; y < 14; ++y)
    for (int x = 2; x < 14; ++x) pixels[static_cast<size_t>(y * 16 + x)] = Rgba{0xE0, 0, 0, 255};
  images.AddItem(ifPNG, EncodePng(16, 16, pixels));
  struct Row {
    const char* Source;
    void (*Give)(TsBitBtn*, TsAlphaImageList*);
  };
  const Row rows[] = {
      {"32-bit glyph", [](TsBitBtn* b, TsAlphaImageList*) { b->Glyph().Assign(AlphaGlyph().get()); }},
      {"image list",
       [](TsBitBtn* b, TsAlphaImageList* list) {
         b->SetImages(list);
         b->SetImageIndex(0);
       }},
  };
  const TColor face = GetSysColor(COLOR_BTNFACE);
  for (const Row& row : rows)
    for (const char* caption : {"", "Играть"}) {
      SCOPED_TRACE(std::string(row.Source) + " " + caption);
      TsBitBtn* button = NewButton<TsBitBtn>(caption);
      row.Give(button, &images);
      pumpFor(30);
      const RECT rest = button->GlyphRect(0);
      const POINT c = Centre(rest);
      Image screen = captureScreenOf(button->Handle());
      EXPECT_EQ(screen.at(c.x, c.y), kRed);
      EXPECT_EQ(screen.at(rest.left, rest.top), face) << "the see-through ring";
      EXPECT_EQ(screen.at(rest.right - 2, rest.bottom - 2), face);

      button->SetDown(true);
      pumpFor(30);
      screen = captureScreenOf(button->Handle());
      EXPECT_EQ(screen.at(rest.right - 2, rest.bottom - 2), kRed) << "pressed, the glyph moves a pixel";

      button->SetDown(false);
      button->SetEnabled(false);
      pumpFor(30);
      const TColor disabled = captureScreenOf(button->Handle()).at(c.x, c.y);
      EXPECT_NE(disabled, kRed) << "a disabled glyph is faded";
      EXPECT_NE(disabled, face);
    }
}

TEST_F(BitBtnTest, UnskinnedCaptionButtonIsTheFrameworksToThePixel) {
  TsBitBtn* ours = NewButton<TsBitBtn>();
  const Image mine = captureWindow(ours->Handle());
  const Image plain = captureWindow(NewButton<TBitBtn>()->Handle());
  EXPECT_EQ(mine.pixels, plain.pixels);
}

TEST_F(BitBtnTest, PropertiesKeepTheirRangesAndAGoneImageListIsForgotten) {
  TsBitBtn* button = NewButton<TsBitBtn>();
  button->SetBlend(150);
  EXPECT_EQ(button->Blend(), 100);
  button->SetBlend(-5);
  EXPECT_EQ(button->Blend(), 0);
  button->SetNumGlyphs(0);
  EXPECT_EQ(button->NumGlyphs(), 1);

  auto* images = new TsAlphaImageList(nullptr, 16, 16);
  images->AddItem(ifPNG, SolidPng(16, Rgba{0, 0xC0, 0, 255}));
  button->Glyph().Assign(AlphaGlyph().get());
  button->SetImages(images);
  button->SetImageIndex(1);
  EXPECT_FALSE(button->UsesImageList()) << "an index beyond the list falls back to Glyph";
  pumpFor(30);
  const POINT c = Centre(button->GlyphRect(0));
  EXPECT_EQ(captureScreenOf(button->Handle()).at(c.x, c.y), kRed);
  button->SetImageIndex(0);
  EXPECT_TRUE(button->UsesImageList());
  delete images;
  EXPECT_EQ(button->Images(), nullptr);
  EXPECT_FALSE(button->UsesImageList());
}

// Buttons of no size or a few pixels, with glyph and caption, skinned and not, paint without
// fault.
TEST_F(SynthBitBtnTest, TinyButtonsPaintWithoutFault) {
  for (bool skinned : {true, false}) {
    manager.SetActive(skinned);
    for (int side : {0, 1, 3, 7}) {
      SCOPED_TRACE(side);
      TsBitBtn* button = GlyphButton("Играть");
      button->SetMargin(4);
      button->SetReflected(true);
      button->SetBounds(10, 10, side, side);
      button->Repaint();
      pumpFor(10);
      if (side > 0) {
        const auto printed = Printed(button);
        EXPECT_EQ(printed->Width(), side);
      }
    }
  }
}

// A release that comes while the press is still fading in first shows the pressed look, held
// for a moment, and only then fades out; a release after the press has shown needs no flash.
TEST_F(SynthBitBtnTest, AQuickClickFlashesThePressedLookBeforeTheReleaseFades) {
  HandClocks clocks;
  static HWND watched;
  static std::vector<TColor> held;  // the face shown at each pause
  struct PauseWatch {
    void (*saved)() = PressedFlashPause;
    PauseWatch() {
      // The window's own pixels: this emulator copies them to the screen only when the
      // program next waits for messages.
      PressedFlashPause = [] { held.push_back(captureWindow(watched).at(6, 20)); };
    }
    ~PauseWatch() { PressedFlashPause = saved; }
  } pause;
  for (bool quick : {true, false}) {
    SCOPED_TRACE(quick ? "quick click" : "slow click");
    TsBitBtn* button = GlyphButton("");
    button->SetAnimatEvents({aeMouseDown, aeMouseUp});
    manager.GeneralData[static_cast<size_t>(button->SkinData->SectionIndex)].FadingEnabled = true;
    watched = button->Handle();
    held.clear();
    // Focused and painted already: the press then fades in (a press that focuses repaints at once).
    button->SetFocus();
    pumpFor(30);
    SendMessageW(watched, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 20));
    ASSERT_TRUE(button->FadeRunning());
    if (!quick) clocks.TickToEnd();
    SendMessageW(watched, WM_LBUTTONUP, 0, At(100, 20));
    EXPECT_EQ(held, quick ? std::vector<TColor>{synth::Face[2]} : std::vector<TColor>{});
    EXPECT_FALSE(ButtonPressedPaint);
    EXPECT_TRUE(button->FadeRunning()) << "the release fades out";
    clocks.TickToEnd();
    const int state = button->CurrentState();
    EXPECT_NE(state, 2);
    EXPECT_EQ(captureScreenOf(watched).at(6, 20), synth::Face[state]);
  }
}

// A button that shrinks has the parent paint its old corner places again (the frame's corners
// are 3 x 3); one that grows leaves the parent alone.
TEST_F(BitBtnTest, AShrunkButtonHasTheParentPaintItsOldCorners) {
  TsSkinManager manager{nullptr};
  UseSkin(manager, WriteRoundedSkin(), "Rounded");
  struct Row {
    const char* Name;
    SIZE To;
    bool Repainted;
  };
  const Row rows[] = {{"narrower", {60, 46}, true}, {"lower", {120, 20}, true}, {"larger", {140, 50}, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TsBitBtn* button = NewButton<TsBitBtn>();  // at (10, 10), 120 x 46
    pumpFor(30);
    // Resized without the system's own repainting, so that only the button asks for any.
    SetWindowPos(button->Handle(), nullptr, 0, 0, row.To.cx, row.To.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    ValidateRect(form->Handle(), nullptr);
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    efir::gdi::Object<HRGN> pending(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(form->Handle(), pending.get(), FALSE);
    for (POINT corner : {POINT{127, 12}, POINT{129, 55}, POINT{10, 53}})
      EXPECT_EQ(PtInRegion(pending.get(), corner.x, corner.y) != FALSE, row.Repainted) << corner.x << "," << corner.y;
    EXPECT_FALSE(PtInRegion(pending.get(), 100, 30)) << "only the corners";
  }
}

// The press repaints with the application's hints off; they come back as they were.
TEST_F(SynthBitBtnTest, ThePressRepaintsWithHintsOffAndGivesThemBack) {
  for (bool hints : {true, false}) {
    SCOPED_TRACE(hints ? "hints on" : "hints off");
    Application.SetShowHint(hints);
    TsBitBtn* button = GlyphButton("Играть");
    std::vector<bool> pressedWithHints;
    button->OnPaint = [&](TObject*, TBitmap*) {
      if (button->CurrentState() == 2) pressedWithHints.push_back(Application.ShowHint());
    };
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 20));
    EXPECT_EQ(pressedWithHints, std::vector<bool>{false});
    EXPECT_EQ(Application.ShowHint(), hints);
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, At(100, 20));
    EXPECT_EQ(Application.ShowHint(), hints);
    EXPECT_FALSE(ShowHintSaved);
  }
  Application.SetShowHint(true);
}

}  // namespace

// Hint templates: opposite borders never overlap whatever order they are set in, a new
// picture brings half-picture borders and loses the colour of its see-through pixels, copies
// are whole, the owner hears of changes once, and the engine's default template is built.
#include "skin/engine/hint_templates.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/engine/startup_units.h"
#include "skin/engine/tests/png_fixtures.h"

namespace efir::test {
namespace {

std::unique_ptr<TPNGGraphic> Picture(int width, int height, Rgba colour = {10, 20, 30, 255}) {
  std::vector<Rgba> pixels(static_cast<size_t>(width) * height, colour);
  pixels[0] = {200, 100, 50, 0};  // see-through, with a colour of its own
  const std::vector<uint8_t> bytes = EncodePng(width, height, pixels);
  auto png = std::make_unique<TPNGGraphic>();
  png->LoadFromMemory(bytes.data(), bytes.size());
  return png;
}

struct Sizes {
  int Top, Left, Bottom, Right;
  bool operator==(const Sizes&) const = default;
};
Sizes Read(const TacBordersSizes& s) { return {s.GetTop(), s.GetLeft(), s.GetBottom(), s.GetRight()}; }

TEST(HintTemplates, BordersAreLimitedToThePictureAndNeverOverlap) {
  TacHintTemplate hint;
  TacHintImage& image = hint.ImageDefault;
  image.SetImage(*Picture(32, 16));
  TacBordersSizes& borders = image.BordersWidths;
  struct Step {
    void (TacBordersSizes::*Set)(int);
    int Value;
    Sizes After;
  };
  // Starting from the picture's defaults: 15 across, 7 down.
  const Step steps[] = {
      {&TacBordersSizes::SetLeft, 20, {7, 20, 7, 11}},    // the right border gives way
      {&TacBordersSizes::SetRight, 15, {7, 16, 7, 15}},   // and then the left one
      {&TacBordersSizes::SetTop, 40, {15, 16, 0, 15}},    // at most the height less one
      {&TacBordersSizes::SetBottom, 3, {12, 16, 3, 15}},
      {&TacBordersSizes::SetLeft, -5, {12, 0, 3, 15}},    // a negative width reads 0
  };
  for (const Step& step : steps) {
    (borders.*step.Set)(step.Value);
    EXPECT_EQ(Read(borders), step.After) << step.Value;
  }

  TacHintTemplate empty;
  empty.ImageDefault.BordersWidths.SetLeft(9);
  empty.ImageDefault.ClientMargins.SetBottom(4);
  EXPECT_EQ(Read(empty.ImageDefault.BordersWidths), (Sizes{0, 0, 0, 0}));
  EXPECT_EQ(Read(empty.ImageDefault.ClientMargins), (Sizes{0, 0, 0, 0}));
  EXPECT_EQ(empty.ImageDefault.ImageWidth(), 0);
}

TEST(HintTemplates, ANewPictureBringsHalfPictureBordersAndClearsSeeThroughPixels) {
  TacHintTemplate hint;
  TacHintImage& image = hint.ImageDefault;
  image.SetImage(*Picture(20, 10));
  EXPECT_EQ(image.ImageWidth(), 20);
  EXPECT_EQ(image.ImageHeight(), 10);
  for (const TacBordersSizes* s : {&image.BordersWidths, &image.ClientMargins})
    EXPECT_EQ(Read(*s), (Sizes{4, 9, 4, 9}));
  const auto* row = static_cast<const uint32_t*>(const_cast<TPNGGraphic&>(image.Image()).ScanLine(0));
  EXPECT_EQ(row[0], 0u) << "a see-through pixel keeps no colour";
  EXPECT_EQ(row[1] >> 24, 255u);
}

TEST(HintTemplates, CopiesAreWholeAndTheOwnerHearsOfChanges) {
  TacHintTemplates templates;
  int changes = 0;
  templates.OnChange = [&] { ++changes; };
  TacHintTemplate& source = templates.Add();
  source.Name = "Подсказка";
  source.Font.SetName("Tahoma");
  source.Img_RightTop.SetImage(*Picture(24, 24));
  source.Img_RightTop.BordersWidths.SetLeft(5);
  source.Img_RightTop.BorderDrawModes.Set(TacBorderDrawModes::Center, dmRepeat);
  EXPECT_EQ(changes, 3);
  templates.Loading = true;
  source.Img_RightTop.ClientMargins.SetTop(2);
  EXPECT_EQ(changes, 3) << "not while loading";
  templates.Loading = false;

  TacHintTemplate copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Name, "Подсказка");
  EXPECT_EQ(copy.Font.Name(), "Tahoma");
  EXPECT_EQ(copy.Img_RightTop.ImageWidth(), 24);
  EXPECT_EQ(Read(copy.Img_RightTop.BordersWidths), Read(source.Img_RightTop.BordersWidths));
  EXPECT_EQ(Read(copy.Img_RightTop.ClientMargins), Read(source.Img_RightTop.ClientMargins));
  EXPECT_EQ(copy.Img_RightTop.BorderDrawModes.Get(TacBorderDrawModes::Center), dmRepeat);
  EXPECT_EQ(copy.ImageDefault.ImageWidth(), 0);

  // A handler that changes a template hears of its own change no second time.
  templates.OnChange = [&] {
    ++changes;
    source.ImageDefault.BordersWidths.SetTop(1);
  };
  changes = 0;
  source.Img_RightTop.BordersWidths.SetRight(3);
  EXPECT_EQ(changes, 1);
}

TEST(HintTemplates, TheEngineBuildsItsDefaultTemplate) {
  StartEngineUnits();
  TacHintTemplate* hint = DefaultHintTemplate();
  ASSERT_NE(hint, nullptr);
  const TacHintImage& image = hint->ImageDefault;
  EXPECT_EQ(image.ImageWidth(), 32);
  EXPECT_EQ(image.ImageHeight(), 32);
  EXPECT_EQ(Read(image.BordersWidths), (Sizes{7, 7, 15, 15}));
  EXPECT_EQ(Read(image.ClientMargins), (Sizes{7, 11, 14, 15}));
  EXPECT_EQ(image.BorderDrawModes.Get(TacBorderDrawModes::Top), dmStretch);
  StopEngineUnits();
  EXPECT_EQ(DefaultHintTemplate(), nullptr);
}

}  // namespace
}  // namespace efir::test

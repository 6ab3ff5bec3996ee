// Columns written as a stored layout and read back into another grid: same classes, names,
// order, settings and part glyphs; a layout written before glyphs were kept still reads; a
// stored name already there is not added twice; a damaged layout says which line and keeps
// only the columns read whole.
#include <gtest/gtest.h>

#include <memory>

#include "grid/column_layout.h"
#include "grid/tests/control_fixture.h"

using namespace gridtest;

namespace {

class ColumnLayout : public GridTest {
 protected:
  // Logo (graphic), Station (text, own font), Bitrate (number), shown in that order.
  TDataGrid* Source() {
    TDataGrid* grid = LooseGrid(400, 150);
    auto* station = AddTextColumn(grid, L"Станция «Эфир»", 150);
    station->Name = "Station";
    station->SetMaxLength(40);
    station->Header()->SetHint(L"Название \"в кавычках\" \\ и черта");
    station->Font()->SetName("Tahoma");
    station->Font()->SetStyle(fsBold);
    station->SetParentFont(false);
    auto* bitrate = grid->Columns()->Add(std::make_unique<TNxNumberColumn>());
    bitrate->Name = "Bitrate";
    bitrate->SetMax(320.5);
    bitrate->SetTextAfter(L" кбит/с");
    bitrate->SetVisible(false);
    auto* logo = grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    logo->Name = "Logo";
    logo->SetStretch(true);
    logo->SetWidth(24);
    grid->Columns()->MovePosition(2, 0);
    return grid;
  }

  static std::string Order(TDataGrid* grid) {
    std::string order;
    for (int p = 0; p < grid->Columns()->Count(); ++p)
      order += (p ? " " : "") + grid->Columns()->PositionItem(p)->Name;
    return order;
  }
};

TEST_F(ColumnLayout, ColumnsReadBackAsTheyWereWritten) {
  const std::string text = grid::WriteColumnLayout(*Source()->Columns());
  TDataGrid* copy = LooseGrid(400, 150);
  grid::ReadColumnLayout(*copy, text);

  EXPECT_EQ(grid::WriteColumnLayout(*copy->Columns()), text);
  ASSERT_EQ(copy->Columns()->Count(), 3);
  EXPECT_EQ(Order(copy), "Logo Station Bitrate");
  auto* station = dynamic_cast<TNxTextColumn*>(copy->Columns()->Item(0));
  ASSERT_NE(station, nullptr);
  EXPECT_EQ(station->Header()->Caption(), L"Станция «Эфир»");
  EXPECT_EQ(station->Header()->Hint(), L"Название \"в кавычках\" \\ и черта");
  EXPECT_EQ(station->Width(), 150);
  EXPECT_EQ(station->MaxLength(), 40);
  EXPECT_FALSE(station->ParentFont());
  EXPECT_EQ(station->Font()->Name(), "Tahoma");
  EXPECT_EQ(station->Left(), 24) << "placed right of the logo";
  auto* bitrate = dynamic_cast<TNxNumberColumn*>(copy->Columns()->Item(1));
  ASSERT_NE(bitrate, nullptr);
  EXPECT_EQ(bitrate->Max(), 320.5);
  EXPECT_FALSE(bitrate->Visible());
  EXPECT_TRUE(dynamic_cast<TNxGraphicColumn*>(copy->Columns()->Item(2))->Stretch());

  // What a class has by default is left out; the position and the parts always stay.
  EXPECT_EQ(text.find("  Width 80\n"), std::string::npos);
  EXPECT_NE(text.find("column TNxNumberColumn Bitrate\n  Position 2\n"), std::string::npos);
  EXPECT_NE(text.find("  Header.Caption \"\"\n"), std::string::npos);
  EXPECT_EQ(text.find("Font.Name \"Tahoma\""), text.rfind("Font.Name")) << "one own font";
}

// A 5×3 picture whose every pixel differs, its bottom-left corner fuchsia.
std::unique_ptr<TBitmap> Glyph(TColor base) {
  auto picture = std::make_unique<TBitmap>(5, 3, pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture->Canvas().SetPixels(x, y, base + x * 0x10 + y * 0x1000);
  picture->Canvas().SetPixels(0, 2, clFuchsia);
  return picture;
}

void ExpectSamePicture(TBitmap& actual, TBitmap& expected) {
  ASSERT_EQ(actual.Width(), expected.Width());
  ASSERT_EQ(actual.Height(), expected.Height());
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x)
      EXPECT_EQ(actual.Canvas().Pixels(x, y), expected.Canvas().Pixels(x, y)) << x << "," << y;
}

TEST_F(ColumnLayout, PartGlyphsReadBackPixelForPixelWithTheirCornerTransparent) {
  TDataGrid* source = Source();
  const auto header = Glyph(0x203040), footer = Glyph(0x405060);
  source->Columns()->Item(0)->Header()->SetGlyph(*header);
  source->Columns()->Item(0)->Footer()->SetGlyph(*footer);
  const std::string text = grid::WriteColumnLayout(*source->Columns());
  EXPECT_NE(text.find("  Header.Glyph {424D"), std::string::npos) << "a .bmp file in hex";
  EXPECT_NE(text.find("  Footer.Glyph {}\n", text.find("TNxNumberColumn")), std::string::npos)
      << "no glyph, still stored";

  TDataGrid* copy = LooseGrid(400, 150);
  grid::ReadColumnLayout(*copy, text);
  EXPECT_EQ(grid::WriteColumnLayout(*copy->Columns()), text);
  TColumnHeader* readHeader = copy->Columns()->Item(0)->Header();
  ExpectSamePicture(*readHeader->Glyph(), *header);
  ExpectSamePicture(*copy->Columns()->Item(0)->Footer()->Glyph(), *footer);
  EXPECT_TRUE(readHeader->Glyph()->Transparent());
  EXPECT_EQ(readHeader->Glyph()->TransparentColor(), clFuchsia);
  EXPECT_TRUE(copy->Columns()->Item(1)->Header()->Glyph()->Empty());
}

// Layouts as they were written before glyphs were kept, and as they are written now.
TEST_F(ColumnLayout, LayoutsWithAndWithoutGlyphLinesRead) {
  const std::string before =
      "column TNxTextColumn Station\n  Position 0\n  Header.Caption \"Logo\"\n"
      "  Header.DisplayMode 2\n  Header.DrawingOptions 0\n  Header.Hint \"\"\n"
      "  Header.Alignment 0\n";
  const std::string after = "  Footer.Caption \"\"\n  Footer.Hint \"\"\nend\n";
  const auto glyph = Glyph(0x102030);
  const std::string written = [&] {
    TDataGrid* grid = LooseGrid();
    AddTextColumn(grid, L"Logo", 80)->Header()->SetGlyph(*glyph);
    const std::string text = grid::WriteColumnLayout(*grid->Columns());
    const size_t at = text.find("  Header.Glyph ");
    return text.substr(at, text.find('\n', at) + 1 - at);
  }();
  const struct {
    const char* name;
    std::string glyphLine;
    int glyphWidth;
  } cases[] = {
      {"no glyph lines: an older layout", "", 0},
      {"an empty glyph", "  Header.Glyph {}\n", 0},
      {"a glyph", written, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDataGrid* grid = LooseGrid();
    grid::ReadColumnLayout(*grid, before + c.glyphLine + after);
    ASSERT_EQ(grid->Columns()->Count(), 1);
    TColumnHeader* header = grid->Columns()->Item(0)->Header();
    EXPECT_EQ(header->Caption(), L"Logo");
    EXPECT_EQ(header->DisplayMode(), dmTextOnly);
    EXPECT_EQ(header->Glyph()->Width(), c.glyphWidth);
    EXPECT_TRUE(grid->Columns()->Item(0)->Footer()->Glyph()->Empty());
  }
}

TEST_F(ColumnLayout, AStoredNameAlreadyThereTakesTheStoredSettings) {
  TDataGrid* grid = LooseGrid();
  auto* station = AddTextColumn(grid, L"Станция", 100);
  station->Name = "Station";
  grid::ReadColumnLayout(*grid,
                         "column TNxTextColumn Station\n  Position 0\n  Width 200\nend\n"
                         "column TNxTextColumn Genre\n  Position 1\nend\n");
  ASSERT_EQ(grid->Columns()->Count(), 2);
  EXPECT_EQ(grid->Columns()->Item(0), station);
  EXPECT_EQ(station->Width(), 200);
  EXPECT_EQ(Order(grid), "Station Genre");
  EXPECT_EQ(grid->Columns()->Item(1)->Left(), 200);
}

TEST_F(ColumnLayout, ADamagedLayoutNamesItsLineAndKeepsTheWholeColumnsBeforeIt) {
  const std::string good = "column TNxTextColumn A\n  Position 0\nend\n";
  const struct {
    std::string tail;
    std::string message;
  } cases[] = {
      {"column TNxMagicColumn B\nend\n", "line 4: unknown column class \"TNxMagicColumn\""},
      {"column TNxTextColumn B\n  Colour 5\nend\n", "line 5: unknown property \"Colour\""},
      {"column TNxTextColumn B\n  Width wide\nend\n", "line 5: a number is expected"},
      {"column TNxTextColumn B\n  Visible yes\nend\n", "line 5: True or False is expected"},
      {"column TNxTextColumn B\n  DefaultValue abc\nend\n", "line 5: a quoted text is expected"},
      {"column TNxTextColumn B\n  Width 90\n", "line 5: the column has no end"},
      {"  Width 90\n", "line 4: a column is expected"},
      {"column TNxNumberColumn B\n  MaxLength 5\nend\n", "line 5: unknown property \"MaxLength\""},
      {"column TNxTextColumn B\n  Header.Glyph {424G}\nend\n",
       "line 5: a glyph in hexadecimal is expected"},
      {"column TNxTextColumn B\n  Header.Glyph 424D\nend\n",
       "line 5: a glyph in hexadecimal is expected"},
      {"column TNxTextColumn B\n  Footer.Glyph {424D0000}\nend\n", "line 5: Not a bitmap file"},
  };
  for (const auto& c : cases) {
    TDataGrid* grid = LooseGrid();
    try {
      grid::ReadColumnLayout(*grid, good + c.tail);
      ADD_FAILURE() << "read: " << c.tail;
    } catch (const EGridLayoutError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
    EXPECT_EQ(grid->Columns()->Count(), 1) << c.tail;
    EXPECT_EQ(Order(grid), "A") << c.tail;
    EXPECT_EQ(grid->Columns()->Item(0)->Width(), 80) << c.tail;
  }
}

}  // namespace

// The column rules: widths and their lower bound, the auto-size split, the one sorted
// column, the notices each writer sends the grid, the layout by position, and the parts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/column_kinds.h"
#include "framework/exceptions.h"
#include "grid/column_parts.h"
#include "grid/inplace_edit.h"
#include "grid/tests/fake_grid.h"

using gridtest::FakeGrid;

namespace {

// Notices as "column:kind" or "column:kind:value" (value shown when not -1).
std::vector<std::string> Log(const std::vector<gridtest::Notice>& notices) {
  std::vector<std::string> out;
  for (auto& n : notices)
    out.push_back(n.column + ":" + std::to_string(n.kind) +
                  (n.value == -1 ? "" : ":" + std::to_string(n.value)));
  return out;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(Columns, WidthNeverGoesBelowMinWidth) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  auto* b = g.Add<TNxTextColumn>("b");
  g.notices.clear();
  a->SetWidth(3);
  EXPECT_EQ(a->Width(), 8);
  EXPECT_EQ(b->Left(), 8);
  a->SetWidth(-50);  // already at the bound: nothing changes, nothing is told
  a->SetMinWidth(20);
  EXPECT_EQ(a->Width(), 8);  // a new bound applies to the next width set
  a->SetWidth(10);
  EXPECT_EQ(a->Width(), 20);
  EXPECT_EQ(Log(g.notices), (Lines{"a:10:-72", "a:10:12"}));
}

TEST(Columns, AutoSizeColumnsShareTheFreeRoom) {
  struct Case {
    const char* name;
    int available;
    std::vector<bool> autoSize;  // one 80-pixel column each
    bool indicator;
    std::vector<int> widths;
  };
  const Case cases[] = {
      {"two share 201", 201, {true, true}, false, {100, 101}},
      {"three share 200", 200, {true, true, true}, false, {66, 67, 67}},
      {"beside a fixed one", 100, {true, false, true}, false, {10, 80, 10}},
      {"indicator leaves 12 more", 189, {true, true}, true, {100, 101}},
      {"too little room", 10, {true, true}, false, {8, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeGrid g;
    g.availableWidth = c.available;
    g.indicator = c.indicator;
    g.loading = true;  // as when the layout is read: writers only store
    std::vector<TNxCustomColumn*> columns;
    for (size_t i = 0; i < c.autoSize.size(); ++i) {
      columns.push_back(g.Add<TNxTextColumn>(std::string(1, char('a' + i))));
      if (c.autoSize[i]) columns.back()->SetOptions(columns.back()->Options() | coAutoSize);
    }
    g.loading = false;
    g.columns.AutoSizeColumns(nullptr, false);
    std::vector<int> widths;
    for (auto* column : columns) widths.push_back(column->Width());
    EXPECT_EQ(widths, c.widths);
  }
}

TEST(Columns, OnlyOneColumnIsSorted) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  auto* b = g.Add<TNxNumberColumn>("b");
  g.Add<TNxGraphicColumn>("c");
  g.notices.clear();
  a->SetSorted(true);
  b->SetSorted(true);
  b->SetSorted(true);
  b->SetSortKind(skDescending);
  b->SetSorted(false);
  EXPECT_FALSE(a->Sorted());
  EXPECT_EQ(Log(g.notices), (Lines{"a:5", "a:9", "b:5", "b:6", "b:9"}));
}

TEST(Columns, WritersSendTheirNotices) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  g.notices.clear();
  a->SetEnabled(false);                // read when a cell is selected: no notice
  a->SetAlignment(taCenter);           // repaint
  a->SetAlignment(taCenter);           // unchanged: ignored
  a->SetInputValue(L"x");
  a->SetSortType(stNumeric);
  a->SetVisible(false);
  a->SetSlideOptions(soAutoSize);
  a->SetWrapKind(wkWordWrap);          // body refresh, not a notice
  a->SetTextBefore(L"№ ");             // body refresh
  a->Header()->SetCaption(L"Станция"); // whole column
  a->Header()->SetAlignment(taRightJustify);
  a->Footer()->SetAlignment(taCenter);
  a->Footer()->SetFormulaKind(fkSum);  // footer change: repaint the column
  a->Font()->SetStyle(fsBold);         // own font now
  EXPECT_FALSE(a->ParentFont());
  EXPECT_EQ(Log(g.notices), (Lines{"a:7", "a:1", "a:6", "a:8", "a:4", "a:7", "a:7"}));
  EXPECT_EQ(Log(g.refreshes), (Lines{"a:1", "a:1", "a:0", "a:3", "a:2"}));

  g.notices.clear();
  g.font.SetColor(clRed);
  a->SetParentFont(true);  // the grid's font comes in without a notice
  EXPECT_TRUE(a->ParentFont());
  EXPECT_EQ(a->Font()->Color(), clRed);
  EXPECT_TRUE(g.notices.empty());
}

TEST(Columns, ColourReachesRowsAddedLaterOnly) {
  FakeGrid g;
  auto* tiles = g.Add<TNxGraphicColumn>("tiles");
  g.cells.AddRows(2);
  g.notices.clear();
  tiles->SetColor(clRed);
  g.cells.AddRows(1);
  EXPECT_EQ(Log(g.notices), (Lines{"tiles:7"}));
  EXPECT_EQ(g.cells.GetCell(0, 1)->Color(), clWindow);
  EXPECT_EQ(g.cells.GetCell(0, 2)->Color(), clRed);
}

TEST(Columns, SearchColumnIsExclusive) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  auto* b = g.Add<TNxTextColumn>("b");
  a->SetOptions(a->Options() | coSearchColumn);
  b->SetOptions(b->Options() | coSearchColumn);
  EXPECT_FALSE(a->Options() & coSearchColumn);
  EXPECT_TRUE(b->Options() & coSearchColumn);
}

TEST(Columns, LayoutFollowsPositionsAndVisibility) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  auto* b = g.Add<TNxNumberColumn>("b");
  auto* c = g.Add<TNxGraphicColumn>("c");
  b->SetWidth(30);
  g.notices.clear();
  c->SetPosition(0);  // c a b
  EXPECT_EQ(Log(g.notices), (Lines{"c:2:2"}));  // one move, one notice
  EXPECT_EQ(g.columns.PositionItem(0), c);
  EXPECT_EQ(c->Index(), 2);  // the index (ACol) does not move
  EXPECT_EQ((std::vector<int>{c->Position(), a->Position(), b->Position()}), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ((std::vector<int>{c->Left(), a->Left(), b->Left()}), (std::vector<int>{0, 80, 160}));
  EXPECT_EQ(c->HeaderPlace(), 1);
  EXPECT_EQ(a->HeaderPlace(), 2);
  EXPECT_EQ(b->HeaderPlace(), 3);

  a->SetVisible(false);
  EXPECT_EQ(a->VisibleIndex(), -1);
  EXPECT_EQ(b->Left(), 80);
  EXPECT_EQ(b->VisibleIndex(), 1);
  EXPECT_EQ(g.columns.TotalWidth(), 110);
  c->SetEnabled(false);
  EXPECT_EQ(g.columns.FirstEnabled(), b);
  EXPECT_EQ(b->PrevEnabled(), b);  // none before it: itself
  EXPECT_TRUE(b->IsOnlyVisible() == false && b->IsFirstEnabled() && b->IsLastEnabled());
  EXPECT_THROW(c->SetPosition(5), EListError);
}

TEST(Columns, EditKindsFollowEnabledAndCapabilities) {
  FakeGrid g;
  auto* text = g.Add<TNxTextColumn>("t");
  auto* picture = g.Add<TNxGraphicColumn>("p");
  EXPECT_EQ(text->GetEditKinds(), ekInput);
  text->SetOptions(text->Options() | coEditing);
  EXPECT_EQ(text->GetEditKinds(), ekCell | ekInput);
  text->SetEnabled(false);
  EXPECT_EQ(text->GetEditKinds(), 0);
  picture->SetOptions(picture->Options() | coEditing);
  EXPECT_EQ(picture->GetEditKinds(), 0);
}

TEST(Columns, RemovedColumnsLeaveTheStoreInStep) {
  FakeGrid g;
  g.Add<TNxTextColumn>("a");
  auto* b = g.Add<TNxNumberColumn>("b");
  g.Add<TNxTextColumn>("c");
  g.cells.AddRows(2);
  g.cells.GetCell(2, 1)->SetAsString(L"kept");
  auto removed = g.columns.Remove(b);  // the caller owns it now
  EXPECT_EQ(g.columns.Count(), 2);
  EXPECT_EQ(g.cells.ColumnCount(), 2);
  EXPECT_EQ(g.cells.GetCell(1, 1)->GetAsString(), L"kept");
  EXPECT_EQ(removed->Columns(), nullptr);
  removed->SetWidth(40);  // out of the collection: tells nobody
  EXPECT_EQ(g.columns.PositionItem(1)->Name, "c");
}

TEST(ColumnParts, CopiesAndSlideNotices) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  TColumnFooter source(nullptr);
  source.SetCaption(L"from");
  source.SetColor(clRed);
  source.SetTextBefore(L"Итого: ");
  source.SetFormulaKind(fkCount);
  a->Footer()->SetCaption(L"own");
  a->SetFooter(source);
  EXPECT_EQ(a->Footer()->Caption(), L"own");
  EXPECT_EQ(a->Footer()->Color(), clWindow);
  EXPECT_EQ(a->Footer()->TextBefore(), L"Итого: ");
  EXPECT_EQ(a->Footer()->FormulaKind(), fkCount);

  TColumnHeader header(nullptr);
  header.SetCaption(L"Имя");
  header.SetHideArrow(false);
  a->SetHeader(header);
  EXPECT_EQ(a->Header()->Caption(), L"Имя");
  EXPECT_TRUE(a->Header()->HideArrow());  // not copied

  g.notices.clear();
  a->SlideBounds()->SetLeft(a->SlideBounds()->Left());
  a->SlideBounds()->SetWidth(a->SlideBounds()->Width());
  a->SlideBounds()->SetWidth(100);
  EXPECT_EQ(Log(g.notices), (Lines{"a:4", "a:4"}));
  EXPECT_EQ(a->SlideRect().right, 108);
}

TEST(ColumnParts, GlyphTakesItsBottomLeftPixelAsTransparent) {
  FakeGrid g;
  auto* a = g.Add<TNxTextColumn>("a");
  TBitmap picture(4, 3, pf24bit);
  picture.Canvas().Brush().SetColor(clWhite);
  picture.Canvas().FillRect({0, 0, 4, 3});
  picture.Canvas().SetPixels(0, 2, clFuchsia);
  g.notices.clear();
  a->Header()->SetGlyph(picture);
  EXPECT_TRUE(a->Header()->Glyph()->Transparent());
  EXPECT_EQ(a->Header()->Glyph()->TransparentColor(), clFuchsia);
  EXPECT_FALSE(g.notices.empty());
  EXPECT_EQ(Log(g.notices).back(), "a:7");

  picture.Canvas().SetPixels(0, 2, clLime);  // a new picture: its own corner counts
  a->Header()->SetGlyph(picture);
  EXPECT_EQ(a->Header()->Glyph()->TransparentColor(), clLime);

  TBitmap empty;
  a->Footer()->SetGlyph(empty);  // nothing to read, nothing read
  EXPECT_FALSE(a->Footer()->Glyph()->Transparent());
}

// A form's editor given to a column is forgotten when it is freed, so no edit reaches it.
TEST(Columns, AnOutsideEditorIsForgottenWhenFreed) {
  TNxTextColumn column;
  auto* first = new TNxEdit(nullptr);
  auto* second = new TNxEdit(nullptr);
  column.SetInplaceEdit(first);
  column.SetInplaceEdit(second);
  first->Free();  // no longer the column's: nothing changes
  EXPECT_EQ(column.InplaceEdit(), second);
  second->Free();
  EXPECT_EQ(column.InplaceEdit(), nullptr);
}

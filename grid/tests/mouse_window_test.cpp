// The grid's window around the mouse: a grid made taller shows its rows without empty space
// below the last one, auto-size columns follow its width, and its columns follow its font.
#include <gtest/gtest.h>

#include "grid/tests/control_fixture.h"

using namespace gridtest;
using MouseWindow = GridTest;

TEST_F(MouseWindow, AGridMadeTallerBringsRowsAboveBackIntoView) {
  TDataGrid* grid = WindowGrid(200, 160);  // ten 16-pixel rows in view
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  grid->ScrollToRow(29);
  ASSERT_EQ(grid->TopRow(), 20);

  grid->SetBounds(0, 0, 200, 320);  // room for twenty
  EXPECT_EQ(grid->TopRow(), 10);
  EXPECT_EQ(grid->LastRowInView(), 29);
  EXPECT_EQ(grid->VertScrollBar().Position(), 10);

  grid->SetBounds(0, 0, 200, 330);  // not a whole row more
  EXPECT_EQ(grid->TopRow(), 10);

  grid->SetBounds(0, 0, 200, 600);  // room for all
  EXPECT_EQ(grid->TopRow(), 0);
  EXPECT_EQ(grid->VertScrollBar().Max(), 0);

  grid->SetBounds(0, 0, 200, 100);  // smaller: the view stays where it is
  EXPECT_EQ(grid->TopRow(), 0);
}

TEST_F(MouseWindow, ColumnsFollowTheGridsWidthAndFont) {
  TDataGrid* grid = WindowGrid(200, 160);
  TNxTextColumn* number = AddTextColumn(grid, L"#", 50);
  TNxTextColumn* name = AddTextColumn(grid, L"Радиостанция", 100);
  name->SetOptions(name->Options() | coAutoSize);
  EXPECT_EQ(name->Width(), 150);
  grid->SetBounds(0, 0, 300, 160);
  EXPECT_EQ(name->Width(), 250);
  EXPECT_EQ(number->Width(), 50);

  TNxTextColumn* listen = AddTextColumn(grid, L"Слушать", 65);
  listen->Font()->SetStyle(fsBold | fsUnderline);  // a font of its own
  grid->Font().SetSize(14);
  EXPECT_EQ(number->Font()->Size(), 14);
  EXPECT_EQ(name->Font()->Size(), 14);
  EXPECT_NE(listen->Font()->Size(), 14);
}

// What the drag tests share: a grid with a header over three 60-pixel columns, mouse
// messages delivered where the system would deliver them (to the window holding the mouse,
// else the grid) at grid client points, and the pop-up windows a column move shows.
#pragma once

#include <string>
#include <vector>

#include "grid/tests/control_fixture.h"

namespace gridtest {

class DragTest : public GridTest {
 protected:
  // Columns "A", "B", "C" at x 0..60, 60..120, 120..180 under an 18-pixel header; rows
  // "r0".."r9", 16 pixels each, from y 18.
  TDataGrid* HeaderGrid(TGridOptions options = goHeader) {
    TDataGrid* grid = WindowGrid(200, 200);
    grid->SetOptions(options);
    for (const wchar_t* name : {L"A", L"B", L"C"}) AddTextColumn(grid, name, 60);
    AddNamedRows(grid, 10);
    grid->OnColumnMove = [this](TObject*, int c, int from, int to) {
      log.lines.push_back("move " + std::to_string(c) + " " + std::to_string(from) + ">" +
                          std::to_string(to));
    };
    grid->OnColumnResize = [this](TObject*, int c) {
      log.lines.push_back("resize " + std::to_string(c));
    };
    grid->OnHeaderClick = [this](TObject*, int c) {
      log.lines.push_back("header " + std::to_string(c));
    };
    grid->OnSortColumn = [this](TObject*, int c, bool) {
      log.lines.push_back("sort " + std::to_string(c));
    };
    grid->OnChangeRowHeight = [this](TObject*, int row, int height) {
      log.lines.push_back("height " + std::to_string(row) + " " + std::to_string(height));
    };
    grid->OnRowMove = [this](TObject*, int from, int to, bool& accept) {
      log.lines.push_back("rowmove " + std::to_string(from) + ">" + std::to_string(to));
      accept = acceptRowMove;
    };
    grid->OnAfterRowMove = [this](TObject*, int from, int to) {
      log.lines.push_back("moved " + std::to_string(from) + ">" + std::to_string(to));
    };
    return grid;
  }

  // A mouse message at the grid's client point (x, y), sent where the system sends it.
  static void Send(TDataGrid* grid, UINT msg, int x, int y, WPARAM keys) {
    HWND target = GetCapture() ? GetCapture() : grid->Handle();
    POINT p{x, y};
    MapWindowPoints(grid->Handle(), target, &p, 1);
    SendMessageW(target, msg, keys, efir::test::At(p.x, p.y));
  }
  static void Press(TDataGrid* grid, int x, int y) {
    Send(grid, WM_MOUSEMOVE, x, y, 0);
    Send(grid, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  }
  static void Drag(TDataGrid* grid, int x, int y) { Send(grid, WM_MOUSEMOVE, x, y, MK_LBUTTON); }
  static void Release(TDataGrid* grid, int x, int y) { Send(grid, WM_LBUTTONUP, x, y, 0); }

  // The column captions in display order, a hidden column's in brackets.
  static std::wstring Order(TDataGrid* grid) {
    std::wstring order;
    for (int p = 0; p < grid->Columns()->Count(); ++p) {
      TNxCustomColumn* column = grid->Columns()->PositionItem(p);
      const std::wstring& caption = column->Header()->Caption();
      order += column->Visible() ? caption : L"(" + caption + L")";
    }
    return order;
  }

  // The shown pop-up windows of the grid's form, in grid client coordinates.
  struct Popup {
    HWND window;
    RECT rect;
    bool IsArrow() const { return rect.right - rect.left == 9 && rect.bottom - rect.top == 9; }
  };
  static std::vector<Popup> Popups(TDataGrid* grid) {
    struct Search {
      HWND root;
      HWND grid;
      std::vector<Popup> found;
    } search{GetAncestor(grid->Handle(), GA_ROOT), grid->Handle(), {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          HWND owner = GetWindow(window, GW_OWNER);
          if (!owner || GetAncestor(owner, GA_ROOT) != s->root || !IsWindowVisible(window) ||
              !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
            return TRUE;
          RECT r;
          GetWindowRect(window, &r);
          MapWindowPoints(nullptr, s->grid, reinterpret_cast<POINT*>(&r), 2);
          s->found.push_back({window, r});
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  static std::vector<RECT> Arrows(TDataGrid* grid) {
    std::vector<RECT> arrows;
    for (const Popup& p : Popups(grid))
      if (p.IsArrow()) arrows.push_back(p.rect);
    return arrows;
  }

  // Nothing of a drag is left: no pop-up, nobody holds the mouse, the default cursor.
  static void ExpectNoDragLeft(TDataGrid* grid) {
    EXPECT_EQ(grid->Drag(), gdNone);
    EXPECT_TRUE(Popups(grid).empty());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Screen.Cursor(), crDefault);
  }

  EventLog log;
  bool acceptRowMove = true;
};

}  // namespace gridtest

// List views and trees under the synthetic skin: the column header of a report view drawn
// from COLHEADER with its hot, pressed and sorted looks, the colours the lists take in a
// standard dialog and elsewhere (and give back), and thumb tracking by whole rows.
#include <gtest/gtest.h>

#include <string>

#include "skin/engine/fills.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/scroll_engine.h"
#include "skin/forms/tests/template_dialog.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(c); }

enum : WORD { kList = 10, kTree = 20 };

void FillList(HWND list, int rows) {
  const wchar_t* names[] = {L"Имя", L"Размер"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 90;
    column.pszText = const_cast<wchar_t*>(names[i]);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  for (int i = 0; i < rows; ++i) {
    std::wstring text = L"Строка " + std::to_wstring(i);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void FillTree(HWND tree) {
  TVINSERTSTRUCTW insert{};
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(L"Папка");
  SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

HWND HeaderOf(HWND list) { return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)); }

RECT ColumnRect(HWND header, int index) {
  RECT r{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

// A pixel just inside the rim of a header item: its face.
POINT FaceOf(const RECT& r) { return {r.left + ctl::RimWidth + 1, r.bottom - ctl::RimWidth - 1}; }

// A whole arrow glyph (a solid cell, which no letter of the caption makes) lies in the item.
bool HasArrow(const Image& shot, const RECT& item) {
  for (int y = item.top; y + ctl::GlyphSize <= item.bottom; ++y)
    for (int x = item.left; x + ctl::GlyphSize <= item.right; ++x) {
      bool solid = true;
      for (int dy = 0; dy < ctl::GlyphSize && solid; ++dy)
        for (int dx = 0; dx < ctl::GlyphSize && solid; ++dx) solid = shot.at(x + dx, y + dy) == Rgb(ctl::Glyph[0]);
      if (solid) return true;
    }
  return false;
}

Image Shot(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return captureWindow(wnd);
}

void AwayCursor() {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  pumpFor(100);
}

class ListViewTest : public ::testing::Test {
 protected:
  ListViewTest()
      : skin(ControlSkinExtras()),
        dialog({{WC_LISTVIEWW, LVS_REPORT | WS_BORDER, 4, 4, 150, 70, kList},
                {WC_TREEVIEWW, WS_BORDER | TVS_HASLINES, 4, 80, 150, 40, kTree}},
               160, 126, [](HWND wnd) {
                 FillList(GetDlgItem(wnd, kList), 40);
                 FillTree(GetDlgItem(wnd, kTree));
               }) {
    pumpFor(100);
  }
  DialogSkin skin;
  TemplateDialog dialog;
};

TEST_F(ListViewTest, ReportHeaderIsDrawnFromTheSkinWithHotPressedAndSortedColumns) {
  HWND list = dialog.Item(kList);
  auto* adapter = dynamic_cast<TacListViewWnd*>(AdapterOfWindow(list));
  ASSERT_NE(adapter, nullptr);
  HWND header = HeaderOf(list);
  ASSERT_EQ(adapter->HeaderWnd, header);
  HDITEMW sorted{};
  sorted.mask = HDI_FORMAT;
  sorted.fmt = HDF_LEFT | HDF_STRING | HDF_SORTUP;
  SendMessageW(header, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&sorted));
  AwayCursor();
  const RECT first = ColumnRect(header, 0), second = ColumnRect(header, 1);
  Image shot = Shot(header);
  EXPECT_EQ(shot.at(first.left, first.top), Rgb(ctl::Rim[0]));
  EXPECT_EQ(shot.at(FaceOf(first).x, FaceOf(first).y), Rgb(ctl::Header[0]));
  EXPECT_EQ(shot.at(shot.width - 1 - ctl::RimWidth - 1, shot.height / 2), Rgb(ctl::Header[0])) << "the filler";
  EXPECT_TRUE(HasArrow(shot, second)) << "HDF_SORTUP shows the skin's arrow";
  EXPECT_FALSE(HasArrow(shot, first));

  RECT onScreen = first;
  MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
  SetCursorPos((onScreen.left + onScreen.right) / 2, (onScreen.top + onScreen.bottom) / 2);
  pumpFor(100);
  EXPECT_EQ(adapter->HeaderHotIndex, 0);
  shot = Shot(header);
  EXPECT_EQ(shot.at(FaceOf(first).x, FaceOf(first).y), Rgb(ctl::Header[1])) << "hot under the cursor";
  EXPECT_EQ(shot.at(FaceOf(second).x, FaceOf(second).y), Rgb(ctl::Header[0]));

  const POINT press{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
  PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  pumpFor(50);
  shot = Shot(header);
  EXPECT_EQ(shot.at(second.left, second.top), Rgb(ctl::Rim[2])) << "pressed";
  EXPECT_EQ(shot.at(first.left, first.top), Rgb(ctl::Rim[0])) << "the hot column is normal while another is held";
  PostMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(press.x, press.y));
  pumpFor(50);
  EXPECT_EQ(adapter->HeaderDownIndex, -1);
  AwayCursor();
  saveScreenshot(dialog.Wnd(), "skinned_list_view");
}

TEST_F(ListViewTest, ThumbTrackingScrollsAReportByWholeRows) {
  HWND list = dialog.Item(kList);
  ASSERT_NE(AdapterOfWindow(list), nullptr);
  EXPECT_EQ(SendSkinCommandToWindow(list, SKC_BEFORESCROLL), 1) << "the list takes positions from lParam";
  ScrollState.ThumbTrackPos = 0;
  SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), 3);
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 3);
  ScrollState.ThumbTrackPos = 3;
  SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 1);
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 1);
  ScrollState.ThumbTrackPos = -1;
}

// A list or tree attached outside any standard dialog: its colours come from the section.
class OwnList {
 public:
  OwnList(const wchar_t* kind, DWORD style) : parent(200, 140, [](HDC dc, const RECT& r) { FillRectSolid(dc, r, dlg::Face); }) {
    wnd = CreateWindowExW(0, kind, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 150, 100, parent.handle(),
                          nullptr, nullptr, nullptr);
  }
  TestWindow parent;
  HWND wnd = nullptr;
};

TEST_F(ListViewTest, ListsTakeTheWindowColourInADialogAndTheSkinsElsewhereAndGiveThemBack) {
  OwnList ownList(WC_LISTVIEWW, LVS_REPORT);
  FillList(ownList.wnd, 2);
  OwnList ownTree(WC_TREEVIEWW, 0);
  FillTree(ownTree.wnd);
  const TColor window = ColorToRGB(clWindow);
  struct Case {
    const char* Name;
    HWND Wnd;
    UINT GetColour;
    TColor Expected;
  } cases[] = {
      {"list in a dialog", dialog.Item(kList), LVM_GETBKCOLOR, window},
      {"tree in a dialog", dialog.Item(kTree), TVM_GETBKCOLOR, window},
      {"own list: EDIT's colour", ownList.wnd, LVM_GETBKCOLOR, ctl::Edit[0]},
      {"own tree: EDIT's hot colour", ownTree.wnd, TVM_GETBKCOLOR, ctl::Edit[1]},
  };
  std::vector<std::unique_ptr<TacMainWnd>> own;
  own.push_back(AttachAdapter<TacListViewWnd>(ownList.wnd, nullptr, skin.manager.get(), "EDIT", true));
  own.push_back(AttachAdapter<TacTreeViewWnd>(ownTree.wnd, nullptr, skin.manager.get(), "EDIT", true));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_NE(AdapterOfWindow(c.Wnd), nullptr);
    const Image shot = Shot(c.Wnd);
    RECT client;
    ClientRectInWindowCoords(c.Wnd, client);
    EXPECT_EQ(static_cast<TColor>(SendMessageW(c.Wnd, c.GetColour, 0, 0)), c.Expected);
    EXPECT_EQ(shot.at(client.left + 2, client.bottom - 3), Rgb(c.Expected)) << "the empty part of the list";
  }
  EXPECT_EQ(static_cast<TColor>(SendMessageW(ownList.wnd, LVM_GETTEXTCOLOR, 0, 0)), dlg::Ink);
  for (auto& adapter : own) adapter->Detach(true);
  EXPECT_EQ(static_cast<TColor>(SendMessageW(ownList.wnd, LVM_GETBKCOLOR, 0, 0)), window) << "given back";
  EXPECT_EQ(static_cast<TColor>(SendMessageW(ownList.wnd, LVM_GETTEXTCOLOR, 0, 0)), ColorToRGB(clWindowText));
  EXPECT_EQ(Shot(ownTree.wnd).at(20, 90), Rgb(window));
}

}  // namespace
}  // namespace efir::test

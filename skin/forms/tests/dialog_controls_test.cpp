// The small common controls of standard dialogs under the synthetic skin: which adapter each
// gets, and what the size grip, the up-down control, the tool bar, a nested pane and a panel
// show, read back by pixels, with the controls still doing their work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <typeindex>
#include <typeinfo>

#include "framework/gdi.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_startup.h"
#include "skin/forms/button_adapters.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/edit_wnd.h"
#include "skin/forms/grip_spin_adapters.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/pane_adapters.h"
#include "skin/forms/static_adapters.h"
#include "skin/forms/tab_adapters.h"
#include "skin/forms/tests/template_dialog.h"
#include "skin/forms/toolbar_adapter.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(c); }

// Channels of the two colours differ by at most `tolerance`.
bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

COLORREF Mix(TColor a, TColor b, double shareOfA) {
  auto channel = [&](int shift) {
    return static_cast<int>(((a >> shift) & 0xFF) * shareOfA + ((b >> shift) & 0xFF) * (1 - shareOfA) + 0.5);
  };
  return RGB(channel(0), channel(8), channel(16));
}

enum : WORD { kToolBar = 10, kSpin = 20, kBuddy = 21, kGrip = 30, kPane = 40, kPanel = 50, kVertBar = 60 };
enum : int { kImageButton = 101, kPlainButton = 102, kDisabledButton = 103 };
constexpr TColor kImage = 0x00C0C0;

const wchar_t* PanelClass() {
  static const ATOM atom = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"TPanel";
    return RegisterClassW(&c);
  }();
  (void)atom;
  return L"TPanel";
}

void FillToolBar(HWND bar) {
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  auto picture = NewBitmap24(16, 16);
  FillRectSolid(picture->Canvas().Handle(), {0, 0, 16, 16}, kImage);
  HBITMAP solid = CreateCompatibleBitmap(picture->Canvas().Handle(), 16, 16);
  {
    efir::gdi::MemoryDC dc(picture->Canvas().Handle());
    efir::gdi::Selection selected(dc, solid);
    BitBlt(dc, 0, 0, 16, 16, picture->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  ImageList_Add(images, solid, nullptr);
  DeleteObject(solid);
  SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  TBBUTTON buttons[] = {{0, kImageButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                        {0, 0, 0, BTNS_SEP, {}, 0, 0},
                        {I_IMAGENONE, kPlainButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                        {I_IMAGENONE, kDisabledButton, 0, BTNS_BUTTON, {}, 0, 0}};
  SendMessageW(bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 26));
}

class DialogControlsTest : public ::testing::Test {
 protected:
  DialogControlsTest()
      : skin(ControlSkinExtras()),
        dialog({{L"ToolbarWindow32", TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 4, 4, 140, 20, kToolBar},
                {L"EDIT", WS_BORDER | ES_NUMBER, 4, 30, 50, 16, kBuddy},
                {L"msctls_updown32", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 54, 30, 12, 16, kSpin},
                {L"#32770", 0, 4, 54, 60, 30, kPane},
                {PanelClass(), 0, 70, 54, 60, 30, kPanel},
                {L"SCROLLBAR", SBS_VERT, 150, 30, 10, 50, kVertBar},
                {L"SCROLLBAR", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 186, 106, 14, 14, kGrip}},
               200, 120, [](HWND wnd) {
                 FillToolBar(GetDlgItem(wnd, kToolBar));
                 SendDlgItemMessageW(wnd, kSpin, UDM_SETRANGE32, 0, 100);
                 SendDlgItemMessageW(wnd, kSpin, UDM_SETPOS32, 0, 50);
               }) {
    pumpFor(100);
  }

  template <class Adapter>
  Adapter* AdapterOf(WORD id) {
    return dynamic_cast<Adapter*>(AdapterOfWindow(dialog.Item(id)));
  }
  Image Shot(WORD id) {
    RedrawWindow(dialog.Item(id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    return captureWindow(dialog.Item(id));
  }
  POINT OnScreen(WORD id, POINT inWindow) {
    RECT r;
    GetWindowRect(dialog.Item(id), &r);
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  void MoveCursor(WORD id, POINT inWindow) {
    const POINT p = OnScreen(id, inWindow);
    SetCursorPos(p.x, p.y);
    pumpFor(100);
  }

  DialogSkin skin;
  TemplateDialog dialog;
};

TEST_F(DialogControlsTest, EachControlGetsTheAdapterOfItsKind) {
  ASSERT_NE(AdapterOfWindow(dialog.Wnd()), nullptr) << "the dialog is skinned";
  EXPECT_NE(AdapterOf<TacToolBarWnd>(kToolBar), nullptr);
  ASSERT_NE(AdapterOf<TacSpinWnd>(kSpin), nullptr);
  EXPECT_EQ(AdapterOf<TacSpinWnd>(kSpin)->ButtonInset, 2);
  EXPECT_NE(AdapterOf<TacSizerWnd>(kGrip), nullptr);
  EXPECT_NE(AdapterOf<TacTransPanelWnd>(kPane), nullptr);
  EXPECT_NE(AdapterOf<TacDlgPanelWnd>(kPanel), nullptr);
  EXPECT_EQ(AdapterOf<TacSizerWnd>(kVertBar), nullptr) << "a real scroll bar is no size grip";
  saveScreenshot(dialog.Wnd(), "skinned_dialog_controls");
}

TEST_F(DialogControlsTest, SizeGripShowsTheGripImageOverTheDialogAndAlwaysSizes) {
  const Image grip = Shot(kGrip);
  EXPECT_EQ(grip.at(grip.width - 1, grip.height - 1), Rgb(ctl::Grip));
  EXPECT_EQ(grip.at(grip.width - ctl::GripSize, grip.height - ctl::GripSize), Rgb(ctl::Grip));
  EXPECT_EQ(grip.at(0, 0), Rgb(dlg::Face)) << "the dialog's background round the grip";
  HWND wnd = dialog.Item(kGrip);
  for (POINT p : {POINT{0, 0}, POINT{grip.width - 1, grip.height - 1}}) {
    const POINT s = OnScreen(kGrip, p);
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)), HTBOTTOMRIGHT);
  }
}

TEST_F(DialogControlsTest, SpinHalvesFollowTheCursorAndClicksStillStepTheBuddy) {
  TacSpinWnd* spin = AdapterOf<TacSpinWnd>(kSpin);
  ASSERT_NE(spin, nullptr);
  spin->ReadWindowPlacement();
  RECT up, down;
  spin->ButtonRects(up, down);
  EXPECT_EQ(up.left, 2);
  // A face pixel just inside each half's rim, and the middle of each arrow.
  const POINT upFace{up.left + ctl::RimWidth, up.top + ctl::RimWidth};
  const POINT downFace{down.left + ctl::RimWidth, down.bottom - ctl::RimWidth - 1};
  const POINT upArrow{(up.left + up.right) / 2, (up.top + up.bottom) / 2};
  HWND buddy = dialog.Item(kBuddy);
  auto buddyText = [&] { return WindowTextWide(buddy); };
  MoveCursor(kBuddy, {2, 2});
  Image shot = Shot(kSpin);
  EXPECT_EQ(shot.at(upFace.x, upFace.y), Rgb(dlg::ButtonFace[0])) << "BUTTON stands in for SPEEDBUTTON_SMALL";
  EXPECT_EQ(shot.at(downFace.x, downFace.y), Rgb(dlg::ButtonFace[0]));
  EXPECT_EQ(shot.at(upArrow.x, upArrow.y), Rgb(ctl::Glyph[0]));

  MoveCursor(kSpin, upArrow);
  shot = Shot(kSpin);
  EXPECT_EQ(shot.at(upFace.x, upFace.y), Rgb(dlg::ButtonFace[1])) << "the up half is hot";
  EXPECT_EQ(shot.at(upArrow.x, upArrow.y), Rgb(ctl::Glyph[1]));
  EXPECT_EQ(shot.at(downFace.x, downFace.y), Rgb(dlg::ButtonFace[0]));

  HWND wnd = dialog.Item(kSpin);
  EXPECT_EQ(buddyText(), L"50");
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(upArrow.x, upArrow.y));
  pumpFor(50);
  EXPECT_EQ(captureWindow(wnd).at(upFace.x, upFace.y), Rgb(dlg::ButtonFace[2])) << "pressed while held";
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(upArrow.x, upArrow.y));
  pumpFor(50);
  EXPECT_EQ(buddyText(), L"51");
  const POINT downArrow{(down.left + down.right) / 2, (down.top + down.bottom) / 2};
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(downArrow.x, downArrow.y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(downArrow.x, downArrow.y));
  pumpFor(50);
  EXPECT_EQ(buddyText(), L"50");
}

TEST_F(DialogControlsTest, ToolBarButtonsShowTheirLooksImagesAndSeparators) {
  HWND bar = dialog.Item(kToolBar);
  auto rect = [&](int command) {
    RECT r{};
    SendMessageW(bar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&r));
    return r;
  };
  const RECT image = rect(kImageButton), plain = rect(kPlainButton), disabled = rect(kDisabledButton);
  RECT separator{};
  SendMessageW(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&separator));
  auto face = [](const RECT& r) { return POINT{r.left + ctl::RimWidth, r.bottom - ctl::RimWidth - 1}; };
  MoveCursor(kBuddy, {2, 2});
  Image shot = Shot(kToolBar);
  EXPECT_EQ(shot.at(image.left, image.top), Rgb(ctl::Rim[0])) << "a normal button's rim";
  EXPECT_EQ(shot.at(face(image).x, face(image).y), Rgb(ctl::Tool[0]));
  EXPECT_EQ(shot.at((image.left + image.right) / 2, image.top + 4 + 8), Rgb(kImage)) << "image 0 is drawn";
  EXPECT_EQ(shot.at((separator.left + separator.right) / 2, (separator.top + separator.bottom) / 2), Rgb(dlg::Face))
      << "no DIVIDER in the skin: the separator shows the bar's background";
  EXPECT_TRUE(Near(shot.at(face(disabled).x, face(disabled).y), Mix(dlg::Face, ctl::Tool[0], 0.6)))
      << "a disabled button is blended with the background";

  MoveCursor(kToolBar, {(plain.left + plain.right) / 2, (plain.top + plain.bottom) / 2});
  shot = Shot(kToolBar);
  EXPECT_EQ(shot.at(plain.left, plain.top), Rgb(ctl::Rim[1])) << "hot under the cursor";
  EXPECT_EQ(shot.at(face(plain).x, face(plain).y), Rgb(ctl::Tool[1]));
  EXPECT_EQ(shot.at(image.left, image.top), Rgb(ctl::Rim[0]));

  SendMessageW(bar, TB_PRESSBUTTON, kImageButton, TRUE);
  shot = Shot(kToolBar);
  EXPECT_EQ(shot.at(image.left, image.top), Rgb(ctl::Rim[2])) << "pressed";
  EXPECT_EQ(shot.at((image.left + image.right) / 2 + 1, image.top + 4 + 1), Rgb(kImage)) << "the image moved by one";
  SendMessageW(bar, TB_PRESSBUTTON, kImageButton, FALSE);
}

TEST_F(DialogControlsTest, NestedPaneAndPanelShowTheSkin) {
  const Image pane = Shot(kPane);
  EXPECT_EQ(pane.at(pane.width / 2, pane.height / 2), Rgb(dlg::Face)) << "the pane is see-through";
  const Image panel = Shot(kPanel);
  EXPECT_EQ(panel.at(panel.width / 2, panel.height / 2), Rgb(ctl::Group)) << "a panel other than TPanel: GROUPBOX";
  EXPECT_EQ(panel.at(0, panel.height / 2), Rgb(ctl::Rim[0]));
}

// Which adapter, and which section, each kind of child of a standard dialog gets, by its class
// and its style.
TEST(DialogChildTable, EachChildGetsTheAdapterAndSectionItsClassAndStyleGive) {
  DialogSkin skin(ControlSkinExtras());
  struct Row {
    const wchar_t* Class;
    DWORD Style;
    const std::type_info* Adapter;  // nullptr: left as it is
    const char* Section;
  };
  const Row rows[] = {
      {L"STATIC", SS_LEFT, &typeid(TacStaticWnd), "CHECKBOX"},
      {L"STATIC", SS_LEFTNOWORDWRAP, &typeid(TacStaticWnd), "CHECKBOX"},
      {L"STATIC", SS_ICON, &typeid(TacIconWnd), "CHECKBOX"},
      {L"STATIC", SS_BITMAP, &typeid(TacIconWnd), "CHECKBOX"},
      {L"STATIC", SS_BLACKFRAME, nullptr, ""},
      {L"STATIC", SS_ETCHEDHORZ, nullptr, ""},
      {L"STATIC", SS_GRAYRECT, nullptr, ""},
      {L"BUTTON", BS_PUSHBUTTON, &typeid(TacBtnWnd), "BUTTON"},
      {L"BUTTON", BS_DEFPUSHBUTTON, &typeid(TacBtnWnd), "BUTTON"},
      {L"BUTTON", BS_USERBUTTON, &typeid(TacBtnWnd), "BUTTON"},
      {L"BUTTON", BS_AUTOCHECKBOX, &typeid(TacCheckBoxWnd), "CHECKBOX"},
      {L"BUTTON", BS_AUTORADIOBUTTON, &typeid(TacCheckBoxWnd), "CHECKBOX"},
      {L"BUTTON", BS_AUTO3STATE, &typeid(TacCheckBoxWnd), "CHECKBOX"},
      {L"BUTTON", 0x0E /* command link */, &typeid(TacCheckBoxWnd), "CHECKBOX"},
      {L"BUTTON", BS_GROUPBOX, &typeid(TacGroupBoxWnd), "GROUPBOX"},
      {L"BUTTON", 0x0F /* default command link */, &typeid(TacGroupBoxWnd), "GROUPBOX"},
      {L"BUTTON", BS_OWNERDRAW, nullptr, ""},
      {L"ToolbarWindow32", TBSTYLE_WRAPABLE | CCS_NORESIZE, &typeid(TacToolBarWnd), "BAR"},
      {L"ToolbarWindow32", TBSTYLE_FLAT | CCS_NORESIZE, &typeid(TacToolBarWnd), "CHECKBOX"},
      {L"LISTBOX", WS_BORDER, &typeid(TacEditWnd), "EDIT"},
      {L"SysListView32", WS_BORDER, &typeid(TacListViewWnd), "EDIT"},
      {L"SysTreeView32", WS_BORDER, &typeid(TacTreeViewWnd), "EDIT"},
      {L"SysTabControl32", 0, &typeid(TacTabControlWnd), "PAGECONTROL"},
      {L"SysTabControl32", TCS_OWNERDRAWFIXED, nullptr, ""},
      {L"msctls_updown32", 0, &typeid(TacSpinWnd), "BUTTON"},  // the skin has no SPEEDBUTTON_SMALL
  };
  std::vector<TemplateItem> items;
  WORD id = 100;
  for (const Row& r : rows) {
    // Small items a row apart; the tool bars keep their place.
    const short y = static_cast<short>(2 + (id - 100) * 4);
    items.push_back({r.Class, r.Style, 2, y, 60, 4, id++, L"x"});
  }
  TemplateDialog dialog(items, 80, static_cast<short>(8 + items.size() * 4));
  pumpFor(100);
  ASSERT_NE(AdapterOfWindow(dialog.Wnd()), nullptr) << "the dialog is skinned";
  id = 100;
  for (const Row& r : rows) {
    const HWND child = dialog.Item(id++);
    SCOPED_TRACE(std::to_string(id - 1) + " style 0x" + std::to_string(r.Style));
    ASSERT_NE(child, nullptr);
    TacMainWnd* adapter = AdapterOfWindow(child);
    if (!r.Adapter) {
      EXPECT_EQ(adapter, nullptr);
      continue;
    }
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(std::type_index(typeid(*adapter)), std::type_index(*r.Adapter));
    EXPECT_EQ(adapter->SkinData->SkinSection(), r.Section);
  }
}

// A maximized dialog's maximize button restores: made hot by the mouse it keeps the restore
// picture (without glowing the frame itself shows a button's looks).
TEST(DialogTitleButtons, AMaximizedDialogsMaximizeButtonKeepsTheRestorePictureWhenHot) {
  constexpr TColor kMax = 0x30C030, kNorm = 0xC03030;
  auto picture = [](TColor colour) {  // three 14-pixel looks over a mask row that shows them
    return BmpBytes(42, 28, [colour](int, int y) -> uint32_t { return y < 14 ? static_cast<uint32_t>(colour) : 0; });
  };
  SkinExtras extras;
  extras.Global = "BICONMAX=!MAX.BMP!3!1!2\r\nSICONMAX=!MAX.BMP!3!1!2\r\nBICONNORM=!NORM.BMP!3!1!2\r\n";
  extras.Files = {{"MAX.BMP", picture(kMax)}, {"NORM.BMP", picture(kNorm)}};
  DialogSkin skin(extras);
  skin.manager->SetAllowGlowing(false);
  TemplateDialog dialog({}, 200, 120, [](HWND wnd) {
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
  });
  pumpFor(100);
  ShowWindow(dialog.Wnd(), SW_MAXIMIZE);
  pumpFor(150);
  auto* adapter = dynamic_cast<TacDialogWnd*>(AdapterOfWindow(dialog.Wnd()));
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(IsZoomed(dialog.Wnd()));
  const RECT r = adapter->ButtonMax.Rect;
  ASSERT_GT(r.right, r.left);
  const POINT inWindow{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  EXPECT_EQ(captureWindow(dialog.Wnd()).at(inWindow.x, inWindow.y), Rgb(kNorm));
  RECT window;
  GetWindowRect(dialog.Wnd(), &window);
  SetCursorPos(window.left + inWindow.x, window.top + inWindow.y);
  pumpFor(150);
  EXPECT_EQ(adapter->ButtonMax.State, 1) << "hot";
  EXPECT_EQ(captureWindow(dialog.Wnd()).at(inWindow.x, inWindow.y), Rgb(kNorm)) << "still the restore picture";
}

// After the message the system sends when a dialog's children may have been replaced, a child
// added since the dialog was adapted has its adapter too.
TEST(DialogChildTable, ChildrenAddedLaterAreAdaptedAfterTheReadaptMessage) {
  DialogSkin skin;
  TemplateDialog dialog({}, 200, 120);
  pumpFor(100);
  ASSERT_NE(AdapterOfWindow(dialog.Wnd()), nullptr);
  HWND late = CreateWindowExW(0, L"BUTTON", L"Позже", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 100, 20,
                              dialog.Wnd(), reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(late, nullptr);
  EXPECT_EQ(AdapterOfWindow(late), nullptr) << "not yet";
  SendMessageW(dialog.Wnd(), 0x52E, 0, 0);
  EXPECT_NE(dynamic_cast<TacCheckBoxWnd*>(AdapterOfWindow(late)), nullptr);
}

// The command that repaints the skinned windows' graphics brings a dialog's border window
// round the dialog again.
TEST(DialogBorderWindow, TheRepaintGraphicsCommandBringsTheBorderWindowRoundTheDialog) {
  if (!ShadowPngActive) StartSkinEngine();
  DialogSkin skin;
  skin.manager->SetExtendedBorders(true);
  TemplateDialog dialog({}, 200, 120);
  pumpFor(100);
  auto* adapter = dynamic_cast<TacDialogWnd*>(AdapterOfWindow(dialog.Wnd()));
  ASSERT_NE(adapter, nullptr);
  ASSERT_NE(adapter->BorderForm, nullptr);
  auto rectOf = [](HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
  };
  HWND border = adapter->BorderForm->Window();
  RECT expected = rectOf(border);
  const RECT d = rectOf(dialog.Wnd());
  adapter->BorderForm->Updating = true;  // the dialog moves while its border window holds still
  SetWindowPos(dialog.Wnd(), nullptr, d.left + 30, d.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  adapter->BorderForm->Updating = false;
  RECT now = rectOf(border);
  ASSERT_TRUE(EqualRect(&now, &expected));
  SendSkinCommandToWindow(dialog.Wnd(), SKC_REPAINTGRAPHICS, 0);
  OffsetRect(&expected, 30, 20);
  now = rectOf(border);
  EXPECT_TRUE(EqualRect(&now, &expected)) << now.left << "," << now.top;
}

TEST(ToolButtonCaption, SplitsAtTheLastSpaceThatFitsAndKeepsOneWordWhole) {
  const auto tenPerLetter = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
  const struct {
    const char* Caption;
    int Width;
    const char* First;
    const char* Second;
  } cases[] = {
      {"Рабочий стол", 200, "Рабочий стол", ""},
      {"Мой компьютер", 60, "Мой", "компьютер"},
      {"a b c d", 35, "a b", "c d"},
      {"Документы", 10, "Документы", ""},
      {"Длинное слово", 20, "Длинное", "слово"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    const auto [first, second] = SplitToolButtonCaption(c.Caption, tenPerLetter, c.Width);
    EXPECT_EQ(first, c.First);
    EXPECT_EQ(second, c.Second);
  }
}

// A dialog's text keeps the alignment its style asks for: centred and right-aligned texts
// drawn at the left would read as a layout fault.
TEST(DialogStaticText, KeepsTheAlignmentOfItsStyle) {
  DialogSkin skin;
  TemplateDialog dialog({{L"STATIC", SS_LEFT, 4, 4, 150, 10, 1, L"Текст"},
                         {L"STATIC", SS_CENTER, 4, 20, 150, 10, 2, L"Текст"},
                         {L"STATIC", SS_RIGHT, 4, 36, 150, 10, 3, L"Текст"}},
                        160, 60);
  pumpFor(100);
  ASSERT_NE(dynamic_cast<TacStaticWnd*>(AdapterOfWindow(dialog.Item(1))), nullptr);
  // The columns holding the text's pixels, from the screen.
  auto inked = [&](WORD id) {
    RedrawWindow(dialog.Item(id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpFor(30);
    const Image shot = captureScreenOf(dialog.Item(id));
    int first = shot.width, last = -1;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        if (shot.at(x, y) == Rgb(dlg::Ink)) first = std::min(first, x), last = std::max(last, x);
    return std::pair{first, shot.width - 1 - last};
  };
  const auto [leftMargin, leftRest] = inked(1);
  const auto [centreLeft, centreRight] = inked(2);
  const auto [rightLeft, rightMargin] = inked(3);
  ASSERT_GE(leftRest, 0) << "the text is drawn";
  EXPECT_LE(leftMargin, 2);
  EXPECT_GT(rightLeft, leftRest / 2) << "the right-aligned text ends at the right";
  EXPECT_NEAR(rightMargin, leftMargin + (leftRest - rightLeft), 2) << "the same text, moved right";
  EXPECT_NEAR(centreLeft, (leftMargin + rightLeft) / 2, 2) << "halfway between the two";
  EXPECT_NEAR(centreRight, (leftRest + rightMargin) / 2, 2);
}

}  // namespace
}  // namespace efir::test

// Skinned scroll bars, edits, list boxes and combo boxes on real windows: a dialog made from
// a template is skinned by the hook under the synthetic scroll skin, and its children are
// driven by sent mouse messages and the cursor as a user's mouse would.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/forms/combo_wnd.h"
#include "skin/forms/dialog_children.h"
#include "skin/forms/scroll_engine.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/tests/scroll_skin_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

namespace ss = scrollskin;

constexpr int kListId = 100, kBarId = 101, kEditId = 102, kComboId = 103, kGripId = 104;

// A dialog template in memory: the dialog and its items, as CreateDialogIndirect reads it.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy) {
    Align();
    Put<DWORD>(style);
    Put<DWORD>(0);
    countAt_ = words_.size();
    Put<WORD>(0);
    for (short v : {short{10}, short{10}, cx, cy}) Put<short>(v);
    Put<WORD>(0);  // no menu
    Put<WORD>(0);  // the standard class
    Put<WORD>(0);  // no title
  }
  void Item(WORD classAtom, DWORD style, short x, short y, short cx, short cy, WORD id) {
    Align();
    Put<DWORD>(style | WS_CHILD | WS_VISIBLE);
    Put<DWORD>(0);
    for (short v : {x, y, cx, cy}) Put<short>(v);
    Put<WORD>(id);
    Put<WORD>(0xFFFF);
    Put<WORD>(classAtom);
    Put<WORD>(0);  // no text
    Put<WORD>(0);  // no creation data
    ++words_[countAt_];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  template <class T>
  void Put(T value) {
    WORD parts[sizeof(T) / 2];
    memcpy(parts, &value, sizeof value);
    words_.insert(words_.end(), parts, parts + sizeof(T) / 2);
  }
  void Align() {
    if (words_.size() % 2) words_.push_back(0);
  }
  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// What reached the window's own procedure, under the adapter.
struct Received {
  std::vector<std::pair<WORD, WORD>> Scrolls;  // code, position
  std::vector<UINT_PTR> Timers;
  WNDPROC Previous = nullptr;
};
Received* received = nullptr;

LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (received && msg == WM_VSCROLL) received->Scrolls.push_back({LOWORD(wParam), HIWORD(wParam)});
  if (received && msg == WM_TIMER) received->Timers.push_back(wParam);
  return CallWindowProcW(received->Previous, wnd, msg, wParam, lParam);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
LPARAM ScreenParam(POINT p) { return MAKELPARAM(p.x, p.y); }
LPARAM ClientParam(HWND wnd, POINT screen) {
  ScreenToClient(wnd, &screen);
  return MAKELPARAM(screen.x, screen.y);
}

class ScrollAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartWindowSkinning();
    manager = std::make_unique<TsSkinManager>(nullptr);
    manager->SetSkinDirectory(ss::WriteScrollSkin());
    manager->SetSkinName("Scrolls");
    ASSERT_TRUE(manager->LoadedSkin.Active);
    DialogTemplate t(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 170);
    t.Item(0x0083, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, 8, 8, 110, 120, kListId);
    t.Item(0x0084, SBS_VERT, 130, 8, 10, 80, kBarId);
    t.Item(0x0081, ES_AUTOHSCROLL | WS_BORDER, 150, 8, 100, 14, kEditId);
    t.Item(0x0085, CBS_DROPDOWNLIST | WS_VSCROLL, 150, 30, 100, 80, kComboId);
    t.Item(0x0084, SBS_SIZEGRIP, 240, 150, 10, 10, kGripId);
    dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    list = GetDlgItem(dialog, kListId);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    pumpFor(50);
    // Linked under the adapter: it sees what the adapter passes on to the list's own procedure.
    ASSERT_NE(ListAdapter(), nullptr);
    counted.Previous = ListAdapter()->PrevWndProc;
    ListAdapter()->PrevWndProc = CountingProc;
    received = &counted;
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    if (ListAdapter() && counted.Previous) ListAdapter()->PrevWndProc = counted.Previous;
    received = nullptr;
    if (dialog) DestroyWindow(dialog);
    pumpFor(20);
    manager->SetActive(false);
    manager.reset();
  }

  TacScrollWnd* ListAdapter() const { return dynamic_cast<TacScrollWnd*>(AdapterOfWindow(list)); }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"строка"));
  }
  RECT VertBarOnScreen() const { return ListAdapter()->BarRect(*ListAdapter()->VertBar); }
  // The bar's rectangle inside the window's own picture.
  RECT VertBarInWindow() const {
    RECT bar = VertBarOnScreen(), window;
    GetWindowRect(list, &window);
    OffsetRect(&bar, -window.left, -window.top);
    return bar;
  }
  std::vector<WORD> ScrollCodes() const {
    std::vector<WORD> codes;
    for (auto& s : counted.Scrolls) codes.push_back(s.first);
    return codes;
  }

  std::unique_ptr<TsSkinManager> manager;
  HWND dialog = nullptr, list = nullptr;
  Received counted;
};

TEST_F(ScrollAdapterTest, EachChildGetsItsAdapterAndARealScrollBarIsNoSizeGrip) {
  ASSERT_NE(ListAdapter(), nullptr);
  EXPECT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(list)), nullptr) << "list box";
  EXPECT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(GetDlgItem(dialog, kEditId))), nullptr) << "edit";
  EXPECT_NE(dynamic_cast<TacComboBoxWnd*>(AdapterOfWindow(GetDlgItem(dialog, kComboId))), nullptr) << "combo box";
  EXPECT_EQ(AdapterOfWindow(GetDlgItem(dialog, kBarId)), nullptr) << "a real scroll bar keeps its own look";
  const struct {
    DWORD Style;
    DialogChildKind Kind;
  } bars[] = {{SBS_VERT, DialogChildKind::None},
              {SBS_HORZ, DialogChildKind::None},
              {SBS_SIZEGRIP, DialogChildKind::SizeGrip},
              {SBS_SIZEBOX, DialogChildKind::SizeGrip}};
  for (const auto& b : bars) EXPECT_EQ(ClassifyDialogChild("scrollbar", b.Style, true).Kind, b.Kind) << b.Style;
  // Clicking the real bar scrolls nothing of the dialog and does not size it.
  HWND bar = GetDlgItem(dialog, kBarId);
  RECT r;
  GetWindowRect(bar, &r);
  EXPECT_EQ(SendMessageW(bar, WM_NCHITTEST, 0, ScreenParam(Centre(r))), HTCLIENT);
}

TEST_F(ScrollAdapterTest, AListBoxShowsTheSkinnedBarAtOnceAndAnswersTheHitTest) {
  // Filled without a message pumped: whatever the list drew of its own bar is painted over.
  Fill(100);
  TacScrollWnd* adapter = ListAdapter();
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  const RECT bar = VertBarInWindow();
  const int arrow = PlainArrowLength(*adapter->VertBar);
  const int x = (bar.left + bar.right) / 2;
  auto expectBar = [&](const Image& picture, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(picture.at(bar.left, bar.top), ss::Rim[0]) << "the first arrow's rim";
    EXPECT_EQ(picture.at(x, bar.top + arrow / 2), ss::Glyph[0]) << "its glyph";
    EXPECT_EQ(picture.at(x, bar.bottom - 1 - arrow / 2), ss::Glyph[0]) << "the second arrow's glyph";
    const ThumbSpan thumb = ThumbGeometry(*adapter->VertBar, bar);
    EXPECT_EQ(picture.at(x, thumb.Start + thumb.Size / 2), ss::Thumb) << "the thumb's face";
    EXPECT_EQ(picture.at(x, (thumb.Start + thumb.Size + bar.bottom - arrow) / 2), ss::Track2) << "the track after it";
  };
  expectBar(captureWindow(list), "at once, in the window");

  SendMessageW(list, LB_SETTOPINDEX, 60, 0);
  const Image moved = captureWindow(list);
  adapter->VertBar->ReadInfo(list);
  const ThumbSpan thumb = ThumbGeometry(*adapter->VertBar, bar);
  EXPECT_GT(thumb.Start, bar.top + arrow + 20);
  EXPECT_EQ(moved.at(x, thumb.Start + thumb.Size / 2), ss::Thumb) << "the thumb followed LB_SETTOPINDEX at once";
  EXPECT_EQ(moved.at(x, bar.top + arrow + 5), ss::Track1) << "the track before the thumb";

  pumpFor(100);
  expectBar(captureScreenOf(list), "on the screen");
  saveScreenshot(dialog, "skinned_list_box");

  RECT screenBar = VertBarOnScreen(), client;
  EXPECT_EQ(SendMessageW(list, WM_NCHITTEST, 0, ScreenParam(Centre(screenBar))), HTVSCROLL);
  GetClientRect(list, &client);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(SendMessageW(list, WM_NCHITTEST, 0, ScreenParam(Centre(client))), HTCLIENT);
}

TEST_F(ScrollAdapterTest, HoldingAnArrowStepsOnceThenRepeatsAndPausesOffTheArrow) {
  Fill(100);
  const RECT bar = VertBarOnScreen();
  const int arrow = PlainArrowLength(*ListAdapter()->VertBar);
  const POINT onArrow{(bar.left + bar.right) / 2, bar.bottom - arrow / 2};
  SetCursorPos(onArrow.x, onArrow.y);
  pumpFor(30);
  counted.Scrolls.clear();
  counted.Timers.clear();
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(onArrow));
  EXPECT_EQ(ScrollCodes(), std::vector<WORD>{SB_LINEDOWN}) << "one step at once";
  EXPECT_EQ(ScrollState.ShownPart, spSecondArrow);
  EXPECT_EQ(GetCapture(), list);

  // The window's own timer still reaches it, once a tick; the bar's timers never do.
  PostMessageW(list, WM_TIMER, 77, 0);
  PostMessageW(list, WM_TIMER, 77, 0);
  ASSERT_TRUE(pumpUntil([&] { return counted.Scrolls.size() >= 5; }, 3000));
  EXPECT_EQ(std::count(counted.Timers.begin(), counted.Timers.end(), UINT_PTR{77}), 2);
  for (UINT_PTR id : counted.Timers) EXPECT_TRUE(id == 77 || id < 0xFFF0) << id;
  for (WORD code : ScrollCodes()) EXPECT_EQ(code, SB_LINEDOWN);

  // The steps come from the repeat timers: the first (300 ms) once, then the fast one.
  const size_t before = counted.Scrolls.size();
  SendMessageW(list, WM_TIMER, kScrollRepeatTimer, 0);
  EXPECT_EQ(counted.Scrolls.size(), before + 1);

  // Off the arrow the repeat pauses and the arrow shows unpressed; back on, it goes on.
  SetCursorPos(onArrow.x, bar.top - 30);
  pumpFor(30);
  const size_t paused = counted.Scrolls.size();
  SendMessageW(list, WM_TIMER, kScrollRepeatTimer, 0);
  pumpFor(200);
  EXPECT_EQ(counted.Scrolls.size(), paused);
  EXPECT_EQ(ScrollState.ShownPart, spNone);
  SetCursorPos(onArrow.x, onArrow.y);
  ASSERT_TRUE(pumpUntil([&] { return counted.Scrolls.size() > paused; }, 2000));

  SendMessageW(list, WM_LBUTTONUP, 0, ClientParam(list, onArrow));
  ASSERT_FALSE(counted.Scrolls.empty());
  EXPECT_EQ(counted.Scrolls.back(), (std::pair<WORD, WORD>{SB_ENDSCROLL, 0}));
  EXPECT_NE(GetCapture(), list);
  const size_t released = counted.Scrolls.size();
  pumpFor(150);
  EXPECT_EQ(counted.Scrolls.size(), released) << "no step after the release";
}

TEST_F(ScrollAdapterTest, ASkinLetGoWhileAnArrowIsHeldLeavesNoRepeatTicking) {
  Fill(100);
  const RECT bar = VertBarOnScreen();
  const POINT onArrow{(bar.left + bar.right) / 2, bar.bottom - PlainArrowLength(*ListAdapter()->VertBar) / 2};
  SetCursorPos(onArrow.x, onArrow.y);
  pumpFor(30);
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(onArrow));
  ASSERT_EQ(ScrollState.ShownPart, spSecondArrow);
  ListAdapter()->Detach(false);
  // The window's own procedure is the counting one again: it would see the bar's timers.
  counted.Timers.clear();
  pumpFor(450);
  for (UINT_PTR id : counted.Timers) EXPECT_LT(id, 0xFFF0u) << "a bar timer still ticks";
  EXPECT_NE(GetCapture(), list);
  EXPECT_EQ(ScrollState.HotWnd, nullptr);
  SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counted.Previous));
  counted.Previous = nullptr;
}

TEST_F(ScrollAdapterTest, AHoveredArrowLightsUpUntilTheCursorLeavesTheBar) {
  Fill(100);
  const RECT bar = VertBarOnScreen(), inWindow = VertBarInWindow();
  const int arrow = PlainArrowLength(*ListAdapter()->VertBar);
  const POINT onArrow{(bar.left + bar.right) / 2, bar.top + arrow / 2};
  SetCursorPos(onArrow.x, onArrow.y);
  SendMessageW(list, WM_NCMOUSEMOVE, HTVSCROLL, ScreenParam(onArrow));
  SendMessageW(list, WM_TIMER, kScrollHoverTimer, 0);
  EXPECT_EQ(ScrollState.HoverPart, spFirstArrow);
  EXPECT_EQ(captureWindow(list).at(inWindow.left, inWindow.top), ss::Rim[1]) << "hot";
  EXPECT_EQ(captureWindow(list).at(inWindow.left, inWindow.bottom - 1), ss::Rim[0]) << "the other arrow stays";

  SetCursorPos(bar.left - 40, onArrow.y);
  SendMessageW(list, WM_TIMER, kScrollHoverTimer, 0);
  EXPECT_EQ(ScrollState.HoverBar, -1);
  EXPECT_EQ(captureWindow(list).at(inWindow.left, inWindow.top), ss::Rim[0]) << "normal again";
}

TEST_F(ScrollAdapterTest, DraggingTheThumbToEitherEndReportsTheLastValidPositions) {
  Fill(100);
  TacScrollWnd* adapter = ListAdapter();
  const RECT bar = VertBarOnScreen();
  adapter->VertBar->ReadInfo(list);
  const SCROLLINFO si = adapter->VertBar->Info;
  ASSERT_GT(si.nPage, 1u);
  const int last = si.nMax - static_cast<int>(si.nPage) + 1;
  const ThumbSpan thumb = ThumbGeometry(*adapter->VertBar, bar);
  const POINT grab{(bar.left + bar.right) / 2, thumb.Start + thumb.Size / 2};
  counted.Scrolls.clear();
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(grab));
  EXPECT_TRUE(adapter->ThumbTracking);
  for (int y = grab.y; y <= bar.bottom + 40; y += 15)
    SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(list, {grab.x, y}));
  // The list redrew its own bar as it scrolled; the dragged thumb is on top, pressed.
  const RECT inWindow = VertBarInWindow();
  const int arrow = PlainArrowLength(*adapter->VertBar);
  const Image dragged = captureWindow(list);
  EXPECT_EQ(dragged.at((inWindow.left + inWindow.right) / 2, inWindow.bottom - arrow - thumb.Size / 2), ss::HotThumb);
  SendMessageW(list, WM_LBUTTONUP, 0, ClientParam(list, {grab.x, bar.bottom + 40}));
  EXPECT_FALSE(adapter->ThumbTracking);

  std::vector<WORD> tracks;
  for (auto& s : counted.Scrolls)
    if (s.first == SB_THUMBTRACK) tracks.push_back(s.second);
  ASSERT_FALSE(tracks.empty());
  EXPECT_EQ(tracks.back(), last) << "the end of the drag is the last valid position";
  EXPECT_TRUE(std::adjacent_find(tracks.begin(), tracks.end()) == tracks.end()) << "sent only on a change";
  for (WORD p : tracks) EXPECT_LE(p, last);
  ASSERT_GE(counted.Scrolls.size(), 2u);
  EXPECT_EQ(counted.Scrolls[counted.Scrolls.size() - 2], (std::pair<WORD, WORD>{SB_THUMBPOSITION, WORD(last)}));
  EXPECT_EQ(counted.Scrolls.back(), (std::pair<WORD, WORD>{SB_ENDSCROLL, WORD(last)}));
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), last);

  // And back to the top: nMin.
  adapter->VertBar->ReadInfo(list);
  const ThumbSpan end = ThumbGeometry(*adapter->VertBar, bar);
  const POINT grabEnd{grab.x, end.Start + end.Size / 2};
  counted.Scrolls.clear();
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenParam(grabEnd));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(list, {grab.x, bar.top - 50}));
  SendMessageW(list, WM_LBUTTONUP, 0, ClientParam(list, {grab.x, bar.top - 50}));
  ASSERT_GE(counted.Scrolls.size(), 3u);
  EXPECT_EQ(counted.Scrolls.front(), (std::pair<WORD, WORD>{SB_THUMBTRACK, WORD(si.nMin)}));
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), si.nMin);
}

TEST_F(ScrollAdapterTest, AnEditKeepsCharactersTypedOutsideTheAnsiCodePage) {
  HWND edit = GetDlgItem(dialog, kEditId);
  ASSERT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(edit)), nullptr);
  EXPECT_TRUE(IsWindowUnicode(edit));
  SetFocus(edit);
  const std::wstring typed = L"\u4E2D\u6587\u540D \u0416.txt";
  for (wchar_t c : typed) PostMessageW(edit, WM_CHAR, c, 1);
  pumpFor(50);
  wchar_t back[64] = {};
  GetWindowTextW(edit, back, 64);
  EXPECT_EQ(std::wstring(back), typed);
}

TEST_F(ScrollAdapterTest, ACombosDropListGetsItsAdapterWhenItDropsDown) {
  HWND combo = GetDlgItem(dialog, kComboId);
  for (int i = 0; i < 30; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"пункт"));
  auto* adapter = dynamic_cast<TacComboBoxWnd*>(AdapterOfWindow(combo));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter->ListAdapter, nullptr) << "no list adapter before the list was opened";
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(pumpUntil([&] { return adapter->ListAdapter != nullptr; }, 2000));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  EXPECT_EQ(adapter->ListWnd, info.hwndList);
  EXPECT_EQ(AdapterOfWindow(info.hwndList), adapter->ListAdapter.get());
  EXPECT_TRUE(adapter->ListAdapter->VertBar->Visible) << "30 items need the skinned bar";
  saveScreenshot(info.hwndList, "skinned_combo_list");
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  pumpFor(30);
}

// The drop button is the skin's COMBOBTN with the combo's arrow glyph in its middle; a focused
// drop-down list prints its text on the highlight from the top of its field, as the control
// itself draws it, not centred in a tall field.
TEST_F(ScrollAdapterTest, ADropListShowsTheSkinnedButtonAndPrintsItsTextFromTheTopOfTheField) {
  HWND combo = GetDlgItem(dialog, kComboId);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"ЖЖЖЖ"));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 40);
  auto* adapter = dynamic_cast<TacComboBoxWnd*>(AdapterOfWindow(combo));
  ASSERT_NE(adapter, nullptr);
  RECT window;
  GetWindowRect(combo, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  SetCursorPos(window.left - 60, window.bottom + 60);
  // Right to left reading, the button is at the left edge and the text right of it.
  for (bool rtl : {false, true}) {
    SCOPED_TRACE(rtl);
    SetFocus(GetDlgItem(dialog, kEditId));
    if (rtl) SetWindowLongPtrW(combo, GWL_EXSTYLE, GetWindowLongPtrW(combo, GWL_EXSTYLE) | WS_EX_RTLREADING);
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    pumpFor(30);
    ASSERT_EQ(adapter->DropButtonState(), 0);

    const RECT button = adapter->DropButtonBounds();
    EXPECT_EQ(rtl ? button.left : button.right, rtl ? 2 : width - 2);
    const Image shown = captureWindow(combo);
    EXPECT_EQ(shown.at(button.left, button.top), ss::Rim[0]) << "the button's rim";
    EXPECT_EQ(shown.at(button.left + ss::RimWidth, button.top + ss::RimWidth), ss::ComboBtn) << "its face";
    const int glyphX = button.left + (button.right - button.left - ss::GlyphSize) / 2;
    EXPECT_EQ(shown.at(glyphX + 2, (height - ss::GlyphSize) / 2 + 2), ss::Glyph[0]) << "the arrow in its middle";

    SetFocus(combo);
    pumpFor(20);
    ASSERT_EQ(GetFocus(), combo);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(combo, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_NONCLIENT);
    SelectObject(memory, old);
    DeleteDC(memory);
    const Image printed = captureBitmap(bitmap);
    DeleteObject(bitmap);

    const RECT field = rtl ? RECT{button.right, 3, width - 3, height - 3} : RECT{3, 3, button.left, height - 3};
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(printed.at(field.left + 1, field.bottom - 2), highlight) << "the field is on the highlight";
    int firstInk = -1, lastInk = -1;
    for (int y = field.top + 1; y < field.bottom - 1; ++y)
      for (int x = field.left + 1; x < field.right - 1; ++x)
        if (printed.at(x, y) != highlight) {
          if (firstInk < 0) firstInk = y;
          lastInk = y;
        }
    ASSERT_GE(firstInk, 0) << "the text is printed";
    EXPECT_LE(firstInk, field.top + 6) << "the text starts at the top of the field";
    EXPECT_LT(lastInk, (field.top + field.bottom) / 2) << "and is not centred in it";
    EXPECT_EQ(printed.at(button.left + ss::RimWidth, button.top + ss::RimWidth), ss::ComboBtn)
        << "the print carries the button";
  }
}

}  // namespace
}  // namespace efir::test

// Controls on a real window: mouse routing to graphic controls, keys with key preview, and
// the standard controls' properties and events.
#include "framework/image.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "framework/text_encoding.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using efir::test::At;
using efir::test::UiTest;
using UiControls = UiTest;

std::string WindowText(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return efir::text::toAnsi(text);
}

TEST_F(UiControls, AClickOnAPictureRaisesItsEventsInItsOwnCoordinates) {
  TForm* form = NewForm();
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(50, 40, 100, 80);
  std::vector<std::string> log;
  image->OnMouseDown = [&](TObject* sender, TMouseButton button, TShiftState, int x, int y) {
    EXPECT_EQ(sender, image);
    log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  };
  image->OnClick = [&](TObject*) { log.push_back("click"); };
  image->OnDblClick = [&](TObject*) { log.push_back("double"); };

  HWND h = form->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(60, 45));
  SendMessageW(h, WM_LBUTTONUP, 0, At(61, 46));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,5", "click", "up 11,6"}));

  // Released outside: no click. Pressed outside: nothing at all.
  log.clear();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(60, 45));
  SendMessageW(h, WM_LBUTTONUP, 0, At(300, 200));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageW(h, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,5", "up 250,160"}));

  log.clear();
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(70, 50));
  EXPECT_EQ(log, (std::vector<std::string>{"double", "down 0 20,10"}));
  image->OnClick = nullptr;  // an unset event is simply not raised
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(60, 45));
  SendMessageW(h, WM_LBUTTONUP, 0, At(60, 45));
}

TEST_F(UiControls, TheMouseEntersAndLeavesGraphicControls) {
  TForm* form = NewForm();
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(10, 10, 80, 20);
  std::vector<std::string> log;
  label->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
  label->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
  HWND h = form->Handle();
  SendMessageW(h, WM_MOUSEMOVE, 0, At(200, 200));
  SendMessageW(h, WM_MOUSEMOVE, 0, At(20, 15));
  SendMessageW(h, WM_MOUSEMOVE, 0, At(25, 15));
  SendMessageW(h, WM_MOUSEMOVE, 0, At(200, 15));
  SendMessageW(h, WM_MOUSEMOVE, 0, At(20, 15));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave", "enter", "leave"}));
}

TEST_F(UiControls, KeyPreviewShowsTheFormEveryKeyFirst) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  std::vector<std::string> log;
  form->OnKeyPress = [&](TObject*, char& key) {
    log.push_back(std::string("form ") + key);
    if (key == 'x') key = 0;  // consumed: the edit never sees it
  };
  form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { log.push_back("form down " + std::to_string(key)); };
  edit->OnKeyPress = [&](TObject*, char& key) { log.push_back(std::string("edit ") + key); };

  HWND e = edit->Handle();
  SendMessageW(e, WM_CHAR, L'a', 0);
  EXPECT_EQ(log, std::vector<std::string>{"edit a"}) << "no preview: the form sees nothing";

  form->SetKeyPreview(true);
  log.clear();
  SendMessageW(e, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(e, WM_CHAR, L'b', 0);
  SendMessageW(e, WM_CHAR, L'x', 0);
  SendMessageW(e, WM_CHAR, L'ы', 0);
  EXPECT_EQ(log, (std::vector<std::string>{"form down 38", "form b", "edit b", "form x", "form ы", "edit ы"}));
  std::string typed = edit->Text();
  std::string expected = "abы";
  std::sort(typed.begin(), typed.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(typed, expected) << "every key but the consumed x reached the edit";
}

TEST_F(UiControls, TrackBarClampsItsPositionAndReportsEveryChange) {
  TForm* form = NewForm();
  auto* bar = new TTrackBar(form);
  bar->SetParent(form);
  bar->SetMax(100);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  struct Case { int set, expected, changes; };
  for (Case c : {Case{10, 10, 1}, Case{10, 10, 0}, Case{150, 100, 1}, Case{101, 100, 0},
                 Case{-5, 0, 1}}) {
    changes = 0;
    bar->SetPosition(c.set);
    EXPECT_EQ(bar->Position(), c.expected) << "set " << c.set;
    EXPECT_EQ(changes, c.changes) << "set " << c.set;
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0), c.expected);
  }
  changes = 0;
  bar->SetPosition(80);
  bar->SetMax(50);  // a smaller range takes the position with it
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(changes, 2);

  // The user moves a vertical bar.
  bar->SetOrientation(trVertical);
  EXPECT_EQ(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & TBS_VERT, TBS_VERT);
  changes = 0;
  SendMessageW(bar->Handle(), TBM_SETPOS, TRUE, 30);
  SendMessageW(form->Handle(), WM_VSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_EQ(changes, 1);
}

TEST_F(UiControls, CheckBoxRaisesOnClickFromItsSetterAndFromTheUser) {
  TForm* form = NewForm();
  auto* box = new TCheckBox(form);
  box->SetParent(form);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
}

TEST_F(UiControls, AButtonWithAModalResultEndsItsModalForm) {
  TForm* owner = NewForm();
  auto* dialog = efir::Construct<TForm>(owner);
  dialog->SetBorderStyle(bsNone);
  dialog->SetBounds(60, 60, 160, 80);
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  bool clicked = false;
  ok->OnClick = [&](TObject*) { clicked = true; };
  Application.QueueCall([&] { SendMessageW(ok->Handle(), BM_CLICK, 0, 0); });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

TEST_F(UiControls, EditTextAndCaret) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetText("Радио Рекорд");
  EXPECT_EQ(WindowText(edit->Handle()), "Радио Рекорд");
  EXPECT_EQ(changes, 1);
  edit->SetSelStart(5);
  EXPECT_EQ(edit->SelStart(), 5);
  SetWindowTextW(edit->Handle(), L"Европа Плюс");  // as if typed
  EXPECT_EQ(edit->Text(), "Европа Плюс");
  edit->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(UiControls, MemoLinesAndComboItemsReachTheirWindows) {
  TForm* form = NewForm();
  auto* memo = new TMemo(form);
  memo->SetParent(form);
  memo->Lines().Add("one");
  memo->Lines().Add("два");
  EXPECT_EQ(memo->Text(), "one\r\nдва");
  Application.ProcessMessages();
  EXPECT_EQ(WindowText(memo->Handle()), "one\r\nдва");
  SendMessageW(memo->Handle(), EM_SETSEL, 1000, 1000);
  SendMessageW(memo->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r\nc"));  // typed
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(memo->Lines()[0], "one");
  EXPECT_EQ(memo->Lines()[2], "c");

  auto* combo = new TComboBox(form);
  combo->SetParent(form);
  combo->SetTop(100);
  for (const char* level : {"L - 7%", "M - 15%", "Q - 25%", "H - 30%"}) combo->Items().Add(level);
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "Q - 25%");
  std::vector<int> selected;
  combo->OnSelect = [&](TObject*) { selected.push_back(combo->ItemIndex()); };
  SendMessageW(combo->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(selected, std::vector<int>{1});
  EXPECT_EQ(combo->Text(), "M - 15%");
}

TEST_F(UiControls, APopupMenuItemsClickRunsAfterTheMenuCloses) {
  TForm* form = NewForm();
  TPopupMenu menu(nullptr);
  auto* hidden = new TMenuItem(&menu);
  hidden->SetCaption("Медиа-Поиск");
  auto* copy = new TMenuItem(&menu);
  copy->SetCaption("Скопировать название в буфер");
  menu.Items()->Add(hidden);
  menu.Items()->Add(copy);
  std::vector<std::string> log;
  menu.OnPopup = [&](TObject*) {
    log.push_back("popup");
    hidden->SetVisible(false);
  };
  copy->OnClick = [&](TObject*) { log.push_back("copy"); };
  // Choose the first visible item with the keyboard while the menu's own loop runs.
  HWND active = form->Handle();
  SetActiveWindow(active);
  PostMessageW(active, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(active, WM_KEYDOWN, VK_RETURN, 0);
  menu.Popup(100, 100);
  log.push_back("returned");
  Application.ProcessMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"popup", "returned", "copy"}));

  delete copy;  // a freed item leaves its menu
  EXPECT_EQ(menu.Items()->Count(), 1);
}

TEST_F(UiControls, ARightClickOnAGraphicControlOpensItsPopupMenu) {
  TForm* form = NewForm();
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(10, 10, 100, 20);
  auto* menu = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("Добавить в избранное");
  menu->Items()->Add(item);
  label->SetPopupMenu(menu);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  SetActiveWindow(form->Handle());
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(20, 15));
  SendMessageW(form->Handle(), WM_RBUTTONUP, 0, At(20, 15));
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu->PopupComponent(), label);

  menu->Free();  // the label forgets a freed menu
  EXPECT_EQ(label->PopupMenu(), nullptr);
}

TEST_F(UiControls, FreeingAParentFreesItsControlsAndTheyLeaveTheirOwner) {
  TForm* form = NewForm();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* inner = new TButton(form);
  inner->SetParent(panel);
  HWND button = inner->Handle();
  ASSERT_EQ(form->ComponentCount(), 2);
  panel->Free();
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_FALSE(IsWindow(button));
}

}  // namespace

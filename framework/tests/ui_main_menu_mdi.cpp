// The main menu bar of a form (built from the items, rebuilt when they change, a choice runs
// the item's OnClick) and MDI forms (children inside the parent's client window, the
// system's MDI commands reaching the client through the parent).
#include "framework/exceptions.h"
#include "framework/main_menu.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

namespace {

using UiMainMenuMdi = efir::test::UiTest;

TForm* NewHiddenForm(TFormStyle style, TComponent* owner = nullptr) {
  auto* form = efir::Construct<TForm>(owner);
  form->SetFormStyle(style);
  form->SetBounds(40, 40, 300, 220);
  return form;
}

TEST_F(UiMainMenuMdi, TheBarFollowsTheItemsAndAChoiceRunsTheItem) {
  TForm* form = NewHiddenForm(fsNormal);
  auto* menu = new TMainMenu(form);
  auto* file = new TMenuItem(form);
  file->SetCaption("&Файл");
  auto* quit = new TMenuItem(form);
  quit->SetCaption("Выход");
  int clicks = 0;
  quit->OnClick = [&](TObject*) { ++clicks; };
  file->Add(quit);
  menu->Items()->Add(file);
  form->SetMenu(menu);
  form->Show();
  HMENU bar = GetMenu(form->Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(menu->Handle(), bar);
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  const UINT id = GetMenuItemID(GetSubMenu(bar, 0), 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(clicks, 1);

  auto* view = new TMenuItem(form);
  view->SetCaption("&Вид");
  menu->Items()->Add(view);
  EXPECT_EQ(GetMenuItemCount(GetMenu(form->Handle())), 2) << "an added item shows at once";
  view->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(GetMenu(form->Handle())), 1);
  menu->Free();
  EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "a freed menu leaves the form";
  EXPECT_EQ(form->Menu(), nullptr);
  form->Free();
}

TEST_F(UiMainMenuMdi, ChildrenLiveInTheParentsClientWindow) {
  TForm* orphan = NewHiddenForm(fsMDIChild);
  EXPECT_THROW(orphan->HandleNeeded(), Exception) << "a child needs an MDI parent";
  orphan->Free();
  TForm* parent = NewHiddenForm(fsMDIForm);
  parent->Show();
  HWND client = parent->ClientHandle();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(GetParent(client), parent->Handle());
  TForm* first = NewHiddenForm(fsMDIChild, parent);
  TForm* second = NewHiddenForm(fsMDIChild, parent);
  first->Show();
  second->Show();
  EXPECT_EQ(GetParent(first->Handle()), client);
  EXPECT_TRUE(GetWindowLongPtrW(first->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(parent->MDIChildCount(), 2);
  EXPECT_EQ(parent->ActiveMDIChild(), second);

  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second->Handle()), 0);
  EXPECT_TRUE(IsZoomed(second->Handle()));
  RECT inside, child;
  GetClientRect(client, &inside);
  GetClientRect(second->Handle(), &child);
  EXPECT_GE(child.right, inside.right) << "a maximized child fills the client";
  SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
  EXPECT_EQ(parent->ActiveMDIChild(), first);

  first->Free();
  EXPECT_EQ(parent->MDIChildCount(), 1) << "a freed child leaves the client's list";
  EXPECT_EQ(parent->ActiveMDIChild(), second);
  parent->Free();
}

// Items with these groups; a negative group marks an invisible item.
TMenuItem* ItemsOfGroups(TComponent* owner, const std::string& prefix, const std::vector<int>& groups) {
  auto* root = new TMenuItem(owner);
  for (size_t i = 0; i < groups.size(); ++i) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(prefix + std::to_string(i));
    item->SetGroupIndex(groups[i] < 0 ? -groups[i] : groups[i]);
    item->SetVisible(groups[i] >= 0);
    root->Add(item);
  }
  return root;
}

TEST(MergedBarItems, ChildItemsReplaceTheirGroupAndFitBetweenTheOthers) {
  struct Case {
    std::vector<int> parent, child;
    std::string bar;
  } cases[] = {
      {{0, 1, 2}, {}, "p0 p1 p2"},
      {{0, 1, 5}, {1}, "p0 c0 p2"},           // the child's group 1 replaces the parent's
      {{0, 1, 1, 5}, {1, 1}, "p0 c0 c1 p3"},  // every parent item of the group goes
      {{0, 5}, {2, 3}, "p0 c0 c1 p1"},        // groups the parent lacks go between
      {{0, 5}, {7, 9}, "p0 p1 c0 c1"},        // higher groups go after the last item
      {{3}, {0, 3}, "c0 c1"},
      {{0, -1, 5}, {-1, 2}, "p0 c1 p2"},      // invisible items take no part
  };
  for (const Case& c : cases) {
    auto* owner = efir::Construct<TComponent>(nullptr);
    TMenuItem* parent = ItemsOfGroups(owner, "p", c.parent);
    TMenuItem* child = ItemsOfGroups(owner, "c", c.child);
    std::string bar;
    for (const TMenuItem* item : efir::MergedBarItems(*parent, c.child.empty() ? nullptr : child))
      bar += (bar.empty() ? "" : " ") + item->Caption();
    EXPECT_EQ(bar, c.bar) << "child groups " << ::testing::PrintToString(c.child);
    owner->Free();
  }
}

std::vector<std::wstring> BarTexts(HWND wnd) {
  std::vector<std::wstring> texts;
  HMENU bar = GetMenu(wnd);
  for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
    wchar_t text[64]{};
    if (GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION) > 0) texts.emplace_back(text);
  }
  return texts;
}

TEST_F(UiMainMenuMdi, TheActiveChildsMenuShowsInTheParentsBar) {
  TForm* parent = NewHiddenForm(fsMDIForm);
  auto* parentMenu = new TMainMenu(parent);
  for (int g : {0, 1, 9}) {
    auto* item = new TMenuItem(parent);
    item->SetCaption("p" + std::to_string(g));
    item->SetGroupIndex(g);
    parentMenu->Items()->Add(item);
  }
  parent->SetMenu(parentMenu);
  parent->Show();
  TForm* withMenu = NewHiddenForm(fsMDIChild, parent);
  auto* childMenu = new TMainMenu(withMenu);
  auto* edit = new TMenuItem(withMenu);
  edit->SetCaption("c1");
  edit->SetGroupIndex(1);
  int clicks = 0;
  edit->OnClick = [&](TObject*) { ++clicks; };
  childMenu->Items()->Add(edit);
  withMenu->SetMenu(childMenu);
  TForm* plain = NewHiddenForm(fsMDIChild, parent);
  plain->Show();
  EXPECT_EQ(BarTexts(parent->Handle()), (std::vector<std::wstring>{L"p0", L"p1", L"p9"}));

  withMenu->Show();
  EXPECT_EQ(BarTexts(parent->Handle()), (std::vector<std::wstring>{L"p0", L"c1", L"p9"}))
      << "the active child's item replaces the parent's of its group";
  SendMessageW(parent->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(GetMenu(parent->Handle()), 1), 0), 0);
  EXPECT_EQ(clicks, 1) << "choosing the merged item runs the child's item";

  auto* more = new TMenuItem(withMenu);
  more->SetCaption("c5");
  more->SetGroupIndex(5);
  childMenu->Items()->Add(more);
  EXPECT_EQ(BarTexts(parent->Handle()), (std::vector<std::wstring>{L"p0", L"c1", L"c5", L"p9"}))
      << "a change of the child's menu shows at once";

  SendMessageW(parent->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(withMenu->Handle()), 0);
  const int maximized = GetMenuItemCount(GetMenu(parent->Handle()));
  EXPECT_GT(maximized, 4) << "the maximized child's icon and buttons join the bar";
  more->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(GetMenu(parent->Handle())), maximized - 1)
      << "a rebuilt bar keeps the maximized child's icon and buttons";
  more->SetVisible(true);
  SendMessageW(parent->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(withMenu->Handle()), 0);

  SendMessageW(parent->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(plain->Handle()), 0);
  EXPECT_EQ(BarTexts(parent->Handle()), (std::vector<std::wstring>{L"p0", L"p1", L"p9"}))
      << "a child without a menu leaves the parent's bar alone";
  SendMessageW(parent->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(withMenu->Handle()), 0);
  EXPECT_EQ(BarTexts(parent->Handle()).size(), 4u);
  withMenu->Free();
  EXPECT_EQ(BarTexts(parent->Handle()), (std::vector<std::wstring>{L"p0", L"p1", L"p9"}))
      << "a freed child's items leave the bar";
  parent->Free();
}

}  // namespace

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

}  // namespace

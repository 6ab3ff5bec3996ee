// The window menu of a skinned form: made from the form's own window menu, with the items
// the program added to it, shown and enabled by the form's border and state.
#include <gtest/gtest.h>

#include "framework/forms.h"
#include "framework/tests/ui_fixture.h"
#include "framework/menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/system_menu.h"

namespace efir::test {
namespace {

class FormSystemMenu : public UiTest {
 protected:
  TForm* SizeableForm() {
    TForm* form = NewForm();
    form->SetBorderStyle(bsSizeable);
    return form;
  }
  static std::vector<std::string> Captions(const TsSystemMenu& menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < menu.Items()->Count(); ++i) captions.push_back(menu.Items()->Items(i)->Caption());
    return captions;
  }
};

TEST_F(FormSystemMenu, AnItemTheProgramAddedSitsBetweenMaximizeAndClose) {
  TForm* form = SizeableForm();
  HMENU windowMenu = GetSystemMenu(form->Handle(), FALSE);
  ASSERT_TRUE(windowMenu);
  AppendMenuW(windowMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(windowMenu, MF_STRING, 0x120, L"Поверх всех\tCtrl+T");
  TsSystemMenu menu(nullptr, form);
  EXPECT_EQ(menu.Name(), "SysMenu");
  ASSERT_EQ(menu.ExtraItemCount, 1);
  const std::vector<std::string> captions = Captions(menu);
  ASSERT_EQ(captions.size(), 9u);
  EXPECT_EQ(menu.Items()->Items(4), menu.acIX);
  EXPECT_EQ(captions[5], "-");
  TMenuItem* added = menu.Items()->Items(6);
  EXPECT_EQ(added->Caption(), "Поверх всех");
  EXPECT_EQ(added->Tag(), 0x120);
  EXPECT_EQ(added->ShortCut(), ShortCut('T', scCtrl));
  EXPECT_EQ(captions[7], "-");
  EXPECT_EQ(menu.Items()->Items(8), menu.acIC);
  EXPECT_EQ(menu.acIC->Tag(), static_cast<intptr_t>(SC_CLOSE));
  EXPECT_EQ(menu.acIC->ShortCut(), ShortCut(VK_F4, scAlt)) << "from the text after the tab";
  // The standard captions are the window menu's own, without their shortcut text.
  const SystemMenuText close = ReadSystemMenuText(windowMenu, SC_CLOSE, MF_BYCOMMAND);
  EXPECT_EQ(menu.acIC->Caption(), close.Caption);

  // Choosing the added item posts its command to the form.
  added->Click();
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, form->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(posted.wParam, 0x120u);
}

TEST_F(FormSystemMenu, WithoutProgramItemsOneSeparatorAndAFormWithoutMenuGivesNone) {
  TForm* form = SizeableForm();
  TsSystemMenu menu(nullptr, form);
  EXPECT_EQ(menu.ExtraItemCount, 0);
  EXPECT_EQ(Captions(menu).size(), 7u);
  menu.Form = nullptr;
  menu.MakeItems();
  EXPECT_EQ(menu.Items()->Count(), 0);
  EXPECT_EQ(menu.acIC, nullptr);
}

TEST_F(FormSystemMenu, ItemsFollowTheBorderAndTheState) {
  TForm* form = SizeableForm();
  TsSystemMenu menu(nullptr, form);
  struct Case {
    TFormBorderStyle Border;
    TBorderIcons Icons;
    bool Restore, Size, SizeEnabled, Min, Max, MaxEnabled;
  } cases[] = {
      {bsSizeable, biSystemMenu | biMinimize | biMaximize, true, true, true, true, true, true},
      {bsSingle, biSystemMenu | biMinimize, true, true, false, true, false, false},
      {bsDialog, biSystemMenu | biMinimize | biMaximize, false, false, true, false, false, false},
      {bsToolWindow, biSystemMenu, false, false, true, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Border));
    form->SetBorderStyle(c.Border);
    form->SetBorderIcons(c.Icons);
    menu.UpdateItems(true);
    EXPECT_EQ(menu.acIR->Visible(), c.Restore);
    EXPECT_FALSE(menu.acIR->Enabled()) << "a normal window has nothing to restore";
    EXPECT_EQ(menu.acIS->Visible(), c.Size);
    EXPECT_EQ(menu.acIS->Enabled(), c.SizeEnabled);
    EXPECT_EQ(menu.acIN->Visible(), c.Min);
    EXPECT_EQ(menu.acIX->Visible(), c.Max);
    EXPECT_EQ(menu.acIX->Enabled(), c.MaxEnabled);
    EXPECT_TRUE(menu.acIM->Enabled());
    EXPECT_TRUE(menu.acIC->Visible());
  }
  // Without a system menu managed by the skinning there is no Close to offer.
  menu.SysMenuStyleRemoved = false;
  menu.UpdateItems(false);
  EXPECT_FALSE(menu.acIC->Visible());
  EXPECT_FALSE(menu.acIX->Visible());
}

// A skin item names the skin by its caption without the ampersands, cut after the marker of
// the skins kept inside the program wherever the marker stands.
TEST_F(FormSystemMenu, ASkinItemNamesItsSkinUpToTheInternalMarker) {
  TsSkinManager manager(nullptr);
  manager.SetActive(false);
  TsSystemMenu menu(nullptr, NewForm());
  menu.SkinManager = &manager;
  const struct {
    const char* Caption;
    const char* Skin;
  } cases[] = {{"&Зима", "Зима"}, {"Лето (internal)", "Лето (internal)"},
               {"Осень (internal) 2", "Осень (internal)"}, {"(internal)&Весна", "(internal)"}};
  for (const auto& c : cases) {
    TMenuItem item(nullptr);
    item.SetCaption(c.Caption);
    menu.SkinItemClick(&item);
    EXPECT_EQ(manager.SkinName(), c.Skin) << c.Caption;
  }
}

}  // namespace
}  // namespace efir::test

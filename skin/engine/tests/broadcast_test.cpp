#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

#include "framework/application.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/tests/state_fixture.h"

namespace efir::test {
namespace {

using Box = Skinned<TCustomControl>;
using SkinnedForm = Skinned<TForm>;
using Commands = std::vector<WORD>;

// A form the application owns, shown, so that the application walk reaches it.
template <class Form = TForm>
Form* AppForm() {
  auto* form = efir::Construct<Form>(&Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(40, 40, 200, 120);
  form->Show();
  return form;
}

class BroadcastTest : public SkinStateTest {
 protected:
  void TearDown() override {
    for (TForm* f : owned) f->Free();
    SkinStateTest::TearDown();
  }
  template <class Form = TForm>
  Form* Own(Form* form) {
    owned.push_back(form);
    return form;
  }
  // A box on `parent` and one more on a panel inside it: the relay must reach both depths.
  std::pair<Box*, Box*> Boxes(TWinControl* parent) {
    auto* top = Place(parent, "BUTTON");
    auto* panel = Place<Skinned<TPanel>>(parent, nullptr, {100, 0, 190, 100});
    auto* inner = Place(panel, "BUTTON");
    return {top, inner};
  }
  std::vector<TForm*> owned;
};

TEST_F(BroadcastTest, TheRegistryKeepsEachFormOnceAndFillsAGapWithTheLast) {
  TForm* a = Own(efir::Construct<TForm>(nullptr));
  TForm* b = Own(efir::Construct<TForm>(nullptr));
  TForm* c = Own(efir::Construct<TForm>(nullptr));
  for (TForm* f : {a, b, c, a}) RegisterSkinnedForm(f);
  EXPECT_EQ(SkinnedForms(), (std::vector<TForm*>{a, b, c}));
  UnregisterSkinnedForm(a);
  EXPECT_EQ(SkinnedForms(), (std::vector<TForm*>{c, b}));
  UnregisterSkinnedForm(a);  // no longer there: nothing
  EXPECT_EQ(SkinnedForms(), (std::vector<TForm*>{c, b}));
  for (TForm* f : {b, c}) UnregisterSkinnedForm(f);
  EXPECT_TRUE(SkinnedForms().empty());
}

TEST_F(BroadcastTest, AFreedFormLeavesTheRegistry) {
  TForm* kept = Own(efir::Construct<TForm>(nullptr));
  TForm* freed = efir::Construct<TForm>(nullptr);
  RegisterSkinnedForm(freed);
  RegisterSkinnedForm(kept);
  freed->Free();
  EXPECT_EQ(SkinnedForms(), (std::vector<TForm*>{kept}));
  BroadcastToSkinnedForms(SKC_REFRESH, reinterpret_cast<LPARAM>(&manager));  // must not touch the freed one
  UnregisterSkinnedForm(kept);
}

TEST_F(BroadcastTest, LoadingRefreshingAndRemovingReachEveryFormAndControlOnce) {
  TForm* plain = Own(AppForm());                      // no provider: the application walk
  SkinnedForm* registered = Own(AppForm<SkinnedForm>());  // a provider's form: the registry walk
  TForm* notOwned = NewForm();                        // registered, not the application's
  RegisterSkinnedForm(registered);
  RegisterSkinnedForm(notOwned);
  auto [plainTop, plainInner] = Boxes(plain);
  auto [regTop, regInner] = Boxes(registered);
  auto [otherTop, otherInner] = Boxes(notOwned);
  registered->Commands.clear();

  const struct {
    const char* What;
    std::function<void()> Run;
    Commands Expected;
  } cases[] = {
      {"new skin", [&] { BroadcastNewSkin(manager, false); }, {SKC_NEWSKIN}},
      {"new skin, animated", [&] { BroadcastNewSkin(manager, true); }, {SKC_NEWSKIN, SKC_STOPANIMATION, SKC_REFRESH}},
      {"refresh", [&] { BroadcastRefresh(manager); }, {SKC_STOPANIMATION, SKC_REFRESH}},
      {"removal", [&] { BroadcastSkinRemoved(manager); }, {SKC_REMOVESKIN}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    for (Box* b : {plainTop, plainInner, regTop, regInner, otherTop, otherInner}) b->Commands.clear();
    registered->Commands.clear();
    c.Run();
    for (Box* b : {plainTop, plainInner, regTop, regInner, otherTop, otherInner}) EXPECT_EQ(b->Commands, c.Expected);
    // Each pass of the application walk asks whether it is skinned; the registry reaches it once.
    Commands expected;
    for (WORD command : c.Expected) expected.insert(expected.end(), {SKC_ISSKINNED, command});
    EXPECT_EQ(registered->Commands, expected);
  }
  EXPECT_FALSE(BroadcastingNewSkin);
  EXPECT_FALSE(BroadcastingRemoval);
  EXPECT_TRUE(manager.GeneralData.empty());  // the removal empties the records
  UnregisterSkinnedForm(registered);
  UnregisterSkinnedForm(notOwned);
}

// The client window of an MDI frame is no control of the frame: it hears the news apart.
TEST_F(BroadcastTest, AnMdiFramesClientWindowHearsTheNews) {
  auto* frame = Own(efir::Construct<TForm>(&Application));
  frame->SetFormStyle(fsMDIForm);
  frame->HandleNeeded();
  ASSERT_NE(frame->ClientHandle(), nullptr);
  static Commands heard;
  heard.clear();
  auto record = [](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
    if (msg == SM_ALPHACMD) heard.push_back(SkinSubCommand(wParam));
    return DefSubclassProc(wnd, msg, wParam, lParam);
  };
  ASSERT_TRUE(SetWindowSubclass(frame->ClientHandle(), record, 1, 0));
  BroadcastToAppForms(SKC_REFRESH, reinterpret_cast<LPARAM>(&manager));
  RemoveWindowSubclass(frame->ClientHandle(), record, 1);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), SKC_REFRESH), 1);
}

TEST_F(BroadcastTest, TheFlagsAreSetOnlyWhileTheirCommandIsSent) {
  TForm* plain = Own(AppForm());
  std::vector<std::pair<bool, bool>> seen;  // (new skin, removal) as each command arrived
  // A control whose own handling notes the flags.
  struct Witness : Box {
    using Box::Box;
    std::vector<std::pair<bool, bool>>* Seen = nullptr;
    void WndProc(TMessage& Message) override {
      WORD sub = SkinSubCommand(Message.WParam);
      if (Message.Msg == SM_ALPHACMD && Seen && (sub == SKC_NEWSKIN || sub == SKC_REMOVESKIN))
        Seen->emplace_back(BroadcastingNewSkin, BroadcastingRemoval);
      Box::WndProc(Message);
    }
  };
  auto* witness = Place<Witness>(plain, "BUTTON", {60, 5, 90, 35});
  witness->Seen = &seen;
  BroadcastNewSkin(manager, false);
  BroadcastSkinRemoved(manager);
  EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{true, false}, {false, true}}));
}

TEST_F(BroadcastTest, AManagerBeingFreedLeavesNoControlWithItsPointer) {
  TForm* plain = Own(AppForm());
  SkinnedForm* registered = Own(AppForm<SkinnedForm>());
  RegisterSkinnedForm(registered);
  auto* own = new TsSkinManager(nullptr);
  own->SetActive(false);  // even a manager without a skin tells its controls it goes
  std::vector<Box*> boxes;
  for (TWinControl* parent : {static_cast<TWinControl*>(plain), static_cast<TWinControl*>(registered)}) {
    auto [top, inner] = Boxes(parent);
    for (Box* b : {top, inner}) {
      b->SkinData->SetSkinManager(own);
      boxes.push_back(b);
    }
  }
  auto* follower = Place(plain, "BUTTON");  // follows the default manager: untouched
  for (Box* b : boxes) ASSERT_EQ(b->SkinData->OwnSkinManager, own);
  delete own;
  for (Box* b : boxes) {
    EXPECT_EQ(b->SkinData->OwnSkinManager, nullptr);
    EXPECT_EQ(b->SkinData->SkinManager(), &manager);
  }
  EXPECT_EQ(follower->SkinData->SectionIndex, Section("BUTTON"));
  UnregisterSkinnedForm(registered);
}

TEST_F(BroadcastTest, TheMouseOverWindowHearsOfEnterAndLeaveOnlyOnAChange) {
  auto* a = Place(form, "BUTTON");
  auto* b = Place(form, "BUTTON", {70, 5, 120, 35});
  const struct {
    Box* To;
    Commands A, B;
  } steps[] = {
      {a, {SKC_MOUSEENTER}, {}},
      {a, {}, {}},  // already the one
      {b, {SKC_MOUSELEAVE}, {SKC_MOUSEENTER}},
      {nullptr, {}, {SKC_MOUSELEAVE}},
  };
  for (const auto& s : steps) {
    a->Commands.clear();
    b->Commands.clear();
    SetHotWindow(manager, s.To ? s.To->Handle() : nullptr);
    EXPECT_EQ(a->Commands, s.A);
    EXPECT_EQ(b->Commands, s.B);
    EXPECT_EQ(manager.HotWindow, s.To ? s.To->Handle() : nullptr);
  }
}

}  // namespace
}  // namespace efir::test

// The form skin provider on real forms: the hook gives an activated framework form its
// provider, the client area shows the skin's FORM section with the form's graphic controls
// over it, the form snaps to the work area, shows animated or not, has its controls adapted,
// and is given back whole when the skin goes.
#include "skin/forms/skin_provider.h"

#include "framework/stdctrls.h"
#include "framework/tab_controls.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/s_button.h"
#include "skin/engine/s_label.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/control_adapter.h"
#include "skin/forms/form_animation.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/window_adapter.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>

namespace {

using efir::test::ScratchFolder;
using efir::test::WriteSkinFolder;
using efir::test::TColourShape;
using efir::test::UiTest;


// Colours of the synthetic skin "Forms", as 0x00BBGGRR.
constexpr TColor kFormActive = 0x00A0C0, kFormInactive = 0x406040, kGlobal = 0x303030, kGlobalInk = 0x00FFFF;
constexpr TColor kShape = 0xC00000;

std::string Colours(TColor fill, TColor hotFill, TColor ink) {
  return "COLOR=" + efir::test::Hex(fill) + "\r\nHOTCOLOR=" + efir::test::Hex(hotFill) +
         "\r\nFONTCOLOR=" + efir::test::Hex(ink) + "\r\nHOTFONTCOLOR=" + efir::test::Hex(ink) + "\r\n";
}

std::string FormSkinOptions(TColor formActive) {
  return "[GLOBALINFO]\r\n" + Colours(kGlobal, kGlobal, kGlobalInk) + "[FORM]\r\n" +
         Colours(kFormInactive, formActive, kGlobalInk) + "[BUTTON]\r\n" + Colours(0x400000, 0x004000, kGlobalInk);
}

// "Forms", and "Forms2" that differs in the active form colour only.
std::string WriteFormSkin() {
  const std::string dir = efir::GetCurrentDir() + "\\form_skins";
  ScratchFolder scratch("form_skins");
  WriteSkinFolder(dir + "\\Forms", {{"Options.dat", FormSkinOptions(kFormActive)}});
  WriteSkinFolder(dir + "\\Forms2", {{"Options.dat", FormSkinOptions(0x2080C0)}});
  return dir;
}

class FormProvider : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    StartWindowSkinning();
    manager = std::make_unique<TsSkinManager>(nullptr);
    manager->SetSkinDirectory(WriteFormSkin());
    manager->SetSkinName("Forms");
    ASSERT_TRUE(manager->Active());
  }
  void TearDown() override {
    AnimationFrameShown = nullptr;
    for (TForm* form : made) form->Free();
    if (manager) manager->SetActive(false);
    manager.reset();
    UiTest::TearDown();
  }

  // A borderless form with a shape on it, shown and activated.
  TForm* ShownForm(intptr_t tag = 0) {
    auto* form = efir::Construct<TForm>(nullptr);
    form->SetTag(tag);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 200, 150);
    form->SetColor(clWhite);
    shape = efir::Place(new TColourShape(form, kShape), form, 20, 20, 40, 30);
    made.push_back(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    efir::test::pumpFor(50);
    return form;
  }

  static bool AnswersSkinned(TForm* form) { return WindowAcknowledgesSkinCommand(form->Handle(), SKC_ISSKINNED); }

  std::unique_ptr<TsSkinManager> manager;
  std::vector<TForm*> made;
  TColourShape* shape = nullptr;
};

TEST_F(FormProvider, AnActivatedFormGetsItsProviderUnlessTaggedOut) {
  TForm* skinned = ShownForm();
  EXPECT_TRUE(AnswersSkinned(skinned));
  TsSkinProvider* provider = ProviderOfForm(skinned);
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(provider->Form, skinned);
  EXPECT_EQ(provider->SnapBuffer, 10);
  EXPECT_FALSE(provider->ScreenSnap);
  EXPECT_TRUE(provider->DrawNonClientArea && provider->AllowExtBorders() && provider->ShowAppIcon() &&
              provider->UseGlobalColor());
  EXPECT_FALSE(provider->HasBorder()) << "a bsNone form gets no frame";
  const auto& forms = SkinnedForms();
  EXPECT_NE(std::find(forms.begin(), forms.end(), skinned), forms.end());
  EXPECT_EQ(skinned->Color(), kGlobal) << "the form takes the skin's colour";

  TForm* plain = ShownForm(-98);
  EXPECT_FALSE(AnswersSkinned(plain));
  EXPECT_EQ(ProviderOfForm(plain), nullptr);
  EXPECT_TRUE(shown.empty());
}

// A form whose layout holds its own provider and a button, as a program's form may.
class FormWithProvider : public TForm {
 public:
  explicit FormWithProvider(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetBounds(100, 100, 200, 150);
    Provider = new TsSkinProvider(this);
    efir::Place(new TButton(this), this, 10, 10, 80, 24);
  }
  TsSkinProvider* Provider = nullptr;
};

// Such a provider is ready for the active skin once the layout is loaded: its controls are
// adapted before the form ever shows, and it is the one that skins the shown form.
TEST_F(FormProvider, AProviderInAFormsLayoutIsReadyForTheSkinOnceLoaded) {
  auto* form = efir::Construct<FormWithProvider>(nullptr);
  made.push_back(form);
  TsSkinProvider* provider = form->Provider;
  EXPECT_NE(provider->CtrlAdapter, nullptr) << "ready before the form shows";
  form->Show();
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(50);
  EXPECT_EQ(ProviderOfForm(form), provider);
  ASSERT_NE(provider->CtrlAdapter, nullptr);
  EXPECT_EQ(provider->CtrlAdapter->Count(), 1) << "the button";
  form->Repaint();
  efir::test::pumpFor(30);
  EXPECT_EQ(efir::test::captureScreenOf(form->Handle()).at(150, 100), kFormActive);
}

// What the form paints itself goes over the skinned client on every paint, also when it
// paints otherwise than when the skin's picture was last built.
TEST_F(FormProvider, TheFormsOwnPaintingShowsOverTheSkinOnEveryPaint) {
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 200, 150);
  TColor square = clRed;
  int paints = 0;
  form->OnPaint = [&](TObject*) {
    ++paints;
    form->Canvas().Brush().SetColor(square);
    const RECT r{10, 10, 50, 50};
    form->Canvas().FillRect(r);
  };
  made.push_back(form);
  form->Show();
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(50);
  ASSERT_NE(ProviderOfForm(form), nullptr);
  auto repainted = [&] {
    InvalidateRect(form->Handle(), nullptr, TRUE);
    efir::test::pumpFor(50);
    return efir::test::captureScreenOf(form->Handle());
  };
  efir::test::Image screen = repainted();
  EXPECT_EQ(screen.at(30, 30), clRed);
  EXPECT_EQ(screen.at(150, 100), kFormActive) << "the skin round it";
  square = clBlue;
  paints = 0;
  screen = repainted();
  EXPECT_GT(paints, 0);
  EXPECT_EQ(screen.at(30, 30), clBlue) << "painted anew, not the picture's old square";
}

// The mouse leaving a skinned button for the form's own client leaves no control hot.
TEST_F(FormProvider, TheMouseOverTheFormLeavesNoControlHot) {
  TForm* form = ShownForm();
  auto* button = efir::Place(new TsButton(form), form, 100, 80, 80, 24);
  efir::test::pumpFor(30);
  POINT over{140, 92}, away{20, 130};
  ClientToScreen(form->Handle(), &over);
  ClientToScreen(form->Handle(), &away);
  SetCursorPos(over.x, over.y);
  efir::test::pumpFor(80);
  ASSERT_EQ(manager->HotWindow, button->Handle()) << "the button is hot under the mouse";
  SetCursorPos(away.x, away.y);
  efir::test::pumpFor(80);
  EXPECT_EQ(manager->HotWindow, nullptr);
}

TEST_F(FormProvider, ClientShowsTheFormSectionWithTheGraphicControlsOverIt) {
  struct Case {
    intptr_t tag;
    TColor exposed;
  };
  const Case cases[] = {{0, kFormActive}, {-98, clWhite}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    TForm* form = ShownForm(c.tag);
    form->Repaint();
    efir::test::pumpFor(50);
    for (const efir::test::Image& image :
         {efir::test::captureWindow(form->Handle()), efir::test::captureScreenOf(form->Handle())}) {
      EXPECT_EQ(image.at(150, 100), c.exposed);
      EXPECT_EQ(image.at(5, 5), c.exposed);
      EXPECT_EQ(image.at(40, 35), kShape) << "the shape is painted over the background";
      EXPECT_EQ(image.at(19, 35), c.exposed);
    }
    if (c.tag == 0) efir::test::saveScreenshot(form->Handle(), "form_provider_client");
    form->Hide();
  }
  EXPECT_TRUE(shown.empty());
}

TEST_F(FormProvider, SnapsToTheWorkAreaEdgeWithinTheBuffer) {
  TForm* form = ShownForm();
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  provider->ScreenSnap = true;
  const RECT area = form->MonitorWorkArea();
  struct Case {
    int gap;
    int expectedLeft;
  };
  const Case cases[] = {{9, static_cast<int>(area.left)}, {10, static_cast<int>(area.left) + 10}, {3, static_cast<int>(area.left)}};
  for (const Case& c : cases) {
    SetWindowPos(form->Handle(), nullptr, area.left + c.gap, area.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, c.expectedLeft) << "gap " << c.gap;
  }
  // The right edge snaps with the form's width.
  SetWindowPos(form->Handle(), nullptr, area.right - 200 - 5, area.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.right, area.right);
  provider->ScreenSnap = false;
  SetWindowPos(form->Handle(), nullptr, area.left + 4, area.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, area.left + 4) << "no snapping while it is off";
}

TEST_F(FormProvider, ShowsAgainWithoutAnimationAtTimeZeroAndWithFramesFromEightOn) {
  TForm* form = ShownForm();
  ASSERT_NE(ProviderOfForm(form), nullptr);
  struct Case {
    uint16_t time;
    size_t frames;
  };
  const Case cases[] = {{0, 0}, {7, 0}, {80, CrossFadeWeights(80).size()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    form->Hide();
    efir::test::pumpFor(20);
    manager->AnimEffects.DialogShow.Time = c.time;
    size_t frames = 0;
    AnimationFrameShown = [&](HWND, int) { ++frames; };
    form->Show();
    AnimationFrameShown = nullptr;
    EXPECT_EQ(frames, c.frames);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    efir::test::pumpFor(50);
    const efir::test::Image screen = efir::test::captureScreenOf(form->Handle());
    EXPECT_EQ(screen.at(150, 100), kFormActive);
    EXPECT_EQ(screen.at(40, 35), kShape);
  }
  EXPECT_TRUE(shown.empty());
}

TEST_F(FormProvider, AdaptsButtonsAgainAfterRecreationHonoursAVetoAndLeavesSkinnedLabels) {
  auto* form = efir::Construct<TForm>(nullptr);
  made.push_back(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 240, 160);
  auto* button = efir::Place(new TButton(form), form, 10, 10, 80, 24);
  auto* vetoed = efir::Place(new TButton(form), form, 10, 40, 80, 24);
  vetoed->SetName("Vetoed");
  auto* label = efir::Place(new TLabel(form), form, 10, 80, 80, 16);
  auto* skinnedLabel = efir::Place(new TsLabel(form), form, 10, 100, 80, 16);
  label->Font().SetColor(clRed);
  skinnedLabel->Font().SetColor(clRed);
  form->HandleNeeded();
  auto* provider = new TsSkinProvider(form);
  provider->OnSkinItem = [](TComponent* item, bool& canBeAdded, std::string&) {
    if (item->Name() == "Vetoed") canBeAdded = false;
  };
  provider->AfterConstruction();
  provider->CreateControlAdapter();
  ASSERT_NE(provider->CtrlAdapter, nullptr);
  EXPECT_NE(AdapterOfWindow(button->Handle()), nullptr);
  EXPECT_EQ(AdapterOfWindow(vetoed->Handle()), nullptr);
  EXPECT_TRUE(label->Transparent());
  EXPECT_EQ(label->Font().Color(), kGlobalInk) << "a plain label takes the skin's font colour";
  EXPECT_EQ(skinnedLabel->Font().Color(), clRed) << "a skinned label is left to itself";

  TacMainWnd* first = AdapterOfWindow(button->Handle());
  button->RecreateWnd();
  form->Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(static_cast<TControl*>(button)), 1);
  TacMainWnd* again = AdapterOfWindow(button->Handle());
  ASSERT_NE(again, nullptr) << "adapted again";
  EXPECT_FALSE(again->Detached);
  EXPECT_EQ(provider->CtrlAdapter->Count(), 1) << "one item a control: " << (first == again ? "same" : "new");
  EXPECT_TRUE(shown.empty());
}

// The skin's removal gives the form back its own look; its provider stays with it and skins
// it again as soon as a skin comes, before the form is ever activated again.
TEST_F(FormProvider, RemovingTheSkinGivesTheFormBackAndANewSkinReachesItAtOnce) {
  TForm* form = ShownForm();
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  manager->SetActive(false);
  efir::test::pumpFor(20);
  EXPECT_EQ(ProviderOfForm(form), provider) << "the provider stays with its form";
  EXPECT_EQ(form->Color(), clBtnFace);
  form->Repaint();
  efir::test::pumpFor(20);
  efir::test::Image image = efir::test::captureWindow(form->Handle());
  EXPECT_EQ(image.at(150, 100), static_cast<COLORREF>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(image.at(40, 35), kShape);

  manager->SetActive(true);
  efir::test::pumpFor(50);
  EXPECT_EQ(ProviderOfForm(form), provider);
  form->Repaint();
  efir::test::pumpFor(20);
  image = efir::test::captureScreenOf(form->Handle());
  EXPECT_EQ(image.at(150, 100), kFormActive) << "skinned again without an activation";
  EXPECT_EQ(image.at(40, 35), kShape);
  EXPECT_TRUE(shown.empty());
}

// Counts the skin changes a control hears, in front of whatever procedure it has now.
void CountNewSkins(TControl* control, std::map<TControl*, int>& counts) {
  TWndMethod previous = control->WindowProc();
  control->SetWindowProc([control, previous, &counts](TMessage& m) {
    if (m.Msg == SM_ALPHACMD && SkinSubCommand(m.WParam) == SKC_NEWSKIN) ++counts[control];
    previous(m);
  });
}

TEST_F(FormProvider, EachFormAndControlHearsASkinChangeOnce) {
  TForm* form = ShownForm();
  ASSERT_NE(ProviderOfForm(form), nullptr);
  auto* skinned = efir::Place(new TsButton(form), form, 10, 60, 80, 24);
  auto* plain = efir::Place(new TButton(form), form, 10, 90, 80, 24);
  auto* panel = efir::Place(new TPanel(form), form, 100, 60, 90, 60);
  auto* inner = efir::Place(new TsButton(panel), panel, 5, 5, 70, 24);
  TForm* other = ShownForm();
  efir::test::pumpFor(30);
  std::map<TControl*, int> counts;
  for (TControl* c : std::initializer_list<TControl*>{form, skinned, plain, panel, inner, other}) CountNewSkins(c, counts);
  manager->SetSkinName("Forms2");
  efir::test::pumpFor(30);
  const struct {
    const char* Name;
    TControl* Control;
  } expected[] = {{"form", form}, {"skinned button", skinned}, {"plain button", plain},
                  {"panel", panel}, {"button on the panel", inner}, {"other form", other}};
  for (const auto& e : expected) EXPECT_EQ(counts[e.Control], 1) << e.Name;
  EXPECT_TRUE(shown.empty());
}

// A page the program fills when it is first shown: its controls are skinned like the rest.
TEST_F(FormProvider, ControlsMadeOnAChangeOfPageAreAdapted) {
  TForm* form = ShownForm();
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  ASSERT_NE(provider->CtrlAdapter, nullptr);
  auto* pages = efir::Place(new TPageControl(form), form, 10, 60, 180, 80);
  TTabSheet* sheets[2];
  for (int i = 0; i < 2; ++i) {
    sheets[i] = new TTabSheet(form);
    sheets[i]->SetPageControl(pages);
    sheets[i]->SetCaption(i == 0 ? "First" : "Second");
  }
  pages->SetActivePage(sheets[0]);
  TButton* made = nullptr;
  pages->OnChange = [&](TObject*) {
    if (!made && pages->ActivePage() == sheets[1]) made = efir::Place(new TButton(form), sheets[1], 5, 5, 80, 24);
  };
  efir::test::pumpFor(50);
  RECT tab;
  ASSERT_TRUE(SendMessageW(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab)));
  MapWindowPoints(pages->Handle(), nullptr, reinterpret_cast<POINT*>(&tab), 2);
  const POINT centre{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
  efir::test::dragMouse(centre, centre, 1);
  ASSERT_TRUE(efir::test::pumpUntil([&] { return made != nullptr; }, 2000)) << "the click changed the page";
  efir::test::pumpFor(30);
  EXPECT_NE(AdapterOfWindow(made->Handle()), nullptr);
  EXPECT_TRUE(shown.empty());
}

// With a provider the form is drawn from the skin: its key colour is nowhere, so the overlay
// of the skin-change animation never shows it, and the form looks the same before and after.
TEST_F(FormProvider, AColourKeyedFormsOverlayNeverShowsTheKeyColour) {
  auto* form = efir::Construct<TForm>(nullptr);
  made.push_back(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(60, 60, 120, 80);
  form->SetTransparentColorValue(clLime);
  form->SetTransparentColor(true);
  form->SetColor(clLime);
  auto* panel = efir::Place(new TPanel(form), form, 0, 0, 60, 80);
  panel->SetColor(clRed);
  panel->SetBevelOuter(bvNone);
  form->Show();
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(50);
  ASSERT_NE(ProviderOfForm(form), nullptr);
  SendMessageW(form->Handle(), WM_SETREDRAW, FALSE, 0);
  std::vector<COLORREF> keyArea;
  AnimationFrameShown = [&](HWND, int) {
    efir::test::pumpFor(30);
    keyArea.push_back(efir::test::captureScreen({60, 60, 180, 140}).at(100, 40));
  };
  SkinChangeAnimating = true;
  AnimateFormAppearance(form, 40);
  SkinChangeAnimating = false;
  AnimationFrameShown = nullptr;
  efir::test::pumpFor(50);
  const COLORREF after = efir::test::captureScreen({60, 60, 180, 140}).at(100, 40);
  EXPECT_NE(after, RGB(0, 255, 0));
  ASSERT_FALSE(keyArea.empty());
  for (size_t i = 0; i < keyArea.size(); ++i) {
    EXPECT_NE(keyArea[i], RGB(0, 255, 0)) << "frame " << i;
    EXPECT_EQ(keyArea[i], after) << "frame " << i;
  }
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(shown.empty());
}

}  // namespace

// Framework controls adapted on a form through the ThirdParty lists, under a synthetic skin:
// each list gives its kind of adapter, a glyph button shows its glyph and caption where its
// layout puts them (read from the screen), and a control created later inside an adapted
// group box is adapted too.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <typeinfo>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_third_party.h"
#include "skin/forms/button_adapters.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/edit_wnd.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/tests/template_dialog.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

constexpr TColor kGlyph = 0x00C0FF;

// A framework control on a system window class, for the kinds the framework has no class of.
class TSystemWindow : public TWinControl {
 public:
  TSystemWindow(TComponent* owner, const wchar_t* systemClass, DWORD style, DWORD exStyle = 0)
      : TWinControl(owner), systemClass_(systemClass), style_(style), exStyle_(exStyle) {}

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.SystemClass = systemClass_;
    params.Style |= style_;
    params.ExStyle |= exStyle_;
  }

 private:
  const wchar_t* systemClass_;
  DWORD style_, exStyle_;
};

class TTestListView : public TSystemWindow {
 public:
  explicit TTestListView(TComponent* owner) : TSystemWindow(owner, WC_LISTVIEWW, LVS_REPORT) {}
};
class TTestTreeView : public TSystemWindow {
 public:
  explicit TTestTreeView(TComponent* owner) : TSystemWindow(owner, WC_TREEVIEWW, 0) {}
};
// It keeps its children's creation from the form: only the box itself hears of it.
class TTestGroupBox : public TSystemWindow {
 public:
  explicit TTestGroupBox(TComponent* owner) : TSystemWindow(owner, L"BUTTON", BS_GROUPBOX, WS_EX_NOPARENTNOTIFY) {}
};

// A form with a skin provider under the dialog skin; the lists name the classes to adapt.
class AdaptedControls : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SkinExtras extras = ControlSkinExtras();
    // The form's own section: a form without one is left unskinned, its controls too.
    extras.Sections += "[FORM]\r\nCOLOR=" + Hex(dlg::Face) + "\r\nFONTCOLOR=" + Hex(dlg::Ink) + "\r\n";
    skin = std::make_unique<DialogSkin>(extras);
    form = efir::Construct<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 320, 200);
  }
  void TearDown() override {
    form->Free();
    skin.reset();
    UiTest::TearDown();
  }
  void Name(int list, const std::string& className) {
    skin->manager->ThirdParty.SetThird(list, className);
    UpdateThirdLists(*skin->manager, false);
  }
  // The controls' windows first: the control adapter adapts windows that exist.
  void Skin() {
    form->HandleNeeded();
    for (int i = 0; i < form->ControlCount(); ++i)
      if (auto* windowed = dynamic_cast<TWinControl*>(form->Controls(i))) windowed->HandleNeeded();
    provider = new TsSkinProvider(form);
    provider->AfterConstruction();
    provider->CreateControlAdapter();
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpFor(100);
  }
  std::unique_ptr<DialogSkin> skin;
  TForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(AdaptedControls, EachListGivesItsKindOfAdapter) {
  struct Case {
    int List;
    const char* ClassName;
    TWinControl* (*Make)(TForm*);
    const std::type_info& Adapter;
  };
  const Case cases[] = {
      {ThirdEdits, "TEdit", [](TForm* f) -> TWinControl* { return new TEdit(f); }, typeid(TacEditWnd)},
      {ThirdBitBtns, "TBitBtn", [](TForm* f) -> TWinControl* { return new TBitBtn(f); }, typeid(TacBitBtnWnd)},
      {ThirdComboBoxes, "TComboBox", [](TForm* f) -> TWinControl* { return new TComboBox(f); }, typeid(TacComboBoxWnd)},
      {ThirdListViews, "TTestListView", [](TForm* f) -> TWinControl* { return new TTestListView(f); },
       typeid(TacListViewWnd)},
      {ThirdTreeViews, "TTestTreeView", [](TForm* f) -> TWinControl* { return new TTestTreeView(f); },
       typeid(TacTreeViewWnd)},
  };
  std::vector<TWinControl*> controls;
  int top = 4;
  for (const Case& c : cases) {
    Name(c.List, c.ClassName);
    controls.push_back(efir::Place(c.Make(form), form, 4, top, 120, 30));
    top += 36;
  }
  Skin();
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].ClassName);
    TacMainWnd* adapter = AdapterOfWindow(controls[i]->Handle());
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(typeid(*adapter), cases[i].Adapter);
    EXPECT_TRUE(controls[i]->ControlStyle() & csOpaque) << "the adapter paints the whole control";
  }
}

// The bounding box of the pixels of one colour in the image; empty when none.
RECT BoxOf(const Image& shot, COLORREF colour) {
  RECT box{shot.width, shot.height, 0, 0};
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x)
      if (shot.at(x, y) == colour) box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                          std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
  return box.right > box.left ? box : RECT{};
}

TEST_F(AdaptedControls, AGlyphButtonShowsItsGlyphAndCaptionAsItsLayoutSays) {
  constexpr int kWidth = 140, kHeight = 60, kSpacing = 6;
  Name(ThirdBitBtns, "TBitBtn");
  auto* left = efir::Place(new TBitBtn(form), form, 10, 10, kWidth, kHeight);
  auto* top = efir::Place(new TBitBtn(form), form, 160, 10, kWidth, kHeight + 20);
  auto* alone = efir::Place(new TBitBtn(form), form, 10, 110, kWidth, kHeight);
  for (TBitBtn* button : {left, top, alone}) {
    TBitmap& glyph = button->Glyph().Bitmap();
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(16, 16);
    glyph.Canvas().Brush().SetColor(kGlyph);
    glyph.Canvas().FillRect({0, 0, 16, 16});
    SetPixel(glyph.Canvas().Handle(), 0, 15, RGB(255, 0, 255));  // the transparent colour
    button->SetSpacing(kSpacing);
  }
  left->SetCaption("Play");
  top->SetCaption("Play");
  top->SetLayout(blGlyphTop);
  Skin();
  ASSERT_NE(dynamic_cast<TacBitBtnWnd*>(AdapterOfWindow(left->Handle())), nullptr);

  {
    SCOPED_TRACE("glyph left of the caption");
    const Image shot = captureScreenOf(left->Handle());
    const RECT glyph = BoxOf(shot, kGlyph), text = BoxOf(shot, dlg::Ink);
    ASSERT_EQ(glyph.right - glyph.left, 16);
    ASSERT_GT(text.right, text.left) << "the caption is painted";
    EXPECT_EQ(glyph.top, (kHeight - 16) / 2);
    EXPECT_NEAR(text.left - glyph.right, kSpacing, 2) << "the spacing between them";
    EXPECT_NEAR(glyph.left, kWidth - text.right, 3) << "the glyph and caption together are centred";
  }
  {
    SCOPED_TRACE("glyph above the caption");
    const Image shot = captureScreenOf(top->Handle());
    const RECT glyph = BoxOf(shot, kGlyph), text = BoxOf(shot, dlg::Ink);
    ASSERT_EQ(glyph.bottom - glyph.top, 16);
    ASSERT_GT(text.bottom, text.top);
    EXPECT_EQ(glyph.left, (kWidth - 16) / 2 + 1);
    EXPECT_GE(text.top - glyph.bottom, kSpacing) << "the caption below the glyph";
    EXPECT_NEAR((glyph.left + glyph.right) / 2, (text.left + text.right) / 2, 3);
  }
  {
    SCOPED_TRACE("a glyph without a caption");
    const Image shot = captureScreenOf(alone->Handle());
    const RECT glyph = BoxOf(shot, kGlyph);
    EXPECT_EQ(glyph.left, (kWidth - 16) / 2);
    EXPECT_EQ(glyph.top, (kHeight - 16) / 2);
  }
}

TEST_F(AdaptedControls, AControlCreatedLaterInsideAGroupBoxIsAdaptedToo) {
  Name(ThirdGroupBoxes, "TTestGroupBox");
  Name(ThirdEdits, "TEdit");
  auto* box = efir::Place(new TTestGroupBox(form), form, 10, 10, 200, 120);
  Skin();
  ASSERT_NE(dynamic_cast<TacGroupBoxWnd*>(AdapterOfWindow(box->Handle())), nullptr);
  EXPECT_TRUE(box->ControlStyle() & csOpaque);

  auto* edit = efir::Place(new TEdit(form), box, 10, 30, 120, 22);
  edit->HandleNeeded();
  pumpFor(50);
  EXPECT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(edit->Handle())), nullptr);

  SendSkinCommandToWindow(box->Handle(), SKC_REMOVESKIN, reinterpret_cast<LPARAM>(skin->manager.get()));
  EXPECT_FALSE(box->ControlStyle() & csOpaque) << "without the skin the framework paints the box again";
}

}  // namespace
}  // namespace efir::test

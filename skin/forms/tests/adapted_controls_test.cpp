// Framework controls adapted on a form through the ThirdParty lists, under a synthetic skin:
// each list gives its kind of adapter, a glyph button shows its glyph and caption where its
// layout puts them (read from the screen), and a control created later inside an adapted
// group box is adapted too.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <typeinfo>

#include "skin/engine/background_answers.h"

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/fills.h"
#include "skin/engine/glow.h"
#include "skin/engine/published_props.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_third_party.h"
#include "skin/forms/button_adapters.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/control_adapter.h"
#include "skin/forms/edit_wnd.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/tests/template_dialog.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

constexpr TColor kGlyph = 0x00C0FF;

// An edit section like the fixture's EDIT (ctl::Rim round ctl::Edit), which glows.
SkinExtras WithGlowingEditSection(SkinExtras extras) {
  extras.Sections += "[GLOWEDIT]\r\nCOLOR=" + Hex(ctl::Edit[0]) + "\r\nHOTCOLOR=" + Hex(ctl::Edit[1]) +
                     "\r\nFONTCOLOR=" + Hex(dlg::Ink) + "\r\nHOTFONTCOLOR=" + Hex(dlg::Ink) +
                     "\r\nBORDERSMASK=!EDIT.BMP!3!0!0!3!3!3!3\r\nGLOW=1\r\nGLOWMARGIN=0\r\n"
                     "GLOW0=!GLOWEDIT.BMP!1!0!3!4!4!4!4\r\n";
  extras.Files.push_back({"GLOWEDIT.BMP", BmpBytes(12, 12, 0xFFFFFF)});
  return extras;
}

constexpr TColor kUnchecked = 0x3060C0, kChecked = 0xC06030;
constexpr int kBoxGlyph = 13;

// Check-box glyphs in GLOBALINFO: one colour a mask, in all three looks.
SkinExtras WithCheckBoxGlyphs(SkinExtras extras) {
  extras.Global += "BOXUNCHECKED=!UNCHECKED.BMP!3!0!0\r\nBOXCHECKED=!CHECKED.BMP!3!0!0\r\n";
  extras.Files.push_back({"UNCHECKED.BMP", BmpBytes(kBoxGlyph * 3, kBoxGlyph, kUnchecked)});
  extras.Files.push_back({"CHECKED.BMP", BmpBytes(kBoxGlyph * 3, kBoxGlyph, kChecked)});
  return extras;
}

// The glow window of this thread that is shown, or nullptr.
HWND ShownGlow() {
  return efir::test::shownThreadWindow(GlowWindowClass);
}

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

class TTestButton : public TSystemWindow {
 public:
  TTestButton(TComponent* owner, DWORD style) : TSystemWindow(owner, L"BUTTON", style) {}
};

// An edit with a colour of its own for its focused look, published by name.
class TFocusEdit : public TEdit {
 public:
  explicit TFocusEdit(TComponent* owner) : TEdit(owner) {
    static const bool registered = [] {
      RegisterPublishedProp(OrdinalProp<TFocusEdit>(
          "FocusColor", [](TFocusEdit& e) { return e.FocusColor; },
          [](TFocusEdit& e, int64_t v) { e.FocusColor = static_cast<TColor>(v); }));
      return true;
    }();
    (void)registered;
  }
  TColor FocusColor = 0x00ABCDEF;
};

// Counts the skin refreshes it hears.
class TRefreshCounter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Refreshes = 0;
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_ALPHACMD && SkinSubCommand(message.WParam) == SKC_REFRESH) ++Refreshes;
    TCustomControl::WndProc(message);
  }
};

// A form with a skin provider under the dialog skin; the lists name the classes to adapt.
class AdaptedControls : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SkinExtras extras = WithCheckBoxGlyphs(WithGlowingEditSection(ControlSkinExtras()));
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
    provider->OnSkinItem = onSkinItem;
    provider->CreateControlAdapter();
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpFor(100);
  }
  static void MoveMouse(POINT p) {
    SetCursorPos(p.x, p.y);
    pumpFor(150);
  }
  static POINT Inside(TWinControl* control) {
    RECT r;
    GetWindowRect(control->Handle(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::unique_ptr<DialogSkin> skin;
  TForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  TAddItemEvent onSkinItem;  // the provider's, from Skin() on
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

// The framework tells the adapter of its own notices: the mouse entering and leaving an
// adapted edit lights and dims its border and glow; a new font paints its frame again.
TEST_F(AdaptedControls, AnAdaptedFrameworkEditHearsTheMouseAndTheFont) {
  Name(ThirdEdits, "TEdit");
  auto* edit = efir::Place(new TEdit(form), form, 40, 60, 160, 26);
  auto* other = efir::Place(new TEdit(form), form, 40, 120, 160, 26);
  MoveMouse({5, 5});
  onSkinItem = [](TComponent*, bool&, std::string& section) { section = "GLOWEDIT"; };
  Skin();
  ASSERT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(edit->Handle())), nullptr);
  ASSERT_NE(AdapterOfWindow(other->Handle()), nullptr);
  EXPECT_EQ(SendSkinCommandToWindow(edit->Handle(), SKC_GETAPPLICATION, 0), reinterpret_cast<LRESULT>(&Application));
  auto rim = [&] {
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    pumpFor(50);
    return captureScreenOf(edit->Handle()).at(1, 1);
  };
  ASSERT_EQ(rim(), ctl::Rim[0]) << "the edit's border from the skin";

  MoveMouse(Inside(edit));
  EXPECT_EQ(rim(), ctl::Rim[1]) << "hot while the mouse is over it";
  HWND glow = ShownGlow();
  ASSERT_NE(glow, nullptr) << "its glow is lit";
  RECT around, inside;
  GetWindowRect(glow, &around);
  GetWindowRect(edit->Handle(), &inside);
  EXPECT_TRUE(around.left <= inside.left && around.top <= inside.top && around.right >= inside.right &&
              around.bottom >= inside.bottom)
      << "the glow surrounds the edit";

  MoveMouse(Inside(other));
  EXPECT_EQ(rim(), ctl::Rim[0]) << "normal again once the mouse has left";
  MoveMouse({5, 5});
  EXPECT_EQ(ShownGlow(), nullptr) << "no glow once the mouse is off both";

  // Something else paints over the frame; the font change alone must paint it again.
  HDC dc = GetWindowDC(edit->Handle());
  const RECT whole{0, 0, 160, 26};
  FillRectSolid(dc, whole, 0xFF00FF);
  ReleaseDC(edit->Handle(), dc);
  pumpFor(30);
  ASSERT_EQ(captureScreenOf(edit->Handle()).at(1, 1), 0xFF00FFu);
  edit->Font().SetSize(edit->Font().Size() + 4);
  pumpFor(100);
  EXPECT_EQ(captureScreenOf(edit->Handle()).at(1, 1), ctl::Rim[0]) << "the frame is painted again";

  SendSkinCommandToWindow(edit->Handle(), SKC_REMOVESKIN, reinterpret_cast<LPARAM>(skin->manager.get()));
  provider->CtrlAdapter.reset();
  MoveMouse(Inside(edit));
  EXPECT_EQ(ShownGlow(), nullptr) << "the control has its own procedure back";
  edit->Font().SetSize(edit->Font().Size() - 2);
  pumpFor(30);
}

// On a framework form an adapted group box paints its whole inside from the skin round the
// windows it holds; an adapted check box inside it shows its glyph and caption over the box.
TEST_F(AdaptedControls, AGroupBoxAndTheCheckBoxInsideItShowTheSkin) {
  Name(ThirdGroupBoxes, "TTestGroupBox");
  Name(ThirdCheckBoxes, "TCheckBox");
  auto* box = efir::Place(new TTestGroupBox(form), form, 10, 10, 240, 150);
  box->SetCaption("Group");
  auto* check = efir::Place(new TCheckBox(form), box, 20, 50, 150, 22);
  check->SetCaption("Check");
  Skin();
  ASSERT_NE(dynamic_cast<TacGroupBoxWnd*>(AdapterOfWindow(box->Handle())), nullptr);
  ASSERT_NE(dynamic_cast<TacCheckBoxWnd*>(AdapterOfWindow(check->Handle())), nullptr);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pumpFor(100);

  const Image shot = captureScreenOf(box->Handle());
  const int band = static_cast<int>(SendSkinCommandToWindow(box->Handle(), SKC_GETCAPTIONHEIGHT, 0));
  ASSERT_GT(band, 4);
  EXPECT_EQ(shot.at(1, 100), ctl::Rim[0]) << "the frame's left edge";
  EXPECT_EQ(shot.at(120, band / 2 + 1), ctl::Rim[0]) << "the top edge runs through the caption band";
  EXPECT_EQ(shot.at(120, 120), ctl::Group) << "the inside, below the check box";
  EXPECT_EQ(shot.at(220, 60), ctl::Group) << "the inside, beside the check box";
  int inkInCaption = 0;
  for (int y = 0; y < band; ++y)
    for (int x = 6; x < 80; ++x) inkInCaption += shot.at(x, y) == dlg::Ink;
  EXPECT_GT(inkInCaption, 5) << "the caption is written";

  auto glyphShows = [&](COLORREF colour) {
    const Image box = captureScreenOf(check->Handle());
    const RECT glyph = BoxOf(box, colour);
    return glyph.right - glyph.left == kBoxGlyph && glyph.left == 0 && glyph.top == (22 - kBoxGlyph) / 2;
  };
  EXPECT_TRUE(glyphShows(kUnchecked)) << "the unchecked glyph at the left";
  const Image checkShot = captureScreenOf(check->Handle());
  EXPECT_GT(BoxOf(checkShot, dlg::Ink).right, kBoxGlyph + 2) << "the caption right of the glyph";
  check->SetChecked(true);
  pumpFor(50);
  EXPECT_TRUE(glyphShows(kChecked)) << "checked";
}

// A multi-line push button wraps a caption too wide for it; a single-line one keeps it on
// one line (the system's own buttons do the same).
TEST_F(AdaptedControls, OnlyAMultiLineButtonWrapsItsCaption) {
  Name(ThirdButtons, "TTestButton");
  auto* multi = efir::Place(new TTestButton(form, BS_PUSHBUTTON | BS_MULTILINE), form, 10, 10, 80, 60);
  auto* single = efir::Place(new TTestButton(form, BS_PUSHBUTTON), form, 110, 10, 80, 60);
  for (TWinControl* button : {multi, single}) button->SetCaption("Первое Второе");
  Skin();
  ASSERT_NE(dynamic_cast<TacBtnWnd*>(AdapterOfWindow(multi->Handle())), nullptr);
  // The separate bands of rows holding caption pixels.
  auto textLines = [](TWinControl* button) {
    const Image shot = captureScreenOf(button->Handle());
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < shot.height; ++y) {
      bool ink = false;
      for (int x = 0; x < shot.width && !ink; ++x) ink = shot.at(x, y) == dlg::Ink;
      if (ink && !inLine) ++lines;
      inLine = ink;
    }
    return lines;
  };
  EXPECT_EQ(textLines(multi), 2);
  EXPECT_EQ(textLines(single), 1);
}

TEST_F(AdaptedControls, AnEditsFocusColourTakesTheSkinAndComesBack) {
  Name(ThirdEdits, "TFocusEdit");
  auto* edit = efir::Place(new TFocusEdit(form), form, 10, 10, 120, 24);
  Skin();
  ASSERT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(edit->Handle())), nullptr);
  RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(edit->Color(), ctl::Edit[0]);
  EXPECT_EQ(edit->FocusColor, ctl::Edit[0]) << "focused, the edit keeps the skin's colour";

  SendSkinCommandToWindow(edit->Handle(), SKC_REMOVESKIN, reinterpret_cast<LPARAM>(skin->manager.get()));
  EXPECT_EQ(edit->FocusColor, 0x00ABCDEFu) << "its own colour back";
}

// A disabled adapted control is blended with what lies behind it: 40 % of its own picture.
TEST_F(AdaptedControls, ADisabledEditsFrameIsBlendedWithWhatLiesBehind) {
  Name(ThirdEdits, "TEdit");
  auto* edit = efir::Place(new TEdit(form), form, 10, 10, 120, 24);
  Skin();
  auto rim = [&] {
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    pumpFor(50);
    return captureScreenOf(edit->Handle()).at(1, 1);
  };
  ASSERT_EQ(rim(), ctl::Rim[0]);
  edit->SetEnabled(false);
  pumpFor(50);
  const COLORREF disabled = rim();
  // What the form says lies behind the edit (here a colour).
  CacheSourceInfo behind;
  WindowParentCacheInfo(edit->Handle(), behind);
  ASSERT_FALSE(behind.Ready);
  auto channel = [](COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
  for (int shift : {0, 8, 16})
    EXPECT_NEAR(channel(disabled, shift), (channel(ctl::Rim[0], shift) * 4 + channel(behind.FillColor, shift) * 6) / 10, 3)
        << std::hex << disabled;
  edit->SetEnabled(true);
  pumpFor(50);
  EXPECT_EQ(rim(), ctl::Rim[0]) << "enabled again";
}

TEST_F(AdaptedControls, AControlInsideAnAdaptedPanelHearsARefreshOnce) {
  Name(ThirdPanels, "TPanel");
  auto* panel = efir::Place(new TPanel(form), form, 10, 10, 200, 120);
  auto* counter = efir::Place(new TRefreshCounter(form), panel, 10, 10, 40, 40);
  Skin();
  ASSERT_NE(AdapterOfWindow(panel->Handle()), nullptr);
  counter->Refreshes = 0;
  SendSkinCommandToWindow(panel->Handle(), SKC_REFRESH, reinterpret_cast<LPARAM>(skin->manager.get()));
  EXPECT_EQ(counter->Refreshes, 1);
}

}  // namespace
}  // namespace efir::test

// The skinned edit: without a skin it is the framework's edit; with the synthetic skin its
// frame and client area show the section's colours for each state on the screen, typed
// Cyrillic text comes back as Windows-1251, and its bound label follows it.
#include <gtest/gtest.h>

#include <string>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/s_edit.h"
#include "skin/engine/s_label.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

class EditTest : public UiTest {
 protected:
  template <class Edit>
  Edit* NewEdit() {
    form = NewForm(200, 60);
    auto* edit = efir::Place(new Edit(form), form, 60, 10, 120, 24);
    edit->OnChange = [this](TObject*) { ++changes; };
    pumpFor(30);
    return edit;
  }
  // Types the text as the user would: one posted character after another.
  static void Type(TEdit* edit, const std::wstring& text) {
    edit->SetFocus();
    for (wchar_t c : text) PostMessageW(edit->Handle(), WM_CHAR, c, 1);
    pumpFor(50);
  }
  static void MouseTo(TEdit* edit, int x, int y) {
    const POINT p = edit->ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
    PostMessageW(edit->Handle(), WM_MOUSEMOVE, 0, At(x, y));
    pumpFor(50);
  }

  TForm* form = nullptr;
  int changes = 0;
};

TEST_F(EditTest, UnskinnedItIsTheFrameworksEdit) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  TsEdit* ours = NewEdit<TsEdit>();
  Type(ours, L"Эфир");
  const Image a = captureWindow(ours->Handle());
  TEdit* plain = NewEdit<TEdit>();
  Type(plain, L"Эфир");
  EXPECT_EQ(ours->Text(), plain->Text());
  EXPECT_EQ(a.pixels, captureWindow(plain->Handle()).pixels);
}

class SkinnedEditTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    UseSkin(manager, WriteSyntheticSkin(), "Synth");
  }
  TsSkinManager manager{nullptr};
};

TEST_F(SkinnedEditTest, TypedCyrillicComesBackAsWindows1251) {
  TsEdit* edit = NewEdit<TsEdit>();
  Type(edit, L"Эфир ёЁ №1");
  EXPECT_EQ(edit->Text(), "Эфир ёЁ №1");
  EXPECT_GT(changes, 0);
  edit->SetText("Радио");
  wchar_t shown[32] = {};
  GetWindowTextW(edit->Handle(), shown, 32);
  EXPECT_EQ(std::wstring(shown), L"Радио");
}

// The frame (left edge of the window) and the client area beside the text, as the screen
// shows them, and the text's colour.
TEST_F(SkinnedEditTest, EachStateShowsItsSectionColours) {
  struct Row {
    const char* State;
    void (*Arrange)(TsEdit*);
    int Look;
    TColor Client, Ink;
  };
  const Row rows[] = {
      {"normal", [](TsEdit*) {}, 0, synth::Edit, synth::EditInk},
      {"hot", [](TsEdit* e) { MouseTo(e, 100, 10); }, 1, synth::HotEdit, synth::HotEditInk},
      {"focused", [](TsEdit* e) { e->SetFocus(); }, 1, synth::HotEdit, synth::HotEditInk},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.State);
    TsEdit* edit = NewEdit<TsEdit>();
    edit->SetText("ЖЖЖ");
    row.Arrange(edit);
    pumpFor(50);
    const Image screen = captureWindow(edit->Handle());
    EXPECT_EQ(screen.at(0, 12), synth::Rim[row.Look]);
    EXPECT_EQ(screen.at(110, 12), row.Client);
    int ink = 0;
    for (int y = 2; y < 22; ++y)
      for (int x = 2; x < 40; ++x) ink += static_cast<TColor>(screen.at(x, y)) == row.Ink;
    EXPECT_GT(ink, 5);
  }
}

TEST_F(SkinnedEditTest, ADisabledEditIsDrawnFromTheSkinWithItsText) {
  for (char password : {'\0', '*'}) {
    SCOPED_TRACE(password);
    TsEdit* edit = NewEdit<TsEdit>();
    edit->SetText("ЖЖЖ");
    edit->SetPasswordChar(password);
    edit->SetEnabled(false);
    pumpFor(50);
    const Image screen = captureWindow(edit->Handle());
    EXPECT_NE(screen.at(0, 12), synth::Rim[0]) << "the frame, faded";
    EXPECT_NE(screen.at(110, 12), synth::Edit) << "the skin's face, faded";
    auto printed = Printed(edit);
    EXPECT_EQ(static_cast<TColor>(screen.at(0, 12)), At(*printed, 0, 12)) << "printed as shown";
  }
}

// A frame held back while the parent updated is painted once the parent is done, without
// waiting for a hover or a resize.
TEST_F(SkinnedEditTest, AFrameThatWaitedForItsParentIsPaintedWhenTheParentIsDone) {
  SetCursorPos(700, 560);  // not over the edit
  TsEdit* edit = NewEdit<TsEdit>();
  ASSERT_EQ(captureWindow(edit->Handle()).at(0, 12), synth::Rim[0]);
  edit->SkinData->SetUpdating(true);
  edit->SetFocus();  // the hot look, which the frame may not show yet
  pumpFor(50);
  EXPECT_EQ(captureWindow(edit->Handle()).at(0, 12), synth::Rim[0]) << "held back";
  EXPECT_TRUE(edit->SkinData->Updating);

  SendMessageW(edit->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_PARENTUPDATED), 0);
  pumpFor(50);
  const Image screen = captureWindow(edit->Handle());
  EXPECT_EQ(screen.at(0, 12), synth::Rim[1]);
  EXPECT_EQ(screen.at(110, 12), synth::HotEdit);
}

// Printed, an enabled edit shows the skin's frame round what the system shows inside: the
// selected text in the selection's colours, as on the screen.
TEST_F(SkinnedEditTest, PrintingAnEnabledEditShowsTheSkinsFrameAndTheSystemsClientArea) {
  TsEdit* edit = NewEdit<TsEdit>();
  edit->SetText("ЖЖЖ ЖЖЖ");
  edit->SetFocus();
  SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
  pumpFor(50);
  const TColor selection = GetSysColor(COLOR_HIGHLIGHT);
  auto selected = [&](auto pixelAt) {
    int count = 0;
    for (int y = 2; y < edit->Height() - 2; ++y)
      for (int x = 2; x < edit->Width() - 2; ++x) count += pixelAt(x, y) == selection;
    return count;
  };
  const Image screen = captureWindow(edit->Handle());
  auto printed = Printed(edit);
  EXPECT_EQ(At(*printed, 0, 12), synth::Rim[1]) << "the skin's frame";
  EXPECT_EQ(At(*printed, 110, 12), synth::HotEdit) << "the section's colour beside the text";
  const int onScreen = selected([&](int x, int y) { return static_cast<TColor>(screen.at(x, y)); });
  EXPECT_GT(onScreen, 20);
  EXPECT_EQ(selected([&](int x, int y) { return At(*printed, x, y); }), onScreen);
}

// The frame the skin paints is as wide as the window's own border: none for an edit without
// one, where the client area starts at the window's edge.
TEST_F(SkinnedEditTest, TheFrameIsAsWideAsTheWindowsBorder) {
  struct Row {
    const char* Border;
    LONG_PTR Style, ExStyle;  // added to the window's, after taking both borders off
    TColor Edge, NextIn;      // at x 0 and 1 on the middle row
  };
  const Row rows[] = {{"sunken", 0, WS_EX_CLIENTEDGE, synth::Rim[0], synth::Rim[0]},
                      {"line", WS_BORDER, 0, synth::Rim[0], synth::Edit},
                      {"none", 0, 0, synth::Edit, synth::Edit}};
  SetCursorPos(700, 560);  // not over the edit
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Border);
    TsEdit* edit = NewEdit<TsEdit>();
    HWND wnd = edit->Handle();
    SetWindowLongPtrW(wnd, GWL_STYLE, (GetWindowLongPtrW(wnd, GWL_STYLE) & ~WS_BORDER) | row.Style);
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE) | row.ExStyle);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    SendMessageW(wnd, WM_NCPAINT, 1, 0);  // the frame alone again, as on a hover
    pumpFor(50);
    const Image screen = captureScreenOf(wnd);
    EXPECT_EQ(screen.at(0, 12), row.Edge);
    EXPECT_EQ(screen.at(1, 12), row.NextIn);
  }
}

TEST_F(SkinnedEditTest, ItsBoundLabelFollowsIt) {
  TsEdit* edit = NewEdit<TsEdit>();
  edit->SetName("sEdit1");
  edit->BoundLabel->SetCaption("Поиск");
  edit->BoundLabel->SetActive(true);
  TsEditLabel* label = edit->BoundLabel->TheLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Left() + label->Width(), edit->Left() - 4);
  edit->SetLeft(70);
  EXPECT_EQ(label->Left() + label->Width(), 66);
  edit->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  edit->Hide();
  EXPECT_FALSE(label->Visible());
  edit->Free();  // frees its label too
}

}  // namespace

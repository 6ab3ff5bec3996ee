// The skinned combo box: with a synthetic skin each look shows the section colours of the box
// and of its button on the screen; the user opens the list and chooses with posted mouse
// messages; typed Russian text comes back as Windows-1251; a read-only box refuses the user;
// without a skin it is the framework's combo box to the pixel.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/tests/ui_fixture.h"
#include "framework/text_encoding.h"
#include "skin/engine/s_combo_box.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

// The button's frame: a 3-pixel rim round a face, per look (normal, hot, pressed).
constexpr TColor BtnRim[3] = {0x000099, 0x990099, 0x999900};
constexpr TColor BtnFace[3] = {0x000044, 0x440044, 0x444400};
constexpr TColor ComboInk = 0x80FFFF;

// "SynthCombo": the box's frame in the synthetic colours (synth::Rim, synth::Face), its
// button in the ones above, the open list as EDIT; with `glow`, a hot box glows in it.
std::string WriteComboSkin(TColor glow = clNone) {
  const std::string frame = "BORDERSMASK=!FRAME.BMP!3!0!0!3!3!3!3\r\n";
  const std::string options = "[GLOBALINFO]\r\nCOLOR=0x202020\r\nFONTCOLOR=0xF0F0F0\r\n"
                              "[COMBOBOX]\r\nCOLOR=0x400000\r\nHOTCOLOR=0x004000\r\nFONTCOLOR=0x80FFFF\r\n"
                              "HOTFONTCOLOR=0x80FFFF\r\n" + frame +
                              (glow == clNone ? "" : "GLOW=1\r\nGLOWMARGIN=0\r\nGLOW0=!GLOW.PNG!1!0!3!4!4!4!4\r\n") +
                              "[COMBOBTN]\r\nCOLOR=0x000044\r\nHOTCOLOR=0x440044\r\nBORDERSMASK=!BTN.BMP!3!0!0!3!3!3!3\r\n"
                              "[EDIT]\r\nCOLOR=0x301010\r\nFONTCOLOR=0xFFFF80\r\n" + frame;
  const std::string dir = efir::GetCurrentDir() + "\\combo_skins";
  ScratchFolder scratch("combo_skins");
  SkinFiles files{{"Options.dat", options},
                  {"FRAME.BMP", FrameStrip(synth::Rim, synth::Face)},
                  {"BTN.BMP", FrameStrip(BtnRim, BtnFace)}};
  if (glow != clNone) files.emplace_back("GLOW.PNG", GlowPicture(glow));
  WriteSkinFolder(dir + "\\SynthCombo", files);
  return dir;
}

const char* const kPresets[] = {"Классика", "Рок", "Поп", "Эквалайзер"};

class ComboTest : public UiTest {
 protected:
  template <class Box>
  Box* NewBox(TComboBoxStyle style = csDropDownList) {
    // A cursor left over the new box would make it hot.
    SetCursorPos(700, 560);
    form = NewForm(220, 200);
    auto* box = new Box(form);
    box->SetParent(form);
    box->SetStyle(style);
    box->SetBounds(10, 10, 160, 21);
    for (const char* preset : kPresets) box->Items().Add(preset);
    box->OnSelect = [this, box](TObject*) { selected.push_back(box->Text()); };
    pumpFor(30);
    // The form gave its only control the focus; the tests give it where they mean to.
    ::SetFocus(form->Handle());
    pumpFor(30);
    return box;
  }

  static HWND ListOf(TComboBox* box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box->Handle(), &info);
    return info.hwndList;
  }
  static HWND EditOf(TComboBox* box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box->Handle(), &info);
    return info.hwndItem == box->Handle() ? nullptr : info.hwndItem;
  }
  static POINT ButtonPoint(TComboBox* box) { return {box->Width() - 9, box->Height() / 2}; }
  static void MouseTo(TComboBox* box, POINT p) {
    const POINT screen = box->ClientToScreen(p);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(box->Handle(), WM_MOUSEMOVE, 0, At(p.x, p.y));
    pumpFor(30);
  }
  static void Post(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(wnd, msg, wParam, lParam);
    pumpFor(40);
  }
  // The user clicks the button: the list opens.
  static void OpenByMouse(TComboBox* box) {
    const POINT p = ButtonPoint(box);
    MouseTo(box, p);
    Post(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
    Post(box->Handle(), WM_LBUTTONUP, 0, At(p.x, p.y));
  }
  // The user clicks item `index` of the open list.
  static void ChooseByMouse(TComboBox* box, int index) {
    HWND list = ListOf(box);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const int x = (item.left + item.right) / 2, y = (item.top + item.bottom) / 2;
    POINT screen{x, y};
    ClientToScreen(list, &screen);
    SetCursorPos(screen.x, screen.y);
    Post(list, WM_MOUSEMOVE, 0, At(x, y));
    Post(list, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    Post(list, WM_LBUTTONUP, 0, At(x, y));
  }

  TForm* form = nullptr;
  std::vector<std::string> selected;
};

class SkinnedComboTest : public ComboTest {
 protected:
  void SetUp() override {
    ComboTest::SetUp();
    UseSkin(manager, WriteComboSkin(), "SynthCombo");
  }
  TsSkinManager manager{nullptr};
};

// The box's rim at its left edge and its button's rim and face, as the screen shows them.
TEST_F(SkinnedComboTest, EachLookShowsTheSectionColoursOfBoxAndButton) {
  struct Row {
    const char* Look;
    void (*Arrange)(TsComboBox*);
    int Box, Button;  // -1: the disabled look, unlike the normal one
  };
  const Row rows[] = {
      {"normal", [](TsComboBox*) {}, 0, 0},
      {"hot", [](TsComboBox* b) { MouseTo(b, ButtonPoint(b)); }, 1, 1},
      {"focused", [](TsComboBox* b) { b->SetFocus(); }, 1, 1},
      {"dropped",
       [](TsComboBox* b) {
         b->SetFocus();
         Post(b->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
       },
       1, 2},
      {"disabled", [](TsComboBox* b) { b->SetEnabled(false); }, -1, -1},
  };
  for (TComboBoxStyle style : {csDropDownList, csDropDown})
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.Look) + (style == csDropDown ? " drop-down" : " list"));
      auto* box = NewBox<TsComboBox>(style);
      ASSERT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 1);
      row.Arrange(box);
      pumpFor(40);
      const RECT button = box->ButtonRect();
      const int y = box->Height() / 2;
      const Image screen = captureWindow(box->Handle());
      const TColor boxRim = screen.at(1, y), buttonRim = screen.at(button.left + 1, y),
                   buttonFace = screen.at((button.left + button.right) / 2, button.top + 4);
      if (row.Box < 0) {
        EXPECT_NE(boxRim, synth::Rim[0]);
        EXPECT_NE(buttonRim, BtnRim[0]);
      } else {
        EXPECT_EQ(boxRim, synth::Rim[row.Box]);
        EXPECT_EQ(buttonRim, BtnRim[row.Button]);
        EXPECT_EQ(buttonFace, BtnFace[row.Button]);
        EXPECT_EQ(box->ListShown(), row.Button == 2);
      }
      if (box->ListShown()) Post(box->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
      EXPECT_FALSE(box->ListShown());
    }
}

// The chosen text in the box's font colour, on the face; the focused list box shows it
// selected.
// The box asks for its halo on entering and the common hover handling asks again: the screen
// shows one halo, and none once the mouse has gone.
TEST_F(ComboTest, AHoveredBoxGlowsOnce) {
  TsSkinManager manager{nullptr};
  UseSkin(manager, WriteComboSkin(synth::Glow), "SynthCombo");
  for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
    SCOPED_TRACE(style == csDropDown ? "with edit" : "list only");
    auto* box = NewBox<TsComboBox>(style);
    // Onto the frame, then on into the edit (when there is one), as the mouse goes.
    MouseTo(box, {2, 10});
    if (HWND edit = EditOf(box)) {
      SetCursorPos(box->ClientToScreen({20, 10}).x, box->ClientToScreen({20, 10}).y);
      Post(edit, WM_MOUSEMOVE, 0, At(10, 5));
    }
    EXPECT_EQ(GlowWindowsShown(), 1);
    const POINT beside = box->ClientToScreen({-2, 10});
    EXPECT_EQ(captureScreen({beside.x, beside.y, beside.x + 1, beside.y + 1}).at(0, 0), synth::Glow);
    SetCursorPos(700, 560);
    EXPECT_TRUE(pumpUntil([] { return GlowWindowsShown() == 0; }, 1000));
  }
  ReleaseAllGlows();
}

TEST_F(SkinnedComboTest, TheClosedBoxShowsTheChosenTextOnTheFace) {
  auto* box = NewBox<TsComboBox>(csDropDownList);
  box->SetItemIndex(1);
  pumpFor(40);
  const RECT button = box->ButtonRect();
  auto countInk = [&](const Image& screen, TColor ink) {
    int n = 0;
    for (int y = 3; y < box->Height() - 3; ++y)
      for (int x = 4; x < button.left - 1; ++x) n += static_cast<TColor>(screen.at(x, y)) == ink;
    return n;
  };
  const Image plain = captureWindow(box->Handle());
  EXPECT_GT(countInk(plain, ComboInk), 5) << "the text in the section's font colour";
  EXPECT_EQ(plain.at(button.left - 4, 4), synth::Face[0]);
  saveScreenshot(box->Handle(), "combo-skinned-closed");

  box->SetFocus();
  pumpFor(40);
  const Image focused = captureWindow(box->Handle());
  EXPECT_EQ(focused.at(button.left - 4, box->Height() / 2), static_cast<COLORREF>(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST_F(SkinnedComboTest, TheUserOpensTheListAndChoosesWithTheMouse) {
  for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
    SCOPED_TRACE(style == csDropDown ? "drop-down" : "list");
    auto* box = NewBox<TsComboBox>(style);
    selected.clear();
    OpenByMouse(box);
    ASSERT_TRUE(box->ListShown());
    EXPECT_TRUE(IsWindowVisible(ListOf(box)));
    EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_SETBORDERDRAWN), 1) << "the open list is the box's";
    EXPECT_EQ(captureWindow(box->Handle()).at(box->ButtonRect().left + 1, box->Height() / 2), BtnRim[2]);
    ChooseByMouse(box, 2);
    EXPECT_FALSE(box->ListShown());
    EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_SETBORDERDRAWN), 0);
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(box->Text(), "Поп");
    // The handler already reads the chosen item's text.
    EXPECT_EQ(selected, (std::vector<std::string>{"Поп"}));
  }
}

TEST_F(SkinnedComboTest, TypedRussianTextComesBackAsWindows1251) {
  auto* box = NewBox<TsComboBox>(csDropDown);
  HWND edit = EditOf(box);
  ASSERT_NE(edit, nullptr);
  box->SetFocus();
  pumpFor(30);
  for (wchar_t c : std::wstring(L"Джаз ёЁ")) Post(edit, WM_CHAR, c, 1);
  EXPECT_EQ(box->Text(), "Джаз ёЁ");
  box->SetText("Эквалайзер №1");
  wchar_t shown[64]{};
  GetWindowTextW(edit, shown, 64);
  EXPECT_EQ(std::wstring(shown), L"Эквалайзер №1");
  // Unfocused, the skin draws the text over the edit's place.
  form->SetFocus();
  pumpFor(40);
  int ink = 0;
  const Image screen = captureWindow(box->Handle());
  for (int y = 3; y < box->Height() - 3; ++y)
    for (int x = 4; x < box->ButtonRect().left - 1; ++x) ink += static_cast<TColor>(screen.at(x, y)) == ComboInk;
  EXPECT_GT(ink, 5);
}

TEST_F(SkinnedComboTest, AReadOnlyBoxRefusesKeysPasteAndTheMouse) {
  for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
    SCOPED_TRACE(style == csDropDown ? "drop-down" : "list");
    auto* box = NewBox<TsComboBox>(style);
    box->SetItemIndex(0);
    box->SetReadOnly(true);
    box->SetFocus();
    pumpFor(30);
    HWND keys = EditOf(box) ? EditOf(box) : box->Handle();
    for (WPARAM key : {WPARAM{VK_DOWN}, WPARAM{VK_END}, WPARAM{VK_NEXT}, WPARAM{'R'}, WPARAM{VK_SPACE}, WPARAM{VK_F4}})
      Post(keys, WM_KEYDOWN, key, 1);
    Post(keys, WM_CHAR, L'Р', 1);
    Post(keys, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    Post(keys, WM_PASTE, 0, 0);
    OpenByMouse(box);
    EXPECT_FALSE(box->ListShown());
    EXPECT_FALSE(IsWindowVisible(ListOf(box)));
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Text(), "Классика");
    EXPECT_TRUE(selected.empty());
    // Code still changes it.
    box->SetItemIndex(3);
    EXPECT_EQ(box->Text(), "Эквалайзер");
  }
}

TEST_F(ComboTest, UnskinnedItIsTheFrameworksComboBox) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
    SCOPED_TRACE(style == csDropDown ? "drop-down" : "list");
    TComboBox* boxes[] = {NewBox<TComboBox>(style), NewBox<TsComboBox>(style)};
    std::vector<std::string> outcome[2];
    for (int i = 0; i < 2; ++i) {
      selected.clear();
      boxes[i]->SetItemIndex(0);
      OpenByMouse(boxes[i]);
      ChooseByMouse(boxes[i], 3);
      outcome[i] = selected;
      outcome[i].push_back(boxes[i]->Text());
    }
    EXPECT_EQ(outcome[0], (std::vector<std::string>{"Эквалайзер", "Эквалайзер"}));
    EXPECT_EQ(outcome[1], outcome[0]);
    EXPECT_EQ(SendSkinCommandToWindow(boxes[1]->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
    // Each captured while its form is the topmost window.
    const Image ours = captureWindow(NewBox<TsComboBox>(style)->Handle());
    const Image plain = captureWindow(NewBox<TComboBox>(style)->Handle());
    EXPECT_EQ(ours.pixels, plain.pixels) << "drawn by the system as the framework's";
  }
}

// A list adapter the test registers in place of the window-skinning library's.
struct CountedAdapter : TsComboListAdapter {
  explicit CountedAdapter(int& alive) : alive(alive) { ++alive; }
  ~CountedAdapter() override { --alive; }
  int& alive;
};

TEST_F(SkinnedComboTest, OnlyAListLongerThanDropDownCountGetsAnAdapterUntilTheSkinGoes) {
  int alive = 0, made = 0;
  SetComboListAdapterFactory([&](const TsComboListRequest& request) {
    ++made;
    EXPECT_STREQ(request.Section, "EDIT");
    return std::make_unique<CountedAdapter>(alive);
  });
  auto* box = NewBox<TsComboBox>();
  box->SetDropDownCount(4);
  Post(box->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Post(box->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(made, 0) << "four items fit";
  box->Items().Add("Джаз");
  pumpFor(30);
  for (int open = 0; open < 2; ++open) {
    Post(box->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Post(box->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  }
  EXPECT_EQ(made, 1);
  EXPECT_EQ(alive, 1);
  EXPECT_NE(box->ListAdapter(), nullptr);
  manager.SetActive(false);
  SendMessageW(box->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(&manager));
  EXPECT_EQ(alive, 0);
  SetComboListAdapterFactory(nullptr);
}

// The image and every pen and brush go back to the system with the box; tiny sizes paint.
TEST_F(SkinnedComboTest, FreedBoxesGiveBackTheirImageAndTinyOnesPaint) {
  auto* box = NewBox<TsComboBox>();
  Printed(box);
  const HBITMAP image = box->SkinData->CacheBitmap->Handle();
  ASSERT_EQ(GetObjectType(image), static_cast<DWORD>(OBJ_BITMAP));
  box->Free();
  EXPECT_EQ(GetObjectType(image), 0u);

  for (SIZE size : {SIZE{1, 1}, SIZE{4, 4}, SIZE{20, 8}}) {
    auto* tiny = NewBox<TsComboBox>(csDropDown);
    tiny->SetBounds(10, 10, size.cx, size.cy);
    tiny->SetFocus();
    pumpFor(30);
    Printed(tiny);
    tiny->Repaint();
  }
}

}  // namespace

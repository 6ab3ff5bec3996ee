// A replaced WindowProc on real windows: what passes through it (window messages and the
// framework's notices), what it can take over (showing, repainting, the wheel), and the
// control state, PaintTo and SetChildOrder that code around it relies on.
#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using efir::test::UiTest;
using UiWindowProc = UiTest;

// Puts a recording procedure in front of the control's own one; forgets it when freed.
class Recorder {
 public:
  explicit Recorder(TControl* control) : control_(control), previous_(control->WindowProc()) {
    control->SetWindowProc([this](TMessage& m) {
      if (m.Msg >= CM_BASE && m.Msg < CN_BASE) notices.push_back(m);
      if (Before) Before(m);
      if (!m.Result) previous_(m);
    });
  }
  ~Recorder() { control_->SetWindowProc(previous_); }

  bool Heard(UINT msg) const {
    for (const TMessage& m : notices)
      if (m.Msg == msg) return true;
    return false;
  }
  const TMessage* Last(UINT msg) const {
    for (auto it = notices.rbegin(); it != notices.rend(); ++it)
      if (it->Msg == msg) return &*it;
    return nullptr;
  }

  std::vector<TMessage> notices;
  // Runs before the previous procedure; a non-zero Result keeps the message from it.
  std::function<void(TMessage&)> Before;

 private:
  TControl* control_;
  TWndMethod previous_;
};

TEST_F(UiWindowProc, AReplacementSeesWindowMessagesAndNoticesAnswersAndGivesBack) {
  TForm* form = NewForm();
  constexpr UINT kAsk = WM_APP + 7;
  TWndMethod own = form->WindowProc();
  int seen = 0;
  form->SetWindowProc([&](TMessage& m) {
    if (m.Msg == kAsk) {
      ++seen;
      m.Result = 42;
      return;
    }
    if (m.Msg == CM_COLORCHANGED) ++seen;
    own(m);
  });
  EXPECT_EQ(SendMessageW(form->Handle(), kAsk, 0, 0), 42);  // through the window
  form->SetColor(clRed);                                     // a notice, through Perform
  EXPECT_EQ(seen, 2);

  form->SetWindowProc(own);
  EXPECT_EQ(SendMessageW(form->Handle(), kAsk, 0, 0), 0);
  EXPECT_EQ(seen, 2);

  // A procedure that gives the old one back while it runs (a skin taking itself off).
  form->SetWindowProc([&, form](TMessage& m) {
    form->SetWindowProc(own);
    m.Result = 7;
  });
  EXPECT_EQ(form->Perform(kAsk), 7);
  EXPECT_EQ(form->Perform(kAsk), 0);
  form->SetWindowProc(nullptr);  // empty: WndProc itself
  form->SetColor(clBlue);
  EXPECT_TRUE(shown.empty());
}

TEST_F(UiWindowProc, ShowingChangedShowsTheWindowInsideItsHandlerOnce) {
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(30, 30, 100, 80);
  form->HandleNeeded();
  {
    Recorder recorder(form);
    std::vector<bool> visibleBefore;
    recorder.Before = [&](TMessage& m) {
      if (m.Msg == CM_SHOWINGCHANGED) visibleBefore.push_back(IsWindowVisible(form->Handle()));
    };
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->Show();  // already showing: nothing changes, nothing is said
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));

    std::vector<WPARAM> sent;
    for (const TMessage& m : recorder.notices)
      if (m.Msg == CM_SHOWINGCHANGED) sent.push_back(m.WParam);
    EXPECT_EQ(sent, (std::vector<WPARAM>{1, 0}));
    EXPECT_EQ(visibleBefore, (std::vector<bool>{false, true}));

    // A replacement that keeps the notice from the form keeps the window hidden.
    recorder.Before = [](TMessage& m) {
      if (m.Msg == CM_SHOWINGCHANGED) m.Result = 1;
    };
    form->Show();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
  }
  form->Free();
}

TEST_F(UiWindowProc, TheFormHearsControlsComeAndGoAnywhereInItsTree) {
  TForm* form = NewForm();
  auto* panel = efir::Place(new TPanel(form), form, 0, 0, 100, 100);
  Recorder recorder(form);
  auto* button = efir::Place(new TButton(form), panel, 5, 5, 60, 20);
  const TMessage* added = recorder.Last(CM_CONTROLLISTCHANGE);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->WParam, reinterpret_cast<WPARAM>(button));
  EXPECT_EQ(added->LParam, 1);
  EXPECT_TRUE(IsWindow(button->Handle()));  // the window exists by the time it is said

  button->Free();
  const TMessage* removed = recorder.Last(CM_CONTROLLISTCHANGE);
  EXPECT_EQ(removed->WParam, reinterpret_cast<WPARAM>(button));
  EXPECT_EQ(removed->LParam, 0);
}

TEST_F(UiWindowProc, AWheelNoControlTookReachesTheFormAsANotice) {
  TForm* form = NewForm();
  auto* panel = efir::Place(new TPanel(form), form, 0, 0, 100, 100);
  Recorder recorder(form);
  const WPARAM wheel = MAKEWPARAM(0, WHEEL_DELTA);
  SendMessageW(panel->Handle(), WM_MOUSEWHEEL, wheel, MAKELPARAM(30, 30));
  const TMessage* heard = recorder.Last(CM_MOUSEWHEEL);
  ASSERT_NE(heard, nullptr);
  EXPECT_EQ(heard->WParam, wheel);

  // Taken by the panel: the form hears nothing more.
  Recorder panelRecorder(panel);
  panelRecorder.Before = [](TMessage& m) {
    if (m.Msg == CM_MOUSEWHEEL) m.Result = 1;
  };
  recorder.notices.clear();
  EXPECT_EQ(SendMessageW(panel->Handle(), WM_MOUSEWHEEL, wheel, MAKELPARAM(30, 30)), 1);
  EXPECT_FALSE(recorder.Heard(CM_MOUSEWHEEL));
}

TEST_F(UiWindowProc, AReplacementCanTakeTheRepaintOver) {
  TForm* form = NewForm(120, 80);
  RECT dirty{};
  ValidateRect(form->Handle(), nullptr);
  form->Invalidate();
  EXPECT_TRUE(GetUpdateRect(form->Handle(), &dirty, FALSE));

  Recorder recorder(form);
  recorder.Before = [](TMessage& m) {
    if (m.Msg == CM_INVALIDATE) m.Result = 1;  // "I paint it myself"
  };
  ValidateRect(form->Handle(), nullptr);
  form->Invalidate();
  EXPECT_FALSE(GetUpdateRect(form->Handle(), &dirty, FALSE));
  EXPECT_TRUE(recorder.Heard(CM_INVALIDATE));
}

TEST_F(UiWindowProc, ControlStateTellsWindowMakingAndPaintingACopy) {
  TForm* form = NewForm(60, 40);
  auto* panel = new TPanel(form);
  panel->SetBounds(0, 0, 30, 30);
  std::vector<TControlState> whileCreating, whilePainting;
  TWndMethod own = panel->WindowProc();
  panel->SetWindowProc([&, panel](TMessage& m) {
    if (m.Msg == WM_CREATE) whileCreating.push_back(panel->ControlState());
    if (m.Msg == WM_PAINT) whilePainting.push_back(panel->ControlState());
    own(m);
  });
  panel->SetParent(form);
  ASSERT_EQ(whileCreating.size(), 1u);
  EXPECT_TRUE(whileCreating[0] & csCreating);
  EXPECT_EQ(panel->ControlState(), 0u);

  whilePainting.clear();
  efir::gdi::WindowDC screen;
  efir::gdi::MemoryDC memory(screen);
  efir::gdi::Object<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 60, 40));
  efir::gdi::Selection keep(memory, bitmap.get());
  form->PaintTo(memory, 0, 0);
  ASSERT_FALSE(whilePainting.empty());
  EXPECT_TRUE(whilePainting[0] & csPaintCopy);
  EXPECT_EQ(panel->ControlState(), 0u);
  EXPECT_EQ(form->ControlState(), 0u);
  panel->SetWindowProc(own);
}

TEST_F(UiWindowProc, PaintToCopiesAHiddenFormWithItsChildrenAtAnOffset) {
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 40, 30);
  form->SetColor(clRed);
  auto* panel = efir::Place(new TPanel(form), form, 10, 10, 20, 10);
  panel->SetColor(clBlue);
  panel->SetBevelOuter(bvNone);
  form->HandleNeeded();  // made, never shown

  efir::gdi::WindowDC screen;
  efir::gdi::MemoryDC memory(screen);
  efir::gdi::Object<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 60, 50));
  {
    efir::gdi::Selection keep(memory, bitmap.get());
    RECT all{0, 0, 60, 50};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    form->PaintTo(memory, 5, 5);
  }
  efir::test::Image image = efir::test::captureBitmap(bitmap.get());
  struct Case { int x, y; COLORREF colour; };
  for (Case c : {Case{2, 2, RGB(255, 255, 255)}, Case{6, 6, RGB(255, 0, 0)},
                 Case{20, 20, RGB(0, 0, 255)}, Case{44, 34, RGB(255, 0, 0)},
                 Case{46, 36, RGB(255, 255, 255)}})
    EXPECT_EQ(image.at(c.x, c.y), c.colour) << c.x << "," << c.y;
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form->Free();
}

TEST_F(UiWindowProc, SetChildOrderMovesTheChildAndItsWindow) {
  TForm* form = NewForm();
  auto* a = efir::Place(new TPanel(form), form, 0, 0, 50, 50);
  auto* b = efir::Place(new TPanel(form), form, 10, 10, 50, 50);
  auto* c = efir::Place(new TPanel(form), form, 20, 20, 50, 50);
  form->SetChildOrder(c, 0);
  EXPECT_EQ(form->Controls(0), c);
  EXPECT_EQ(form->Controls(1), a);
  EXPECT_EQ(form->Controls(2), b);
  // Stacked right below the next child in the order.
  EXPECT_EQ(GetWindow(a->Handle(), GW_HWNDNEXT), c->Handle());

  form->SetChildOrder(a, 99);  // past the end: the last one, on top
  EXPECT_EQ(form->Controls(2), a);
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), a->Handle());
}

}  // namespace

// The label with shadow: where the shadow lands (read back from the window's pixels), the
// size it takes, and when it reports the pointer entering and leaving.
#include "widgets/rx_label.h"

#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using efir::test::At;

// The smallest rectangle around the pixels of `image` inside `area` that `match` accepts.
RECT Extent(const efir::test::Image& image, const RECT& area,
            const std::function<bool(COLORREF)>& match) {
  RECT found{area.right, area.bottom, area.left - 1, area.top - 1};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (!match(image.at(x, y))) continue;
      found = {std::min<LONG>(found.left, x), std::min<LONG>(found.top, y),
               std::max<LONG>(found.right, x + 1), std::max<LONG>(found.bottom, y + 1)};
    }
  }
  return found;
}

bool Dark(COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90; }
bool Red(COLORREF c) { return GetRValue(c) > 160 && GetGValue(c) < 110 && GetBValue(c) < 110; }

class RxLabel : public efir::test::UiTest {
 protected:
  TRxLabel* NewLabel(TForm* form, const std::string& caption) {
    auto* label = new TRxLabel(form);
    label->SetParent(form);
    label->SetLeft(20);
    label->SetTop(20);
    label->Font().SetName("Tahoma");
    label->Font().SetHeight(-40);
    label->Font().SetStyle(fsBold);
    label->Font().SetColor(clBlack);
    label->SetCaption(caption);
    return label;
  }

  SIZE TextSize(TRxLabel* label, const std::string& text) {
    TCanvas measure;
    efir::gdi::WindowDC screen;
    efir::CanvasBinding bound(measure, screen);
    measure.Font().Assign(label->Font());
    return measure.TextExtent(text);
  }
};

TEST_F(RxLabel, TheShadowLiesTowardsShadowPos) {
  TForm* form = NewForm(200, 100);
  form->SetColor(clWhite);
  TRxLabel* label = NewLabel(form, "25");
  label->SetShadowColor(clRed);
  label->SetShadowSize(2);
  struct Case {
    TShadowPosition pos;
    int dx, dy;
  };
  const Case cases[] = {{spLeftTop, -2, -2}, {spLeftBottom, -2, 2}, {spRightBottom, 2, 2},
                        {spRightTop, 2, -2}};
  for (const Case& c : cases) {
    label->SetShadowPos(c.pos);
    form->Repaint();
    efir::test::Image shot = efir::test::captureWindow(form->Handle());
    if (c.pos == spLeftTop) efir::test::saveScreenshot(form->Handle(), "widgets-label-shadow");
    RECT area = label->BoundsRect();
    InflateRect(&area, 4, 4);
    RECT text = Extent(shot, area, Dark);
    RECT shadow = Extent(shot, area, Red);
    ASSERT_LT(text.left, text.right) << c.pos;
    ASSERT_LT(shadow.left, shadow.right) << c.pos;
    // Where the shadow sticks out beyond the text it does so by the shadow size.
    if (c.dx < 0) EXPECT_EQ(shadow.left, text.left + c.dx) << c.pos;
    else EXPECT_EQ(shadow.right, text.right + c.dx) << c.pos;
    if (c.dy < 0) EXPECT_EQ(shadow.top, text.top + c.dy) << c.pos;
    else EXPECT_EQ(shadow.bottom, text.bottom + c.dy) << c.pos;
  }
}

TEST_F(RxLabel, ADisabledLabelWithoutShadowIsEngraved) {
  TForm* form = NewForm(200, 100);
  form->SetColor(clBlack);
  TRxLabel* label = NewLabel(form, "25");
  label->SetShadowSize(0);
  label->SetEnabled(false);
  form->Repaint();
  efir::test::Image shot = efir::test::captureWindow(form->Handle());
  RECT area = label->BoundsRect();
  COLORREF grey = ColorToRGB(clGrayText), light = ColorToRGB(clBtnHighlight);
  RECT text = Extent(shot, area, [&](COLORREF c) { return c == grey; });
  RECT shadow = Extent(shot, area, [&](COLORREF c) { return c == light; });
  ASSERT_LT(text.left, text.right);
  ASSERT_LT(shadow.left, shadow.right);
  EXPECT_EQ(shadow.right, text.right + 1);
  EXPECT_EQ(shadow.bottom, text.bottom + 1);
}

TEST_F(RxLabel, AutoSizeFitsTheTextTheShadowAndAMargin) {
  TForm* form = NewForm(300, 100);
  TRxLabel* label = NewLabel(form, "25");
  SIZE text = TextSize(label, "25");
  struct Case {
    TShadowPosition pos;
    int extraWidth, extraHeight;  // the shadow counts where it sticks out right or down
  };
  const Case cases[] = {{spLeftTop, 0, 0}, {spRightTop, 3, 0}, {spRightBottom, 3, 3},
                        {spLeftBottom, 0, 3}};
  label->SetShadowSize(3);
  for (const Case& c : cases) {
    label->SetShadowPos(c.pos);
    label->SetCaption("");
    label->SetCaption("25");
    EXPECT_EQ(label->Width(), text.cx + 2 + c.extraWidth) << c.pos;
    EXPECT_EQ(label->Height(), text.cy + c.extraHeight) << c.pos;
  }
  label->SetShadowPos(spLeftTop);
  label->SetCaption("");
  EXPECT_EQ(label->Height(), TextSize(label, " ").cy) << "an empty caption keeps one line";

  label->SetShowAccelChar(true);
  label->SetCaption("A&B");
  EXPECT_EQ(label->Width(), TextSize(label, "AB").cx + 2) << "& marks the accelerator";
  label->SetShowAccelChar(false);
  label->SetCaption("");
  label->SetCaption("A&B");
  EXPECT_EQ(label->Width(), TextSize(label, "A&B").cx + 2) << "& shown as it stands";

  label->SetAlignment(taRightJustify);
  int right = label->Left() + label->Width();
  label->SetCaption("Эфир");
  EXPECT_EQ(label->Left() + label->Width(), right) << "a right-justified label keeps its right edge";
}

TEST_F(RxLabel, EnterAndLeaveWaitForTheReleaseOfAPress) {
  TForm* form = NewForm(300, 120);
  TRxLabel* label = NewLabel(form, "Статус");
  std::vector<std::string> events;
  label->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
  label->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
  ASSERT_EQ(GetActiveWindow(), form->Handle()) << "the test form is the active window";
  HWND h = form->Handle();
  POINT outside = form->ClientToScreen({250, 110});
  SetCursorPos(outside.x, outside.y);

  SendMessageW(h, WM_MOUSEMOVE, 0, At(30, 30));
  SendMessageW(h, WM_MOUSEMOVE, 0, At(250, 110));
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));

  events.clear();
  SendMessageW(h, WM_MOUSEMOVE, 0, At(30, 30));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(250, 110));
  EXPECT_EQ(events, (std::vector<std::string>{"enter"})) << "no leave while the button is held";
  SendMessageW(h, WM_LBUTTONUP, 0, At(250, 110));
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));

  events.clear();
  label->SetEnabled(false);
  SendMessageW(h, WM_MOUSEMOVE, 0, At(30, 30));
  EXPECT_TRUE(events.empty()) << "a disabled label reports nothing";
}

TEST_F(RxLabel, ADisabledControlLaidOverTheLabelHidesItFromTheCursor) {
  TForm* form = NewForm(300, 120);
  TRxLabel* label = NewLabel(form, "Статус");
  auto* cover = new TRxLabel(form);  // made later: above the label
  cover->SetParent(form);
  cover->SetAutoSize(false);
  cover->SetBounds(25, 25, 20, 20);
  cover->SetEnabled(false);
  std::vector<std::string> events;
  label->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
  label->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
  HWND h = form->Handle();
  const struct {
    POINT at;
    std::vector<std::string> afterRelease;
  } cases[] = {
      {{70, 40}, {"enter"}},           // on the label alone: it stays inside
      {{30, 30}, {"enter", "leave"}},  // under the disabled cover: it is not the label's
  };
  for (const auto& c : cases) {
    events.clear();
    SendMessageW(h, WM_MOUSEMOVE, 0, At(250, 110));
    events.clear();
    POINT screen = form->ClientToScreen(c.at);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(h, WM_MOUSEMOVE, 0, At(70, 40));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(70, 40));
    SendMessageW(h, WM_LBUTTONUP, 0, At(70, 40));
    EXPECT_EQ(events, c.afterRelease) << c.at.x << "," << c.at.y;
  }
}

}  // namespace

// Alt and the caption's accelerator (either case, Cyrillic too) focus FocusControl; "&&"
// is no accelerator; with ShowFocus the label repaints as the focus comes and goes.
TEST_F(RxLabel, TheAcceleratorFocusesItsControl) {
  TForm* form = NewForm(300, 120);
  TRxLabel* label = NewLabel(form, "&Громкость && баланс");
  auto* volume = new TEdit(form);
  volume->SetParent(form);
  volume->SetBounds(20, 60, 100, 22);
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(150, 60, 100, 22);
  label->SetFocusControl(volume);
  label->SetShowFocus(true);
  SetActiveWindow(form->Handle());
  other->SetFocus();
  ASSERT_TRUE(other->Focused());
  const wchar_t lower = L'г', ampersand = L'&';
  SendMessageW(other->Handle(), WM_SYSCHAR, ampersand, 0);
  EXPECT_TRUE(other->Focused());
  ValidateRect(form->Handle(), nullptr);
  SendMessageW(other->Handle(), WM_SYSCHAR, lower, 0);
  EXPECT_TRUE(volume->Focused());
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(form->Handle(), &update, FALSE)) << "the focus rectangle is drawn";
  other->SetFocus();
  label->SetShowAccelChar(false);
  SendMessageW(other->Handle(), WM_SYSCHAR, lower, 0);
  EXPECT_TRUE(other->Focused());
}

// The rules of a skinned frame's mouse without windows: which hit code a frame point is and
// which button turns hot, the border drag frame with its minimum size, and where a maximized
// skinned form lies.
#include <gtest/gtest.h>

#include "skin/forms/form_mouse.h"
#include "skin/forms/title_buttons.h"

namespace {

// A 300 x 200 sizeable form: 4-pixel frame, 20-pixel caption, close, maximize, minimize
// from the right, each 18 wide, and an icon at the left.
TitleHitInput SizeableForm() {
  TitleHitInput in;
  in.Width = 300;
  in.Height = 200;
  in.SystemMenu = in.VisibleClose = in.VisibleMax = in.VisibleMin = true;
  in.EnabledMax = in.EnabledMin = true;
  in.ThickFrame = true;
  in.Close = {274, 4, 292, 22};
  in.Max = {254, 4, 272, 22};
  in.Min = {234, 4, 252, 22};
  in.Help = {214, 4, 232, 22};
  in.BorderWidth = in.TopBorder = in.TopBorderExt = 4;
  in.Caption = 20;
  in.TitleIcon = {6, 6, 22, 22};
  return in;
}

// The buttons of a maximized MDI child on a 19-pixel menu line, 12 wide, one pixel apart.
void MdiButtons(TitleHitInput& in) {
  in.MenuHeight = 19;
  in.MDIChildButtons = true;
  in.MDIClose = {250, 27, 262, 39};
  in.MDIRestore = {237, 27, 249, 39};
  in.MDIMin = {224, 27, 236, 39};
}

constexpr int kNoHot = -100;  // the hit leaves the hot button as it is

TEST(TitleHitTest, ButtonsBordersCaptionAndClientTable) {
  struct Case {
    const char* what;
    void (*change)(TitleHitInput&);
    POINT p;
    int code, hot;
  };
  auto none = [](TitleHitInput&) {};
  const Case cases[] = {
      {"close", none, {280, 10}, HTCLOSE, HTCLOSE},
      {"maximize", none, {260, 10}, HTMAXBUTTON, HTMAXBUTTON},
      {"minimize", none, {240, 10}, HTMINBUTTON, HTMINBUTTON},
      {"maximize disabled: a piece of the caption", [](TitleHitInput& in) { in.EnabledMax = false; }, {260, 10},
       HTCAPTION, HTCAPTION},
      {"maximized: the maximize button restores",
       [](TitleHitInput& in) { in.EnabledMax = false, in.EnabledRestore = in.Maximized = true; }, {260, 10},
       HTMAXBUTTON, HTMAXBUTTON},
      {"minimized: minimize restores though minimizing is off",
       [](TitleHitInput& in) { in.EnabledMin = false, in.Minimized = true; }, {240, 10}, HTMINBUTTON, HTMINBUTTON},
      {"minimize disabled", [](TitleHitInput& in) { in.EnabledMin = false; }, {240, 10}, HTCAPTION, HTCAPTION},
      {"without maximize the second button is minimize",
       [](TitleHitInput& in) { in.VisibleMax = false, in.Min = in.Max; }, {260, 10}, HTMINBUTTON, HTMINBUTTON},
      {"help after minimize", [](TitleHitInput& in) { in.HelpIcon = true; }, {220, 10}, HTHELP, HTHELP},
      {"help second when close is alone",
       [](TitleHitInput& in) { in.VisibleMax = in.VisibleMin = false, in.HelpIcon = true, in.Help = in.Max; },
       {260, 10}, HTHELP, HTHELP},
      {"no system menu: no buttons", [](TitleHitInput& in) { in.SystemMenu = false; }, {280, 10}, HTCAPTION, kNoHot},
      {"a border window answers for the buttons", [](TitleHitInput& in) { in.HasBorderForm = true; }, {280, 10},
       HTCAPTION, kNoHot},
      {"user button", [](TitleHitInput& in) { in.User = {{{194, 4, 212, 22}, true, true}}; }, {200, 10}, 1000, 1000},
      {"disabled user button", [](TitleHitInput& in) { in.User = {{{194, 4, 212, 22}, true, false}}; }, {200, 10},
       HTCAPTION, kNoHot},
      {"hidden user button", [](TitleHitInput& in) { in.User = {{{194, 4, 212, 22}, false, true}}; }, {200, 10},
       HTCAPTION, kNoHot},
      {"icon", none, {10, 10}, HTSYSMENU, kNoHot},
      {"caption", none, {100, 10}, HTCAPTION, kNoHot},
      {"top left corner", none, {1, 1}, HTTOPLEFT, -1},
      {"top", none, {150, 1}, HTTOP, -1},
      {"top right corner", none, {299, 2}, HTTOPRIGHT, -1},
      {"left", none, {1, 100}, HTLEFT, -1},
      {"right", none, {298, 100}, HTRIGHT, -1},
      {"bottom left", none, {2, 199}, HTBOTTOMLEFT, -1},
      {"bottom", none, {150, 198}, HTBOTTOM, -1},
      {"bottom right", none, {299, 199}, HTBOTTOMRIGHT, -1},
      {"a maximized form has no borders", [](TitleHitInput& in) { in.Maximized = true; }, {1, 100}, HTCLIENT, 0},
      {"a fixed frame has no borders", [](TitleHitInput& in) { in.ThickFrame = false; }, {298, 100}, HTCLIENT, 0},
      {"client", none, {150, 100}, HTCLIENT, 0},
      {"menu line", [](TitleHitInput& in) { in.MenuHeight = 19; }, {150, 35}, HTMENU, kNoHot},
      {"size grip", [](TitleHitInput& in) { in.InGrip = true; }, {290, 190}, HTBOTTOMRIGHT, HTBOTTOMRIGHT},
      {"maximized child's close on the menu line", MdiButtons, {255, 33}, 101, 101},
      {"maximized child's restore", MdiButtons, {240, 33}, 102, 102},
      {"maximized child's minimize", MdiButtons, {227, 33}, 103, 103},
      {"the menu line beside them", MdiButtons, {150, 33}, HTMENU, HTMENU},
      {"between two of them", MdiButtons, {236, 33}, HTMENU, HTMENU},
      {"the point moved by the extended margins",
       [](TitleHitInput& in) { MdiButtons(in), in.MDIShift = {15, 0}; }, {240, 33}, 101, 101},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TitleHitInput in = SizeableForm();
    c.change(in);
    in.P = c.p;
    const TitleHit hit = TitleHitTest(in);
    EXPECT_EQ(hit.Code, c.code);
    EXPECT_EQ(hit.Hot.value_or(kNoHot), c.hot);
  }
}

TEST(TitleHitTest, UserButtonsAreNumberedAfterTheSystemButtonsVisibleOrNot) {
  TitleHitInput in = SizeableForm();
  in.User = {{{194, 4, 212, 22}, false, true}, {{174, 4, 192, 22}, true, true}};
  in.P = {180, 10};
  EXPECT_EQ(TitleButtonNumberAt(in), 5);
  EXPECT_EQ(TitleHitTest(in).Code, 1001);
}

TEST(BorderDragRect, DraggedEdgesFollowTheMouseAndKeepTheMinimumSize) {
  const RECT form{100, 100, 400, 300};
  const SIZE min{200, 100};
  struct Case {
    int kind;
    POINT delta;
    RECT expected;
  };
  const Case cases[] = {
      {HTLEFT, {-20, 5}, {80, 100, 400, 300}},
      {HTLEFT, {250, 0}, {200, 100, 400, 300}},  // never narrower than 200
      {HTRIGHT, {30, 0}, {100, 100, 430, 300}},
      {HTRIGHT, {-250, 0}, {100, 100, 300, 300}},
      {HTTOP, {0, -10}, {100, 90, 400, 300}},
      {HTTOP, {0, 150}, {100, 200, 400, 300}},
      {HTBOTTOM, {0, -150}, {100, 100, 400, 200}},
      {HTTOPLEFT, {10, 10}, {110, 110, 400, 300}},
      {HTTOPRIGHT, {10, 10}, {100, 110, 410, 300}},
      {HTBOTTOMLEFT, {10, 10}, {110, 100, 400, 310}},
      {HTBOTTOMRIGHT, {10, 10}, {100, 100, 410, 310}},
      {0, {10, 10}, {100, 100, 410, 310}},  // a drag begun from the Size command
  };
  for (const Case& c : cases) {
    const RECT r = BorderDragRect(c.kind, form, form, c.delta, min);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << c.kind << ": " << r.left << "," << r.top << "," << r.right << ","
                                            << r.bottom;
  }
}

TEST(MaximizedBounds, FrameOutsideTheWorkAreaAndTheSkinsMaximizedTitle) {
  struct Case {
    const char* what;
    bool caption;
    int ext, plain, title, max, center;
    int y, cx, cy;
  };
  const Case cases[] = {
      {"plain caption", true, 20, 20, 30, 30, 0, 0, 1032, 742},
      {"taller normal title", true, 20, 20, 30, 24, 2, -8, 1032, 750},
      {"extended caption", true, 40, 20, 30, 30, 0, 12, 1032, 730},
      {"no caption", false, 0, 0, 30, 30, 0, -4, 1032, 746},
  };
  for (const Case& c : cases) {
    MaximizeMeasures m;
    m.WorkArea = {0, 0, 1024, 738};
    m.FrameWidth = 4;
    m.FullCaption = c.caption;
    m.CaptionExt = c.ext;
    m.CaptionPlain = c.plain;
    m.TitleHeight = c.title;
    m.MaxHeight = c.max;
    m.CenterOffset = c.center;
    const MaximizedPlacement p = MaximizedBounds(m);
    EXPECT_EQ(p.PositionY, c.y) << c.what;
    EXPECT_EQ(p.Size.cx, c.cx) << c.what;
    EXPECT_EQ(p.Size.cy, c.cy) << c.what;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include "framework/application.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/tests/state_fixture.h"

namespace efir::test {
namespace {

using Box = Skinned<TCustomControl>;

LRESULT Send(Box* c, WORD sub, WORD argument = 0, LPARAM lParam = 0) {
  return SendMessageW(c->Handle(), SM_ALPHACMD, MakeSkinWParam(sub, argument), lParam);
}

TEST_F(SkinStateTest, SubCommandsSentToTheWindowAreAnswered) {
  auto* panel = Place<Skinned<TPanel>>(form, "PANEL", {0, 0, 200, 150});
  auto* magenta = Place<Skinned<TPanel>>(form, "MAGENTA", {200, 0, 300, 150});
  magenta->SetColor(clBtnFace);
  const struct {
    const char* Section;
    Skinned<TPanel>* Parent;
    WORD Sub;
    LRESULT Answer;
  } cases[] = {
      {"BUTTON", panel, SKC_ISSKINNED, 1},
      {"BUTTON", panel, SKC_ISUPDATING, 1},       // the background has not been painted yet
      {"BUTTON", panel, SKC_ISPARENTPENDING, 1},
      {"BUTTON", panel, SKC_GETSECTIONINDEX, Section("BUTTON") + 1},
      {nullptr, panel, SKC_GETSECTIONINDEX, 0},
      {"BUTTON", panel, SKC_GETBGCOLOR, 0x5C4020},
      {"GLASS", panel, SKC_GETBGCOLOR, 0x112233},           // the parent's colour
      {"GLASS", magenta, SKC_GETBGCOLOR, clBtnFace},        // a parent without one: its Color as it is
      {"HALF", panel, SKC_GETBGCOLOR, 0x030609},            // 50/256 of the parent's
      {"GRAD", panel, SKC_ISBGVARYING, 1},
      {"BUTTON", panel, SKC_ISBGVARYING, 0},
      {"GLASS", panel, SKC_ISBGVARYING, 0},                 // as its parent answers
      {"BUTTON", panel, SKC_CHILDTRANSPARENCY, 0},
      {"BUTTON", panel, 33, 0},                             // a free number
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section ? c.Section : "no section") + " " + std::to_string(c.Sub));
    auto* box = Place(c.Parent, c.Section);
    EXPECT_EQ(Send(box, c.Sub), c.Answer);
  }
  // Filled in, yet not counted as answered: the control's own handling has the last word.
  TMessage application{SM_ALPHACMD, MakeSkinWParam(SKC_GETAPPLICATION), 0};
  EXPECT_FALSE(SkinCommandHandler(application, panel->SkinData.get()));
  EXPECT_EQ(application.Result, reinterpret_cast<LRESULT>(&Application));
}

TEST_F(SkinStateTest, TheSkinCommandIsHandledBeforeTheControlsOwnHandling) {
  auto* box = Place(form, "BUTTON");
  auto* bare = Place(form, nullptr);
  box->Reached.clear();
  bare->Reached.clear();

  Send(box, SKC_ISSKINNED);                 // answered: stops there
  EXPECT_FALSE(box->ReachedOwnHandling(SM_ALPHACMD));
  Send(bare, SKC_ISBGVARYING);              // no section: not answered, passed on
  EXPECT_TRUE(bare->ReachedOwnHandling(SM_ALPHACMD));
  EXPECT_EQ(bare->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_ISBGVARYING)), 0);

  box->SkinData->BackgroundChanged = false;
  Send(box, SKC_SETBGCHANGED);              // acted on, and still passed on
  EXPECT_TRUE(box->SkinData->BackgroundChanged);
  EXPECT_TRUE(box->ReachedOwnHandling(SM_ALPHACMD));

  EXPECT_TRUE(WindowAcknowledgesSkinCommand(box->Handle(), SKC_ISSKINNED));
  EXPECT_FALSE(WindowAcknowledgesSkinCommand(form->Handle(), SKC_ISSKINNED));  // not skinned

  EXPECT_EQ(SendMessageW(box->Handle(), WM_UPDATEUISTATE, 0, 0), 0);
  EXPECT_FALSE(box->ReachedOwnHandling(WM_UPDATEUISTATE));  // consumed while skinned
  SendMessageW(bare->Handle(), WM_UPDATEUISTATE, 0, 0);
  EXPECT_TRUE(bare->ReachedOwnHandling(WM_UPDATEUISTATE));
}

TEST_F(SkinStateTest, ArgumentsOfTheFlagCommands) {
  auto* box = Place(form, "HALF");
  const struct {
    WORD Sub;
    WORD Argument;
    bool TsCommonData::*Flag;
    bool Expected;
  } cases[] = {
      {SKC_SETUPDATING, 1, &TsCommonData::Updating, true},
      {SKC_SETUPDATING, 2, &TsCommonData::Updating, false},  // only 1 sets
      {SKC_SETFOLLOWPARENT, 1, &TsCommonData::CacheLocked, true},
      {SKC_SETFOLLOWPARENT, 0, &TsCommonData::CacheLocked, false},
      {SKC_TRANSPARENTBGCHANGED, 1, &TsCommonData::BackgroundChanged, true},
      {SKC_SETPARENTPENDING, 0, &TsCommonData::PartlyOutside, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Sub);
    box->SkinData.get()->*c.Flag = !c.Expected;
    Send(box, c.Sub, c.Argument);
    EXPECT_EQ(box->SkinData.get()->*c.Flag, c.Expected);
  }
  box->SkinData->BackgroundChanged = false;
  Send(box, SKC_TRANSPARENTBGCHANGED, 2);  // only 1 marks
  EXPECT_FALSE(box->SkinData->BackgroundChanged);
  auto* opaque = Place(form, "BUTTON");
  opaque->SkinData->BackgroundChanged = false;
  Send(opaque, SKC_TRANSPARENTBGCHANGED, 1);
  EXPECT_FALSE(opaque->SkinData->BackgroundChanged);
}

TEST_F(SkinStateTest, SkinChangesCountOnlyForTheOwnManager) {
  TsSkinManager other(nullptr);
  auto* box = Place(form, "BUTTON");
  const int section = box->SkinData->SectionIndex;
  for (LPARAM stranger : {LPARAM{0}, reinterpret_cast<LPARAM>(&other)}) {
    for (WORD sub : {SKC_NEWSKIN, SKC_REMOVESKIN, SKC_REFRESH}) {
      box->SkinData->Updating = true;
      box->SkinData->BackgroundChanged = false;
      Send(box, sub, 0, stranger);
      EXPECT_EQ(box->SkinData->SectionIndex, section);
      EXPECT_TRUE(box->SkinData->Updating);
      EXPECT_FALSE(box->SkinData->BackgroundChanged);
    }
  }
  const LPARAM own = reinterpret_cast<LPARAM>(&manager);
  Send(box, SKC_REFRESH, 0, own);
  EXPECT_FALSE(box->SkinData->Updating);
  EXPECT_TRUE(box->SkinData->BackgroundChanged);

  box->Repaint();
  Send(box, SKC_REMOVESKIN, 0, own);
  EXPECT_EQ(box->SkinData->SectionIndex, -1);
  EXPECT_EQ(box->SkinData->BorderMaskIndex, -1);
  EXPECT_TRUE(box->SkinData->Updating);
  EXPECT_EQ(box->SkinData->CacheBitmap->Width(), 0);

  Send(box, SKC_NEWSKIN, 0, own);  // the new skin has the section again
  EXPECT_EQ(box->SkinData->SectionIndex, section);
}

// A control whose window (and its children's) is still being made takes no skinning yet.
TEST_F(SkinStateTest, AControlAcceptsSkinningOnlyOnceItsWindowIsMade) {
  class TProbe : public TCustomControl {
   public:
    using TCustomControl::TCustomControl;
    bool AcceptedWhileMade = true;

   protected:
    void CreateWnd() override {
      TCustomControl::CreateWnd();
      AcceptedWhileMade = ControlAcceptsSkinning(this);
    }
  };
  auto* probe = efir::Place(new TProbe(form), form, 0, 0, 20, 20);
  probe->HandleNeeded();
  EXPECT_FALSE(probe->AcceptedWhileMade);
  EXPECT_TRUE(ControlAcceptsSkinning(probe));
}

TEST_F(SkinStateTest, AControlBeingFreedAnswersNothing) {
  auto* box = Place(form, "BUTTON");
  LRESULT whileGoing = -1;
  box->OnGoing = [&](Box* going) { whileGoing = going->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_ISSKINNED)); };
  box->Free();
  EXPECT_EQ(whileGoing, 0);
}

// A parent whose cache is a known picture: column x, row y holds RGB(x, y, 7).
void PaintCoordinates(TBitmap& cache, int width, int height) {
  cache.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(cache.Canvas().Handle(), x, y, RGB(x, y, 7));
}

TEST_F(SkinStateTest, AControlReadsItsBackgroundFromItsParent) {
  auto* panel = Place<Skinned<TPanel>>(form, "GRAD", {0, 0, 120, 90});
  PaintCoordinates(*panel->SkinData->CacheBitmap, 120, 90);
  auto* glass = Place(panel, "GLASS", {10, 5, 70, 45});
  auto* inner = Place(glass, "BUTTON", {3, 4, 23, 14});

  // Described: the panel's cache at the panel's origin; through the see-through control the
  // offsets grow by its position.
  CacheSourceInfo source;
  glass->SkinData->ParentCacheInfo(source);
  EXPECT_TRUE(source.Ready);
  EXPECT_EQ(source.Bitmap, panel->SkinData->CacheBitmap.get());
  EXPECT_EQ(source.X, 0);
  inner->SkinData->ParentCacheInfo(source);
  EXPECT_EQ(source.Bitmap, panel->SkinData->CacheBitmap.get());
  EXPECT_EQ(source.X, 10);
  EXPECT_EQ(source.Y, 5);

  // Painted now: the asker's own origin in the parent is the source position.
  TBitmap target(20, 10, pf24bit);
  BackgroundInfo info;
  info.DC = target.Canvas().Handle();
  info.Rect = {0, 0, 20, 10};
  info.OffsetX = glass->Left();
  info.OffsetY = glass->Top();
  EXPECT_TRUE(QueryParentBackground(info, panel, true));
  EXPECT_EQ(info.Kind, BG_BITMAP);
  for (POINT p : {POINT{0, 0}, POINT{19, 9}, POINT{7, 3}})
    EXPECT_EQ(GetPixel(info.DC, p.x, p.y), RGB(10 + p.x, 5 + p.y, 7)) << p.x << "," << p.y;
}

TEST_F(SkinStateTest, PaintedThroughNestedSeeThroughControlsTheBackgroundComesFromTheirPlace) {
  auto* panel = Place<Skinned<TPanel>>(form, "GRAD", {0, 0, 120, 90});
  PaintCoordinates(*panel->SkinData->CacheBitmap, 120, 90);
  auto* outer = Place(panel, "GLASS", {10, 5, 90, 75});
  auto* inner = Place(outer, "GLASS", {20, 8, 70, 58});
  TBitmap target(12, 6, pf24bit);
  BackgroundInfo info;
  info.DC = target.Canvas().Handle();
  info.Rect = {0, 0, 12, 6};
  info.OffsetX = 3;  // the asker sits at (3, 4) inside the inner see-through control
  info.OffsetY = 4;
  info.PaintNow = true;
  Send(inner, SKC_GETBGINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.Kind, BG_BITMAP);
  for (POINT p : {POINT{0, 0}, POINT{11, 5}})
    EXPECT_EQ(GetPixel(info.DC, p.x, p.y), RGB(10 + 20 + 3 + p.x, 5 + 8 + 4 + p.y, 7)) << p.x << "," << p.y;
}

// An unskinned windowed parent that paints a picture of its own (a styled panel, a form's
// picture): rows of alternating colours.
class StripedPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) SetPixel(Canvas().Handle(), x, y, y % 2 ? RGB(200, 30, 40) : RGB(20, 160, 60));
  }
};

TEST_F(SkinStateTest, AControlOverAnUnskinnedWindowedParentShowsThatParentsOwnPainting) {
  auto* panel = new StripedPanel(form);
  panel->SetParent(form);
  panel->SetBounds(20, 10, 100, 60);
  panel->SetColor(0x404040);
  auto* glass = Place(panel, "GLASS", {7, 11, 47, 31});
  TBitmap cache(40, 20, pf24bit);
  CacheSourceInfo behind;
  QueryCacheBackground(glass, &cache, behind);
  EXPECT_TRUE(behind.Ready);
  EXPECT_EQ(behind.Bitmap, &cache);
  // Row 0 of the cache is row 11 of the panel (odd), row 1 row 12 (even).
  EXPECT_EQ(GetPixel(cache.Canvas().Handle(), 5, 0), RGB(200, 30, 40));
  EXPECT_EQ(GetPixel(cache.Canvas().Handle(), 5, 1), RGB(20, 160, 60));
}

TEST_F(SkinStateTest, WhatEachSectionAnswersAboutItsBackground) {
  auto* panel = Place<Skinned<TPanel>>(form, "PANEL", {0, 0, 200, 150});
  const struct {
    const char* Section;
    bool Cache;
    uint8_t Kind;
    TColor Color;
  } cases[] = {
      {"BUTTON", true, BG_COLOR, 0x5C4020},
      {"GRAD", true, BG_BITMAP, 0},
      {"GRAD", false, BG_COLOR, 0xFF00FF},  // varies, but nothing to show yet
      {"FRAME13", true, BG_BITMAP, 0},      // its thick frame is its own
      {"FRAME12", true, BG_COLOR, 0x112233},  // a thin frame: the parent's answer
      {"GLASS", true, BG_COLOR, 0x112233},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + (c.Cache ? " with cache" : " without cache"));
    auto* box = new Box(form, 0, c.Cache);
    box->SetParent(panel);
    box->SkinData->SetSkinSection(c.Section);
    BackgroundInfo info;
    Send(box, SKC_GETBGINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.Kind, c.Kind);
    if (c.Kind == BG_COLOR) {
      EXPECT_EQ(info.Color, c.Color);
    } else {
      EXPECT_EQ(info.Bitmap, box->SkinData->CacheBitmap.get());
    }
  }

  auto* custom = Place(panel, "BUTTON");
  custom->SetColor(0x00ABCD);
  custom->SkinData->SetCustomColor(true);
  BackgroundInfo info;
  custom->SkinData->FillBackgroundInfo(info, false, nullptr);
  EXPECT_EQ(info.Kind, BG_COLOR);
  EXPECT_EQ(info.Color, 0x00ABCD);
}

TEST_F(SkinStateTest, AnUnskinnedParentPaintsItselfIntoTheAskersImage) {
  form->SetColor(0x204060);
  TBitmap target(8, 8, pf24bit);
  BackgroundInfo info;
  info.DC = target.Canvas().Handle();
  info.Rect = {0, 0, 8, 8};
  info.OffsetX = 30;
  info.OffsetY = 20;
  info.PaintNow = true;  // asked to paint before: the parent paints itself
  EXPECT_FALSE(QueryParentBackground(info, form, true));
  EXPECT_EQ(GetPixel(info.DC, 4, 4), 0x204060u);

  BackgroundInfo colour;
  EXPECT_FALSE(QueryParentBackground(colour, form, false));
  EXPECT_EQ(colour.Kind, BG_COLOR);
  EXPECT_EQ(colour.Color, 0x204060);
}

TEST_F(SkinStateTest, BackgroundColourMixesTheSectionWithTheParent) {
  auto* green = Place<Skinned<TPanel>>(form, nullptr, {0, 0, 200, 150});
  green->SetColor(0x00FF00);
  auto* forty = Place(green, "FORTY");
  EXPECT_EQ(forty->SkinData->BackgroundColor(false, nullptr), 0x009966);  // 40 % red, 60 % green
  EXPECT_EQ(Place(green, "GLASS")->SkinData->BackgroundColor(false, nullptr), 0x00FF00);
  EXPECT_EQ(Place(green, "BUTTON")->SkinData->BackgroundColor(false, nullptr), 0x5C4020);
}

TEST_F(SkinStateTest, FontSectionPassesOverMostlyTransparentParents) {
  auto* panel = Place<Skinned<TPanel>>(form, "PANEL", {0, 0, 300, 200});
  const struct {
    const char* Middle;
    const char* Expected;
  } cases[] = {
      {"FIFTY", "FIFTY"},        // half transparent still gives its font
      {"FIFTYONE", "PANEL"},     // more than half: the one below gives it
      {"BUTTON", nullptr},       // does not give its font: the default
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Middle);
    auto* middle = Place<Skinned<TPanel>>(panel, c.Middle, {0, 0, 100, 100});
    auto* label = Place(middle, "BUTTON");
    EXPECT_EQ(ParentFontSectionIndex(label, -7, &manager), c.Expected ? Section(c.Expected) : -7);
  }
  EXPECT_EQ(ParentFontSectionIndex(nullptr, -7, &manager), -7);
}

}  // namespace
}  // namespace efir::test

namespace efir::test {
namespace {

using Box = Skinned<TCustomControl>;

TEST_F(SkinStateTest, MovingMarksControlsWhoseBackgroundFollowsTheParent) {
  const struct {
    const char* Parent;
    const char* Section;
    bool Marked;
  } cases[] = {
      {"GRAD", "BUTTON", false},  // opaque: its own background
      {"GRAD", "HALF", true},     // see-through on a varying parent
      {"PANEL", "HALF", false},   // see-through on a plain colour
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + " on " + c.Parent);
    auto* parent = Place<Skinned<TPanel>>(form, c.Parent, {0, 0, 200, 150});
    auto* box = Place(parent, c.Section, {10, 10, 90, 60});
    auto* child = Place(box, "BUTTON", {2, 2, 20, 20});
    box->SkinData->BackgroundChanged = false;
    box->SetBounds(30, 20, 80, 50);
    EXPECT_EQ(box->SkinData->BackgroundChanged, c.Marked);
    EXPECT_EQ(std::count(child->Commands.begin(), child->Commands.end(), SKC_PARENTMOVED), c.Marked ? 1 : 0);
    parent->Free();
  }
}

// A container's cache of one colour copied onto a white image.
struct CopyFixture {
  explicit CopyFixture(TsCommonData& data) {
    data.CacheBitmap->SetSize(100, 80);
    data.CacheBitmap->Canvas().Brush().SetColor(0x3366CC);
    data.CacheBitmap->Canvas().FillRect({0, 0, 100, 80});
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect({0, 0, 100, 80});
  }
  COLORREF At(int x, int y) { return GetPixel(target.Canvas().Handle(), x, y); }
  TBitmap target{100, 80, pf24bit};
};

TEST_F(SkinStateTest, CopyingTheCacheLeavesOutWhatChildrenCover) {
  auto* panel = Place<Skinned<TPanel>>(form, "GRAD", {0, 0, 100, 80});
  auto* label = new TLabel(form);
  label->SetParent(panel);
  label->SetBounds(10, 10, 20, 10);
  Place(panel, "BUTTON", {50, 10, 70, 30});  // a windowed child
  HWND group = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 40, 40, 30,
                               panel->Handle(), nullptr, nullptr, nullptr);

  CopyFixture controls(*panel->SkinData);
  CopyCacheExceptControls(panel, *panel->SkinData, {0, 0, 100, 80}, 0, 0, controls.target.Canvas().Handle(), {0, 0, 100, 80});
  EXPECT_EQ(controls.At(5, 5), 0x3366CCu);
  EXPECT_EQ(controls.At(15, 15), 0xFFFFFFu);  // the graphic label keeps its place
  EXPECT_EQ(controls.At(60, 20), 0x3366CCu);  // a windowed child clips itself

  CopyFixture windows(*panel->SkinData);
  CopyCacheExceptWindows(panel->Handle(), *panel->SkinData, {0, 0, 100, 80}, 0, 0, windows.target.Canvas().Handle(), {0, 0, 100, 80});
  EXPECT_EQ(windows.At(5, 5), 0x3366CCu);
  EXPECT_EQ(windows.At(60, 20), 0xFFFFFFu);   // the child window is left out
  EXPECT_EQ(windows.At(11, 55), 0xFFFFFFu);   // the group box's left frame (3 wide)
  EXPECT_EQ(windows.At(48, 55), 0xFFFFFFu);   // its right frame (4 wide)
  EXPECT_EQ(windows.At(25, 55), 0x3366CCu);   // its inside shows the cache
  DestroyWindow(group);
}

}  // namespace
}  // namespace efir::test

namespace efir::test {
namespace {

// A container that answers the background question by asking again on behalf of its
// child, the way an adapter passes it on: a loop without end unless the passing stops.
// Without a window it is asked directly, so nothing but the engine can stop the loop.
class PassingOn : public TWinControl {
 public:
  using TWinControl::TWinControl;
  TsCommonData* Asker = nullptr;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD && SkinSubCommand(Message.WParam) == SKC_GETBGINFO && Asker)
      return Asker->FillBackgroundInfo(*reinterpret_cast<BackgroundInfo*>(Message.LParam), false, nullptr);
    TWinControl::WndProc(Message);
  }
};

TEST_F(SkinStateTest, PassingTheQuestionOnStopsAtALoop) {
  auto* loop = new PassingOn(nullptr);
  auto* glass = new Box(nullptr, 0);
  glass->SetParent(loop);
  glass->SkinData->SetSkinSection("GLASS");
  loop->Asker = glass->SkinData.get();

  BackgroundInfo info;
  glass->SkinData->FillBackgroundInfo(info, false, nullptr);
  EXPECT_EQ(info.Kind, BG_COLOR);
  EXPECT_EQ(info.Color, 0x202020);  // the skin's GLOBALINFO colour
  EXPECT_FALSE(loop->HandleAllocated());
  loop->Free();
}

}  // namespace
}  // namespace efir::test

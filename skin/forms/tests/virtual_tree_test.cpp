// A virtual tree of another component set, known to the adapter only by what it publishes:
// the adapter paints its column header through the tree's own header events (installed only
// where the program set none, taken away only while they are the adapter's), and the header
// on screen shows the skin's column header with hot, pressed and sorted columns.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/published_props.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/grid_adapters.h"
#include "skin/forms/tests/template_dialog.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(c); }

constexpr int kColumnWidth = 80, kHeaderHeight = 22;
constexpr TColor kPlainHeader = 0x808080;
enum : int64_t { kOwnerDraw = 1, kVisible = 2 };

class TTreeColumn : public TObject {
 public:
  explicit TTreeColumn(std::string text) : Text(std::move(text)) {}
  std::string Text;
};

class TTreeHeader : public TObject {
 public:
  int64_t Options = kVisible;
  int64_t SortDirection = 0;
  TFont Font;
};

// Draws its header items itself, plain grey, unless the header is owner-drawn: then each
// item goes to OnAdvancedHeaderDraw, the background first, then the elements the query
// handler named.
class TTreeWithHeaderDraw : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TTreeHeader Header;
  std::vector<std::unique_ptr<TTreeColumn>> Columns;
  int HoverColumn = -1, DownColumn = -1, SortColumn = -1;
  THeaderDrawEvent OnAdvancedHeaderDraw;
  THeaderDrawQueryElementsEvent OnHeaderDrawQueryElements;

 protected:
  void Paint() override {
    TCanvas& canvas = Canvas();
    FillRectSolid(canvas.Handle(), {0, 0, Width(), Height()}, clWhite);
    const int count = static_cast<int>(Columns.size());
    for (int i = 0; i <= count; ++i) {
      THeaderPaintInfo info;
      info.TargetCanvas = &canvas;
      info.Column = i < count ? Columns[static_cast<size_t>(i)].get() : nullptr;
      info.PaintRectangle = {i * kColumnWidth, 0, i < count ? (i + 1) * kColumnWidth : Width(), kHeaderHeight};
      info.TextRectangle = {info.PaintRectangle.left + 4, 2, info.PaintRectangle.right - 20, kHeaderHeight - 2};
      info.IsHoverIndex = i == HoverColumn;
      info.IsDownIndex = i == DownColumn;
      info.ShowSortGlyph = i == SortColumn;
      info.SortGlyphPos = {info.PaintRectangle.right - 14, 8};
      if (!(Header.Options & kOwnerDraw) || !OnAdvancedHeaderDraw) {
        FillRectSolid(canvas.Handle(), info.PaintRectangle, kPlainHeader);
        continue;
      }
      uint32_t elements = header_elements::Background;
      if (OnHeaderDrawQueryElements && info.Column) OnHeaderDrawQueryElements(this, info, elements);
      OnAdvancedHeaderDraw(this, info, elements & header_elements::Background);
      const uint32_t rest = elements & ~header_elements::Background;
      if (rest) OnAdvancedHeaderDraw(this, info, rest);
    }
  }
};

// The same tree with the element query published as well.
class TTreeWithQuery : public TTreeWithHeaderDraw {
 public:
  using TTreeWithHeaderDraw::TTreeWithHeaderDraw;
};

void RegisterTrees() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPublishedProp({"Header", TPropKind::Object,
                         [](TObject* o) { return dynamic_cast<TTreeWithHeaderDraw*>(o) != nullptr; }, nullptr, nullptr,
                         [](TObject* o) -> TObject* { return &dynamic_cast<TTreeWithHeaderDraw*>(o)->Header; }});
  TPublishedProp options = OrdinalProp<TTreeHeader>(
      "Options", [](TTreeHeader& h) { return h.Options; }, [](TTreeHeader& h, int64_t v) { h.Options = v; });
  options.Kind = TPropKind::Set;
  options.ElementNames = {"hoOwnerDraw", "hoVisible"};
  RegisterPublishedProp(std::move(options));
  RegisterPublishedProp(OrdinalProp<TTreeHeader>(
      "Height", [](TTreeHeader&) { return kHeaderHeight; }, [](TTreeHeader&, int64_t) {}));
  RegisterPublishedProp(OrdinalProp<TTreeHeader>(
      "SortDirection", [](TTreeHeader& h) { return h.SortDirection; },
      [](TTreeHeader& h, int64_t v) { h.SortDirection = v; }));
  RegisterPublishedProp(OrdinalProp<TTreeHeader>(
      "Font.Handle", [](TTreeHeader& h) { return reinterpret_cast<intptr_t>(h.Font.Handle()); },
      [](TTreeHeader&, int64_t) {}));
  RegisterPublishedProp(StringProp<TTreeColumn>("Text", [](TTreeColumn& c) { return c.Text; }));
  RegisterPublishedProp(EventProp("OnAdvancedHeaderDraw", &TTreeWithHeaderDraw::OnAdvancedHeaderDraw));
  RegisterPublishedProp(EventProp<TTreeWithQuery, THeaderDrawQueryElementsEvent>(
      "OnHeaderDrawQueryElements", &TTreeWithQuery::OnHeaderDrawQueryElements));
}

class VirtualTreeAdapter : public UiTest {
 protected:
  VirtualTreeAdapter() : skin(ControlSkinExtras()) { RegisterTrees(); }

  template <class Tree>
  Tree* NewTree() {
    if (!form) form = NewForm(300, 160);
    auto* tree = new Tree(form);
    tree->SetParent(form);
    tree->SetBounds(10, 10, 3 * kColumnWidth + 40, 120);
    for (const char* text : {"Имя", "Размер", "Тип"}) tree->Columns.push_back(std::make_unique<TTreeColumn>(text));
    tree->HandleNeeded();
    data.push_back(std::make_unique<TsCommonData>(tree, true));
    data.back()->SetSkinManager(skin.manager.get());
    data.back()->SetSkinSection("EDIT");
    return tree;
  }
  std::unique_ptr<TacVirtualTreeViewWnd> Attach(TWinControl* tree) {
    return AttachAdapter<TacVirtualTreeViewWnd>(tree->Handle(), data.back().get(), skin.manager.get(), "EDIT", false);
  }

  DialogSkin skin;
  TForm* form = nullptr;
  std::vector<std::unique_ptr<TsCommonData>> data;
};

TEST_F(VirtualTreeAdapter, HeaderEventsAreTakenOnlyWhereTheProgramSetNoneAndGivenBackOnlyWhileOurs) {
  const THeaderDrawEvent programDraw = [](TObject*, THeaderPaintInfo&, uint32_t) {};
  const THeaderDrawQueryElementsEvent programQuery = [](TObject*, THeaderPaintInfo&, uint32_t& e) { e = 1; };
  const struct Case {
    const char* Name;
    bool Query, ProgramDraw, ProgramQuery;
    bool DrawIsOurs;
    uint32_t Answer;  // what the query event answers after attaching; 0 without one
    bool OwnerDraw;
  } cases[] = {
      {"nothing set", true, false, false, true, 27, true},
      {"the program draws the header", true, true, false, false, 0, false},
      {"the program answers the query", true, false, true, true, 1, true},
      {"no query event published", false, false, false, true, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TTreeWithHeaderDraw* tree = c.Query ? NewTree<TTreeWithQuery>() : NewTree<TTreeWithHeaderDraw>();
    if (c.ProgramDraw) tree->OnAdvancedHeaderDraw = programDraw;
    if (c.ProgramQuery) tree->OnHeaderDrawQueryElements = programQuery;
    EXPECT_EQ(EventPropByName<TNotifyEvent>(tree, "OnAdvancedHeaderDraw"), nullptr) << "an event of another type";
    EXPECT_EQ(EventPropByName<THeaderDrawQueryElementsEvent>(tree, "OnHeaderDrawQueryElements") != nullptr, c.Query);

    auto adapter = Attach(tree);
    adapter->ApplySkinLook();
    ASSERT_TRUE(tree->OnAdvancedHeaderDraw);
    EXPECT_EQ(tree->OnAdvancedHeaderDraw.target_type() != programDraw.target_type(), c.DrawIsOurs);
    uint32_t answer = 0;
    THeaderPaintInfo info;
    if (tree->OnHeaderDrawQueryElements) tree->OnHeaderDrawQueryElements(tree, info, answer);
    EXPECT_EQ(answer, c.Answer);
    EXPECT_EQ((tree->Header.Options & kOwnerDraw) != 0, c.OwnerDraw);

    adapter->Detach(false);
    EXPECT_EQ(static_cast<bool>(tree->OnAdvancedHeaderDraw), c.ProgramDraw) << "only the program's stays";
    EXPECT_EQ(static_cast<bool>(tree->OnHeaderDrawQueryElements), c.ProgramQuery);
    EXPECT_EQ(tree->Header.Options & kOwnerDraw, 0) << "the header's own setting back";
  }
}

// A whole arrow glyph of the given colour lies in the rectangle.
bool HasArrow(const Image& shot, const RECT& r, TColor colour) {
  for (int y = r.top; y + ctl::GlyphSize <= r.bottom; ++y)
    for (int x = r.left; x + ctl::GlyphSize <= r.right; ++x) {
      bool solid = true;
      for (int dy = 0; dy < ctl::GlyphSize && solid; ++dy)
        for (int dx = 0; dx < ctl::GlyphSize && solid; ++dx) solid = shot.at(x + dx, y + dy) == Rgb(colour);
      if (solid) return true;
    }
  return false;
}

TEST_F(VirtualTreeAdapter, HeaderShowsTheSkinsColumnHeaderWithHotPressedAndSortedColumns) {
  auto* tree = NewTree<TTreeWithQuery>();
  tree->HoverColumn = 1;
  tree->DownColumn = 2;
  tree->SortColumn = 0;
  auto adapter = Attach(tree);
  adapter->ApplySkinLook();
  RedrawWindow(tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  pumpFor(50);
  RECT client;
  ClientRectInWindowCoords(tree->Handle(), client);
  RECT onScreen;
  GetWindowRect(tree->Handle(), &onScreen);
  const Image shot = captureScreen(onScreen);
  saveScreenshot(form->Handle(), "skinned_virtual_tree");
  auto column = [&](int i) {
    return RECT{client.left + i * kColumnWidth, client.top, client.left + (i + 1) * kColumnWidth,
                client.top + kHeaderHeight};
  };
  auto face = [&](int i) { return shot.at(column(i).left + ctl::RimWidth + 1, column(i).bottom - ctl::RimWidth - 1); };
  EXPECT_EQ(shot.at(column(0).left, column(0).top), Rgb(ctl::Rim[0]));
  EXPECT_EQ(face(0), Rgb(ctl::Header[0]));
  EXPECT_EQ(face(1), Rgb(ctl::Header[1])) << "hot";
  EXPECT_EQ(shot.at(column(2).left, column(2).top), Rgb(ctl::Rim[2])) << "pressed";
  EXPECT_TRUE(HasArrow(shot, column(0), ctl::Glyph[0])) << "sorted, in the normal look";
  EXPECT_FALSE(HasArrow(shot, column(1), ctl::Glyph[1]));
  EXPECT_EQ(shot.at(column(3).left + 5, column(3).top + 5), Rgb(ctl::Edit[0])) << "right of the last column";
  EXPECT_EQ(shot.at(client.left + 5, client.top + kHeaderHeight + 5), Rgb(clWhite)) << "the tree's body is its own";
  adapter->Detach(false);
}

}  // namespace
}  // namespace efir::test

// The sizes the skinned menus give their items, without any window.
#include <gtest/gtest.h>

#include <cmath>

#include <commctrl.h>

#include "framework/canvas.h"
#include "framework/forms.h"
#include "framework/main_menu.h"
#include "framework/menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/skinnable_menus.h"

namespace efir::test {
namespace {

class MenuMeasure : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    canvas_ = std::make_unique<TCanvas>(dc_);
  }
  void TearDown() override {
    canvas_.reset();
    DeleteDC(dc_);
  }

  TMenuItem* Add(const std::string& caption) {
    auto* item = new TMenuItem(&menu_);
    item->SetCaption(caption);
    menu_.Items()->Add(item);
    return item;
  }
  SIZE Measure(TMenuItem* item) {
    int w = 0, h = 0;
    painter_.MeasurePopupItem(item, canvas_.get(), w, h);
    return {w, h};
  }
  // The menu font's text width, and a line's height (1.25 text lines, half rounded to even).
  int TextWidth(const std::string& text) {
    efir::AssignMenuFont(canvas_->Font());
    RECT r{0, 0, 1, 0};
    canvas_->TextRect(r, text, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    return r.right - r.left;
  }
  int Line() {
    efir::AssignMenuFont(canvas_->Font());
    return static_cast<int>(std::lrint(canvas_->TextHeight("W") * 1.25));
  }

  HDC dc_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
  TsSkinManager manager_{nullptr};
  TsSkinableMenus painter_{&manager_};
  TPopupMenu menu_{nullptr};
};

TEST_F(MenuMeasure, ItemSizesByKind) {
  TMenuItem* plain = Add("Настройки");
  TMenuItem* shortCut = Add("Выход");
  shortCut->SetShortCut(ShortCut(VK_F4, scAlt));
  TMenuItem* pictured = Add("Картинка");
  pictured->Bitmap()->SetSize(24, 30);
  TMenuItem* divider = Add("-");
  TMenuItem* title = Add("-Станции-");
  title->Bitmap()->SetSize(24, 40);
  TMenuItem* right = Add("\bСправа");
  // Glyph twice, text, three margins and the spacing; 16 x 16 without a picture.
  const int frame = 3 * painter_.Margin + painter_.Spacing;
  struct Case {
    TMenuItem* item;
    int width, height;
  } cases[] = {
      {plain, 32 + TextWidth("Настройки") + frame, Line() + 4},
      {shortCut, 32 + TextWidth("ВыходAlt+F4") + frame, Line() + 4},
      {pictured, 48 + TextWidth("Картинка") + frame, std::max(Line(), 30) + 4},
      {divider, 32 + frame, 2},
      {title, 48 + TextWidth("--Станции--") + frame, Line() + 4},  // a title ignores its glyph's height
      {right, 32 + TextWidth("Справа      ") + frame, Line() + 4},
  };
  for (const Case& c : cases) {
    SIZE size = Measure(c.item);
    EXPECT_EQ(size.cx, c.width) << c.item->Caption();
    EXPECT_EQ(size.cy, c.height) << c.item->Caption();
  }
  EXPECT_TRUE(PopupItemsMeasured);
  PopupItemsMeasured = false;
}

// The menu font takes the character set of the form the menu belongs to.
TEST_F(MenuMeasure, TheMenuFontTakesTheOwningFormsCharacterSet) {
  Measure(Add("Пункт"));
  ASSERT_NE(canvas_->Font().Charset(), GREEK_CHARSET) << "not the menu font's own";

  TForm* form = efir::Construct<TForm>(nullptr);
  form->Font().SetCharset(GREEK_CHARSET);
  auto* owned = new TPopupMenu(form);
  auto* item = new TMenuItem(owned);
  item->SetCaption("Пункт");
  owned->Items()->Add(item);
  Measure(item);
  EXPECT_EQ(canvas_->Font().Charset(), GREEK_CHARSET);
  form->Free();
}

TEST_F(MenuMeasure, TheExtraLineWidensTheFirstColumnOnly) {
  manager_.MenuSupport.UseExtraLine = true;
  TMenuItem* first = Add("Один");
  TMenuItem* second = Add("Два");
  second->SetBreak(mbBreak);
  const int base = 32 + 3 * painter_.Margin + painter_.Spacing;
  EXPECT_EQ(Measure(first).cx, base + TextWidth("Один") + 32);
  EXPECT_EQ(Measure(second).cx, base + TextWidth("Два"));
  // A popup that is the skin list of a system menu never has the line.
  first->SetName("SkinSelectItem");
  EXPECT_EQ(Measure(first).cx, base + TextWidth("Один"));
  PopupItemsMeasured = false;
}

TEST_F(MenuMeasure, PopupSizeAddsColumnsSideBySide) {
  TMenuItem* a = Add("Короткий");
  TMenuItem* a2 = Add("-");
  TMenuItem* b = Add("Второй столбец, длиннее");
  b->SetBreak(mbBreak);
  const int columnA = std::max(Measure(a).cx, Measure(a2).cx) + 12, columnB = Measure(b).cx + 12;
  EXPECT_EQ(painter_.PopupWidth(*canvas_, a), columnA + 4 + columnB);
  EXPECT_EQ(painter_.PopupHeight(*canvas_, a), Measure(a).cy + 2);
  PopupItemsMeasured = false;
}

TEST_F(MenuMeasure, MenuLineItemsMakeRoomForTheirMenusImages) {
  HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR24, 1, 1), wide = ImageList_Create(24, 16, ILC_COLOR24, 1, 1);
  const struct {
    const char* Caption;
    HIMAGELIST Images;
    int ImageIndex;
    int Extra;  // beyond the caption's width
  } cases[] = {
      {"&Файл", nullptr, 0, 0},   // no image list
      {"&Файл", small, -1, 0},    // no image
      {"&Файл", small, 0, 16 + 6},
      {"Пра&вка", wide, 2, 24 + 6},
  };
  for (const auto& c : cases) {
    TMainMenu bar(nullptr);
    auto* item = new TMenuItem(&bar);
    item->SetCaption(c.Caption);
    item->SetImageIndex(c.ImageIndex);
    bar.Items()->Add(item);
    bar.SetImages(c.Images);
    int width = 0, height = 0;
    painter_.MeasureMenuLineItem(item, canvas_.get(), width, height);
    std::string shown = c.Caption;
    std::erase(shown, '&');
    EXPECT_EQ(width, canvas_->TextWidth(shown) + c.Extra) << c.Caption << " " << c.ImageIndex;
    EXPECT_EQ(height, GetSystemMetrics(SM_CYMENU) - 1);
  }
  ImageList_Destroy(small);
  ImageList_Destroy(wide);
}

}  // namespace
}  // namespace efir::test

// A window with one control of each kind the programs place, for a person to look at:
// build/x86_64/screenshots/ui_showcase.png.
#include "framework/dialogs.h"
#include "framework/image.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "framework/timer.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

namespace {

// The layout of a window, as the programs write theirs.
class TShowcase : public TForm {
 public:
  explicit TShowcase(TComponent* AOwner) : TForm(AOwner) {
    SetBorderStyle(bsNone);
    SetBounds(10, 10, 0, 0);
    SetClientWidth(420);
    SetClientHeight(300);
    SetCaption("Витрина");
    SetColor(clWhite);
    SetTransparentColor(true);
    SetTransparentColorValue(clLime);
    SetKeyPreview(true);

    Image1 = Place(new TImage(this), 0, 0, 420, 300);
    Image1->Picture().Bitmap().SetSize(2, 2);
    Paint2x2(Image1->Picture().Bitmap());
    Image1->SetStretch(true);
    Label1 = Place(new TLabel(this), 12, 8, 200, 20);
    Label1->SetCaption("Эфирушка - Бесплатное радио!");
    Label1->Font().SetStyle(fsBold);
    Button1 = Place(new TButton(this), 12, 36, 90, 25);
    Button1->SetCaption("Сохранить");
    BitBtn1 = Place(new TBitBtn(this), 110, 36, 110, 40);
    BitBtn1->SetCaption("Добавить\r\nРадиостанцию");
    Edit1 = Place(new TEdit(this), 230, 36, 170, 21);
    Edit1->SetText("Название радиостанции");
    CheckBox1 = Place(new TCheckBox(this), 12, 84, 200, 20);
    CheckBox1->SetCaption("Звук");
    CheckBox1->SetChecked(true);
    ComboBox1 = Place(new TComboBox(this), 230, 84, 170, 21);
    for (const char* item : {"Джаз", "Поп", "Рок", "Классика"}) ComboBox1->Items().Add(item);
    ComboBox1->SetItemIndex(2);
    TrackBar1 = Place(new TTrackBar(this), 12, 112, 200, 40);
    TrackBar1->SetMax(100);
    TrackBar1->SetPosition(25);
    TrackBar2 = Place(new TTrackBar(this), 370, 120, 40, 120);
    TrackBar2->SetOrientation(trVertical);
    TrackBar2->SetBounds(370, 120, 40, 120);
    TrackBar2->SetMax(30);
    TrackBar2->SetPosition(15);
    ScrollBar1 = Place(new TScrollBar(this), 12, 160, 200, 17);
    Panel1 = Place(new TPanel(this), 230, 120, 130, 60);
    Panel1->SetCaption("Панель");
    Memo1 = Place(new TMemo(this), 12, 190, 200, 90);
    Memo1->Lines().Add("Первая строка");
    Memo1->Lines().Add("Вторая строка");
    PopupMenu1 = new TPopupMenu(this);
    Label1->SetPopupMenu(PopupMenu1);
    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    SaveDialog1 = new TSaveDialog(this);
    OpenDialog1 = new TOpenDialog(this);
    SetVisible(true);
  }

  TImage* Image1;
  TLabel* Label1;
  TButton* Button1;
  TBitBtn* BitBtn1;
  TEdit* Edit1;
  TCheckBox* CheckBox1;
  TComboBox* ComboBox1;
  TTrackBar* TrackBar1;
  TTrackBar* TrackBar2;
  TScrollBar* ScrollBar1;
  TPanel* Panel1;
  TMemo* Memo1;
  TPopupMenu* PopupMenu1;
  TTimer* Timer1;
  TSaveDialog* SaveDialog1;
  TOpenDialog* OpenDialog1;

 private:
  template <class T>
  T* Place(T* control, int left, int top, int width, int height) {
    control->SetParent(this);
    control->SetBounds(left, top, width, height);
    return control;
  }
  // A background of four light blocks.
  static void Paint2x2(TBitmap& bitmap) {
    bitmap.Canvas().SetPixels(0, 0, RGB(255, 240, 220));
    bitmap.Canvas().SetPixels(1, 0, RGB(200, 220, 255));
    bitmap.Canvas().SetPixels(0, 1, RGB(230, 240, 255));
    bitmap.Canvas().SetPixels(1, 1, RGB(180, 200, 240));
  }
};

using efir::test::UiTest;
using UiShowcase = UiTest;

TEST_F(UiShowcase, OneOfEachControlShows) {
  auto* form = efir::Construct<TShowcase>(nullptr);
  HWND h = form->Handle();
  ASSERT_TRUE(IsWindowVisible(h));
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 420);
  EXPECT_EQ(client.bottom, 300);
  efir::test::pumpFor(200);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::string path = efir::test::saveScreenshot(h, "ui_showcase");
  EXPECT_FALSE(path.empty());

  // The label's text is painted over the picture, in the label's place.
  efir::test::Image shot = efir::test::captureWindow(h);
  int dark = 0;
  for (int y = 8; y < 28; ++y)
    for (int x = 12; x < 212; ++x)
      if (GetRValue(shot.at(x, y)) < 80) ++dark;
  EXPECT_GT(dark, 40);
  EXPECT_TRUE(shown.empty());
  form->Free();
}

}  // namespace

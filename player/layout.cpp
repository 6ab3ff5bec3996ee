#include "player/layout.h"

#include <algorithm>

#include "framework/exceptions.h"
#include "player/main_window.h"

namespace layout {

void LoadPicture(TImage* image, const std::string& fileName) {
  try {
    image->Picture().LoadFromFile(PlayerFolder() + fileName);
  } catch (const EPictureError&) {
  }
}

TImage* NewPicture(TWinControl* parent, int left, int top, int width, int height,
                   const std::string& fileName, const std::string& hint) {
  auto* image = Place(new TImage(parent->GetParentForm()), parent, left, top, width, height);
  if (!fileName.empty()) LoadPicture(image, fileName);
  image->SetHint(hint);
  return image;
}

}  // namespace layout

TPlayerDialog::TPlayerDialog(TComponent* AOwner, const std::string& caption, int clientWidth,
                             int clientHeight, const std::string& background,
                             const std::string& title)
    : TForm(AOwner) {
  using namespace layout;
  SetBorderStyle(bsNone);
  SetCaption(caption);
  SetClientWidth(clientWidth);
  SetClientHeight(clientHeight);
  SetColor(kNavy);
  SetShowHint(true);
  SetVisible(false);
  Image1 = NewPicture(this, 0, 0, clientWidth, clientHeight, background);
  Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Image1MouseDown(s, b, sh, x, y);
  };
  sLabel1 = NewLabel<TsLabel>(this, 10, 6, clientWidth - 50, 20, title, kLightText, -15, true);
  sLabel1->OnMouseDown = Image1->OnMouseDown;
  Image2 = NewPicture(this, clientWidth - 26, 5, 20, 20, "close.png");
  Image2->OnClick = [this](TObject* s) { Image2Click(s); };
}

// As the main window: only the left button moves the window.
void TPlayerDialog::Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState, int,
                                    int) {
  if (Button != mbLeft) return;
  efir::StartMoving(static_cast<TControl*>(Sender));
}

void TPlayerDialog::Image2Click(TObject*) { Close(); }

void TPlayerDialog::PlaceOnWorkArea(int left, int top) {
  const RECT wanted{left, top, left + Width(), top + Height()};
  MONITORINFO monitor{sizeof(monitor)};
  if (GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    left = std::max<int>(work.left, std::min<int>(left, work.right - Width()));
    top = std::max<int>(work.top, std::min<int>(top, work.bottom - Height()));
  }
  SetBounds(left, top, Width(), Height());
}

#include "widgets/rx_spin_button.h"

#include "framework/convert.h"
#include "framework/gdi.h"
#include "framework/timer.h"

namespace efir::spin {

bool OnLowerHalf(int x, int y, int w, int h) {
  if (w <= 0) return false;
  return y > h - (static_cast<double>(h) / w) * x;
}

std::unique_ptr<TBitmap> DefaultGlyph(bool up) {
  // Columns of black per row, top row first, for the up arrow.
  static const int widths[6] = {2, 4, 6, 2, 2, 2};
  auto glyph = std::make_unique<TBitmap>(6, 6, pf24bit);
  TCanvas& canvas = glyph->Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect({0, 0, 6, 6});
  canvas.Brush().SetColor(clBlack);
  for (int row = 0; row < 6; ++row) {
    int y = up ? row : 5 - row;
    int left = (6 - widths[row]) / 2;
    canvas.FillRect({left, y, left + widths[row], y + 1});
  }
  glyph->SetTransparent(true);
  return glyph;
}

}  // namespace efir::spin

TRxSpinButton::TRxSpinButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      upGlyph_(efir::spin::DefaultGlyph(true)),
      downGlyph_(efir::spin::DefaultGlyph(false)) {
  upGlyph_->OnChange = [this] { GlyphChanged(); };
  downGlyph_->OnChange = [this] { GlyphChanged(); };
  SetBounds(0, 0, 20, 20);
}

TRxSpinButton::~TRxSpinButton() = default;

void TRxSpinButton::SetUpGlyph(const TBitmap* value) {
  if (value) upGlyph_->Assign(*value);
  else upGlyph_->Assign(*efir::spin::DefaultGlyph(true));
  upGlyph_->SetTransparent(true);
  GlyphChanged();
}

void TRxSpinButton::SetDownGlyph(const TBitmap* value) {
  if (value) downGlyph_->Assign(*value);
  else downGlyph_->Assign(*efir::spin::DefaultGlyph(false));
  downGlyph_->SetTransparent(true);
  GlyphChanged();
}

void TRxSpinButton::GlyphChanged() {
  facesStale_ = true;
  Invalidate();
}

void TRxSpinButton::SetFacePainter(FacePainter painter) {
  facePainter_ = std::move(painter);
  GlyphChanged();
}

void TRxSpinButton::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) RemoveFreeNotification(focusControl_);
  focusControl_ = value;
  if (value) FreeNotification(value);
}

void TRxSpinButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TRxSpinButton::WndProc(TMessage& Message) {
  if (Message.Msg == CM_ENABLEDCHANGED) facesStale_ = true;
  TGraphicControl::WndProc(Message);
}

TSpinHalf TRxSpinButton::HalfAt(int X, int Y) {
  return efir::spin::OnLowerHalf(X, Y, Width(), Height()) ? shLower : shUpper;
}

void TRxSpinButton::ShowHalf(TSpinHalf half) {
  if (half == pressedHalf_) return;
  pressedHalf_ = half;
  Repaint();
}

void TRxSpinButton::TopClick() {
  if (OnTopClick) OnTopClick(this);
  AfterClick();
}

void TRxSpinButton::BottomClick() {
  if (OnBottomClick) OnBottomClick(this);
  AfterClick();
}

// A handler that took the mouse away (a message box, say) ended the press: the face goes
// back to normal.
void TRxSpinButton::AfterClick() {
  if (HoldsMouse() || pressedHalf_ == shNone) return;
  pressedHalf_ = shNone;
  Invalidate();
}

void TRxSpinButton::ClickHalf(TSpinHalf half) {
  if (half == shLower) BottomClick();
  else TopClick();
}

void TRxSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() &&
      !focusControl_->Focused())
    focusControl_->SetFocus();
  if (pressedHalf_ == shNone) {
    TSpinHalf half = HalfAt(X, Y);
    pressedHalf_ = half;
    lastPressedHalf_ = half;
    Repaint();
    ClickHalf(half);
    if (!repeatTimer_) {
      repeatTimer_ = std::make_unique<TTimer>(nullptr);
      repeatTimer_->OnTimer = [this](TObject*) { RepeatTimerTick(); };
    }
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(400);
    repeatTimer_->SetEnabled(true);
  }
  dragging_ = true;
}

void TRxSpinButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  if (X < 0 || Y < 0 || X > Width() || Y > Height()) {
    ShowHalf(shNone);
    return;
  }
  TSpinHalf half = HalfAt(X, Y);
  if (pressedHalf_ != half) ShowHalf(lastPressedHalf_ == half ? half : shNone);
}

void TRxSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!dragging_) return;
  dragging_ = false;
  // The press is over: nothing left to repeat until the next one.
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
  if (X >= 0 && Y >= 0 && X <= Width() && Y <= Height()) {
    lastPressedHalf_ = shNone;
    ShowHalf(shNone);
  }
}

void TRxSpinButton::RepeatTimerTick() {
  repeatTimer_->SetInterval(100);
  if (pressedHalf_ == shNone || !HoldsMouse()) return;
  try {
    ClickHalf(pressedHalf_);
  } catch (...) {
    repeatTimer_->SetEnabled(false);
    throw;
  }
}

unsigned TRxSpinButton::RepeatInterval() const {
  return repeatTimer_ && repeatTimer_->Enabled() ? repeatTimer_->Interval() : 0;
}

void TRxSpinButton::Paint() {
  if (!Enabled()) dragging_ = false;
  TBitmap& normal = faces_[shNone];
  if (normal.Width() != Width() || normal.Height() != Height() || facesStale_) {
    DrawFace(faces_[shUpper], shUpper);
    DrawFace(faces_[shLower], shLower);
    DrawFace(normal, shNone);
    facesStale_ = false;
  }
  Canvas().Draw(0, 0, faces_[pressedHalf_]);
}

void TRxSpinButton::DrawFace(TBitmap& face, TSpinHalf kind) {
  if (facePainter_) return DrawPaintedFace(face, kind);
  const int w = Width(), h = Height();
  face.SetSize(w, h);
  TCanvas& c = face.Canvas();
  auto line = [&c](TColor color, std::initializer_list<POINT> points) {
    c.Pen().SetColor(color);
    auto p = points.begin();
    c.MoveTo(p->x, p->y);
    for (++p; p != points.end(); ++p) c.LineTo(p->x, p->y);
  };
  c.Pen().SetWidth(1);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(clBtnFace);
  c.FillRect({0, 0, w, h});
  c.Pen().SetColor(clWindowFrame);
  c.Brush().SetStyle(bsClear);
  c.Rectangle(0, 0, w, h);
  c.Brush().SetStyle(bsSolid);
  line(clWindowFrame, {{-1, h}, {w, -1}});
  line(kind == shUpper ? clBtnShadow : clBtnHighlight, {{1, h - 4}, {1, 1}, {w - 3, 1}});
  if (kind != shUpper) line(clBtnShadow, {{1, h - 3}, {w - 2, 0}});
  line(kind == shLower ? clBtnHighlight : clBtnShadow, {{2, h - 2}, {w - 2, h - 2}, {w - 2, 1}});
  line(kind == shLower ? clBtnShadow : clBtnHighlight, {{2, h - 2}, {w - 1, 1}});
  DrawGlyphs(c, kind);
  if (kind == shLower) line(clBtnShadow, {{3, h - 2}, {w - 1, 2}});
}

void TRxSpinButton::DrawGlyphs(TCanvas& c, TSpinHalf kind) {
  const int w = Width(), h = Height();
  int k = kind == shUpper ? 2 : 1;
  const TBitmap& up = *upGlyph_;
  const TBitmap& down = *downGlyph_;
  c.Draw(efir::Round(w / 4.0 - up.Width() / 2.0) + k, efir::Round(h / 4.0 - up.Height() / 2.0) + k, up);
  c.Draw(efir::Round(3 * w / 4.0 - down.Width() / 2.0) - 1,
         efir::Round(3 * h / 4.0 - down.Height() / 2.0) - 1, down);
}

void TRxSpinButton::DrawPaintedFace(TBitmap& face, TSpinHalf kind) {
  const int w = Width(), h = Height();
  face.SetSize(w, h);
  facePainter_(face, 0);
  TCanvas& c = face.Canvas();
  if (kind != shNone) {
    TBitmap pressed(w, h, pf24bit);
    facePainter_(pressed, 2);
    // The half's triangle, its diagonal included, from the pressed picture.
    const POINT upper[] = {{0, 0}, {w + 1, 0}, {0, h + 1}};
    const POINT lower[] = {{w, -1}, {w, h}, {-1, h}};
    efir::gdi::Object<HRGN> half(CreatePolygonRgn(kind == shUpper ? upper : lower, 3, WINDING));
    HDC dc = c.Handle();
    SelectClipRgn(dc, half.get());
    BitBlt(dc, 0, 0, w, h, pressed.Canvas().Handle(), 0, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);
  }
  // The diagonal in the colour of the picture's own border.
  c.Pen().SetWidth(1);
  c.Pen().SetColor(c.Pixels(0, h / 2));
  c.MoveTo(-1, h);
  c.LineTo(w, -1);
  DrawGlyphs(c, kind);
}

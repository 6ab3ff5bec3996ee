#include "framework/canvas.h"

#include "framework/graphics.h"
#include "framework/text_encoding.h"

namespace {

int length(std::wstring_view text) { return static_cast<int>(text.size()); }

}  // namespace

TCanvas::TCanvas() {
  font_.OnChange = [this] { Deselect(fontIn_, fontBefore_); };
  brush_.OnChange = [this] { Deselect(brushIn_, brushBefore_); };
  pen_.OnChange = [this] { Deselect(penIn_, penBefore_); };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { dc_ = dc; }

TCanvas::~TCanvas() { DeselectAll(); }

HDC TCanvas::Handle() {
  if (dc_) {
    SelectFont();
    SelectBrush();
    SelectPen();
  }
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  DeselectAll();
  dc_ = dc;
}

void TCanvas::Deselect(HGDIOBJ& selected, HGDIOBJ before) {
  if (!selected) return;
  SelectObject(dc_, before);
  selected = nullptr;
}

void TCanvas::DeselectAll() {
  Deselect(fontIn_, fontBefore_);
  Deselect(brushIn_, brushBefore_);
  Deselect(penIn_, penBefore_);
}

// Colours and modes are set on every use: the DC may be shared with code that changes them.
void TCanvas::SelectFont() {
  if (!fontIn_) {
    fontIn_ = font_.Handle();
    fontBefore_ = SelectObject(dc_, fontIn_);
  }
  SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::SelectBrush() {
  if (!brushIn_) {
    brushIn_ = brush_.Handle();
    brushBefore_ = SelectObject(dc_, brushIn_);
  }
  SetBkColor(dc_, ColorToRGB(brush_.Color()));
  SetBkMode(dc_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::SelectPen() {
  if (!penIn_) {
    penIn_ = pen_.Handle();
    penBefore_ = SelectObject(dc_, penIn_);
  }
  SetROP2(dc_, pen_.RasterOperation());
}

POINT TCanvas::PenPos() {
  POINT p{};
  GetCurrentPositionEx(dc_, &p);
  return p;
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  SelectPen();
  ::LineTo(dc_, x, y);
}

void TCanvas::Polyline(std::span<const POINT> points) {
  SelectPen();
  ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::Polygon(std::span<const POINT> points) {
  SelectPen();
  SelectBrush();
  ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  SelectPen();
  SelectBrush();
  ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }

void TCanvas::FillRect(const RECT& rect) {
  SelectBrush();
  ::FillRect(dc_, &rect, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
  SelectBrush();
  ::FrameRect(dc_, &rect, brush_.Handle());
}

void TCanvas::DrawFocusRect(const RECT& rect) { ::DrawFocusRect(dc_, &rect); }

void TCanvas::TextOut(int x, int y, std::string_view text) { TextOut(x, y, efir::text::fromAnsi(text)); }

void TCanvas::TextOut(int x, int y, std::wstring_view text) {
  SelectFont();
  SelectBrush();
  ExtTextOutW(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  MoveToEx(dc_, x + TextExtent(text).cx, y, nullptr);
}

void TCanvas::TextRect(const RECT& rect, int x, int y, std::string_view text) {
  TextRect(rect, x, y, efir::text::fromAnsi(text));
}

void TCanvas::TextRect(const RECT& rect, int x, int y, std::wstring_view text) {
  SelectFont();
  SelectBrush();
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(dc_, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::TextRect(RECT& rect, std::string_view text, UINT format) {
  TextRect(rect, efir::text::fromAnsi(text), format);
}

void TCanvas::TextRect(RECT& rect, std::wstring_view text, UINT format) {
  SelectFont();
  SelectBrush();
  // DrawText may write into the text with DT_MODIFYSTRING; the caller's text is read-only.
  std::wstring copy(text);
  DrawTextW(dc_, copy.data(), length(copy), &rect, format & ~static_cast<UINT>(DT_MODIFYSTRING));
}

SIZE TCanvas::TextExtent(std::string_view text) { return TextExtent(efir::text::fromAnsi(text)); }

SIZE TCanvas::TextExtent(std::wstring_view text) {
  SelectFont();
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.data(), length(text), &size);
  return size;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  StretchDraw(RECT{x, y, x + graphic.Width(), y + graphic.Height()}, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, const TGraphic& graphic) {
  if (graphic.Empty() || !dc_) return;
  graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
  SelectBrush();
  StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
             source.Handle(), sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
             sourceRect.bottom - sourceRect.top, copyMode_);
}

TColor TCanvas::Pixels(int x, int y) { return static_cast<TColor>(GetPixel(dc_, x, y)); }

void TCanvas::SetPixels(int x, int y, TColor color) { SetPixel(dc_, x, y, ColorToRGB(color)); }

RECT TCanvas::ClipRect() {
  RECT rect{};
  GetClipBox(dc_, &rect);
  return rect;
}

namespace efir {

CanvasBinding::CanvasBinding(TCanvas& canvas, HDC dc) : canvas_(canvas), previous_(canvas.dc_) {
  canvas.SetHandle(dc);
}

CanvasBinding::~CanvasBinding() { canvas_.SetHandle(previous_); }

}  // namespace efir

// A drawing surface over a device context it does not own: a window's paint DC, a bitmap's
// memory DC. It keeps its font, brush and pen selected into the DC while bound and selects
// the DC's own objects back when unbound, so the DC can be released or deleted after it.
//
//   PAINTSTRUCT ps; HDC dc = BeginPaint(hwnd, &ps);
//   {
//     efir::CanvasBinding bound(canvas, dc);     // a control's canvas, during painting
//     canvas.Brush().SetColor(clBtnFace);
//     canvas.FillRect(rect);
//     canvas.TextOut(4, 4, "Текст");             // Windows-1251 text
//   }
//   EndPaint(hwnd, &ps);
//
// Handle() gives the DC with the canvas's objects selected, for direct GDI calls.
// Text goes through the wide GDI calls; the wide overloads serve callers that hold UTF-16.
#pragma once

#include "framework/graphics_objects.h"

#include <span>
#include <string_view>

class TGraphic;
namespace efir {
class CanvasBinding;
}

class TCanvas {
 public:
  TCanvas();
  explicit TCanvas(HDC dc);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The bound DC with font, brush and pen selected; nullptr when unbound.
  HDC Handle();
  // Binds the canvas to `dc` (nullptr unbinds); the DC bound before gets its objects back.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  // The raster operation CopyRect uses (SRCCOPY by default).
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD mode) { copyMode_ = mode; }

  POINT PenPos();
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const POINT> points);
  void Polygon(std::span<const POINT> points);  // outlined with the pen, filled with the brush
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const RECT& rect);
  void FillRect(const RECT& rect);   // with the brush, pen untouched
  void FrameRect(const RECT& rect);  // a one-pixel border in the brush's colour
  void DrawFocusRect(const RECT& rect);

  // Text at (x, y), its background filled with the brush unless the brush is clear.
  void TextOut(int x, int y, std::string_view text);
  void TextOut(int x, int y, std::wstring_view text);
  // Text at (x, y) clipped to `rect`; a solid brush also fills the rest of `rect`.
  void TextRect(const RECT& rect, int x, int y, std::string_view text);
  void TextRect(const RECT& rect, int x, int y, std::wstring_view text);
  // Text laid out in `rect` by DrawText `format` flags (DT_*); with DT_CALCRECT `rect`
  // receives the size the text needs and nothing is drawn.
  void TextRect(RECT& rect, std::string_view text, UINT format);
  void TextRect(RECT& rect, std::wstring_view text, UINT format);
  SIZE TextExtent(std::string_view text);
  SIZE TextExtent(std::wstring_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextWidth(std::wstring_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  int TextHeight(std::wstring_view text) { return TextExtent(text).cy; }

  // A graphic at its own size, or stretched into `rect`.
  void Draw(int x, int y, const TGraphic& graphic);
  void StretchDraw(const RECT& rect, const TGraphic& graphic);
  // Copies (stretching as needed) a part of another canvas with CopyMode.
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);

  // -1 for a point outside the surface or its clipping.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  RECT ClipRect();

 private:
  friend class efir::CanvasBinding;

  void SelectFont();
  void SelectBrush();
  void SelectPen();
  void Deselect(HGDIOBJ& selected, HGDIOBJ before);
  void DeselectAll();

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  DWORD copyMode_ = SRCCOPY;
  // What the canvas has selected (nullptr: nothing yet) and what the DC held before.
  HGDIOBJ fontIn_ = nullptr, brushIn_ = nullptr, penIn_ = nullptr;
  HGDIOBJ fontBefore_ = nullptr, brushBefore_ = nullptr, penBefore_ = nullptr;
};

namespace efir {

// Binds a canvas to a DC for one scope (typically a WM_PAINT), then binds back what was there.
class CanvasBinding {
 public:
  CanvasBinding(TCanvas& canvas, HDC dc);
  ~CanvasBinding();
  CanvasBinding(const CanvasBinding&) = delete;
  CanvasBinding& operator=(const CanvasBinding&) = delete;

 private:
  TCanvas& canvas_;
  HDC previous_;
};

}  // namespace efir
